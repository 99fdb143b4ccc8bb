#pragma once

#include "contact/Adresse.h"
#include "contact/AntwortPruefung.h"
#include "platform/HttpAbruf.h"
#include "platform/Zeitgeber.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

namespace varnek
{

// Receiving: while reading is on, the message file "Gast.txt" of the watched
// address is fetched over HTTP every poll interval; a text not equal to the
// last new one (letters compared without regard to case) is remembered,
// written to "K1.txt" in the program folder for the speech component and
// read aloud ("user1"); when it holds the ring code of Text9, ring() asks the
// window to ring the bell window. "K1.txt" keeps the text as it came (the
// speech component removes control characters when it reads the file);
// Text7 shows it without control characters.
//
// Answers come in four kinds (see beurteileAntwort()):
//   a message     a whole 2xx answer in plain text; a text holding "<?xml"
//                 still marks the address as not valid
//   not valid     4xx, a redirect not followed, an HTML page, a compressed
//                 or binary (NUL bytes) body
//   failed        no connection, timeout, reset, a body cut short, a header
//                 section over 64 KB, an interim 1xx handed back as final,
//                 5xx: such a fetch changes nothing (no compare step, the
//                 remembered text stays, nothing is spoken or rung)
//   unchanged     304: changes nothing either
//
// Polls are conditional: a message answer's ETag (or Last-Modified) goes
// with the next request, and an unchanged file comes back as 304 without a
// body; the fetch keeps its connection to the server between polls.
//
// A ring code rings for a new text only, and the first answer after an
// address was chosen (or reading started) rings only when its file changed
// within the last kNeuSekunden (Last-Modified against platform/Clock; an
// answer without Last-Modified counts as new): a ring left on the server
// does not ring again at every start. The text is read and shown all the
// same.
//
// The state carries the names of the contact window's controls, which mirror
// it (after every changed()):
//   Text6        the watched URL as shown (nothing escaped)
//   Text4        the raw text of the last fetch
//   Text7        the received text shown to the user (no control characters)
//   List5        the last new text (at most one item)
//   Text9        the ring code watched for, "#dingdong#" at start
//   Listscan1    the words of Text4 (or Text4 whole, see setText4)
//   TextscannK1  the selected word of Listscan1
//   Picture28    the panel "Adresse ist nicht gültig!"
//   Picture3/4   reading inactive / active
//   Timer41      poll, Timer52 remember-and-speak, Timer63 speak
//
// The fetch never blocks: the poll tick starts the request and returns; when
// the answer is in, Text4 is emptied, set to the answer and the compare steps
// run. At most one fetch is in flight; a poll tick that finds one pending is
// skipped.
class Empfang : public QObject
{
    Q_OBJECT
  public:
    static constexpr int kMaxBytes = 50000;
    static constexpr int kPollMs = 2000;
    static constexpr int kMerkenMs = 1000;
    static constexpr int kSprechenMs = 1000;
    static constexpr int kAbrufTimeoutMs = 3000;
    static constexpr int kMaxUmleitungen = 3;
    // A message whose file changed no longer ago than this is new.
    static constexpr int kNeuSekunden = 120;

    // Text of Picture28.
    static QString adresseUngueltigText();

    // programmOrdner: where "K1.txt" is written.
    explicit Empfang(const QString &programmOrdner, QObject *parent = nullptr);
    ~Empfang() override;

    // HTTP server of the address files (default: built-in host, port 80).
    void setzeServer(const QString &host, int httpPort);
    // Web server, path of the address area and scheme; for the next address set.
    void setServer(const WebZiel &ziel);
    // Poll interval of Timer41, interval of Timer52, and the interval
    // Timer63 gets with the first new text.
    void setIntervalle(int pollMs, int merkenMs, int sprechenMs);
    // How long a fetch may wait for its answer.
    void setAbrufTimeoutMs(int ms);

    QString programmOrdner() const { return programmOrdner_; }
    QString k1Pfad() const;

    // The kind of an answer (see above).
    static AntwortArt beurteile(const HttpAbruf::Antwort &result);

    // Text6 = URL of the address's message file. An address that is not
    // allowed (adresseZulaessig) is refused: false, and the watched address
    // stays as it was. An accepted address counts as chosen: the next answer
    // that marks it not valid moves the focus to the address field.
    bool setzeAdresse(const QString &address);
    QString nachrichtenAdresse() const { return text6_; }
    // The address last accepted by setzeAdresse(); empty before.
    QString adresse() const { return adresse_; }
    QUrl url() const { return url_; }

    QString antwortText() const { return text4_; }
    // Sets Text4; a change runs the Text4 check: Picture28 hidden,
    // Listscan1 = [text]; a text holding "<?xml" marks the address as not
    // valid (focusAddress(), Picture28, "Stop" twice, Text4 emptied).
    void setzeAntwortText(const QString &text);

