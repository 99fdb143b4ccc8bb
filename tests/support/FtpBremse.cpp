#include "support/FtpBremse.h"
#include "support/Pfade.h"

#include <QDir>
#include <QFileInfo>

namespace varnek::test
{

FtpBremse::FtpBremse(int zielPort, const QStringList &optionen)
{
    // Beside this file in the source tree; the server script's folder is known.
    const QString skript = QFileInfo(quellPfad(QStringLiteral("server/varnek_server.py")))
                               .absoluteDir()
                               .absoluteFilePath(QStringLiteral("../tests/support/ftp_bremse.py"));
    const QString ready = server_.start(
        QStringList{skript, QStringLiteral("--target-port"), QString::number(zielPort)} + optionen,
        10000);
    port_ = SkriptServer::zahl(ready, QStringLiteral("port"));
}

} // namespace varnek::test
