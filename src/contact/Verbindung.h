#pragma once

#include "platform/Dienste.h"
#include "platform/FtpSitzung.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace varnek
{

class FtpArbeiter;

// The contact window's connection to the shared server account: connect,
// log off, the remote path `Label1` and the transfer steps the other parts
// use. The FTP session runs on a worker thread of its own: every step is
// queued and runs after the ones queued before it, so the window never
// waits for the network. Progress comes back as status texts (the status
// line), failures the user must see as messages (message boxes), and
// busy(true/false) while anything is queued (the hourglass). Each step can
// take a callback that runs on this object's thread when the step is done.
class Verbindung : public QObject
{
    Q_OBJECT
  public:
    struct Konto {
        QString host;
        int port = 21;
        QString user = QStringLiteral("varnekdb");
        QString password = QStringLiteral("Wald2619");
        // Explicit TLS for control and data; nothing goes in clear then.
        bool tls = false;
        QString caFile; // the authority of a self-hosted server's certificate
    };
    using Fertig = std::function<void(bool ok)>;
    using ListeFertig = std::function<void(std::optional<FtpSitzung::Liste>)>;

    explicit Verbindung(QObject *parent = nullptr);
    // Cancels what runs and never waits for the server.
    ~Verbindung() override;

    // `ServerName` / `Label10`: the host every remote path starts with.
    void setzeServerName(const QString &host) { serverName_ = host; }
    QString serverName() const { return serverName_; }
    // The FTP folder of the address area ("/" host "/vx/stillbox/vxvx/"
    // while empty), with its slashes.
    void setAdressWurzel(const QString &ftpPfad) { adressWurzel_ = ftpPfad; }

    // Connected once a connect has succeeded, until log off.
    bool verbunden() const { return verbunden_; }
    // Steps queued or running.
    bool beschaeftigt() const { return offen_ > 0; }
    // `Uebertragungsart`: 1 = ASCII, 0 = binary.
    int uebertragungsart = 1;
    // Timeouts of every FTP call (tests shorten them).
    int connectTimeoutMs = 10000;
    int stallTimeoutMs = 30000;

    // `Label1`, the current remote path: host & "/" & directories.
    QString pfad() const { return label1_; }
    void setzePfad(const QString &pfad);

    // Connect (`Command5`): `Label1` becomes the chosen address path, or
    // host & "/" while none was chosen.
    void herstellen(const Konto &konto, bool passiv, Fertig fertig = {});
    // Log off (`Command4`): cancels what runs and drops what waits, at
    // once. Nothing happens when neither connected nor busy.
    void abbrechen();
    // Quitting: as log off, but reports nothing any more.
    void beenden();

    // The address path step: `Label1` = host/host/vx/stillbox/vxvx/<address>.
    // An address that would leave the address area is refused with a message
    // and `Label1` stays as it was.
    bool adressPfad(const QString &adresse);
    static bool adresseZulaessig(const QString &adresse);
    QString basisPfad() const; // `Combo1`: host/host/vx/stillbox/vxvx/ (or host + root)
    // True when `Label1` names the directory of one contact address.
    bool imAdressVerzeichnis() const;

    // The transfer steps. The remote directory is `Label1` (or the one
    // given) as it is when the step is queued. The local file is named
    // `lokalerName`, or as the remote file when that is empty.
    void ladeDatei(const QString &remoteDir, const QString &remoteFile, const QString &localDir,
                   Fertig fertig = {}, const QString &lokalerName = {});
    // Uploads in the transfer type `art` (default: `Uebertragungsart`). The
    // file is read now: what it holds at this moment is what arrives. It
    // replaces the remote file whole (ladeGanzHoch: beside it, size checked,
    // renamed over it), so a reader sees the old file or the new one.
    void uebertrageDatei(const QString &localPath, int art = -1, Fertig fertig = {});
    // Changes into `pfad` (host-prefixed) and lists it; nullopt when the
    // directory cannot be set, an empty listing when listing fails.
    void liste(const QString &pfad, ListeFertig fertig);

    // Remote operations of the browser, in the directory of `Label1`.
    void loesche(const QString &name, bool verzeichnis, Fertig fertig = {});
    void erstelleVerzeichnis(const QString &name, Fertig fertig = {});
    void benenneUm(const QString &von, const QString &nach, Fertig fertig = {});

    // Runs `schritt` here once every step queued before it is done.
    void danach(std::function<void()> schritt);
    // Blocks until the worker is idle, at most ms milliseconds (for use
    // without a window, where nothing else needs the thread).
    bool warteAufArbeiter(int ms);

    // `ZeigeAntwort`: "Ok" or the error number and the server's last reply
    // of the latest step.
    QString antwort() const { return antwort_; }
    void zeigeAntwort();
    // The FTP directory the server reported last.
    QString verzeichnis() const { return verzeichnis_; }

  Q_SIGNALS:
    void status(const QString &text);         // `ZeigeStatus`
    void meldung(const QString &text);        // a message box for the user
    void beschaeftigtGeaendert(bool an);      // hourglass on / off
    void verbindungGeaendert(bool verbunden); // `SchalterVerbunden` / `SchalterGetrennt`
    void pfadGeaendert(const QString &pfad);

  private:
    class Schritt;
    void ZeigeStatus(const QString &text) { Q_EMIT status(text); }
    // Queues op; it runs on the worker with the client and a messenger.
    void einreihen(std::function<void(Schritt &)> op);
    void erledigt();
    // The server directory of a host-prefixed path; nullopt for none.
    std::optional<QString> verzeichnisVon(const QString &pfad) const;
    // A browser operation in the directory of `Label1`: sets the path,
    // shows `was` (nothing when empty), runs `op`, shows the server's reply;
    // a failure shows the message `fehlerText`.
    void inLabel1(const QString &was, const QString &fehlerText,
                  std::function<bool(FtpSitzung &)> op, Fertig fertig);

    std::unique_ptr<FtpArbeiter> arbeiter_;
    int offen_ = 0;
    bool verbunden_ = false;
    QString label1_;
    QString gewaehlt_; // the address path chosen last
    QString antwort_ = QStringLiteral("Ok");
    QString verzeichnis_;
    QString serverName_ = QStringLiteral(VARNEK_DEFAULT_HOST);
    QString adressWurzel_;
};

} // namespace varnek
