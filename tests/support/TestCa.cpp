#include "support/TestCa.h"
#include "support/Pfade.h"

#include <QFileInfo>
#include <QProcess>

namespace varnek::test
{

TestCa::TestCa()
{
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(QStringLiteral("bash"),
            {quellPfad(QStringLiteral("server/make_test_ca.sh")), dir_.path()});
    ok_ = p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 &&
          QFileInfo::exists(cert()) && QFileInfo::exists(ca());
}

QStringList TestCa::serverOptionen() const
{
    return {QStringLiteral("--tls"), QStringLiteral("--cert"), cert(), QStringLiteral("--key"),
            key()};
}

} // namespace varnek::test
