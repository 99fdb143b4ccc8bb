#include "contact_extras/RemoteListing.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace varnek
{
namespace
{

const QDateTime kNow(QDate(2024, 3, 10), QTime(12, 0), Qt::UTC);

RemoteEntry file(const QString &name, qint64 size = 0, quint32 attributes = remote_attr::Normal)
{
    RemoteEntry e;
    e.name = name;
    e.size = size;
    e.attributes = attributes;
    return e;
}

RemoteEntry dir(const QString &name)
{
    return file(name, 0, remote_attr::Directory);
}

QStringList names(const RemoteEntries &entries)
{
    QStringList out;
    for (const RemoteEntry &e : entries)
        out << e.name;
    return out;
}

// The whole path from the server's answer to the list lines.
QStringList shown(const RemoteEntries &server, const QString &filter,
                  RemoteEntries *sorted = nullptr)
{
    RemoteEntries entries = ListeVerzeichnis(server, filter);
    const QStringList lines = SortiereVerzeichnis(entries);
    if (sorted)
        *sorted = entries;
    return lines;
}

// --- Parsing -------------------------------------------------------------------------------

TEST(RemoteListingParse, UnixListFromCommonServers)
{
    // vsftpd (numeric owners, zero-padded day), ProFTPD (blank-padded day,
    // year form), pyftpdlib; a "total" line, CR LF endings, a symlink and a
    // name with blanks.
    const QByteArray text =
        "total 24\r\n"
        "drwxr-xr-x    2 1000     1000         4096 Mar 05 14:05 docs\r\n"
        "-rw-r--r--    1 ftp      ftp           120 Jan 15  2019 Zeta.txt\r\n"
        "-rw-r--r--   1 owner    group         512 Dec 24 09:07 alpha.txt\r\n"
        "lrwxrwxrwx   1 root     root            7 Feb  1 08:00 latest -> Zeta.txt\r\n"
        "-r--r--r--   1 user     staff   5000000000 Mar 11 01:00 my big file.iso\r\n";
    const RemoteEntries e = parseList(text, kNow);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(names(e),
              QStringList({"docs", "Zeta.txt", "alpha.txt", "latest", "my big file.iso"}));

    EXPECT_EQ(e[0].attributes, remote_attr::Directory);
    EXPECT_TRUE(e[0].isDirectory());
    EXPECT_EQ(e[0].changed, QDateTime(QDate(2024, 3, 5), QTime(14, 5), Qt::UTC));

    EXPECT_EQ(e[1].attributes, remote_attr::Normal);
    EXPECT_EQ(e[1].size, 120);
    EXPECT_EQ(e[1].changed, QDateTime(QDate(2019, 1, 15), QTime(0, 0), Qt::UTC));

    // Without a year: December lies in the future this year, so last year.
    EXPECT_EQ(e[2].changed, QDateTime(QDate(2023, 12, 24), QTime(9, 7), Qt::UTC));
    // A few hours ahead of now (server in another zone) stays this year.
    EXPECT_EQ(e[4].changed, QDateTime(QDate(2024, 3, 11), QTime(1, 0), Qt::UTC));

    EXPECT_FALSE(e[3].isDirectory());
    // Not writable by its owner; sizes beyond 32 bits are kept whole.
    EXPECT_EQ(e[4].attributes, remote_attr::ReadOnly);
    EXPECT_EQ(e[4].size, 5000000000LL);
    EXPECT_EQ(sizeText(e[4].size), "5000000000");
}

TEST(RemoteListingParse, UnixVariantsWithoutGroupOrWithAclMarker)
{
    const QByteArray text = "-rw-r--r--   1 owner    1234 Mar  5 14:05 nogroup.txt\n"
                            "drwxr-xr-x+  3 root root 4096 Feb 29 10:00 acl dir\n"
                            "-rw-r--r-- 1 Mar Mar 12 Mar 5 14:05 owner named like a month\n";
    const RemoteEntries e = parseList(text, kNow);
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].name, "nogroup.txt");
    EXPECT_EQ(e[0].size, 1234);
    EXPECT_EQ(e[1].name, "acl dir");
    EXPECT_TRUE(e[1].isDirectory());
    EXPECT_EQ(e[1].changed.date(), QDate(2024, 2, 29));
    EXPECT_EQ(e[2].name, "owner named like a month");
    EXPECT_EQ(e[2].size, 12);
}

