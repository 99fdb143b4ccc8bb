#pragma once

#include "contact/Adresse.h"

#include <QString>

#include <optional>

namespace varnek
{

// What the command line and the settings file settle for one run of the
// program. The account defaults to the shared one built into the program.
struct Einstellungen {
    static constexpr auto kStandardBenutzer = "varnekdb";
    static constexpr auto kStandardPasswort = "Wald2619";

    QString programmOrdner; // program folder; also the working directory
    QString host = QStringLiteral(VARNEK_DEFAULT_HOST);
    int ftpPort = 21;
    int httpPort = 80;
    QString benutzer = QString::fromLatin1(kStandardBenutzer); // FTP user
    QString passwort = QString::fromLatin1(kStandardPasswort);
    // Passive mode as the settings file says; unset: --send and --ring
    // passive, the window's "Passive Transfers" unchecked.
    std::optional<bool> passiv;
    // FTP folder of the address area; empty: "/" host "/vx/stillbox/vxvx/".
    QString adressWurzel;
    // The same folder over HTTP.
    QString httpPfad = adressBereich();
    // FTP with explicit TLS and HTTPS; the authority that signed the
    // server's certificate when it is none of the system's.
    bool tls = false;
    QString caDatei;
    QString sprechProtokoll; // --speech-log: transcript of everything spoken
    bool stumm = false;      // --mute
    QString lauschen;        // --watch: address read from start-up on

    QString datei(const QString &name) const { return programmOrdner + QLatin1Char('/') + name; }
    // The FTP folder of the address area, with its slashes.
    QString ftpAdressWurzel() const
    {
        return adressWurzel.trimmed().isEmpty() ? QLatin1Char('/') + host + adressBereich()
                                                : ordnerPfad(adressWurzel);
    }
    WebZiel web() const { return WebZiel{host, httpPort, tls, ordnerPfad(httpPfad)}; }
};

} // namespace varnek
