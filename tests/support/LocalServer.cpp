#include "support/LocalServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTcpServer>

namespace varnek::test {

LocalServer::LocalServer() : proc_(std::make_unique<QProcess>())
{
    proc_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc_->start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(VARNEK_SERVER_SCRIPT), QStringLiteral("--root"), dir_.path(),
                  QStringLiteral("--ftp-port"), QStringLiteral("0"), QStringLiteral("--http-port"),
                  QStringLiteral("0")});
    if (!proc_->waitForStarted(5000))
        return;
    QByteArray out;
    QDeadlineTimer deadline(15000);
    while (!out.contains('\n') && !deadline.hasExpired()) {
        proc_->waitForReadyRead(200);
        out += proc_->readAllStandardOutput();
    }
    static const QRegularExpression re(QStringLiteral("READY ftp=(\\d+) http=(\\d+)"));
    const auto m = re.match(QString::fromLatin1(out));
    if (m.hasMatch()) {
        ftpPort_ = m.captured(1).toInt();
        httpPort_ = m.captured(2).toInt();
    }
}

LocalServer::~LocalServer()
{
    if (proc_->state() != QProcess::NotRunning) {
        proc_->terminate();
        if (!proc_->waitForFinished(3000)) {
            proc_->kill();
            proc_->waitForFinished(3000);
        }
    }
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
