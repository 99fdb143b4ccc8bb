#include "support/SkriptServer.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace varnek::test
{

SkriptServer::SkriptServer() : proc_(std::make_unique<QProcess>())
{
    proc_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

SkriptServer::~SkriptServer()
{
    if (proc_->state() == QProcess::NotRunning)
        return;
    proc_->terminate();
    if (!proc_->waitForFinished(3000)) {
        proc_->kill();
        proc_->waitForFinished(3000);
    }
}

QString SkriptServer::start(const QStringList &arguments, int waitMs)
{
    proc_->start(QStringLiteral("/usr/bin/python3"), arguments);
    if (!proc_->waitForStarted(5000))
        return {};
    QByteArray out;
    QDeadlineTimer deadline(waitMs);
    while (!out.contains('\n') && !deadline.hasExpired()) {
        proc_->waitForReadyRead(200);
        out += proc_->readAllStandardOutput();
    }
    const qsizetype ende = out.indexOf('\n');
    return ende < 0 ? QString() : QString::fromLatin1(out.left(ende)).trimmed();
}

int SkriptServer::zahl(const QString &ready, const QString &key)
{
    const QRegularExpression re(QRegularExpression::escape(key) + QStringLiteral("=(\\d+)"));
    const auto m = re.match(ready);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace varnek::test