TEST(RemoteListingParse, LeapDayWithoutYearFallsBackToLastLeapYear)
{
    const QDateTime now(QDate(2025, 3, 1), QTime(8, 0), Qt::UTC);
    const RemoteEntries e = parseList("-rw-r--r-- 1 a b 1 Feb 29 10:00 leap\n", now);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].changed, QDateTime(QDate(2024, 2, 29), QTime(10, 0), Qt::UTC));
}

TEST(RemoteListingParse, DosListFromIis)
{
    const QByteArray text = "03-05-07  02:05PM       <DIR>          docs\r\n"
                            "03-05-07  09:07AM                 1234 Zeta.txt\r\n"
                            "01-15-2019  12:30AM           5000000000 big file.iso\r\n"
                            "12-31-99  23:59                     0 old.txt\r\n"
                            "03-05-2007  12:00 PM                  7 spaced marker.txt\r\n";
    const RemoteEntries e = parseList(text, kNow);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(names(e),
              QStringList({"docs", "Zeta.txt", "big file.iso", "old.txt", "spaced marker.txt"}));
    EXPECT_EQ(e[0].attributes, remote_attr::Directory);
    EXPECT_EQ(e[0].changed, QDateTime(QDate(2007, 3, 5), QTime(14, 5), Qt::UTC));
    EXPECT_EQ(e[1].attributes, remote_attr::Normal);
    EXPECT_EQ(e[1].size, 1234);
    EXPECT_EQ(e[1].changed, QDateTime(QDate(2007, 3, 5), QTime(9, 7), Qt::UTC));
    EXPECT_EQ(e[2].size, 5000000000LL);
    EXPECT_EQ(e[2].changed, QDateTime(QDate(2019, 1, 15), QTime(0, 30), Qt::UTC));
    EXPECT_EQ(e[3].changed, QDateTime(QDate(1999, 12, 31), QTime(23, 59), Qt::UTC));
    EXPECT_EQ(e[4].changed, QDateTime(QDate(2007, 3, 5), QTime(12, 0), Qt::UTC));
}

TEST(RemoteListingParse, UnixAndDosLinesMixedAreToldApartPerLine)
{
    const QByteArray text = "03-05-07  02:05PM       <DIR>          dosdir\n"
                            "-rw-r--r--   1 a b 10 Mar  5 14:05 unixfile\n";
    EXPECT_EQ(names(parseList(text, kNow)), QStringList({"dosdir", "unixfile"}));
}

TEST(RemoteListingParse, Mlsd)
{
    // pyftpdlib / ProFTPD style facts; cdir and pdir are not entries.
    const QByteArray text =
        "type=cdir;perm=flcdmpe;modify=20240301101010; .\r\n"
        "type=pdir;perm=flcdmpe;modify=20240301101010; ..\r\n"
        "type=dir;size=4096;modify=20070305140500;perm=flcdmpe; docs\r\n"
        "type=file;size=5000000000;modify=20070305090700.123;perm=adfrw; big file;1.iso\r\n"
        "Type=File;Size=12;Modify=20240229235959;Perm=r; readonly.txt\r\n"
        "type=OS.unix=slink:/etc;modify=20240101000000; link\r\n"
        "; nofacts.txt\r\n";
    const RemoteEntries e = parseMlsd(text);
    ASSERT_EQ(e.size(), 5u);
    EXPECT_EQ(names(e),
              QStringList({"docs", "big file;1.iso", "readonly.txt", "link", "nofacts.txt"}));
    EXPECT_TRUE(e[0].isDirectory());
    EXPECT_EQ(e[0].changed, QDateTime(QDate(2007, 3, 5), QTime(14, 5), Qt::UTC));
    EXPECT_EQ(e[1].attributes, remote_attr::Normal);
    EXPECT_EQ(e[1].size, 5000000000LL);
    EXPECT_EQ(e[1].changed, QDateTime(QDate(2007, 3, 5), QTime(9, 7), Qt::UTC));
    EXPECT_EQ(e[2].attributes, remote_attr::ReadOnly);
    EXPECT_EQ(e[2].changed, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59), Qt::UTC));
    EXPECT_FALSE(e[3].isDirectory());
    EXPECT_FALSE(e[4].changed.isValid());
    EXPECT_EQ(FormatiereDatum(e[4].changed), "");
}

