#include "support/LocalServer.h"
#include "support/Pfade.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpServer>

namespace varnek::test
{

LocalServer::LocalServer(const QStringList &zusatz)
{
    const QString ready = server_.start(
        QStringList{quellPfad(QStringLiteral("server/varnek_server.py")), QStringLiteral("--root"),
                    dir_.path(), QStringLiteral("--ftp-port"), QStringLiteral("0"),
                    QStringLiteral("--http-port"), QStringLiteral("0")} +
            zusatz,
        15000);
    ftpPort_ = SkriptServer::zahl(ready, QStringLiteral("ftp"));
    httpPort_ = SkriptServer::zahl(ready, QStringLiteral("http"));
}

QString LocalServer::addressDir(const QString &address) const
{
    return root() + QStringLiteral("/") + host() + QStringLiteral("/vx/stillbox/vxvx/") + address;
}

QByteArray LocalServer::readFile(const QString &relPath) const
{
    QFile f(root() + QLatin1Char('/') + relPath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void LocalServer::writeFile(const QString &relPath, const QByteArray &bytes) const
{
    const QString path = root() + QLatin1Char('/') + relPath;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

int closedPort()
{
    QTcpServer s;
    s.listen(QHostAddress::LocalHost, 0);
    const int port = s.serverPort();
    s.close();
    return port;
}

} // namespace varnek::test
