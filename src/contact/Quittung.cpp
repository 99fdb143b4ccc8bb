#include "contact/Quittung.h"

#include "contact/Senden.h"
#include "platform/AnsiText.h"
#include "platform/Clock.h"

#include <QCryptographicHash>

namespace varnek
{

namespace quittung
{

QByteArray hashVon(const QByteArray &gastBytes)
{
    return QCryptographicHash::hash(gastBytes, QCryptographicHash::Sha256).toHex();
}

QStringList zeilen(const QByteArray &hash, const QDateTime &zeit)
{
    return {QString::fromLatin1(hash), zeit.toUTC().toString(Qt::ISODate)};
}

std::optional<Gelesen> lies(const QByteArray &bytes)
{
    // Line ends as any server or editor may leave them.
    QStringList teile = ansi::decode(bytes).split(u'\n');
    for (QString &t : teile)
        t = t.trimmed();
    if (teile.size() < 2)
        return std::nullopt;
    const QByteArray hash = teile.at(0).toLatin1().toLower();
    static const QByteArray hex = QByteArrayLiteral("0123456789abcdef");
    if (hash.size() != 64 || teile.at(0).size() != 64)
        return std::nullopt;
    for (const char c : hash)
        if (!hex.contains(c))
            return std::nullopt;
    QDateTime zeit = QDateTime::fromString(teile.at(1), Qt::ISODate);
    if (!zeit.isValid())
        return std::nullopt;
    // A time without a zone was written in UTC.
    if (zeit.timeSpec() == Qt::LocalTime)
        zeit.setTimeSpec(Qt::UTC);
    return Gelesen{hash, zeit.toUTC()};
}

QString statusText(const QDateTime &zeit)
{
    return QStringLiteral("Gelesen ") + zeit.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
}

} // namespace quittung

// --- guest --------------------------------------------------------------------

QuittungsAbruf::QuittungsAbruf(QObject *parent)
    : QObject(parent), web_{QStringLiteral(VARNEK_DEFAULT_HOST)}
{
    // A receipt is two short lines; anything longer is no receipt.
    abruf_.setzeMaxBytes(1024);
    abruf_.setzeTimeoutMs(3000);
    abruf_.setzeMaxUmleitungen(HttpAbruf::kDefaultMaxRedirects);
    timer_.setInterval(kIntervallMs);
    connect(&timer_, &QTimer::timeout, this, &QuittungsAbruf::frage);
    connect(&abruf_, &HttpAbruf::fertig, this, &QuittungsAbruf::antwort);
}

QuittungsAbruf::~QuittungsAbruf()
{
    wartend_ = false;
    disconnect(&abruf_, nullptr, this, nullptr);
}

void QuittungsAbruf::setIntervallMs(int ms)
{
    timer_.setInterval(ms);
}

bool QuittungsAbruf::starte(const QString &adresse, const QByteArray &gastBytes)
{
    stoppe();
    const std::optional<QUrl> url = adressUrl(web_, adresse, QString::fromLatin1(quittung::kDatei));
    if (!url)
        return false;
    url_ = *url;
    hash_ = quittung::hashVon(gastBytes);
    ende_ = clock::now().addMSecs(dauerMs_);
    timer_.start();
    return true;
}

void QuittungsAbruf::stoppe()
{
    timer_.stop();
    if (wartend_) {
        wartend_ = false; // abort() answers at once; that answer is dropped
        abruf_.brichAb();
    }
}

void QuittungsAbruf::frage()
{
    if (clock::now() > ende_) {
        stoppe(); // nobody read it in time: the status line keeps what it shows
        return;
    }
    if (wartend_ || abruf_.laeuft())
        return;
    wartend_ = true;
    if (!abruf_.starte(url_))
        wartend_ = false;
}

void QuittungsAbruf::antwort(const HttpAbruf::Antwort &result)
{
    if (!wartend_)
        return;
    wartend_ = false;
    // No receipt yet (404), a failed fetch or a body that is no receipt:
    // asked again at the next tick.
    if (!result.ok || result.status != 200 || result.truncated)
        return;
    const std::optional<quittung::Gelesen> g = quittung::lies(result.body);
    if (!g || g->hash != hash_)
        return;
    timer_.stop();
    Q_EMIT gelesen(g->zeit);
}

// --- contact ------------------------------------------------------------------

QuittungsVersand::QuittungsVersand(const Einstellungen &einstellungen, QObject *parent)
    : QObject(parent), einstellungen_(einstellungen)
{
    if (!einstellungen_.programmOrdner.isEmpty()) {
        const auto z =
            ansi::readLines(einstellungen_.datei(QString::fromLatin1(quittung::kSchalterDatei)));
        an_ = !(z && !z->isEmpty() &&
                z->first().trimmed().compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0);
    }
}

QuittungsVersand::~QuittungsVersand()
{
    verbindung_.beenden();
}

Ergebnis QuittungsVersand::setzeAn(bool ein)
{
    const Ergebnis e =
        ansi::writeLines(einstellungen_.datei(QString::fromLatin1(quittung::kSchalterDatei)),
                         {ein ? QStringLiteral("True") : QStringLiteral("False")});
    if (e) {
        an_ = ein;
        if (!ein)
            wartet_.reset();
    }
    return e;
}

void QuittungsVersand::gelesen(const QString &adresse, const QByteArray &gastBytes)
{
    if (!an_ || !Verbindung::adresseZulaessig(adresse) || adresse.trimmed().isEmpty())
        return;
    const QByteArray hash = quittung::hashVon(gastBytes);
    if (adresse == letzteAdresse_ && hash == letzterHash_)
        return;
    letzteAdresse_ = adresse;
    letzterHash_ = hash;
    wartet_ = Auftrag{adresse, hash};
    if (!laeuft_)
        naechster();
}

void QuittungsVersand::naechster()
{
    if (!wartet_ || !an_)
        return;
    const Auftrag a = *wartet_;
    wartet_.reset();
    const QString pfad = einstellungen_.datei(QString::fromLatin1(quittung::kDatei));
    if (!ansi::writeLines(pfad, quittung::zeilen(a.hash, clock::now()))) {
        // Without the file there is nothing to upload; the next text read
        // tries again.
        letzterHash_.clear();
        Q_EMIT hochgeladen(false);
        naechster();
        return;
    }
    laeuft_ = true;
    richteEin(verbindung_, einstellungen_);
    verbindung_.herstellen(kontoAus(einstellungen_), einstellungen_.passiv.value_or(true),
                           [this, a, pfad](bool verbunden) {
                               if (!verbunden || !verbindung_.adressPfad(a.adresse)) {
                                   fertigSpaeter(false);
                                   return;
                               }
                               verbindung_.uebertrageDatei(pfad, 0,
                                                           [this](bool ok) { fertigSpaeter(ok); });
                           });
}

void QuittungsVersand::fertigSpaeter(bool ok)
{
    // Log off once the step that reports has returned: the connection must
    // not be ended from inside its own callback.
    QTimer::singleShot(0, this, [this, ok] { fertig(ok); });
}

void QuittungsVersand::fertig(bool ok)
{
    verbindung_.abbrechen();
    laeuft_ = false;
    if (!ok)
        letzterHash_.clear(); // the same text read again may try once more
    Q_EMIT hochgeladen(ok);
    naechster();
}

} // namespace varnek