TEST(RemoteListingParse, GarbageLinesAreSkipped)
{
    static const char raw[] = "\n\r\n   \n"
                              "hello world\n"
                              "total 0\n"
                              "drwxr-xr-x\n"
                              "-rw-r--r-- 1 a b notanumber Mar 5 14:05 x\n"
                              "-rw-r--r-- 1 a b 10 Foo 5 14:05 x\n"
                              "-rw-r--r-- 1 a b 10 Mar 32 14:05 x\n"
                              "-rw-r--r-- 1 a b 10 Mar 5 25:05 x\n"
                              "-rw-r--r-- 1 a b 10 Mar 5 14:05\n"
                              "13-45-07  02:05PM  <DIR>  baddate\n"
                              "03-05-07  13:05PM  <DIR>  badhour\n"
                              "03-05-07  02:05PM  <FOO>  badkind\n"
                              "03-05-07  02:05PM  <DIR>\n"
                              "\xff\xfe\x00\x01 binary\n"
                              "-rw-r--r-- 1 a b 10 Mar 5 14:05 good\n";
    const QByteArray list(raw, sizeof(raw) - 1); // holds a NUL byte
    const RemoteEntries e = parseList(list, kNow);
    EXPECT_EQ(names(e), QStringList({"good"}));

    const QByteArray mlsd = "no facts here\n"
                            "type=file;size=1\n"
                            "type=file; \n"
                            "garbage;more; name\n"
                            "type=file;modify=2024XX01000000; badtime\n";
    const RemoteEntries m = parseMlsd(mlsd);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].name, "badtime");
    EXPECT_FALSE(m[0].changed.isValid());
}

TEST(RemoteListingParse, EveryTruncationOfValidLinesIsHandled)
{
    const QByteArray lines[] = {
        "drwxr-xr-x    2 1000     1000         4096 Mar 05 14:05 docs",
        "-rw-r--r--    1 ftp      ftp           120 Jan 15  2019 Zeta.txt",
        "lrwxrwxrwx   1 root     root            7 Feb  1 08:00 latest -> Zeta.txt",
        "01-15-2019  12:30AM           5000000000 big file.iso",
        "03-05-2007  12:00 PM       <DIR>          d",
    };
    for (const QByteArray &line : lines) {
        for (qsizetype n = 0; n <= line.size(); ++n) {
            const std::optional<RemoteEntry> e = parseListLine(QByteArrayView(line).first(n), kNow);
            if (e) {
                EXPECT_FALSE(e->name.isEmpty()) << line.first(n).constData();
            }
        }
    }
    const QByteArray mlsd = "type=file;size=5000000000;modify=20070305090700.123;perm=adfrw; f";
    for (qsizetype n = 0; n <= mlsd.size(); ++n)
        (void)parseMlsdLine(QByteArrayView(mlsd).first(n));
}

TEST(RemoteListingParse, NamesAreUtf8OrElseWindows1252)
{
    EXPECT_EQ(decodeRemoteName("Gr\xc3\xbc\xc3\x9f"
                               "e.txt"),
              QString::fromUtf8("Grüße.txt"));
    EXPECT_EQ(decodeRemoteName("Gr\xfc\xdf"
                               "e.txt"),
              QString::fromUtf8("Grüße.txt"));
    EXPECT_EQ(decodeRemoteName("\x80uro"), QString::fromUtf8("€uro"));
    const RemoteEntries e = parseList("-rw-r--r-- 1 a b 1 Mar 5 14:05 M\xe4rz.txt\n", kNow);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].name, QString::fromUtf8("März.txt"));
}

