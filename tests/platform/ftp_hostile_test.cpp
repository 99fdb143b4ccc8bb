// The FTP client against servers that send too much, too slowly, or hang up.

#include "platform/FtpSitzung.h"

#include "support/HostileFtpServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using varnek::FtpSitzung;
using varnek::test::HostileFtpServer;
using Mode = HostileFtpServer::Config::Mode;

namespace
{

const QByteArray kLine = "-rw-r--r--    1 ftp      ftp           120 Jan 15  2019 datei.txt\r\n";

void writeLocal(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST(FtpHostile, FiftyMegabyteListingIsCutAtTheLimitAndTheClientGoesOn)
{
    HostileFtpServer::Config config;
    config.listing = kLine;
    config.repeat = int(50 * 1024 * 1024 / kLine.size());
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());

    FtpSitzung ftp;
    ASSERT_TRUE(ftp.verbinde(server.options())) << qPrintable(ftp.letzteAntwort());
    QElapsedTimer timer;
    timer.start();
    const std::optional<FtpSitzung::Liste> listing = ftp.liste();
    ASSERT_TRUE(listing) << qPrintable(ftp.letzteAntwort());
    EXPECT_LT(timer.elapsed(), 10000);
    EXPECT_TRUE(listing->truncated);
    EXPECT_EQ(ftp.letzterFehler(), 0);
    EXPECT_LE(listing->text.size(), 20 * 1024 * 1024);
    EXPECT_GT(listing->text.size(), 19 * 1024 * 1024);
    // Only whole lines are kept.
    EXPECT_TRUE(listing->text.endsWith(kLine));
    EXPECT_EQ(listing->text.size() % kLine.size(), 0);

    // The session is still usable.
    EXPECT_TRUE(ftp.wechsleVerzeichnis(QStringLiteral("/a"))) << qPrintable(ftp.letzteAntwort());
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/a"));

    // A listing within the limit is whole.
    FtpSitzung::Optionen wide = server.options();
    wide.maxListingBytes = 60 * 1024 * 1024;
    ASSERT_TRUE(ftp.verbinde(wide));
    const std::optional<FtpSitzung::Liste> whole = ftp.liste();
    ASSERT_TRUE(whole);
    EXPECT_FALSE(whole->truncated);
    EXPECT_EQ(whole->text.size(), kLine.size() * config.repeat);
}

TEST(FtpHostile, ListingArrivesAsSentWithLoneCarriageReturnsKept)
{
    const QByteArray raw = "-rw-r--r-- 1 a b 5 Mar 5 14:05 eins\rzwei\r\n"
                           "-rw-r--r-- 1 a b 5 Mar 5 14:05 drei\n"
                           "-rw-r--r-- 1 a b 5 Mar 5 14:05 vier\r\r\n"
                           "-rw-r--r-- 1 a b 5 Mar 5 14:05 f\xfcnf\0sechs\r\n"_qba;
    for (const bool mlsd : {false, true}) {
        HostileFtpServer::Config config;
        config.listing = raw;
        config.mlsd = mlsd;
        HostileFtpServer server(config);
        ASSERT_TRUE(server.running());
        FtpSitzung::Optionen o = server.options();
        o.passive = !mlsd; // both ways of opening the data connection
        FtpSitzung ftp;
        ASSERT_TRUE(ftp.verbinde(o));
        const std::optional<FtpSitzung::Liste> listing = ftp.liste();
        ASSERT_TRUE(listing) << qPrintable(ftp.letzteAntwort());
        EXPECT_EQ(listing->format,
                  mlsd ? FtpSitzung::ListingFormat::Mlsd : FtpSitzung::ListingFormat::List);
        EXPECT_EQ(listing->text, raw);
        EXPECT_FALSE(listing->truncated);
    }
}

TEST(FtpHostile, DrippingServerFailsOnTheLowSpeedLimit)
{
    HostileFtpServer::Config config;
    config.listing = kLine.repeated(100);
    config.rate = 2;
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());
    writeLocal(server.root() + QStringLiteral("/gross.bin"), QByteArray(4000, 'x'));

