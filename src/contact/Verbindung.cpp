#include "contact/Verbindung.h"

#include "contact/Adresse.h"
#include "contact/Hochladen.h"
#include "platform/FtpArbeiter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varnek
{

namespace
{

// A name as a plain file name inside one folder: no path, no parent step.
bool einfacherName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QString antwortVon(const FtpSitzung &c)
{
    if (c.letzterFehler() == 0)
        return QStringLiteral("Ok");
    return bereinigeStatus(QString::number(c.letzterFehler()) + QLatin1Char(' ') +
                           c.letzteAntwort());
}
} // namespace

// What a step sees on the worker: the client, and the way back.
class Verbindung::Schritt
{
  public:
    Schritt(FtpSitzung &c, const FtpArbeiter::Melder &melder, Verbindung *v)
        : client(c), melder_(melder), v_(v)
    {
    }

    FtpSitzung &client;

    // `was` runs on the Verbindung's thread, never after it is gone.
    void melde(std::function<void(Verbindung &)> was)
    {
        melder_([v = v_, was = std::move(was)] { was(*v); });
    }
    void status(const QString &text)
    {
        melde([text](Verbindung &v) { v.ZeigeStatus(text); });
    }
    void meldung(const QString &text)
    {
        melde([text](Verbindung &v) { Q_EMIT v.meldung(text); });
    }
    void antwort()
    {
        const QString text = antwortVon(client);
        const QString dir = client.verzeichnis();
        melde([text, dir](Verbindung &v) {
            v.antwort_ = text;
            v.verzeichnis_ = dir;
            v.ZeigeStatus(text);
        });
    }
    void fertig(const Fertig &f, bool ok)
    {
        if (f)
            melde([f, ok](Verbindung &) { f(ok); });
    }

    // `SetzePfad` with a path already without its host prefix.
    bool setzePfad(const std::optional<QString> &pfad)
    {
        if (!pfad)
            return false;
        status(QStringLiteral("Setze Pfad..."));
        const bool ok =
            client.verbunden() &&
            client.wechsleVerzeichnis(pfad->isEmpty() ? QStringLiteral("/") : *pfad).ok();
        // Without a connection there is no server reply to show, and the
        // last one ("Ok") would read as success.
        if (client.verbunden())
            antwort();
        else
            status(QStringLiteral("Keine Verbindung zum Server"));
        if (!ok)
            meldung(QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?"));
        return ok;
    }

  private:
    const FtpArbeiter::Melder &melder_;
    Verbindung *v_;
};

Verbindung::Verbindung(QObject *parent)
    : QObject(parent), arbeiter_(std::make_unique<FtpArbeiter>(this))
{
}

Verbindung::~Verbindung() = default;

void Verbindung::setzePfad(const QString &pfad)
{
    if (pfad == label1_)
        return;
    label1_ = pfad;
    Q_EMIT pfadGeaendert(pfad);
}

QString Verbindung::basisPfad() const
{
    if (!adressWurzel_.trimmed().isEmpty())
        return serverName_ + ordnerPfad(adressWurzel_);
    return serverName_ + QLatin1Char('/') + serverName_ + adressBereich();
}

bool Verbindung::imAdressVerzeichnis() const
{
    const QString basis = basisPfad();
    if (!label1_.startsWith(basis))
        return false;
    const QString adresse = label1_.mid(basis.size());
    return !adresse.trimmed().isEmpty() && adresseZulaessig(adresse);
}

void Verbindung::zeigeAntwort()
{
    ZeigeStatus(antwort_);
}

std::optional<QString> Verbindung::verzeichnisVon(const QString &pfad) const
{
    if (pfad.isEmpty())
        return std::nullopt;
    return pfad.mid(serverName_.size());
}

void Verbindung::einreihen(std::function<void(Schritt &)> op)
{
    if (offen_++ == 0)
        Q_EMIT beschaeftigtGeaendert(true);
    arbeiter_->einreihen([this, op = std::move(op)](FtpSitzung &c, const FtpArbeiter::Melder &m) {
        Schritt s(c, m, this);
        op(s);
        s.melde([](Verbindung &v) { v.erledigt(); });
    });
}

void Verbindung::erledigt()
{
    if (offen_ > 0 && --offen_ == 0)
        Q_EMIT beschaeftigtGeaendert(false);
}

void Verbindung::danach(std::function<void()> schritt)
{
    einreihen([schritt = std::move(schritt)](Schritt &s) {
        s.melde([schritt](Verbindung &) { schritt(); });
    });
}

bool Verbindung::warteAufArbeiter(int ms)
{
    return arbeiter_->warte(ms);
}

void Verbindung::herstellen(const Konto &konto, bool passiv, Fertig fertig)
{
    setzePfad(gewaehlt_.isEmpty() ? serverName_ + QLatin1Char('/') : gewaehlt_);
    FtpSitzung::Optionen options;
    options.host = konto.host;
    options.port = konto.port;
    options.user = konto.user;
    options.password = konto.password;
    options.passive = passiv;
    options.tls = konto.tls;
    options.caFile = konto.caFile;
    options.connectTimeoutMs = connectTimeoutMs;
    options.stallTimeoutMs = stallTimeoutMs;
    einreihen([options, fertig = std::move(fertig)](Schritt &s) {
        s.status(QStringLiteral("Verbinde..."));
        s.client.schliesse();
        const bool ok = s.client.verbinde(options).ok();
        s.antwort();
        if (ok) {
            s.melde([](Verbindung &v) {
                v.verbunden_ = true;
                Q_EMIT v.verbindungGeaendert(true);
            });
        } else {
            s.melde([](Verbindung &v) {
                const bool war = v.verbunden_;
                v.verbunden_ = false;
                if (war)
                    Q_EMIT v.verbindungGeaendert(false);
            });
            s.status(QStringLiteral("Fehler beim Verbindungsaufbau"));
        }
        s.fertig(fertig, ok);
    });
}

void Verbindung::abbrechen()
{
    if (!verbunden_ && offen_ == 0)
        return;
    // Whatever the worker still reports of the old steps is dropped.
    arbeiter_->abbrechen();
    if (offen_ > 0) {
        offen_ = 0;
        Q_EMIT beschaeftigtGeaendert(false);
    }
    ZeigeStatus(QStringLiteral("Log off..."));
    arbeiter_->einreihen([](FtpSitzung &c, const FtpArbeiter::Melder &) { c.schliesse(); });
    antwort_ = QStringLiteral("Ok");
    ZeigeStatus(antwort_);
    verbunden_ = false;
    Q_EMIT verbindungGeaendert(false);
    setzePfad(QString());
}

void Verbindung::beenden()
{
    arbeiter_->abbrechen();
    arbeiter_->einreihen([](FtpSitzung &c, const FtpArbeiter::Melder &) { c.schliesse(); });
    if (offen_ > 0) {
        offen_ = 0;
        Q_EMIT beschaeftigtGeaendert(false);
    }
    verbunden_ = false;
}

bool Verbindung::adresseZulaessig(const QString &adresse)
{
    return varnek::adresseZulaessig(adresse);
}

bool Verbindung::adressPfad(const QString &adresse)
{
    if (!adresseZulaessig(adresse)) {
        Q_EMIT meldung(QStringLiteral("Adresse ist nicht gültig!"));
        return false;
    }
    setzePfad(basisPfad() + adresse);
    if (imAdressVerzeichnis())
        gewaehlt_ = label1_;
    return true;
}

void Verbindung::ladeDatei(const QString &remoteDir, const QString &remoteFile,
                           const QString &localDir, Fertig fertig, const QString &lokalerName)
{
    const QString lokalName = lokalerName.isEmpty() ? remoteFile : lokalerName;
    // A name from a server listing never leads the download out of the folder.
    if (!einfacherName(remoteFile) || !einfacherName(lokalName)) {
        Q_EMIT meldung(QStringLiteral("Übertragunsfehler"));
        if (fertig)
            fertig(false);
        return;
    }
    const QString lokal = localDir + QLatin1Char('/') + lokalName;
    const std::optional<QString> dir = verzeichnisVon(remoteDir);
    const bool ascii = uebertragungsart == 1;
    einreihen([=](Schritt &s) {
        s.setzePfad(dir); // a download still tries the previous directory
        s.status(QStringLiteral("Lade Datei..."));
        const bool ok =
            s.client.verbunden() && s.client.ladeHerunter(remoteFile, lokal, ascii).ok();
        s.antwort();
        if (!ok)
            s.meldung(QStringLiteral("Übertragunsfehler"));
        s.fertig(fertig, ok);
    });
}

void Verbindung::uebertrageDatei(const QString &localPath, int art, Fertig fertig)
{
    const std::optional<QString> dir = verzeichnisVon(label1_);
    const qsizetype schnitt =
        std::max(localPath.lastIndexOf(QLatin1Char('/')), localPath.lastIndexOf(QLatin1Char('\\')));
    const QString name = schnitt < 0 ? QString() : localPath.mid(schnitt + 1);
    // The bytes travel with the step: a later send rewriting the local file
    // changes nothing of this one.
    std::optional<QByteArray> daten;
    if (QFile f(localPath); f.open(QIODevice::ReadOnly))
        daten = f.readAll();
    const bool ascii = (art < 0 ? uebertragungsart : art) == 1;
    einreihen([=](Schritt &s) {
        bool ok = false;
        if (s.setzePfad(dir) && !name.isEmpty()) {
            s.status(QStringLiteral("Übertrage Datei..."));
            if (daten) {
                // Readers polling the folder see the old file or the new
                // one, never a part, and a server that stored less is no
                // success.
                const Ergebnis e = ladeGanzHoch(s.client, *daten, name, ascii);
                ok = e.ok();
                s.antwort();
                // The server's last reply may be that of tidying up; the
                // user reads why the upload failed.
                if (e.nummer() == FtpSitzung::UnvollstaendigError)
                    s.status(bereinigeStatus(QString::number(e.nummer()) + QLatin1Char(' ') +
                                             e.grund()));
            } else {
                s.status(QStringLiteral("26 Lokale Datei nicht lesbar: ") + localPath);
            }
            if (!ok)
                s.meldung(QStringLiteral("Übertragungsfehler!"));
        }
        s.fertig(fertig, ok);
    });
}

void Verbindung::liste(const QString &pfad, ListeFertig fertig)
{
    const std::optional<QString> dir = verzeichnisVon(pfad);
    einreihen([=](Schritt &s) {
        std::optional<FtpSitzung::Liste> listing;
        if (s.setzePfad(dir)) {
            listing = s.client.liste();
            s.antwort();
            if (!listing)
                listing = FtpSitzung::Liste{};
        }
        if (fertig)
            s.melde([fertig, listing](Verbindung &) { fertig(listing); });
    });
}

void Verbindung::inLabel1(const QString &was, const QString &fehlerText,
                          std::function<bool(FtpSitzung &)> op, Fertig fertig)
{
    einreihen([dir = verzeichnisVon(label1_), was, fehlerText, op = std::move(op),
               fertig = std::move(fertig)](Schritt &s) {
        bool ok = false;
        if (s.setzePfad(dir)) {
            if (!was.isEmpty())
                s.status(was);
            ok = op(s.client);
            s.antwort();
            if (!ok)
                s.meldung(fehlerText);
        }
        s.fertig(fertig, ok);
    });
}

void Verbindung::loesche(const QString &name, bool verzeichnis, Fertig fertig)
{
    // A directory whose name begins with "." is never removed.
    const bool erlaubt = !verzeichnis || !name.startsWith(QLatin1Char('.'));
    const QString was = !erlaubt      ? QString()
                        : verzeichnis ? QStringLiteral("Lösche Verzeichnis...")
                                      : QStringLiteral("Lösche Datei...");
    inLabel1(
        was, QStringLiteral("Datei kann nicht gelöscht werden!"),
        [=](FtpSitzung &c) {
            if (!erlaubt)
                return false;
            return (verzeichnis ? c.loescheVerzeichnis(name) : c.loescheDatei(name)).ok();
        },
        std::move(fertig));
}

void Verbindung::erstelleVerzeichnis(const QString &name, Fertig fertig)
{
    inLabel1(
        QStringLiteral("Erstelle Verzeichnis..."),
        QStringLiteral("Verzeichnis kann nicht erstellt werden!"),
        [=](FtpSitzung &c) { return einfacherName(name) && c.erstelleVerzeichnis(name).ok(); },
        std::move(fertig));
}

void Verbindung::benenneUm(const QString &von, const QString &nach, Fertig fertig)
{
    inLabel1(
        QStringLiteral("Benenne um..."), QStringLiteral("Umbenennen nicht möglich"),
        [=](FtpSitzung &c) { return einfacherName(nach) && c.benenneUm(von, nach).ok(); },
        std::move(fertig));
}

} // namespace varnek