TEST(RemoteListingParse, HostileNamesAndSizes)
{
    static const char raw[] = "-rw-r--r-- 1 a b 5 Mar 5 14:05 ../hoch.txt\n"
                              "-rw-r--r-- 1 a b 5 Mar 5 14:05 a/b\n"
                              "-rw-r--r-- 1 a b 5 Mar 5 14:05 ..\n"
                              "-rw-r--r-- 1 a b 5 Mar 5 14:05 .\n"
                              "drwxr-xr-x 1 a b 5 Mar 5 14:05 ..\n"
                              "-rw-r--r-- 1 a b 5 Mar 5 14:05 n\0ul\n"
                              "-rw-r--r-- 1 a b 5 Mar 5 14:05 c\rr\n"
                              "-rw-r--r-- 1 a b 99999999999999999999 Mar 5 14:05 huge\n"
                              "-rw-r--r-- 1 a b -1 Mar 5 14:05 negative\n"
                              "03-05-07  02:05PM  -7  dosneg\n";
    const RemoteEntries e = parseList(QByteArrayView(raw, sizeof(raw) - 1), kNow);
    EXPECT_EQ(names(e), QStringList({"..", "c\rr", "huge", "negative", "dosneg"}));
    EXPECT_TRUE(e[0].isDirectory());
    for (std::size_t i = 2; i < e.size(); ++i) {
        EXPECT_EQ(e[i].size, -1);
        EXPECT_EQ(sizeText(e[i].size), "");
    }

    const RemoteEntries m = parseMlsd("type=file;size=-3; minus\r\n"
                                      "type=file;size=123456789012345678901; huge\r\n"
                                      "type=file;size=7; ..\r\n"
                                      "type=dir; x/y\r\n"
                                      "type=file;size=7; c\rr\r\n");
    EXPECT_EQ(names(m), QStringList({"minus", "huge", "c\rr"}));
    EXPECT_EQ(m[0].size, -1);
    EXPECT_EQ(m[1].size, -1);
    EXPECT_EQ(m[2].size, 7);
}

TEST(RemoteListingParse, AtMostOneHundredThousandEntries)
{
    const QByteArray line = "type=file;size=1; f\n";
    bool gekuerzt = true;
    EXPECT_EQ(parseMlsd(line.repeated(int(kMaxEintraege)), &gekuerzt).size(), kMaxEintraege);
    EXPECT_FALSE(gekuerzt);
    // Unreadable lines beyond the cap do not count as cut.
    EXPECT_EQ(parseMlsd(line.repeated(int(kMaxEintraege)) + "garbage\n\n", &gekuerzt).size(),
              kMaxEintraege);
    EXPECT_FALSE(gekuerzt);
    EXPECT_EQ(parseMlsd(line.repeated(int(kMaxEintraege) + 1), &gekuerzt).size(), kMaxEintraege);
    EXPECT_TRUE(gekuerzt);

    FtpSitzung::Liste listing;
    listing.format = FtpSitzung::ListingFormat::Mlsd;
    listing.text = line.repeated(10);
    EXPECT_EQ(readListing(listing, kNow).gekuerzt, "");
    listing.truncated = true;
    EXPECT_EQ(readListing(listing, kNow).gekuerzt,
              QString::fromUtf8("Liste gekürzt: nur die ersten 1 MB"));
    listing.text = line.repeated(int(kMaxEintraege) + 1);
    EXPECT_EQ(readListing(listing, kNow).gekuerzt,
              QString::fromUtf8("Liste gekürzt: nur die ersten 100000 Einträge"));
}

// --- Filter --------------------------------------------------------------------------------

// Whether a listing filtered by `filter` keeps the file `name`.
bool matchesFilter(const QString &name, const QString &filter)
{
    const RemoteEntries kept = ListeVerzeichnis({file(name)}, filter);
    return !kept.empty() && kept.front().name == name;
}

TEST(RemoteListingFilter, WildcardsLikeWindowsFind)
{
    EXPECT_TRUE(matchesFilter("A.TXT", "*.txt"));
    EXPECT_FALSE(matchesFilter("notes.txt.bak", "*.txt"));
    EXPECT_FALSE(matchesFilter("docs", "*.txt"));
    EXPECT_TRUE(matchesFilter("README", "*.*"));
    EXPECT_TRUE(matchesFilter("a.b.c", "*.*"));
    EXPECT_TRUE(matchesFilter("Gast", "gast.*"));
    EXPECT_TRUE(matchesFilter("Gast.txt", "G?st.*"));
    EXPECT_FALSE(matchesFilter("Gst.txt", "G?st.*"));
    EXPECT_TRUE(matchesFilter("Foto.bmp", "  *.BMP  ")); // trimmed
    EXPECT_TRUE(matchesFilter("anything", ""));
    EXPECT_TRUE(matchesFilter("aXbXc", "a*b*c"));
    EXPECT_FALSE(matchesFilter("aXbXd", "a*b*c"));
    EXPECT_TRUE(matchesFilter(QString::fromUtf8("ÄRGER.txt"), QString::fromUtf8("ärger*")));
    EXPECT_TRUE(matchesFilter("[a].txt", "[a].txt")); // brackets are plain characters
}

