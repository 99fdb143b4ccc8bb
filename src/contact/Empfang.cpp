#include "contact/Empfang.h"

#include "contact/Adresse.h"
#include "contact/TextProzeduren.h"
#include "platform/AnsiText.h"
#include "platform/Clock.h"
#include "platform/Dienste.h"

namespace varnek
{

namespace
{

const QString &xmlKennung()
{
    static const QString kennung = QStringLiteral("<?xml");
    return kennung;
}

const QString &user1()
{
    static const QString name = QStringLiteral("user1");
    return name;
}

const QString &stop()
{
    static const QString name = QStringLiteral("Stop");
    return name;
}

} // namespace

QString Empfang::adresseUngueltigText()
{
    return QStringLiteral("Adresse ist nicht gültig!");
}

Empfang::Empfang(const QString &programmOrdner, QObject *parent)
    : QObject(parent), programmOrdner_(programmOrdner), web_{QStringLiteral(VARNEK_DEFAULT_HOST)},
      text9_(QStringLiteral("#dingdong#"))
{
    abruf_.setzeMaxBytes(kMaxBytes);
    abruf_.setzeMaxUmleitungen(kMaxUmleitungen);
    abruf_.setzeTimeoutMs(kAbrufTimeoutMs);
    QObject::connect(&abruf_, &HttpAbruf::fertig, this, &Empfang::abrufFertig);
    QObject::connect(&timer41_, &QTimer::timeout, this, &Empfang::abrufTick);
    QObject::connect(&timer52_, &QTimer::timeout, this, &Empfang::merkTick);
    QObject::connect(&timer63_, &Zeitgeber::tick, this, &Empfang::sprechTick);
}

Empfang::~Empfang()
{
    // An answer arriving while the members go away is of no interest.
    wartend_ = false;
    QObject::disconnect(&abruf_, nullptr, this, nullptr);
}

void Empfang::setzeServer(const QString &host, int httpPort)
{
    web_.host = host;
    web_.port = httpPort;
}

void Empfang::setServer(const WebZiel &ziel)
{
    web_ = ziel;
}

void Empfang::setIntervalle(int pollMs, int merkenMs, int sprechenMs)
{
    pollMs_ = pollMs;
    merkenMs_ = merkenMs;
    sprechenMs_ = sprechenMs;
    if (timer41_.isActive())
        timer41_.start(pollMs_);
}

void Empfang::setAbrufTimeoutMs(int ms)
{
    abruf_.setzeTimeoutMs(ms);
}

QString Empfang::k1Pfad() const
{
    return programmOrdner_ + QStringLiteral("/K1.txt");
}

bool Empfang::setzeAdresse(const QString &address)
{
    const std::optional<QUrl> url = adressUrl(web_, address);
    if (!url)
        return false;
    adresse_ = address;
    text6_ = adressUrlText(web_, address);
    url_ = *url;
    ungueltigGemeldet_ = false;
    ersteAntwort_ = true;
    abruf_.setBedingung({}, {}); // validators belong to the file they came with
    Q_EMIT geaendert();
    return true;
}

AntwortArt Empfang::beurteile(const HttpAbruf::Antwort &result)
{
    return beurteileAntwort(
        {result.ok, result.status, result.headers, result.body, result.redirectRefused});
}

void Empfang::setzeAntwortText(const QString &text)
{
    // Like a text box, the check runs on a change only.
    if (text == text4_)
        return;
    text4_ = text;
    text4Bytes_.clear();
    text4Pruefen();
}

void Empfang::text4Pruefen()
{
    picture28_ = false;
    listscan1_ = QStringList{text4_};
    Q_EMIT geaendert();
    if (!enthaelt(text4_, xmlKennung()))
        return;
    adresseUngueltig();
}

void Empfang::adresseUngueltig()
{
    if (!ungueltigGemeldet_) {
        ungueltigGemeldet_ = true;
        Q_EMIT fokusAdresse();
    }
    setzeAdresseUngueltigSichtbar(true);
    Q_EMIT sprechen(stop());
    Q_EMIT sprechen(stop());
    setzeAntwortText(QString());         // the check on the empty text hides Picture28 ...
    setzeAdresseUngueltigSichtbar(true); // ... so it is shown again
}

void Empfang::setzeKlingelCode(const QString &code)
{
    if (code == text9_)
        return;
    text9_ = code;
    Q_EMIT geaendert();
}

void Empfang::setzeGewaehltesWort(const QString &text)
{
    if (text == textscannK1_)
        return;
    textscannK1_ = text;
    Q_EMIT geaendert();
    if (textscannK1_ == xmlKennung()) {
        Q_EMIT sprechen(stop());
        setzeAdresseUngueltigSichtbar(true);
    }
}

void Empfang::waehleWort(int index)
{
    if (index >= 0 && index < listscan1_.size())
        setzeGewaehltesWort(listscan1_.at(index));
}

void Empfang::setzeAdresseUngueltigSichtbar(bool sichtbar)
{
    if (sichtbar == picture28_)
        return;
    picture28_ = sichtbar;
    Q_EMIT geaendert();
}

void Empfang::starteLesen()
{
    ersteAntwort_ = true;
    timer41_.start(pollMs_);
    Q_EMIT geaendert();
}

void Empfang::stoppeLesen()
{
    picture4_ = false;
    timer41_.stop();
    timer52_.stop();
    timer63_.setEnabled(false);
    if (wartend_) {
        wartend_ = false; // abort() answers at once; that answer is dropped
        abruf_.brichAb();
    }
    Q_EMIT geaendert();
}

void Empfang::abrufTick()
{
    if (wartend_ || abruf_.laeuft())
        return; // the previous fetch is still out: this tick is skipped
    picture4_ = true;
    timer63_.setEnabled(true);
    timer52_.start(merkenMs_);
    Q_EMIT geaendert();
    lade();
}

void Empfang::lade()
{
    if (wartend_ || abruf_.laeuft())
        return;
    wartend_ = true;
    if (url_.isEmpty() || !url_.isValid() || !abruf_.starte(url_)) {
        // No address to fetch: nothing read, like a failed fetch.
        wartend_ = false;
        abrufFehlgeschlagen();
    }
}

void Empfang::abrufFertig(const HttpAbruf::Antwort &result)
{
    if (!wartend_)
        return;
    wartend_ = false;
    letzterStatus_ = result.status;
    antwortVerarbeiten(result);
}

void Empfang::antwortVerarbeiten(const HttpAbruf::Antwort &result)
{
    const AntwortArt art = beurteile(result);
    // A certificate that does not verify is said once, not at every poll.
    if (!result.tlsFehler.isEmpty() && !tlsGemeldet_) {
        tlsGemeldet_ = true;
        Q_EMIT meldung(result.tlsFehler);
    } else if (result.ok) {
        tlsGemeldet_ = false;
    }
    if (art == AntwortArt::Fehlgeschlagen || art == AntwortArt::Unveraendert) {
        abrufFehlgeschlagen();
        return;
    }
    // The next poll asks whether the file changed since this answer.
    if (art == AntwortArt::Nachricht) {
        const Validatoren v = verlaesslicheValidatoren(result.headers);
        abruf_.setBedingung(v.etag, v.lastModified);
    } else {
        abruf_.setBedingung({}, {});
    }
    // A ring code left on the server rings again only when its message is
    // new: the first answer after choosing an address rings only when the
    // file changed within the last kNeuSekunden; later answers hold a text
    // that changed while watching.
    klingelnErlaubt_ = !ersteAntwort_ || neuAufDemServer(result);
    ersteAntwort_ = false;
    // Emptied first (this runs the Text4 check), as before every answer.
    setzeAntwortText(QString());
    if (art == AntwortArt::Ungueltig) {
        // Not a message, whatever its body says: the address counts as not
        // valid, as with an XML answer.
        adresseUngueltig();
    } else {
        setzeAntwortText(ansi::decode(result.body.left(kMaxBytes)));
        if (!text4_.isEmpty())
            text4Bytes_ = result.body.left(kMaxBytes);
        if (!enthaelt(text4_, xmlKennung()))
            ungueltigGemeldet_ = false; // a valid answer
    }
    vergleiche();
    vergleiche();
    klingelnErlaubt_ = true;
}

bool Empfang::neuAufDemServer(const HttpAbruf::Antwort &result)
{
    // A server that does not say when the file changed cannot tell an old
    // ring from a new one: it rings, as it always did.
    const QDateTime geaendert = httpDatum(kopfWert(result.headers, "Last-Modified"));
    return !geaendert.isValid() || geaendert >= clock::now().addSecs(-kNeuSekunden);
}

void Empfang::abrufFehlgeschlagen()
{
    // Nothing was read, so nothing is compared and nothing is new: the
    // speak timers the poll tick switched on go off again.
    timer52_.stop();
    timer63_.setEnabled(false);
    Q_EMIT geaendert();
}

void Empfang::vergleiche()
{
    if (FindeListenEintrag(list5_, text4_) >= 0) {
        timer52_.stop();
        timer63_.setEnabled(false);
        text7_ = ohneSteuerzeichen(text4_, true);
        Q_EMIT geaendert();
        return;
    }
    merkenUndSprechen();
    // The ring check runs for a new text only.
    const bool klingelt = klingelnErlaubt_ && enthaelt(text4_, text9_);
    Q_EMIT neuerText(ohneSteuerzeichen(text4_, true), klingelt);
    if (klingelt)
        Q_EMIT klingeln();
}

void Empfang::merkenUndSprechen()
{
    list5_ = QStringList{text4_};
    list5Bytes_ = text4Bytes_;
    // Ignored on purpose: the poll runs unattended and shows no messages;
    // the text itself is held in List5.
    (void)ansi::writeLines(k1Pfad(), list5_);
    timer52_.stop();
    timer52_.start(merkenMs_);
    timer63_.setInterval(sprechenMs_);
    Q_EMIT geaendert();
    sprich();
}

void Empfang::merkTick()
{
    // While a fetch is out, Text4 holds the emptied interim text: the
    // timers wait for the answer, whose compare steps switch them off.
    if (wartend_)
        return;
    merkenUndSprechen();
}

void Empfang::sprechTick()
{
    if (wartend_)
        return;
    sprich();
}

void Empfang::sprich()
{
    Q_EMIT sprechen(user1(), list5_.value(0));
    timer63_.setEnabled(false);
}

void Empfang::zerlegeWoerter()
{
    setzeGewaehltesWort(QString());
    listscan1_.clear();
    Q_EMIT geaendert();
    const std::optional<QStringList> woerter = Parsing(text4_);
    if (!woerter) {
        Q_EMIT meldung(zuVieleBefehleText());
        return;
    }
    listscan1_ = *woerter;
    Q_EMIT geaendert();
    // The first word is selected directly, which runs the word's check.
    waehleWort(0);
}

} // namespace varnek
