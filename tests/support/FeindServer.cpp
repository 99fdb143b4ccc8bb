#include "support/FeindServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>

namespace varnek::test
{

FeindServer::FeindServer(const QString &modus, const QString &text)
    : proc_(std::make_unique<QProcess>())
{
    QStringList argumente{QStringLiteral(VARNEK_FEIND_SCRIPT), QStringLiteral("--mode"), modus,
                          QStringLiteral("--log"), dir_.filePath(QStringLiteral("anfragen.log"))};
    if (!text.isEmpty())
        argumente << QStringLiteral("--text") << text;
    proc_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc_->start(QStringLiteral("/usr/bin/python3"), argumente);
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

FeindServer::~FeindServer()
{
    if (proc_->state() != QProcess::NotRunning) {
        proc_->kill();
        proc_->waitForFinished(3000);
    }
}

QStringList FeindServer::anfragen() const
{
    QFile f(dir_.filePath(QStringLiteral("anfragen.log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace varnek::test
