#include "support/HostileFtpServer.h"
#include "support/Pfade.h"

#include <QFile>

namespace varnek::test
{

HostileFtpServer::HostileFtpServer(const Config &config)
{
    const QString listingFile = work_.filePath(QStringLiteral("listing"));
    QFile f(listingFile);
    if (!f.open(QIODevice::WriteOnly) || f.write(config.listing) != config.listing.size())
        return;
    f.close();

    QStringList args{quellPfad(QStringLiteral("tests/support/hostile_ftp_server.py")),
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
    case Config::Mode::SwallowStor:
        args << QStringLiteral("swallow-stor");
        break;
    }
    args << QStringLiteral("--rename");
    switch (config.umbenennen) {
    case Config::Umbenennen::Nie:
        args << QStringLiteral("none");
        break;
    case Config::Umbenennen::NichtUeberschreibend:
        args << QStringLiteral("no-overwrite");
        break;
    case Config::Umbenennen::Ganz:
        args << QStringLiteral("full");
        break;
    }
    if (config.mlsd)
        args << QStringLiteral("--mlsd");

    const QString ready = server_.start(args, 15000);
    port_ = SkriptServer::zahl(ready, QStringLiteral("port"));
}

QStringList HostileFtpServer::commands() const
{
    QFile f(work_.filePath(QStringLiteral("log")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

FtpSitzung::Optionen HostileFtpServer::options() const
{
    FtpSitzung::Optionen o;
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
