#pragma once

#include "contact/Adresse.h"
#include "contact/Einstellungen.h"
#include "contact/Verbindung.h"
#include "platform/Ergebnis.h"
#include "platform/HttpAbruf.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

namespace varnek
{

// Read receipts. After the contact's program has read a received message
// aloud to its end, it puts "Gelesen.txt" into its own address folder: the
// SHA-256 (hex) of the bytes of "Gast.txt" as it fetched them and the time
// it was read (UTC, ISO 8601), one line each, Windows-1252 with CR LF. A
// program that knows nothing of receipts never reads the file.
namespace quittung
{
inline constexpr auto kDatei = "Gelesen.txt";
// The file "Lesebestaetigung" of the program folder keeps the switch
// "Lesebestätigung senden" ("True" / "False"; on when there is none).
inline constexpr auto kSchalterDatei = "Lesebestaetigung";

struct Gelesen {
    QByteArray hash; // lower-case hex
    QDateTime zeit;  // UTC
};

// Lower-case hex SHA-256 of the message file's bytes.
QByteArray hashVon(const QByteArray &gastBytes);
// The receipt's lines.
QStringList zeilen(const QByteArray &hash, const QDateTime &zeit);
// A receipt as fetched; nullopt unless its first line is a SHA-256 in hex
// and its second a valid time.
std::optional<Gelesen> lies(const QByteArray &bytes);
// The status line text: "Gelesen HH:MM:SS", the receipt's time local.
QString statusText(const QDateTime &zeit);
} // namespace quittung

// The guest's side: after a send, the receipt of the address is fetched
// every interval (2 s) until its hash is the one of the text sent, or until
// the time allowed (2 minutes, by platform/Clock) is over. A new start()
// replaces the one before.
class QuittungsAbruf : public QObject
{
    Q_OBJECT
  public:
    static constexpr int kIntervallMs = 2000;
    static constexpr int kDauerMs = 120000;

    explicit QuittungsAbruf(QObject *parent = nullptr);
    ~QuittungsAbruf() override;

    void setServer(const WebZiel &ziel) { web_ = ziel; }
    void setIntervallMs(int ms);
    void setDauerMs(int ms) { dauerMs_ = ms; }

    // Watches for the receipt of `gastBytes` at `adresse`; false (and
    // nothing watched) for an address that is not allowed.
    bool starte(const QString &adresse, const QByteArray &gastBytes);
    void stoppe();
    bool aktiv() const { return timer_.isActive(); }
    QByteArray erwarteterHash() const { return hash_; }

  Q_SIGNALS:
    // The receipt for the text sent came; `zeit` as the contact's program wrote it.
    void gelesen(const QDateTime &zeit);

  private:
    void frage();
    void antwort(const varnek::HttpAbruf::Antwort &result);

    WebZiel web_;
    int dauerMs_ = kDauerMs;
    QUrl url_;
    QByteArray hash_;
    QDateTime ende_;
    QTimer timer_;
    HttpAbruf abruf_;
    bool wartend_ = false;
};

// The contact's side: puts the receipt of a text read aloud into the
// address folder on a short FTP session of its own (the window's browser
// session is left alone). Receipts wait behind the one being uploaded; of
// those waiting only the newest goes out. A receipt that cannot be written
// or uploaded is dropped: the reader is never bothered with it.
class QuittungsVersand : public QObject
{
    Q_OBJECT
  public:
    explicit QuittungsVersand(const Einstellungen &einstellungen, QObject *parent = nullptr);
    ~QuittungsVersand() override;

    // "Lesebestätigung senden".
    bool an() const { return an_; }
    [[nodiscard]] Ergebnis setzeAn(bool ein);

    // The text with these bytes was read aloud from `adresse`. The same
    // text read again (its receipt already out) is not sent again.
    void gelesen(const QString &adresse, const QByteArray &gastBytes);
    bool beschaeftigt() const { return laeuft_; }

  Q_SIGNALS:
    // A receipt reached the server (true) or not (false).
    void hochgeladen(bool ok);

  private:
    struct Auftrag {
        QString adresse;
        QByteArray hash;
    };
    void naechster();
    void fertig(bool ok);
    void fertigSpaeter(bool ok);

    const Einstellungen &einstellungen_;
    bool an_ = true;
    Verbindung verbindung_;
    std::optional<Auftrag> wartet_;
    bool laeuft_ = false;
    QString letzteAdresse_;
    QByteArray letzterHash_;
};

} // namespace varnek
