#pragma once

#include <QString>

namespace varnek
{

// What the command line settles for one run of the program.
struct Einstellungen {
    QString programmOrdner; // program folder; also the working directory
    QString host = QStringLiteral(VARNEK_DEFAULT_HOST);
    int ftpPort = 21;
    int httpPort = 80;
    QString sprechProtokoll; // --speech-log: transcript of everything spoken
    bool stumm = false;      // --mute
    QString lauschen;        // --watch: address read from start-up on

    QString datei(const QString &name) const { return programmOrdner + QLatin1Char('/') + name; }
};

} // namespace varnek
