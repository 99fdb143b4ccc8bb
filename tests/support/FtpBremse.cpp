#include "support/FtpBremse.h"

#include <QDir>
#include <QFileInfo>

namespace varnek::test
{

FtpBremse::FtpBremse(int zielPort, const QStringList &optionen)
{
    // Beside this file in the source tree; the server script's folder is known.
    const QString skript = QFileInfo(QStringLiteral(VARNEK_SERVER_SCRIPT))
                               .absoluteDir()
                               .absoluteFilePath(QStringLiteral("../tests/support/ftp_bremse.py"));
    const QString ready = server_.start(
        QStringList{skript, QStringLiteral("--target-port"), QString::number(zielPort)} + optionen,
        10000);
    port_ = SkriptServer::zahl(ready, QStringLiteral("port"));
}

} // namespace varnek::test