// --- Listing and sort ----------------------------------------------------------------------

TEST(RemoteListingSort, DirectoryFirstThenFilesWithAddedDotEntries)
{
    const RemoteEntries server = {dir("docs"), file("Zeta.txt"), file("alpha.txt"),
                                  file("Beta.TXT")};
    RemoteEntries sorted;
    EXPECT_EQ(shown(server, "*", &sorted),
              QStringList({".", "..", "DOCS", "alpha.txt", "beta.txt", "zeta.txt"}));
    // Row i of the list is entry i; stored names keep the server's case.
    EXPECT_EQ(names(sorted), QStringList({".", "..", "docs", "alpha.txt", "Beta.TXT", "Zeta.txt"}));
    EXPECT_EQ(sorted[0].attributes, remote_attr::Directory);
    EXPECT_EQ(sorted[1].attributes, remote_attr::Directory);
}

TEST(RemoteListingSort, SameResultFromUnixListAndMlsd)
{
    const QByteArray list = "drwxr-xr-x 2 a b 4096 Mar 05 14:05 docs\n"
                            "-rw-r--r-- 1 a b 1 Mar 05 14:05 Zeta.txt\n"
                            "-rw-r--r-- 1 a b 1 Mar 05 14:05 alpha.txt\n"
                            "-rw-r--r-- 1 a b 1 Mar 05 14:05 Beta.TXT\n";
    const QByteArray mlsd = "type=cdir;modify=20240305140500; .\n"
                            "type=pdir;modify=20240305140500; ..\n"
                            "type=dir;modify=20240305140500; docs\n"
                            "type=file;size=1;modify=20240305140500; Zeta.txt\n"
                            "type=file;size=1;modify=20240305140500; alpha.txt\n"
                            "type=file;size=1;modify=20240305140500; Beta.TXT\n";
    const QStringList expected({".", "..", "DOCS", "alpha.txt", "beta.txt", "zeta.txt"});
    EXPECT_EQ(shown(parseList(list, kNow), "*"), expected);
    EXPECT_EQ(shown(parseMlsd(mlsd), "*"), expected);
}

TEST(RemoteListingSort, ServerDotEntriesFirstGetNothingAdded)
{
    const QByteArray list = "drwxr-xr-x 2 a b 4096 Mar 05 14:05 .\n"
                            "drwxr-xr-x 9 a b 4096 Mar 05 14:05 ..\n"
                            "-rw-r--r-- 1 a b 1 Mar 05 14:05 b.txt\n";
    EXPECT_EQ(shown(parseList(list, kNow), "*"), QStringList({".", "..", "b.txt"}));

    // A dot file first suppresses them too, though no "." or ".." is there.
    const RemoteEntries server = {file(".profile.txt"), file("a.txt"), dir("docs")};
    EXPECT_EQ(shown(server, "*.txt"), QStringList({".profile.txt", "a.txt"}));

    // Only the first kept entry counts: a dot file further down does not.
    EXPECT_EQ(shown({file("a.txt"), file(".b.txt")}, "*"),
              QStringList({".", "..", ".b.txt", "a.txt"}));
}

TEST(RemoteListingSort, EmptyOrUnmatchedListingHasOnlyDotEntries)
{
    EXPECT_EQ(shown({}, "*.txt"), QStringList({".", ".."}));
    EXPECT_EQ(shown({file("a.bmp"), dir("docs")}, "*.txt"), QStringList({".", ".."}));
    // A refused directory change leaves no entries at all.
    RemoteEntries none;
    EXPECT_TRUE(SortiereVerzeichnis(none).isEmpty());
}

TEST(RemoteListingSort, FilterAppliesToDirectoriesToo)
{
    const RemoteEntries server = {dir("docs"), file("NOTES.TXT"), dir("old.txt"), file("a.bmp")};
    EXPECT_EQ(shown(server, "*.txt"), QStringList({".", "..", "OLD.TXT", "notes.txt"}));
}

