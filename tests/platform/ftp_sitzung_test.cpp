#include "platform/FtpSitzung.h"

#include "support/FtpBremse.h"
#include "support/LocalServer.h"
#include "support/RohServer.h"
#include "support/Schreibfehler.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using varnek::FtpSitzung;
using varnek::test::LocalServer;

namespace
{

const QString kAddressDir = QStringLiteral("/localhost/vx/stillbox/vxvx/test");

QByteArray readLocal(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeLocal(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Every byte value, with CR, LF, CR LF, NUL runs and high bytes, long enough
// to need several data blocks.
QByteArray binaryData()
{
    QByteArray data;
    for (int round = 0; round < 300; ++round) {
        for (int b = 0; b < 256; ++b)
            data += char(b);
        data += "\r\n\n\r\0\0\xff\xfe"_qba;
        data += QByteArray::number(round);
    }
    return data;
}

bool hasControlChars(const QString &s)
{
    for (const QChar c : s)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    return false;
}

class FtpClientTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(server.running()); }

    FtpSitzung::Optionen options(bool passive = false) const
    {
        FtpSitzung::Optionen o;
        o.host = server.host();
        o.port = server.ftpPort();
        o.user = QStringLiteral("varnekdb");
        o.password = QStringLiteral("Wald2619");
        o.passive = passive;
        o.connectTimeoutMs = 5000;
        o.stallTimeoutMs = 5000;
        return o;
    }

    // Connected and standing in the address folder "test".
    void connectInAddress(bool passive = false)
    {
        ASSERT_TRUE(ftp.verbinde(options(passive))) << ftp.letzteAntwort().toStdString();
        ASSERT_TRUE(ftp.wechsleVerzeichnis(kAddressDir)) << ftp.letzteAntwort().toStdString();
    }

    QString onServer(const QString &name) const
    {
        return server.addressDir(QStringLiteral("test")) + QLatin1Char('/') + name;
    }

    LocalServer server;
    QTemporaryDir local;
    FtpSitzung ftp;
};

TEST_F(FtpClientTest, ConnectLogsInAtTheRoot)
{
    ASSERT_TRUE(ftp.verbinde(options()));
    EXPECT_TRUE(ftp.verbunden());
    EXPECT_EQ(ftp.letzterFehler(), 0);
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/"));
    EXPECT_FALSE(hasControlChars(ftp.letzteAntwort()));

    ftp.schliesse();
    EXPECT_FALSE(ftp.verbunden());
    EXPECT_FALSE(ftp.wechsleVerzeichnis(QStringLiteral("/")));
    EXPECT_EQ(ftp.letzterFehler(), FtpSitzung::NotConnectedError);

    // The same client connects again after a close.
    ASSERT_TRUE(ftp.verbinde(options(true)));
    EXPECT_TRUE(ftp.wechsleVerzeichnis(kAddressDir));
}

TEST_F(FtpClientTest, RefusedLoginsFailAndLeaveTheClientClosed)
{
    auto wrong = options();
    wrong.password = QStringLiteral("falsch");
    EXPECT_FALSE(ftp.verbinde(wrong));
    EXPECT_FALSE(ftp.verbunden());
    EXPECT_EQ(ftp.letzterFehler(), FtpSitzung::ServerReplyError);
    EXPECT_TRUE(ftp.letzteAntwort().startsWith(QStringLiteral("530")))
        << ftp.letzteAntwort().toStdString();
    EXPECT_FALSE(hasControlChars(ftp.letzteAntwort()));

    auto closed = options();
    closed.port = varnek::test::closedPort();
    EXPECT_FALSE(ftp.verbinde(closed));
    EXPECT_FALSE(ftp.verbunden());
    EXPECT_NE(ftp.letzterFehler(), 0);
    EXPECT_NE(ftp.letzterFehler(), FtpSitzung::ServerReplyError);
    EXPECT_FALSE(ftp.letzteAntwort().isEmpty());

    // A failed connect after a good one leaves nothing of the old connection.
    ASSERT_TRUE(ftp.verbinde(options()));
    EXPECT_FALSE(ftp.verbinde(wrong));
    EXPECT_FALSE(ftp.verbunden());
    EXPECT_FALSE(ftp.liste().has_value());
    EXPECT_EQ(ftp.letzterFehler(), FtpSitzung::NotConnectedError);
}

TEST_F(FtpClientTest, SilentServerFailsWithinTheConnectTimeout)
{
    varnek::test::RohServer silent; // accepts TCP and never says a word
    ASSERT_TRUE(silent.running());
    auto o = options();
    o.host = QStringLiteral("127.0.0.1");
    o.port = silent.port();
    o.connectTimeoutMs = 700;

    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ftp.verbinde(o));
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_FALSE(ftp.verbunden());
    EXPECT_NE(ftp.letzterFehler(), 0);
    EXPECT_FALSE(ftp.letzteAntwort().isEmpty());
}

