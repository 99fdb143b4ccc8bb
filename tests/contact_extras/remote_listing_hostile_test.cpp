// Hostile listings, from the wire through FtpSitzung into the browser's
// entries, and what a download of every listed file does.

#include "contact_extras/RemoteListing.h"
#include "platform/FtpSitzung.h"
#include "support/HostileFtpServer.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

namespace varnek
{
namespace
{

using test::HostileFtpServer;

const QDateTime kNow(QDate(2024, 3, 10), QTime(12, 0), Qt::UTC);

QStringList filesBelow(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    out.sort();
    return out;
}

RemoteEntries listed(HostileFtpServer &server, FtpSitzung &ftp, QString *gekuerzt = nullptr)
{
    EXPECT_TRUE(ftp.verbinde(server.options())) << qPrintable(ftp.letzteAntwort());
    const std::optional<FtpSitzung::Liste> listing = ftp.liste();
    EXPECT_TRUE(listing) << qPrintable(ftp.letzteAntwort());
    if (!listing)
        return {};
    GeleseneListe gelesen = readListing(*listing, kNow);
    if (gekuerzt)
        *gekuerzt = gelesen.gekuerzt;
    RemoteEntries entries = ListeVerzeichnis(std::move(gelesen.entries), QStringLiteral("*"));
    SortiereVerzeichnis(entries);
    return entries;
}

const RemoteEntry *find(const RemoteEntries &entries, const QString &name)
{
    for (const RemoteEntry &e : entries)
        if (e.name == name)
            return &e;
    return nullptr;
}

TEST(RemoteListingHostile, OddNamesAndSizesFromTheWire)
{
    const QByteArray longName(300, 'n');
    for (const bool mlsd : {false, true}) {
        QByteArray raw;
        auto line = [&](const QByteArray &size, const QByteArray &name, bool dir = false) {
            if (mlsd)
                raw += "type=" + QByteArray(dir ? "dir" : "file") + ";size=" + size + "; " + name +
                       "\r\n";
            else
                raw += QByteArray(dir ? "drwxr-xr-x" : "-rw-r--r--") + " 1 a b " + size +
                       " Mar 5 14:05 " + name + "\r\n";
        };
        line("5", "../../ausserhalb.txt");
        line("5", "/etc/passwd");
        line("5", "/", true);
        line("5", "..");
        line("5", "cr\rteil");
        line("5", "lf\nrest");
        line("5", QByteArray("mit\0NUL", 7));
        line("5", longName);
        line("99999999999999999999", "riesig");
        line("-42", "negativ");
        line("5000000000", "gross");
        line("5", "docs", true);
        HostileFtpServer::Config config;
        config.listing = raw;
        config.mlsd = mlsd;
        HostileFtpServer server(config);
        ASSERT_TRUE(server.running());
        FtpSitzung ftp;
        const RemoteEntries entries = listed(server, ftp);

        QStringList names;
        for (const RemoteEntry &e : entries)
            names << e.name;
        SCOPED_TRACE(mlsd ? "MLSD" : "LIST");
        // Nothing that points elsewhere, no NUL; the CR stays inside its
        // one name; an LF cannot be told from a line end.
        for (const QString &n : names) {
            EXPECT_FALSE(n.contains(u'/')) << qPrintable(n);
            EXPECT_FALSE(n.contains(QChar(u'\0')));
        }
        EXPECT_EQ(names.count(QStringLiteral("..")), 1); // the added directory only
        EXPECT_TRUE(names.contains(QStringLiteral("cr\rteil")));
        EXPECT_FALSE(names.contains(QStringLiteral("cr")));
        EXPECT_FALSE(names.contains(QStringLiteral("teil")));
        EXPECT_TRUE(names.contains(QStringLiteral("lf")));
        EXPECT_FALSE(names.contains(QStringLiteral("rest")));
        EXPECT_TRUE(names.contains(QString::fromLatin1(longName)));
        ASSERT_TRUE(find(entries, QStringLiteral("riesig")));
        EXPECT_EQ(entryDetails(*find(entries, QStringLiteral("riesig"))).size, QString());
        ASSERT_TRUE(find(entries, QStringLiteral("negativ")));
        EXPECT_EQ(entryDetails(*find(entries, QStringLiteral("negativ"))).size, QString());
        ASSERT_TRUE(find(entries, QStringLiteral("gross")));
        EXPECT_EQ(entryDetails(*find(entries, QStringLiteral("gross"))).size,
                  QStringLiteral("5000000000"));
        ASSERT_TRUE(find(entries, QStringLiteral("docs")));
        EXPECT_TRUE(find(entries, QStringLiteral("docs"))->isDirectory());

        // Downloading every listed file into the program folder writes
        // nothing outside it; what cannot be fetched fails with a reason.
        QTemporaryDir outer;
        const QString folder = outer.filePath(QStringLiteral("programm"));
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const RemoteEntry &e : entries) {
            if (e.isDirectory())
                continue;
            const Ergebnis ok = ftp.ladeHerunter(e.name, folder + QLatin1Char('/') + e.name, false);
            EXPECT_FALSE(ok) << qPrintable(e.name); // the server has none of them
            EXPECT_NE(ftp.letzterFehler(), 0);
            EXPECT_FALSE(ftp.letzteAntwort().isEmpty());
        }
        EXPECT_TRUE(filesBelow(outer.path()).isEmpty())
            << qPrintable(filesBelow(outer.path()).join(", "));
    }
}

TEST(RemoteListingHostile, HugeListingIsCutWithAStatusThatSaysSo)
{
    // 50 MB of short lines: the client stops at 20 MB, the parser at 100 000
    // entries.
    HostileFtpServer::Config config;
    config.listing = "-rw-r--r-- 1 a b 1 Mar 5 14:05 f.txt\r\n";
    config.repeat = int(50 * 1024 * 1024 / config.listing.size());
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());
    FtpSitzung ftp;
    QString gekuerzt;
    const RemoteEntries entries = listed(server, ftp, &gekuerzt);
    EXPECT_EQ(entries.size(), kMaxEintraege + 2); // and the two dot entries
    EXPECT_EQ(gekuerzt, QStringLiteral("Liste gekürzt: nur die ersten 100000 Einträge"));

    // Fewer, longer lines: the byte limit is what cuts.
    FtpSitzung::Optionen o = server.options();
    o.maxListingBytes = 1024 * 1024;
    ASSERT_TRUE(ftp.verbinde(o));
    const std::optional<FtpSitzung::Liste> listing = ftp.liste();
    ASSERT_TRUE(listing);
    const GeleseneListe gelesen = readListing(*listing, kNow);
    EXPECT_EQ(gelesen.entries.size(), std::size_t(1024 * 1024 / config.listing.size()));
    EXPECT_EQ(gelesen.gekuerzt, QStringLiteral("Liste gekürzt: nur die ersten 1 MB"));
}

} // namespace
} // namespace varnek
