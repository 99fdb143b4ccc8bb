// The listing model fed with what the local server really sends.

#include "contact_extras/RemoteListing.h"
#include "platform/FtpSitzung.h"
#include "support/LocalServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace varnek
{
namespace
{

class RemoteListingServer : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.running());
        const QString folder = server.root() + QStringLiteral("/liste");
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/docs")));
        server.writeFile(QStringLiteral("liste/Zeta.txt"), "zz");
        server.writeFile(QStringLiteral("liste/alpha.txt"), "a");
        server.writeFile(QStringLiteral("liste/Beta.TXT"), "bbb");
        server.writeFile(QString::fromUtf8("liste/Grüße.txt"), "g");
        // Sparse: 5 000 000 000 bytes long without taking the room.
        QFile big(folder + QStringLiteral("/big.iso"));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(5000000000LL));
        big.close();

        FtpSitzung::Optionen options;
        options.host = QStringLiteral("127.0.0.1");
        options.port = server.ftpPort();
        options.user = QStringLiteral("varnekdb");
        options.password = QStringLiteral("Wald2619");
        options.passive = true;
        ASSERT_TRUE(client.verbinde(options)) << qPrintable(client.letzteAntwort());
    }

    // Lists the host-prefixed label the way the browser does.
    std::optional<RemoteEntries> listLabel(const QString &label, const QString &filter)
    {
        if (!client.wechsleVerzeichnis(label.mid(server.host().size())))
            return std::nullopt;
        const std::optional<FtpSitzung::Liste> listing = client.liste();
        if (!listing)
            return std::nullopt;
        return ListeVerzeichnis(
            parseListing(listing->format, listing->text, QDateTime::currentDateTimeUtc()), filter);
    }

    test::LocalServer server;
    FtpSitzung client;
};

TEST_F(RemoteListingServer, RealListingSortedIntoLines)
{
    std::optional<RemoteEntries> entries =
        listLabel(QStringLiteral("localhost/liste/"), QStringLiteral("*"));
    ASSERT_TRUE(entries);
    const QStringList lines = SortiereVerzeichnis(*entries);
    EXPECT_EQ(lines, QStringList({".", "..", "DOCS", "alpha.txt", "beta.txt", "big.iso",
                                  "grüße.txt", "zeta.txt"}));
    ASSERT_EQ(entries->size(), std::size_t(lines.size()));

    const RemoteEntry &docs = (*entries)[2];
    EXPECT_TRUE(docs.isDirectory());
    const RemoteEntry &beta = (*entries)[4];
    EXPECT_EQ(beta.name, "Beta.TXT");
    EXPECT_EQ(beta.size, 3);
    EXPECT_EQ(beta.attributes, remote_attr::Normal);
    const QDateTime onDisk =
        QFileInfo(server.root() + QStringLiteral("/liste/Beta.TXT")).lastModified().toUTC();
    ASSERT_TRUE(beta.changed.isValid());
    EXPECT_LE(qAbs(beta.changed.secsTo(onDisk)), 1);
    EXPECT_EQ((*entries)[5].size, 5000000000LL);
    EXPECT_EQ(entryDetails((*entries)[5]).size, "5000000000");
}

TEST_F(RemoteListingServer, DefaultFilterAndNavigationRoundTrip)
{
    const QString host = server.host();
    std::optional<RemoteEntries> entries =
        listLabel(host + QStringLiteral("/liste/"), QStringLiteral("*.txt"));
    ASSERT_TRUE(entries);
    EXPECT_EQ(SortiereVerzeichnis(*entries),
              QStringList({".", "..", "alpha.txt", "beta.txt", "grüße.txt", "zeta.txt"}));

    // Into docs and back up again, through the server's own ".." handling.
    RemoteNavigation nav = navigate(host + QStringLiteral("/liste/"), host, QStringLiteral("docs"));
    ASSERT_TRUE(listLabel(nav.request, QStringLiteral("*")));
    EXPECT_EQ(client.verzeichnis(), "/liste/docs");
    nav = navigate(nav.label, host, QStringLiteral(".."));
    ASSERT_TRUE(listLabel(nav.request, QStringLiteral("*")));
    EXPECT_EQ(client.verzeichnis(), "/liste");
    EXPECT_EQ(nav.label, host + QStringLiteral("/liste/"));

    EXPECT_FALSE(listLabel(host + QStringLiteral("/fehlt/"), QStringLiteral("*")));
}

} // namespace
} // namespace varnek