    // Text7: the last text found again, without control characters.
    QString letzterText() const { return text7_; }
    QStringList gemerkteTexte() const { return list5_; }
    // The bytes of List5's text as they were fetched (empty when the text
    // came from no answer).
    QByteArray list5Bytes() const { return list5Bytes_; }

    QString klingelCode() const { return text9_; }
    void setzeKlingelCode(const QString &code);

    QStringList woerter() const { return listscan1_; }
    QString gewaehltesWort() const { return textscannK1_; }
    // Sets TextscannK1; becoming exactly "<?xml" stops the speech and shows
    // Picture28.
    void setzeGewaehltesWort(const QString &text);
    // Click on an item of Listscan1: copies it into TextscannK1.
    void waehleWort(int index);

    bool adresseUngueltigSichtbar() const { return picture28_; }
    void setzeAdresseUngueltigSichtbar(bool sichtbar);

    // Reading indicator: Picture4 shown (and Picture3 hidden) once a poll
    // tick ran; Picture3 shown after stopReading() and at start.
    bool liestSichtbar() const { return picture4_; }
    bool ruhtSichtbar() const { return !picture4_; }

    const QTimer &abrufTakt() const { return timer41_; }
    const QTimer &merkTakt() const { return timer52_; }
    const Zeitgeber &sprechTakt() const { return timer63_; }
    // Timer63 switched on; it only fires once it has an interval.
    bool sprechTaktAn() const { return timer63_.isEnabled(); }
    int sprechTaktIntervall() const { return timer63_.interval(); }

    // A fetch is waiting for its answer.
    bool abrufLaeuft() const { return wartend_; }
    // The HTTP status of the last answer (304: unchanged), 0 when none came.
    int letzterStatus() const { return letzterStatus_; }

    // Start reading: Timer41 on with the poll interval.
    void starteLesen();
    // Stop reading: Picture3 shown, Picture4 hidden, all three timers off.
    // A fetch still waiting is dropped: its answer is not read.
    void stoppeLesen();

    // Poll tick (Timer41): Picture4, Timer63 on, Timer52 on, fetch.
    void abrufTick();
    // Fetch (`lade`): Text4 = "", request; the answer sets Text4 and runs
    // the compare step twice.
    void lade();
    // Compare step (`Command8`).
    void vergleiche();
    // Timer52: remember and speak again. Timer63: speak.
    void merkTick();
    void sprechTick();
    // Speak (`Sprich1`): "user1", then Timer63 off.
    void sprich();
    // Word check (`ParsingK1`): Listscan1 = the words of Text4, the first
    // selected; more than 501 words give message("Zu viele Befehle!").
    void zerlegeWoerter();

  Q_SIGNALS:
    void geaendert();
    // Press a button of the speech component ("user1", "Stop"). For "user1"
    // the text is the received text to read, also when "K1.txt" could not
    // be written.
    void sprechen(const QString &button, const QString &text = QString());
    // A new text came in (once per text, before ring() for a ring), as
    // Text7 shows it; klingeln: it holds the watched ring code.
    void neuerText(const QString &text, bool klingeln);
    // Show the bell window and ring it.
    void klingeln();
    // Show a message box with this text.
    void meldung(const QString &text);
    // Focus the address field, cursor at its end: on the first answer that
    // marks the address not valid after it was chosen or after a valid
    // answer, never on every poll.
    void fokusAdresse();

  private:
    void abrufFertig(const varnek::HttpAbruf::Antwort &result);
    void antwortVerarbeiten(const HttpAbruf::Antwort &result);
    void text4Pruefen();
    void adresseUngueltig();
    void merkenUndSprechen();
    void abrufFehlgeschlagen();
    static bool neuAufDemServer(const HttpAbruf::Antwort &result);

    QString programmOrdner_;
    WebZiel web_;
    int pollMs_ = kPollMs;
    int merkenMs_ = kMerkenMs;
    int sprechenMs_ = kSprechenMs;

    QString adresse_;
    QString text6_;
    QUrl url_;
    QString text4_;
    QString text7_;
    QStringList list5_;
    QByteArray text4Bytes_; // the answer's bytes while Text4 holds them
    QByteArray list5Bytes_;
    QString text9_;
    QStringList listscan1_;
    QString textscannK1_;
    bool picture28_ = false;
    bool picture4_ = false;
    bool ungueltigGemeldet_ = false;
    bool tlsGemeldet_ = false;    // a failed certificate check was shown
    bool ersteAntwort_ = true;    // no answer yet since the address was chosen
    bool klingelnErlaubt_ = true; // the answer in hand may ring

    QTimer timer41_;
    QTimer timer52_;
    Zeitgeber timer63_;

    HttpAbruf abruf_;
    bool wartend_ = false;
    int letzterStatus_ = 0;
};

} // namespace varnek
