#pragma once

#include "platform/FtpClient.h"

#include <QObject>
#include <QString>

#include <optional>

namespace varnek {

// The contact window's connection to the shared server account: connect,
// log off, the remote path `Label1` and the transfer steps the other parts
// use. Progress goes out as status texts (the status line), failures the
// user must see as messages (message boxes), long calls as busy(true/false)
// (the hourglass).
class Verbindung : public QObject {
    Q_OBJECT
public:
    struct Konto {
        QString host;
        int port = 21;
        QString user = QStringLiteral("varnekdb");
        QString password = QStringLiteral("Wald2619");
    };

    explicit Verbindung(QObject *parent = nullptr);
    ~Verbindung() override;

    // `ServerName` / `Label10`: the host every remote path starts with.
    void setServerName(const QString &host) { serverName_ = host; }
    QString serverName() const { return serverName_; }

    bool verbunden() const { return client_.isConnected(); }
    // `Uebertragungsart`: 1 = ASCII, 0 = binary.
    int Uebertragungsart = 1;
    // Timeouts of every FTP call (tests shorten them).
    int connectTimeoutMs = 10000;
    int stallTimeoutMs = 30000;

    // `Label1`, the current remote path: host & "/" & directories.
    QString Label1() const { return label1_; }
    void setLabel1(const QString &pfad);

    // Connect (`Command5`): false leaves the state disconnected.
    bool herstellen(const Konto &konto, bool passiv);
    // Log off (`Command4`): nothing happens when not connected.
    void abbrechen();

    // The address path step: `Label1` = host/host/vx/stillbox/vxvx/<address>.
    // An address that would leave the address area is refused with a message
    // and `Label1` stays as it was.
    bool adressPfad(const QString &adresse);
    static bool adresseZulaessig(const QString &adresse);
    QString basisPfad() const;   // `Combo1`: host/host/vx/stillbox/vxvx/

    // The transfer primitives.
    bool SetzePfad(QString &pfad);
    bool LadeDatei(const QString &remoteDir, const QString &remoteFile, const QString &localDir);
    // Uploads in the transfer type `art` (default: `Uebertragungsart`).
    bool UebertrageDatei(const QString &localPath, int art = -1);
    // Changes into `pfad` (host-prefixed) and lists it; nullopt when the
    // directory cannot be set. The raw listing goes to the browser model.
    std::optional<FtpClient::Listing> liste(const QString &pfad);

    // Remote operations of the browser, in the directory of `Label1`.
    bool loesche(const QString &name, bool verzeichnis);
    bool erstelleVerzeichnis(const QString &name);
    bool benenneUm(const QString &von, const QString &nach);

    // `ZeigeAntwort`: "Ok" or the error number and the server's last reply.
    QString antwort() const;
    void ZeigeAntwort();

    FtpClient &client() { return client_; }

Q_SIGNALS:
    void status(const QString &text);   // `ZeigeStatus`
    void meldung(const QString &text);  // a message box for the user
    void beschaeftigt(bool busy);       // hourglass on / off
    void verbindungGeaendert(bool verbunden); // `SchalterVerbunden` / `SchalterGetrennt`
    void label1Geaendert(const QString &pfad);

private:
    void ZeigeStatus(const QString &text) { Q_EMIT status(text); }

    FtpClient client_;
    QString label1_;
    QString serverName_ = QStringLiteral(VARNEK_DEFAULT_HOST);
};

// Status line text without NUL padding or control characters.
QString bereinigeStatus(const QString &text);

} // namespace varnek
