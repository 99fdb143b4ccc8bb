#include "support/HostileFtpServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

namespace varnek::test
{

HostileFtpServer::HostileFtpServer(const Config &config) : proc_(std::make_unique<QProcess>())
{
    const QString listingFile = work_.filePath(QStringLiteral("listing"));
    QFile f(listingFile);
    if (!f.open(QIODevice::WriteOnly) || f.write(config.listing) != config.listing.size())
        return;
    f.close();

    QStringList args{QStringLiteral(VARNEK_SOURCE_DIR "/tests/support/hostile_ftp_server.py"),
                     QStringLiteral("--root"),
                     root_.path(),
                     QStringLiteral("--listing"),
                     listingFile,
                     QStringLiteral("--log"),
                     work_.filePath(QStringLiteral("log")),
                     QStringLiteral("--repeat"),
                     QString::number(config.repeat),
                     QStringLiteral("--rate"),
                     QString::number(config.rate),
                     QStringLiteral("--drop-after"),
                     QString::number(config.dropAfter),
                     QStringLiteral("--mode")};
    switch (config.mode) {
    case Config::Mode::Listing:
        args << QStringLiteral("listing");
        break;
    case Config::Mode::DropStor:
        args << QStringLiteral("drop-stor");
        break;
    case Config::Mode::StallCwd:
        args << QStringLiteral("stall-cwd");
        break;
    }
    if (config.mlsd)
        args << QStringLiteral("--mlsd");

    proc_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc_->start(QStringLiteral("/usr/bin/python3"), args);
    if (!proc_->waitForStarted(5000))
        return;
    QByteArray out;
    QDeadlineTimer deadline(15000);
    while (!out.contains('\n') && !deadline.hasExpired()) {
        proc_->waitForReadyRead(200);
        out += proc_->readAllStandardOutput();
    }
    static const QRegularExpression re(QStringLiteral("READY port=(\\d+)"));
    const auto m = re.match(QString::fromLatin1(out));
    if (m.hasMatch())
        port_ = m.captured(1).toInt();
}

HostileFtpServer::~HostileFtpServer()
{
    if (proc_->state() != QProcess::NotRunning) {
        proc_->terminate();
        if (!proc_->waitForFinished(3000)) {
            proc_->kill();
            proc_->waitForFinished(3000);
        }
    }
}

QStringList HostileFtpServer::commands() const
{
    QFile f(work_.filePath(QStringLiteral("log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

FtpClient::Options HostileFtpServer::options() const
{
    FtpClient::Options o;
    o.host = QStringLiteral("127.0.0.1");
    o.port = port_;
    o.user = QStringLiteral("varnekdb");
    o.password = QStringLiteral("Wald2619");
    o.passive = true;
    o.connectTimeoutMs = 5000;
    o.stallTimeoutMs = 2000;
    o.commandTimeoutMs = 10000;
    o.transferTimeoutMs = 10000;
    return o;
}

} // namespace varnek::test