TEST_F(FtpClientTest, CurrentDirectoryFollowsTheServer)
{
    ASSERT_TRUE(ftp.verbinde(options()));
    ASSERT_TRUE(ftp.wechsleVerzeichnis(kAddressDir));
    EXPECT_EQ(ftp.verzeichnis(), kAddressDir);
    EXPECT_EQ(ftp.letzterFehler(), 0);

    // A missing folder is refused and the old directory stays.
    EXPECT_FALSE(ftp.wechsleVerzeichnis(QStringLiteral("/localhost/vx/stillbox/vxvx/gibtsnicht")));
    EXPECT_EQ(ftp.letzterFehler(), FtpSitzung::ServerReplyError);
    EXPECT_TRUE(ftp.letzteAntwort().startsWith(QStringLiteral("550")))
        << ftp.letzteAntwort().toStdString();
    EXPECT_EQ(ftp.verzeichnis(), kAddressDir);

    // ".." as the browser sends it: the server resolves it.
    ASSERT_TRUE(ftp.wechsleVerzeichnis(kAddressDir + QStringLiteral("/..")));
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/localhost/vx/stillbox/vxvx"));
    ASSERT_TRUE(ftp.wechsleVerzeichnis(QStringLiteral("..")));
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/localhost/vx/stillbox"));

    // Relative names and a trailing slash.
    ASSERT_TRUE(ftp.wechsleVerzeichnis(QStringLiteral("vxvx/info/")));
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/localhost/vx/stillbox/vxvx/info"));

    ASSERT_TRUE(ftp.wechsleVerzeichnis(QStringLiteral("/")));
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/"));
    EXPECT_FALSE(ftp.wechsleVerzeichnis(QString()));
    EXPECT_EQ(ftp.verzeichnis(), QStringLiteral("/"));
}

TEST_F(FtpClientTest, BinaryRoundTripInActiveAndPassiveMode)
{
    const QByteArray data = binaryData();

    for (const bool passive : {false, true}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        connectInAddress(passive);
        const QString name = passive ? QStringLiteral("passiv.bin") : QStringLiteral("aktiv.bin");
        ASSERT_TRUE(ftp.ladeHoch(data, name, false)) << ftp.letzteAntwort().toStdString();
        EXPECT_EQ(ftp.letzterFehler(), 0);
        EXPECT_EQ(server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/") + name), data);

        // The download replaces a longer file that was there.
        const QString down = local.filePath(QStringLiteral("down.bin"));
        writeLocal(down, QByteArray(data.size() + 1000, 'x'));
        ASSERT_TRUE(ftp.ladeHerunter(name, down, false)) << ftp.letzteAntwort().toStdString();
        EXPECT_EQ(readLocal(down), data);

        // Uploading again replaces the remote file.
        ASSERT_TRUE(ftp.ladeHoch("kurz"_qba, name, false));
        EXPECT_EQ(server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/") + name),
                  "kurz"_qba);
        ftp.schliesse();
    }
}

TEST_F(FtpClientTest, AsciiRoundTripKeepsCrLfText)
{
    connectInAddress();
    const QByteArray text = "Hallo Gr\xfc\xdf"
                            "e\r\n#dingdong#\r\nletzte Zeile\r\n"_qba;
    ASSERT_TRUE(ftp.ladeHoch(text, QStringLiteral("Gast.txt"), true))
        << ftp.letzteAntwort().toStdString();
    // The server keeps text in its own line-end convention.
    EXPECT_EQ(server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt")),
              QByteArray(text).replace("\r\n", "\n"));

    const QString down = local.filePath(QStringLiteral("zurueck.txt"));
    ASSERT_TRUE(ftp.ladeHerunter(QStringLiteral("Gast.txt"), down, true))
        << ftp.letzteAntwort().toStdString();
    EXPECT_EQ(readLocal(down), text);
}

TEST_F(FtpClientTest, FailedTransfersLeaveFilesAlone)
{
    connectInAddress();
    const QString good = local.filePath(QStringLiteral("Gast.txt"));
    writeLocal(good, "gute Datei"_qba);

    EXPECT_FALSE(ftp.ladeHerunter(QStringLiteral("fehlt.txt"), good, false));
    EXPECT_EQ(ftp.letzterFehler(), FtpSitzung::ServerReplyError);
    EXPECT_TRUE(ftp.letzteAntwort().startsWith(QStringLiteral("550")))
        << ftp.letzteAntwort().toStdString();
    EXPECT_EQ(readLocal(good), "gute Datei"_qba);
    EXPECT_EQ(QDir(local.path()).entryList(QDir::Files), QStringList{QStringLiteral("Gast.txt")});

    // A local disk that fills up during the download leaves the old file.
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/gross.bin"),
                     QByteArray(200000, 'g'));
    for (const qint64 nach : {qint64(0), qint64(70000)}) {
        varnek::test::SchreibProbe voll(ENOSPC, nach);
        EXPECT_FALSE(ftp.ladeHerunter(QStringLiteral("gross.bin"), good, false));
        EXPECT_TRUE(ftp.letzteAntwort().contains(QString::fromUtf8("Datenträger voll")))
            << ftp.letzteAntwort().toStdString();
        EXPECT_EQ(readLocal(good), "gute Datei"_qba);
        EXPECT_EQ(QDir(local.path()).entryList(QDir::Files),
                  QStringList{QStringLiteral("Gast.txt")});
    }

    // After the failed downloads the connection is still usable.
    EXPECT_TRUE(ftp.ladeHoch("gute Datei"_qba, QStringLiteral("x.txt"), false));
    EXPECT_EQ(ftp.letzterFehler(), 0);
}

