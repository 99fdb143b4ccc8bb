#pragma once

#include "platform/FtpSitzung.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <optional>
#include <vector>

// The remote half of the contact window's file browser, without any widget:
// turning the server's listing into entries, the name filter, the order and
// the lines of the remote list box, the detail texts of a clicked entry and
// the path label arithmetic of the double-click navigation.
namespace varnek
{

// Windows-style attribute bits of a remote entry.
namespace remote_attr
{
inline constexpr quint32 ReadOnly = 1;
inline constexpr quint32 Hidden = 2;
inline constexpr quint32 System = 4;
inline constexpr quint32 Directory = 16;
inline constexpr quint32 Archive = 32;
inline constexpr quint32 Normal = 128;
inline constexpr quint32 Temporary = 256;
inline constexpr quint32 Compressed = 2048;
} // namespace remote_attr

struct RemoteEntry {
    QString name;   // as shown: UTF-8, or Windows-1252 when the bytes are no UTF-8
    QByteArray roh; // the name's bytes as the server listed them
    quint32 attributes = 0;
    qint64 size = 0;   // -1: the server gave no usable size
    QDateTime changed; // UTC; invalid when the server gave no usable time

    // Only the directory bit alone makes a directory; a directory with any
    // further bit (say read-only, 17) is handled as a file everywhere.
    bool isDirectory() const { return attributes == remote_attr::Directory; }
};

using RemoteEntries = std::vector<RemoteEntry>;

// --- Parsing the server's listing -------------------------------------------
//
// Lines end in CR LF or LF; a lone CR belongs to the name it stands in. Lines
// that cannot be read are skipped, and so are entries that cannot name
// something in the listed directory: names with "/" or NUL, and files named
// "." or "..". Names are UTF-8 on the wire; a name that is not valid UTF-8 is
// read as Windows-1252. Entries come out in server order, names as sent
// (untrimmed). A size that is negative or does not fit leaves the entry
// without a size (-1).
//
// At most kMaxEintraege entries are taken from one listing; *gekuerzt (when
// given) tells whether further readable lines were left out.

inline constexpr std::size_t kMaxEintraege = 100000;

// One MLSD line ("type=file;size=12;modify=20070305140500; name"). The
// server's own "cdir"/"pdir" entries give nullopt, like unreadable lines.
std::optional<RemoteEntry> parseMlsdLine(QByteArrayView line);
RemoteEntries parseMlsd(QByteArrayView text, bool *gekuerzt = nullptr);

// One LIST line, Unix "ls -l" style or DOS/IIS style, told apart per line.
// Unix times without a year ("Mar  5 14:05") get the year that puts them at
// most a day after nowUtc. Times are taken as UTC.
std::optional<RemoteEntry> parseListLine(QByteArrayView line, const QDateTime &nowUtc);
RemoteEntries parseList(QByteArrayView text, const QDateTime &nowUtc, bool *gekuerzt = nullptr);

RemoteEntries parseListing(FtpSitzung::ListingFormat format, QByteArrayView text,
                           const QDateTime &nowUtc, bool *gekuerzt = nullptr);

// The entries of a listing as the client received it, and the status text
// that says the listing was cut (at the client's byte limit or at
// kMaxEintraege entries); empty when it is whole.
struct GeleseneListe {
    RemoteEntries entries;
    QString gekuerzt; // e.g. "Liste gekürzt: nur die ersten 100000 Einträge"
};
GeleseneListe readListing(const FtpSitzung::Liste &listing, const QDateTime &nowUtc);

// UTF-8 when valid, Windows-1252 otherwise.
QString decodeRemoteName(QByteArrayView bytes);

// The trimmed name an operation on the entry sends to the server: the
// listed bytes (see ftpText), so a Latin-1 name goes back as it came.
QString ftpName(const RemoteEntry &entry);
// A path label as shown: each segment of the bytes it stands for decoded as
// decodeRemoteName does (a Latin-1 directory reads "Grüße", not escapes).
QString anzeigePfad(const QString &pfad);

// --- Filter, listing, sort ----------------------------------------------------

// Trims blanks (code 32 only) from both ends.
QString trimBlanks(const QString &text);

// A local name a download must not replace without asking: the program's
// own files ("Adress.PRE", "Gast.txt", "K1.txt", "Kaco.txt", "aufnahme.txt",
// "Kling", "Hilfe.txt", "Daten.TMP", "Infobereich") and photos (".bmp", ".jpg", ...),
// letters compared without regard to case.
bool schuetzenswert(const QString &name);

// The entry list of one listing (ListeVerzeichnis after the server's
// answer): the server's entries in their order, each name trimmed, entries
// with empty names and those the filter rejects left out. When the first
// kept name does not begin with "." (or nothing is kept), the directory
// entries "." and ".." are appended; a listing that starts with a dot entry
// gets nothing added. The filter (trimmed) is a wildcard pattern: "*" any
// run of characters, "?" one character, letters without regard to case. As
// with Windows find calls, a pattern ending in ".*" also matches names
// without that dot, so "*.*" matches everything. An empty filter keeps all.
RemoteEntries ListeVerzeichnis(RemoteEntries serverEntries, const QString &filterText);

// Orders the entries (directories first, then files; each group by the
// lower-cased trimmed name compared by character code; equal names keep
// their order) and returns the list lines in the new order, one per entry:
// the trimmed name, capitals for a directory, small letters for the rest.
QStringList SortiereVerzeichnis(RemoteEntries &entries);

// --- Details of a clicked entry -------------------------------------------------

// Letters of the set attribute bits, e.g. "D A".
QString attributeText(quint32 attributes);
// Full 64-bit size in decimal; an unknown size (negative) gives an empty text.
QString sizeText(qint64 size);
// "Mo 5.3.2007 um 14:05", from the UTC time as it is (no local time).
// An invalid time gives an empty text.
QString FormatiereDatum(const QDateTime &utc);

struct EntryDetails {
    QString attributes;
    QString size;
    QString changed;
};
EntryDetails entryDetails(const RemoteEntry &entry);

// --- Navigation on the path label ----------------------------------------------
//
// The label is the host name followed by the server directory, each
// directory followed by "/" ("localhost/" is the account root,
// "localhost/a/b/" the directory b inside a).

// The label after going up: request path p (ending in "/..") without its
// last three characters, cut after its last "/"; without any "/" that text
// is kept as it is.
QString parentLabel(const QString &request);

struct RemoteNavigation {
    bool relist = false; // false: nothing to do, label unchanged
    QString request;     // host-prefixed directory to list next
    QString label;       // label text afterwards
};

// Double click on the directory named dirName while the label shows
// label. "..": up one level (nothing at the root, label == serverName + "/");
// ".": list the same directory again; any other name: into that directory.
// A label that does not end in "/" (an address directory) is taken as if
// it did, so names are never glued onto the last directory's name.
RemoteNavigation navigate(const QString &label, const QString &serverName, const QString &dirName);
// The same for a clicked entry; entries that are no directory do nothing.
RemoteNavigation navigate(const QString &label, const QString &serverName,
                          const RemoteEntry &entry);

} // namespace varnek
