#include "support/FtpBremse.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace varnek::test
{

FtpBremse::FtpBremse(int zielPort, const QStringList &optionen)
    : proc_(std::make_unique<QProcess>())
{
    // Beside this file in the source tree; the server script's folder is known.
    const QString skript = QFileInfo(QStringLiteral(VARNEK_SERVER_SCRIPT))
                               .absoluteDir()
                               .absoluteFilePath(QStringLiteral("../tests/support/ftp_bremse.py"));
    proc_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc_->start(QStringLiteral("/usr/bin/python3"),
                 QStringList{skript, QStringLiteral("--target-port"), QString::number(zielPort)} +
                     optionen);
    if (!proc_->waitForStarted(5000))
        return;
    QByteArray out;
    QDeadlineTimer deadline(10000);
    while (!out.contains('\n') && !deadline.hasExpired()) {
        proc_->waitForReadyRead(200);
        out += proc_->readAllStandardOutput();
    }
    static const QRegularExpression re(QStringLiteral("READY port=(\\d+)"));
    const auto m = re.match(QString::fromLatin1(out));
    if (m.hasMatch())
        port_ = m.captured(1).toInt();
}

FtpBremse::~FtpBremse()
{
    if (proc_->state() != QProcess::NotRunning) {
        proc_->kill();
        proc_->waitForFinished(3000);
    }
}

} // namespace varnek::test