TEST_F(FtpClientTest, NamesWithBlanksUmlautsAndHash)
{
    connectInAddress(true);
    ASSERT_TRUE(ftp.erstelleVerzeichnis(QStringLiteral("Mein Ordner #1")));
    ASSERT_TRUE(ftp.wechsleVerzeichnis(QStringLiteral("Mein Ordner #1")));
    EXPECT_EQ(ftp.verzeichnis(), kAddressDir + QStringLiteral("/Mein Ordner #1"));

    const QString name = QStringLiteral("Grüße an Jörg #2?.txt");
    ASSERT_TRUE(ftp.ladeHoch("Inhalt"_qba, name, false)) << ftp.letzteAntwort().toStdString();
    EXPECT_EQ(
        server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Mein Ordner #1/") + name),
        "Inhalt"_qba);

    const auto listing = ftp.liste();
    ASSERT_TRUE(listing.has_value());
    EXPECT_TRUE(listing->text.contains(name.toUtf8()));

    const QString down = local.filePath(QStringLiteral("d.txt"));
    ASSERT_TRUE(ftp.ladeHerunter(name, down, false)) << ftp.letzteAntwort().toStdString();
    EXPECT_EQ(readLocal(down), "Inhalt"_qba);
}

TEST_F(FtpClientTest, ListDeliversTheEntriesOfTheCurrentDirectory)
{
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt"), "hallo"_qba);
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Foto.bmp"),
                     QByteArray(1234, 'b'));
    QDir().mkpath(server.addressDir(QStringLiteral("test")) + QStringLiteral("/Unterordner"));

    for (const bool passive : {false, true}) {
        SCOPED_TRACE(passive ? "passive" : "active");
        connectInAddress(passive);
        const auto listing = ftp.liste();
        ASSERT_TRUE(listing.has_value()) << ftp.letzteAntwort().toStdString();
        EXPECT_EQ(ftp.letzterFehler(), 0);
        EXPECT_EQ(listing->format, FtpSitzung::ListingFormat::Mlsd);
        const QByteArray text = QByteArray(listing->text).replace("\r\n", "\n");
        EXPECT_EQ(text.trimmed().split('\n').size(), 3) << text.toStdString();
        EXPECT_TRUE(text.contains("; Gast.txt\n"));
        EXPECT_TRUE(text.contains("size=1234;"));
        EXPECT_TRUE(text.contains("type=dir;"));
        EXPECT_TRUE(text.contains("; Unterordner\n"));

        // The root lists the web root folder.
        ASSERT_TRUE(ftp.wechsleVerzeichnis(QStringLiteral("/")));
        const auto root = ftp.liste();
        ASSERT_TRUE(root.has_value());
        EXPECT_TRUE(QByteArray(root->text).replace("\r\n", "\n").contains("; localhost\n"))
            << root->text.toStdString();
        ftp.schliesse();
    }

    // An empty folder lists as empty.
    connectInAddress();
    ASSERT_TRUE(ftp.wechsleVerzeichnis(QStringLiteral("Unterordner")));
    const auto empty = ftp.liste();
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->text.isEmpty());
}