    FtpSitzung::Optionen o = server.options();
    o.stallTimeoutMs = 2000; // fewer than 100 bytes/s for 2 s
    FtpSitzung ftp;
    ASSERT_TRUE(ftp.verbinde(o));

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(ftp.liste());
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_GE(timer.elapsed(), 1500);
    EXPECT_EQ(ftp.letzterFehler(), 28);
    EXPECT_EQ(ftp.letzteAntwort(),
              QStringLiteral("Übertragung zu langsam: weniger als 100 Bytes/s in 2 s"));

    // A download at the same pace fails the same way and leaves no file.
    QTemporaryDir local;
    const QString target = local.filePath(QStringLiteral("gross.bin"));
    timer.restart();
    EXPECT_FALSE(ftp.ladeHerunter(QStringLiteral("gross.bin"), target, false));
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_EQ(ftp.letzterFehler(), 28);
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_TRUE(QDir(local.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

TEST(FtpHostile, SteadyButSlowServerFailsOnTheCeilingOfTheOperation)
{
    HostileFtpServer::Config config;
    config.listing = kLine.repeated(200); // about 14 kB at 400 bytes/s: 35 s
    config.rate = 400;
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());
    writeLocal(server.root() + QStringLiteral("/gross.bin"), QByteArray(14000, 'x'));

    FtpSitzung::Optionen o = server.options();
    o.commandTimeoutMs = 2000;
    o.transferTimeoutMs = 3000;
    FtpSitzung ftp;
    ASSERT_TRUE(ftp.verbinde(o));

    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(ftp.liste());
    EXPECT_GE(timer.elapsed(), 1900);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(ftp.letzterFehler(), 28);
    EXPECT_EQ(ftp.letzteAntwort(), QStringLiteral("Zeitlimit überschritten: nach 2 s abgebrochen"));

    // Transfers have their own, longer ceiling.
    QTemporaryDir local;
    timer.restart();
    EXPECT_FALSE(
        ftp.ladeHerunter(QStringLiteral("gross.bin"), local.filePath(QStringLiteral("g")), false));
    EXPECT_GE(timer.elapsed(), 2900);
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_EQ(ftp.letzteAntwort(), QStringLiteral("Zeitlimit überschritten: nach 3 s abgebrochen"));
}

TEST(FtpHostile, DirectoryChangeThatIsNeverAnsweredEnds)
{
    HostileFtpServer::Config config;
    config.mode = Mode::StallCwd;
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());
    FtpSitzung ftp;
    ASSERT_TRUE(ftp.verbinde(server.options()));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(ftp.wechsleVerzeichnis(QStringLiteral("/irgendwo")));
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_NE(ftp.letzterFehler(), 0);
    EXPECT_FALSE(ftp.letzteAntwort().isEmpty());
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/"));
}

TEST(FtpHostile, ServerHangingUpInTheMiddleOfAnUploadIsAFailureAndTheNextOneWorks)
{
    HostileFtpServer::Config config;
    config.mode = Mode::DropStor;
    config.dropAfter = 64 * 1024;
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());

    FtpSitzung ftp;
    ASSERT_TRUE(ftp.verbinde(server.options()));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(ftp.ladeHoch(QByteArray(2 * 1024 * 1024, 'B'), QStringLiteral("Foto.bmp"), false));
    EXPECT_LT(timer.elapsed(), 6000);
    EXPECT_NE(ftp.letzterFehler(), 0);
    EXPECT_FALSE(ftp.letzteAntwort().isEmpty());
    EXPECT_TRUE(server.commands().filter(QStringLiteral("DROPPED")).size() == 1);

    // The broken connection is replaced by a new one for the next upload.
    EXPECT_TRUE(ftp.ladeHoch("Hallo\r\n", QStringLiteral("Gast.txt"), true))
        << qPrintable(ftp.letzteAntwort());
    QFile stored(server.root() + QStringLiteral("/Gast.txt"));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), "Hallo\r\n");
    EXPECT_FALSE(QFile::exists(server.root() + QStringLiteral("/Foto.bmp")));
}

} // namespace