TEST(RemoteListingSort, NamesAreTrimmedAndEmptyNamesDropped)
{
    RemoteEntries sorted;
    EXPECT_EQ(shown({file("  b.txt  "), file("   "), file(""), dir(" sub ")}, "*", &sorted),
              QStringList({".", "..", "SUB", "b.txt"}));
    EXPECT_EQ(sorted[2].name, "sub");
    EXPECT_EQ(sorted[3].name, "b.txt");
}

TEST(RemoteListingSort, DirectoryWithFurtherBitsIsAFile)
{
    const RemoteEntries server = {file("b.txt"),
                                  file("Locked", 0, remote_attr::Directory | remote_attr::ReadOnly),
                                  dir("Zdir")};
    RemoteEntries sorted;
    EXPECT_EQ(shown(server, "*", &sorted), QStringList({".", "..", "ZDIR", "b.txt", "locked"}));
    EXPECT_FALSE(sorted[4].isDirectory());
    EXPECT_EQ(attributeText(sorted[4].attributes), "W D");
    const RemoteNavigation nav = navigate("localhost/a/", "localhost", sorted[4]);
    EXPECT_FALSE(nav.relist);
    EXPECT_EQ(nav.label, "localhost/a/");
}

TEST(RemoteListingSort, EqualNamesKeepServerOrder)
{
    RemoteEntries entries = {file("README", 1), file("b", 2), file("readme", 3), file("ReadMe", 4),
                             file("Readme", 5)};
    EXPECT_EQ(SortiereVerzeichnis(entries),
              QStringList({"b", "readme", "readme", "readme", "readme"}));
    EXPECT_EQ(entries[0].size, 2);
    EXPECT_EQ(entries[1].size, 1);
    EXPECT_EQ(entries[2].size, 3);
    EXPECT_EQ(entries[3].size, 4);
    EXPECT_EQ(entries[4].size, 5);
}

TEST(RemoteListingSort, CodeOrderOfLowerCasedNames)
{
    RemoteEntries entries = {file(QString::fromUtf8("Äpfel")),
                             file("zebra"),
                             file("apfel"),
                             file("_x"),
                             file("Abc"),
                             file("ab"),
                             file("ab c"),
                             file("1st"),
                             file(".hidden")};
    // "_" (95) sorts before letters only once they are lower-cased; "ä"
    // after "z"; a prefix first, a blank before letters.
    EXPECT_EQ(SortiereVerzeichnis(entries),
              QStringList({".hidden", "1st", "_x", "ab", "ab c", "abc", "apfel", "zebra",
                           QString::fromUtf8("äpfel")}));
}

TEST(RemoteListingSort, ListLineCase)
{
    RemoteEntries entries{dir(QString::fromUtf8(" Straße ")), file(QString::fromUtf8("ÜBER.TXT")),
                          dir("..")};
    EXPECT_EQ(SortiereVerzeichnis(entries),
              QStringList({"..", QString::fromUtf8("STRASSE"), QString::fromUtf8("über.txt")}));
}

// --- Details -----------------------------------------------------------------------------

TEST(RemoteListingDetails, AttributeLetters)
{
    EXPECT_EQ(attributeText(16 | 32), "D A");
    EXPECT_EQ(attributeText(0), "");
    EXPECT_EQ(attributeText(2048), "C");
    EXPECT_EQ(attributeText(1 | 2 | 4 | 16 | 32 | 128 | 256 | 2048), "W H S D A N T C");
    EXPECT_EQ(attributeText(128 | 8 | 64), "N"); // bits without a letter
}

TEST(RemoteListingDetails, FormatiereDatum)
{
    EXPECT_EQ(FormatiereDatum(QDateTime(QDate(2007, 3, 5), QTime(14, 5), Qt::UTC)),
              "Mo 5.3.2007 um 14:05");
    EXPECT_EQ(FormatiereDatum(QDateTime(QDate(2007, 3, 5), QTime(9, 7), Qt::UTC)),
              "Mo 5.3.2007 um 9:07");
    EXPECT_EQ(FormatiereDatum(QDateTime(QDate(2023, 12, 31), QTime(0, 0), Qt::UTC)),
              "So 31.12.2023 um 0:00");
    EXPECT_EQ(FormatiereDatum(QDateTime(QDate(2024, 2, 10), QTime(23, 59), Qt::UTC)),
              "Sa 10.2.2024 um 23:59");
    EXPECT_EQ(FormatiereDatum(QDateTime()), "");
}

