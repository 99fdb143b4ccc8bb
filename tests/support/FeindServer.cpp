#include "support/FeindServer.h"
#include "support/Pfade.h"

#include <QFile>

namespace varnek::test
{

FeindServer::FeindServer(const QString &modus, const QString &text)
{
    QStringList argumente{quellPfad(QStringLiteral("tests/support/feind_http.py")),
                          QStringLiteral("--mode"), modus, QStringLiteral("--log"),
                          dir_.filePath(QStringLiteral("anfragen.log"))};
    if (!text.isEmpty())
        argumente << QStringLiteral("--text") << text;
    const QString ready = server_.start(argumente, 10000);
    port_ = SkriptServer::zahl(ready, QStringLiteral("port"));
}

QStringList FeindServer::anfragen() const
{
    QFile f(dir_.filePath(QStringLiteral("anfragen.log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace varnek::test
