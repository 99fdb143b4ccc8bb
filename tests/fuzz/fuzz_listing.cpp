// The server's listing: both parsers, the filter, the sort and the details
// of every entry, with what the browser relies on checked.

#include "FuzzCheck.h"

#include "contact_extras/RemoteListing.h"

#include <QByteArrayView>
#include <QDateTime>

#include <cstddef>
#include <cstdint>

using namespace varnek;

namespace
{

void check(const RemoteEntries &parsed, const QString &filter)
{
    FUZZ_CHECK(parsed.size() <= kMaxEintraege);
    for (const RemoteEntry &e : parsed) {
        FUZZ_CHECK(!e.name.isEmpty());
        FUZZ_CHECK(!e.name.contains(u'/'));
        FUZZ_CHECK(!e.name.contains(QChar(u'\0')));
        FUZZ_CHECK(e.size >= -1);
        const EntryDetails d = entryDetails(e);
        FUZZ_CHECK(e.size >= 0 || d.size.isEmpty());
    }
    RemoteEntries entries = ListeVerzeichnis(parsed, filter);
    FUZZ_CHECK(!entries.empty());
    const QStringList lines = SortiereVerzeichnis(entries);
    FUZZ_CHECK(std::size_t(lines.size()) == entries.size());
    bool files = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        // Directories first, each line the entry's own name.
        FUZZ_CHECK(!(files && entries[i].isDirectory()));
        files = files || !entries[i].isDirectory();
        const QString name = trimBlanks(entries[i].name);
        FUZZ_CHECK(lines[qsizetype(i)] ==
                   (entries[i].isDirectory() ? name.toUpper() : name.toLower()));
        const RemoteNavigation nav =
            navigate(QStringLiteral("localhost/a/"), QStringLiteral("localhost"), entries[i]);
        FUZZ_CHECK(nav.relist == entries[i].isDirectory());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView text(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QDateTime now(QDate(2024, 3, 10), QTime(12, 0), Qt::UTC);
    // The filter comes from the first line when it is short, else "*.txt".
    QString filter = QStringLiteral("*.txt");
    const qsizetype lf = text.indexOf('\n');
    if (lf >= 0 && lf <= 12)
        filter = decodeRemoteName(text.first(lf));

    for (const auto format : {FtpSitzung::ListingFormat::List, FtpSitzung::ListingFormat::Mlsd}) {
        FtpSitzung::Liste listing;
        listing.format = format;
        listing.text = text.toByteArray();
        listing.truncated = size % 2 == 1;
        const GeleseneListe gelesen = readListing(listing, now);
        FUZZ_CHECK(gelesen.gekuerzt.isEmpty() == !listing.truncated);
        check(gelesen.entries, filter);
        check(gelesen.entries, QStringLiteral("*"));
    }
    return 0;
}