TEST(RemoteListingDetails, EntryDetailsShowWholeSizeAndUtcTime)
{
    RemoteEntry e = file("big.iso", 5000000000LL, remote_attr::Archive);
    e.changed = QDateTime(QDate(2024, 3, 6), QTime(23, 30), Qt::UTC);
    const EntryDetails d = entryDetails(e);
    EXPECT_EQ(d.attributes, "A");
    EXPECT_EQ(d.size, "5000000000");
    EXPECT_EQ(d.changed, "Mi 6.3.2024 um 23:30"); // no shift into local time
    EXPECT_EQ(sizeText(2147483648LL), "2147483648");
    EXPECT_EQ(sizeText(4294967296LL + 5), "4294967301");
}

// --- Navigation --------------------------------------------------------------------------

// One step of the browser: the label shown, the item clicked (a text as the
// list shows it, or a listed directory or file), and where it leads.
struct NavigationsFall {
    const char *name;
    QString label;
    char art; // 't' text of the list, 'd' directory, 'f' file
    QString eintrag;
    bool relist;
    QString request; // empty: not checked
    QString neuesLabel;
};

class RemoteListingNavigationTabelle : public ::testing::TestWithParam<NavigationsFall>
{
};

TEST_P(RemoteListingNavigationTabelle, LeadsWhereTheListShows)
{
    const NavigationsFall &f = GetParam();
    const RemoteNavigation nav = f.art == 't'   ? navigate(f.label, "localhost", f.eintrag)
                                 : f.art == 'd' ? navigate(f.label, "localhost", dir(f.eintrag))
                                                : navigate(f.label, "localhost", file(f.eintrag));
    EXPECT_EQ(nav.relist, f.relist);
    if (!f.request.isEmpty()) {
        EXPECT_EQ(nav.request, f.request);
    }
    EXPECT_EQ(nav.label, f.neuesLabel);
}

const QString kAdressLabel = "localhost/localhost/vx/stillbox/vxvx/test";

INSTANTIATE_TEST_SUITE_P(
    RemoteListingNavigation, RemoteListingNavigationTabelle,
    ::testing::Values(
        NavigationsFall{"UpAtRootChangesNothing", "localhost/", 't', "..", false, {}, "localhost/"},
        NavigationsFall{"UpFromNestedDirectory", "localhost/a/b/", 'd', "..", true,
                        "localhost/a/b/..", "localhost/a/"},
        NavigationsFall{"UpToTheRoot", "localhost/a/", 't', "..", true, "localhost/a/..",
                        "localhost/"},
        NavigationsFall{"DotRefreshes", "localhost/a/", 't', ".", true, "localhost/a/",
                        "localhost/a/"},
        NavigationsFall{"NameEnters", "localhost/a/", 'd', "docs", true, "localhost/a/docs",
                        "localhost/a/docs/"},
        NavigationsFall{
            "FileDoesNotRelist", "localhost/a/", 'f', "x.txt", false, {}, "localhost/a/"},
        NavigationsFall{"AddressLabelWithoutClosingSlashEnters", kAdressLabel, 'd', "sub", true,
                        kAdressLabel + "/sub", kAdressLabel + "/sub/"},
        NavigationsFall{"AddressLabelWithoutClosingSlashGoesUp", kAdressLabel, 'd', "..", true,
                        kAdressLabel + "/..", "localhost/localhost/vx/stillbox/vxvx/"},
        NavigationsFall{"UpWithoutAnySlashKeepsTheText", "other", 't', "..", true, "other/..",
                        "other"}),
    [](const ::testing::TestParamInfo<NavigationsFall> &i) { return std::string(i.param.name); });

TEST(RemoteListingNavigation, LabelArithmetic)
{
    EXPECT_EQ(parentLabel("localhost/a/b/.."), "localhost/a/");
    // Without any "/" the shortened text is kept as it is.
    EXPECT_EQ(parentLabel("other/.."), "other");
    EXPECT_EQ(parentLabel(".."), "");
}

} // namespace
} // namespace varnek