TEST_F(FtpClientTest, DeleteCreateRemoveAndRename)
{
    connectInAddress();
    const QString dir = server.addressDir(QStringLiteral("test"));
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/alt.txt"), "x"_qba);

    ASSERT_TRUE(ftp.benenneUm(QStringLiteral("alt.txt"), QStringLiteral("neu name.txt")));
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/alt.txt")));
    EXPECT_TRUE(QFileInfo::exists(dir + QStringLiteral("/neu name.txt")));
    EXPECT_FALSE(ftp.benenneUm(QStringLiteral("alt.txt"), QStringLiteral("wieder.txt")));
    EXPECT_EQ(ftp.letzterFehler(), FtpSitzung::ServerReplyError);

    ASSERT_TRUE(ftp.loescheDatei(QStringLiteral("neu name.txt")));
    EXPECT_EQ(ftp.letzterFehler(), 0);
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/neu name.txt")));
    EXPECT_FALSE(ftp.loescheDatei(QStringLiteral("neu name.txt")));
    EXPECT_EQ(ftp.letzterFehler(), FtpSitzung::ServerReplyError);
    EXPECT_TRUE(ftp.letzteAntwort().startsWith(QStringLiteral("550")));

    ASSERT_TRUE(ftp.erstelleVerzeichnis(QStringLiteral("Neu")));
    EXPECT_TRUE(QFileInfo(dir + QStringLiteral("/Neu")).isDir());
    EXPECT_FALSE(ftp.erstelleVerzeichnis(QStringLiteral("Neu")));
    ASSERT_TRUE(ftp.loescheVerzeichnis(QStringLiteral("Neu")));
    EXPECT_FALSE(QFileInfo::exists(dir + QStringLiteral("/Neu")));
    EXPECT_FALSE(ftp.loescheVerzeichnis(QStringLiteral("Neu")));
    EXPECT_EQ(ftp.verzeichnis(), kAddressDir);

    // Names that would break the command line are refused before sending.
    EXPECT_FALSE(ftp.loescheDatei(QStringLiteral("a\r\nDELE b")));
    EXPECT_NE(ftp.letzterFehler(), 0);
    EXPECT_TRUE(ftp.verbunden());
}

TEST_F(FtpClientTest, ResponsesNeverCarryControlCharacters)
{
    connectInAddress();
    // The server repeats a created folder's name in its reply.
    ASSERT_TRUE(ftp.erstelleVerzeichnis(QStringLiteral("Tab\there\x1b[0m")));
    EXPECT_TRUE(ftp.letzteAntwort().startsWith(QStringLiteral("257")))
        << ftp.letzteAntwort().toStdString();
    EXPECT_FALSE(hasControlChars(ftp.letzteAntwort())) << ftp.letzteAntwort().toStdString();
    EXPECT_FALSE(ftp.letzteAntwort().contains(QChar(u'\0')));

    EXPECT_FALSE(ftp.wechsleVerzeichnis(QStringLiteral("fehlt\tauch")));
    EXPECT_FALSE(hasControlChars(ftp.letzteAntwort()));
    EXPECT_FALSE(ftp.letzteAntwort().isEmpty());
}

} // namespace

namespace
{

// cancel() from another thread ends a call stalled on a silent server at
// once, in every phase, and keeps later calls from starting until reset.
TEST_F(FtpClientTest, CancelFromAnotherThreadEndsAStalledCallAtOnce)
{
    for (const char *stall : {"--stall-greeting", "--stall-on"}) {
        QStringList args{QString::fromLatin1(stall)};
        if (args.first() == QLatin1String("--stall-on"))
            args << QStringLiteral("STOR");
        varnek::test::FtpBremse bremse(server.ftpPort(), args);
        ASSERT_TRUE(bremse.running());
        auto o = options();
        o.host = QStringLiteral("127.0.0.1");
        o.port = bremse.port();
        o.connectTimeoutMs = 20000;
        o.stallTimeoutMs = 20000;
        FtpSitzung client;
        const bool greeting = args.size() == 2;
        if (greeting) {
            ASSERT_TRUE(client.verbinde(o)) << qPrintable(client.letzteAntwort());
            ASSERT_TRUE(client.wechsleVerzeichnis(kAddressDir));
        }

        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            client.brichAb();
        });
        QElapsedTimer clock;
        clock.start();
        const varnek::Ergebnis ok =
            greeting ? client.ladeHoch("Hallo\r\n", QStringLiteral("Gast.txt"), false)
                     : client.verbinde(o);
        const qint64 took = clock.elapsed();
        canceller.join();
        EXPECT_FALSE(ok) << stall;
        EXPECT_LT(took, 1000) << stall;
        EXPECT_NE(client.letzterFehler(), 0) << stall;
        EXPECT_FALSE(hasControlChars(client.letzteAntwort()));

        // Until reset, nothing starts; closing never waits for the server.
        clock.restart();
        EXPECT_FALSE(client.wechsleVerzeichnis(QStringLiteral("/")));
        client.schliesse();
        EXPECT_LT(clock.elapsed(), 500) << stall;
        client.setzeAbbruchZurueck();
        EXPECT_FALSE(client.abgebrochen());
    }
}

} // namespace
