#include "contact_extras/RemoteListing.h"

#include "platform/AnsiText.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace varnek
{

namespace
{

// --- Small byte helpers ------------------------------------------------------------

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool equalsNoCase(QByteArrayView a, const char *b)
{
    qsizetype i = 0;
    for (; i < a.size(); ++i) {
        if (b[i] == '\0' || lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return b[i] == '\0';
}

// A size column: digits, or a minus and digits. A negative size or one
// beyond 18 digits is no size (-1); nullopt when the text is not a number.
std::optional<qint64> parseSize(QByteArrayView text)
{
    const bool negative = text.startsWith('-');
    const QByteArrayView digits = negative ? text.sliced(1) : text;
    if (digits.isEmpty())
        return std::nullopt;
    for (char c : digits) {
        if (!isDigit(c))
            return std::nullopt;
    }
    if (negative || digits.size() > 18)
        return qint64(-1);
    qint64 value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// Non-negative decimal number made only of digits; nullopt on anything else
// or on overflow.
std::optional<qint64> parseCount(QByteArrayView digits)
{
    if (digits.isEmpty() || digits.size() > 18)
        return std::nullopt;
    qint64 value = 0;
    for (char c : digits) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Fixed-width decimal field inside a longer text, -1 when not all digits.
int digitsAt(QByteArrayView text, qsizetype pos, qsizetype width)
{
    if (pos + width > text.size())
        return -1;
    int value = 0;
    for (qsizetype i = pos; i < pos + width; ++i) {
        if (!isDigit(text[i]))
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

QDateTime utcTime(int year, int month, int day, int hour, int minute, int second = 0)
{
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

struct Token {
    qsizetype begin = 0;
    qsizetype end = 0;
};

// Splits the leading part of a line into blank-separated tokens; stops after
// tokens.size() tokens. Returns how many were found.
template <std::size_t N> std::size_t tokenize(QByteArrayView line, std::array<Token, N> &tokens)
{
    std::size_t count = 0;
    qsizetype i = 0;
    while (count < N) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        const qsizetype begin = i;
        while (i < line.size() && !isBlank(line[i]))
            ++i;
        tokens[count++] = {begin, i};
    }
    return count;
}

QByteArrayView tokenText(QByteArrayView line, const Token &t)
{
    return line.sliced(t.begin, t.end - t.begin);
}

// Text after a token, blanks before it skipped.
QByteArrayView restAfter(QByteArrayView line, const Token &t)
{
    qsizetype i = t.end;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return line.sliced(i);
}

// --- MLSD --------------------------------------------------------------------------

// Reads "YYYYMMDDHHMMSS" with optional ".sss" (dropped).
QDateTime parseMlsdTime(QByteArrayView value)
{
    if (value.size() < 14)
        return {};
    const int year = digitsAt(value, 0, 4);
    const int month = digitsAt(value, 4, 2);
    const int day = digitsAt(value, 6, 2);
    const int hour = digitsAt(value, 8, 2);
    const int minute = digitsAt(value, 10, 2);
    const int second = digitsAt(value, 12, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return {};
    if (value.size() > 14 && value[14] != '.')
        return {};
    // A leap second (60) is shown as the last second of its minute.
    return utcTime(year, month, day, hour, minute, std::min(second, 59));
}

// --- Unix LIST -----------------------------------------------------------------------

int monthNumber(QByteArrayView token)
{
    static const char *const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    if (token.size() != 3)
        return 0;
    for (int m = 0; m < 12; ++m) {
        if (equalsNoCase(token, names[m]))
            return m + 1;
    }
    return 0;
}

bool looksLikeUnixMode(QByteArrayView token)
{
    if (token.size() < 10)
        return false;
    if (!QByteArrayView("-dlbcpsD").contains(token[0]))
        return false;
    for (qsizetype i = 1; i < 10; ++i) {
        if (!QByteArrayView("-rwxsStTlL").contains(token[i]))
            return false;
    }
    return true;
}

// "Mon DD HH:MM" with the year inferred, or "Mon DD YYYY".
QDateTime unixTime(int month, QByteArrayView dayText, QByteArrayView timeOrYear,
                   const QDateTime &nowUtc, bool *ok)
{
    *ok = false;
    const std::optional<qint64> day = parseCount(dayText);
    if (!day || *day < 1 || *day > 31)
        return {};
    if (timeOrYear.size() == 4 && timeOrYear.indexOf(':') < 0) {
        const int year = digitsAt(timeOrYear, 0, 4);
        if (year < 0)
            return {};
        *ok = true;
        return utcTime(year, month, int(*day), 0, 0);
    }
    const qsizetype colon = timeOrYear.indexOf(':');
    if (colon < 1 || colon > 2 || timeOrYear.size() != colon + 3)
        return {};
    const int hour = digitsAt(timeOrYear, 0, colon);
    const int minute = digitsAt(timeOrYear, colon + 1, 2);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return {};
    *ok = true;
    // ls shows the time instead of the year for the last six months: take
    // this year unless that lies in the future (a day of slack for servers
    // in other time zones), else the year before.
    const QDateTime now = nowUtc.isValid() ? nowUtc.toUTC() : QDateTime::currentDateTimeUtc();
    const QDateTime limit = now.addDays(1);
    const int thisYear = now.date().year();
    QDateTime t = utcTime(thisYear, month, int(*day), hour, minute);
    if (!t.isValid() || t > limit)
        t = utcTime(thisYear - 1, month, int(*day), hour, minute);
    return t;
}

std::optional<RemoteEntry> parseUnixLine(QByteArrayView line, const QDateTime &nowUtc)
{
    std::array<Token, 12> tokens;
    const std::size_t count = tokenize(line, tokens);
    if (count < 5 || !looksLikeUnixMode(tokenText(line, tokens[0])))
        return std::nullopt;

    // The date is the first "Mon DD time-or-year" triple after a size column;
    // owner, group and link count vary between servers.
    for (std::size_t k = 2; k + 2 < count; ++k) {
        const int month = monthNumber(tokenText(line, tokens[k]));
        if (month == 0)
            continue;
        const std::optional<qint64> size = parseSize(tokenText(line, tokens[k - 1]));
        if (!size)
            continue;
        bool ok = false;
        const QDateTime changed = unixTime(month, tokenText(line, tokens[k + 1]),
                                           tokenText(line, tokens[k + 2]), nowUtc, &ok);
        if (!ok)
            continue;

        QByteArrayView name = restAfter(line, tokens[k + 2]);
        const char type = line[tokens[0].begin];
        if (type == 'l') {
            const qsizetype arrow = name.indexOf(QByteArrayView(" -> "));
            if (arrow > 0)
                name = name.first(arrow);
        }
        if (name.isEmpty())
            return std::nullopt;

        RemoteEntry entry;
        entry.name = decodeRemoteName(name);
        entry.roh = name.toByteArray();
        entry.size = *size;
        entry.changed = changed;
        if (type == 'd') {
            entry.attributes = remote_attr::Directory;
        } else {
            const bool ownerMayWrite = line[tokens[0].begin + 2] == 'w';
            entry.attributes = ownerMayWrite ? remote_attr::Normal : remote_attr::ReadOnly;
        }
        return entry;
    }
    return std::nullopt;
}

// --- DOS / IIS LIST ------------------------------------------------------------------

// "MM-DD-YY" or "MM-DD-YYYY" (also with "/").
bool parseDosDate(QByteArrayView text, int *year, int *month, int *day)
{
    if (text.size() != 8 && text.size() != 10)
        return false;
    const char sep = text[2];
    if ((sep != '-' && sep != '/') || text[5] != sep)
        return false;
    *month = digitsAt(text, 0, 2);
    *day = digitsAt(text, 3, 2);
    *year = digitsAt(text, 6, text.size() - 6);
    if (*month < 0 || *day < 0 || *year < 0)
        return false;
    if (text.size() == 8)
        *year += *year < 70 ? 2000 : 1900;
    return true;
}

// "02:05PM", "2:05", "14:05", with the AM/PM marker attached or given as
// its own token (suffix).
bool parseDosTime(QByteArrayView text, QByteArrayView suffix, int *hour, int *minute)
{
    QByteArrayView marker;
    if (text.size() >= 2 && !isDigit(text[text.size() - 1])) {
        marker = text.last(2);
        text.chop(2);
    } else {
        marker = suffix;
    }
    const qsizetype colon = text.indexOf(':');
    if (colon < 1 || colon > 2 || text.size() != colon + 3)
        return false;
    *hour = digitsAt(text, 0, colon);
    *minute = digitsAt(text, colon + 1, 2);
    if (*hour < 0 || *minute < 0 || *minute > 59)
        return false;
    if (marker.isEmpty())
        return *hour <= 23;
    if (*hour < 1 || *hour > 12)
        return false;
    if (equalsNoCase(marker, "am"))
        *hour = *hour == 12 ? 0 : *hour;
    else if (equalsNoCase(marker, "pm"))
        *hour = *hour == 12 ? 12 : *hour + 12;
    else
        return false;
    return true;
}

std::optional<RemoteEntry> parseDosLine(QByteArrayView line)
{
    std::array<Token, 5> tokens;
    const std::size_t count = tokenize(line, tokens);
    if (count < 4)
        return std::nullopt;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    if (!parseDosDate(tokenText(line, tokens[0]), &year, &month, &day))
        return std::nullopt;

    std::size_t next = 2;
    QByteArrayView suffix;
    const QByteArrayView maybeMarker = tokenText(line, tokens[2]);
    if (equalsNoCase(maybeMarker, "am") || equalsNoCase(maybeMarker, "pm")) {
        suffix = maybeMarker;
        next = 3;
        if (count < 5)
            return std::nullopt;
    }
    if (!parseDosTime(tokenText(line, tokens[1]), suffix, &hour, &minute))
        return std::nullopt;

    RemoteEntry entry;
    const QByteArrayView kind = tokenText(line, tokens[next]);
    if (equalsNoCase(kind, "<dir>") || equalsNoCase(kind, "<junction>") ||
        equalsNoCase(kind, "<symlinkd>")) {
        entry.attributes = remote_attr::Directory;
    } else {
        QByteArray digits = kind.toByteArray();
        digits.replace(',', QByteArrayView());
        const std::optional<qint64> size = parseSize(digits);
        if (!size)
            return std::nullopt;
        entry.size = *size;
        entry.attributes = remote_attr::Normal;
    }
    const QByteArrayView name = restAfter(line, tokens[next]);
    if (name.isEmpty())
        return std::nullopt;
    entry.name = decodeRemoteName(name);
    entry.roh = name.toByteArray();
    entry.changed = utcTime(year, month, day, hour, minute);
    if (!entry.changed.isValid())
        return std::nullopt;
    return entry;
}

// Calls f for every line of text, without its CR LF / LF, until f returns
// false. Only LF ends a line: a CR is part of the line unless an LF follows.
template <typename F> void forEachLine(QByteArrayView text, F f)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        if (!f(text.sliced(start, stop - start)))
            return;
        start = end + 1;
    }
}

// --- Filter ----------------------------------------------------------------------------

bool wildcardMatch(QStringView name, QStringView pattern)
{
    qsizetype n = 0, p = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == u'?' || pattern[p] == name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

class NameFilter
{
  public:
    explicit NameFilter(const QString &filterText) : pattern_(trimBlanks(filterText).toCaseFolded())
    {
        if (pattern_.endsWith(QLatin1String(".*")))
            withoutDot_ = pattern_.chopped(2);
    }

    bool matches(const QString &name) const
    {
        if (pattern_.isEmpty() || pattern_ == QLatin1String("*"))
            return true;
        const QString folded = name.toCaseFolded();
        if (wildcardMatch(folded, pattern_))
            return true;
        return !withoutDot_.isNull() && wildcardMatch(folded, withoutDot_);
    }

  private:
    QString pattern_;
    QString withoutDot_;
};

// Whether a parsed entry can name something inside the listed directory.
// A name with "/" would lead elsewhere, one with NUL cannot be sent back,
// and "." / ".." are directories, never files.
bool usableEntry(const RemoteEntry &entry)
{
    if (entry.name.contains(u'/') || entry.name.contains(QChar(u'\0')))
        return false;
    if (!entry.isDirectory() &&
        (entry.name == QLatin1String(".") || entry.name == QLatin1String("..")))
        return false;
    return true;
}

// Parses the lines of text with parseLine, keeping at most kMaxEintraege
// usable entries.
template <typename ParseLine>
RemoteEntries parseLines(QByteArrayView text, bool *gekuerzt, ParseLine parseLine)
{
    RemoteEntries entries;
    // Room for the likely count, but never more than the cap (a hostile
    // listing of bare line ends must not reserve gigabytes).
    entries.reserve(std::min<std::size_t>(std::size_t(text.count('\n') + 1), kMaxEintraege));
    bool cut = false;
    forEachLine(text, [&](QByteArrayView line) {
        if (cut)
            return false;
        std::optional<RemoteEntry> entry = parseLine(line);
        if (!entry || !usableEntry(*entry))
            return true;
        if (entries.size() >= kMaxEintraege) {
            cut = true;
            return false;
        }
        entries.push_back(std::move(*entry));
        return true;
    });
    if (gekuerzt)
        *gekuerzt = cut;
    return entries;
}

RemoteEntry dotEntry(const char *name)
{
    RemoteEntry entry;
    entry.name = QString::fromLatin1(name);
    entry.attributes = remote_attr::Directory;
    return entry;
}

} // namespace

// --- Public: parsing ---------------------------------------------------------------------

QString decodeRemoteName(QByteArrayView bytes)
{
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return ansi::decode(bytes.toByteArray());
}

std::optional<RemoteEntry> parseMlsdLine(QByteArrayView line)
{
    const qsizetype blank = line.indexOf(' ');
    if (blank < 0)
        return std::nullopt;
    const QByteArrayView facts = line.first(blank);
    const QByteArrayView name = line.sliced(blank + 1);
    if (name.isEmpty())
        return std::nullopt;

    RemoteEntry entry;
    bool directory = false;
    bool readOnly = false;
    qsizetype pos = 0;
    while (pos < facts.size()) {
        qsizetype end = facts.indexOf(';', pos);
        if (end < 0)
            end = facts.size();
        const QByteArrayView fact = facts.sliced(pos, end - pos);
        pos = end + 1;
        if (fact.isEmpty())
            continue;
        const qsizetype eq = fact.indexOf('=');
        if (eq <= 0)
            return std::nullopt; // not a fact list at all
        const QByteArrayView key = fact.first(eq);
        const QByteArrayView value = fact.sliced(eq + 1);
        if (equalsNoCase(key, "type")) {
            if (equalsNoCase(value, "cdir") || equalsNoCase(value, "pdir"))
                return std::nullopt;
            directory = equalsNoCase(value, "dir");
        } else if (equalsNoCase(key, "size")) {
            entry.size = parseSize(value).value_or(-1);
        } else if (equalsNoCase(key, "modify")) {
            entry.changed = parseMlsdTime(value);
        } else if (equalsNoCase(key, "perm")) {
            // A file we may neither write nor append to counts as read-only.
            readOnly = true;
            for (char c : value) {
                const char l = lowerAscii(c);
                if (l == 'w' || l == 'a')
                    readOnly = false;
            }
        }
    }
    entry.name = decodeRemoteName(name);
    entry.roh = name.toByteArray();
    if (directory)
        entry.attributes = remote_attr::Directory;
    else
        entry.attributes = readOnly ? remote_attr::ReadOnly : remote_attr::Normal;
    return entry;
}

RemoteEntries parseMlsd(QByteArrayView text, bool *gekuerzt)
{
    return parseLines(text, gekuerzt, [](QByteArrayView line) { return parseMlsdLine(line); });
}

std::optional<RemoteEntry> parseListLine(QByteArrayView line, const QDateTime &nowUtc)
{
    qsizetype first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    if (first >= line.size())
        return std::nullopt;
    if (isDigit(line[first]))
        return parseDosLine(line);
    return parseUnixLine(line, nowUtc); // "total N" fails the mode check
}

RemoteEntries parseList(QByteArrayView text, const QDateTime &nowUtc, bool *gekuerzt)
{
    return parseLines(text, gekuerzt,
                      [&](QByteArrayView line) { return parseListLine(line, nowUtc); });
}

RemoteEntries parseListing(FtpSitzung::ListingFormat format, QByteArrayView text,
                           const QDateTime &nowUtc, bool *gekuerzt)
{
    return format == FtpSitzung::ListingFormat::Mlsd ? parseMlsd(text, gekuerzt)
                                                     : parseList(text, nowUtc, gekuerzt);
}

GeleseneListe readListing(const FtpSitzung::Liste &listing, const QDateTime &nowUtc)
{
    GeleseneListe result;
    bool zuViele = false;
    result.entries = parseListing(listing.format, listing.text, nowUtc, &zuViele);
    if (zuViele) {
        result.gekuerzt =
            QStringLiteral("Liste gekürzt: nur die ersten %1 Einträge").arg(kMaxEintraege);
    } else if (listing.truncated) {
        constexpr qsizetype mb = 1024 * 1024;
        result.gekuerzt = QStringLiteral("Liste gekürzt: nur die ersten %1 MB")
                              .arg((listing.text.size() + mb - 1) / mb);
    }
    return result;
}

// --- Public: filter, listing, sort -----------------------------------------------------

bool schuetzenswert(const QString &name)
{
    static const QStringList eigene{QStringLiteral("Adress.PRE"),   QStringLiteral("Gast.txt"),
                                    QStringLiteral("K1.txt"),       QStringLiteral("Kaco.txt"),
                                    QStringLiteral("aufnahme.txt"), QStringLiteral("Kling"),
                                    QStringLiteral("Hilfe.txt"),    QStringLiteral("Daten.TMP"),
                                    QStringLiteral("Infobereich")};
    static const QStringList bilder{QStringLiteral(".bmp"), QStringLiteral(".jpg"),
                                    QStringLiteral(".jpeg"), QStringLiteral(".png"),
                                    QStringLiteral(".gif")};
    if (eigene.contains(name, Qt::CaseInsensitive))
        return true;
    return std::any_of(bilder.begin(), bilder.end(), [&](const QString &endung) {
        return name.endsWith(endung, Qt::CaseInsensitive);
    });
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin) == u' ')
        ++begin;
    while (end > begin && text.at(end - 1) == u' ')
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}

namespace
{
// trimBlanks on the listed bytes: a blank is the byte 32 in either decoding.
QByteArray ohneBlanks(const QByteArray &bytes)
{
    qsizetype begin = 0;
    qsizetype end = bytes.size();
    while (begin < end && bytes.at(begin) == ' ')
        ++begin;
    while (end > begin && bytes.at(end - 1) == ' ')
        --end;
    return bytes.mid(begin, end - begin);
}
} // namespace

RemoteEntries ListeVerzeichnis(RemoteEntries entries, const QString &filterText)
{
    const NameFilter filter(filterText);
    // Filtered in place: kept entries move to the front in server order.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QString name = trimBlanks(entries[i].name);
        if (name.isEmpty() || !filter.matches(name))
            continue;
        if (kept != i)
            entries[kept] = std::move(entries[i]);
        entries[kept].roh = ohneBlanks(entries[kept].roh);
        entries[kept++].name = std::move(name);
    }
    entries.erase(entries.begin() + std::ptrdiff_t(kept), entries.end());
    // A server that sends its own dot entries sends them first; otherwise we
    // add them so that the list always offers a way up and a refresh.
    if (entries.empty() || !entries.front().name.startsWith(u'.')) {
        entries.push_back(dotEntry("."));
        entries.push_back(dotEntry(".."));
    }
    return entries;
}

QStringList SortiereVerzeichnis(RemoteEntries &entries)
{
    // Sort keys are computed once; the comparison is by UTF-16 code unit, so
    // "." sorts before digits and letters and umlauts after "z". A stable
    // sort keeps names that are equal when lower-cased in server order.
    struct Keyed {
        QString key; // trimmed, lower-cased: also the list line of a file
        std::size_t index;
        bool directory;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        keyed.push_back({trimBlanks(entries[i].name).toLower(), i, entries[i].isDirectory()});

    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        if (a.directory != b.directory)
            return a.directory;
        return a.key < b.key; // code units, no locale
    });

    RemoteEntries sorted;
    sorted.reserve(entries.size());
    QStringList lines;
    lines.reserve(qsizetype(entries.size()));
    for (Keyed &k : keyed) {
        sorted.push_back(std::move(entries[k.index]));
        if (k.directory)
            lines.push_back(trimBlanks(sorted.back().name).toUpper());
        else
            lines.push_back(std::move(k.key));
    }
    entries = std::move(sorted);
    return lines;
}

// --- Public: details -------------------------------------------------------------------

QString attributeText(quint32 attributes)
{
    static const struct {
        quint32 bit;
        const char *text;
    } letters[] = {{remote_attr::ReadOnly, "W "},  {remote_attr::Hidden, "H "},
                   {remote_attr::System, "S "},    {remote_attr::Directory, "D "},
                   {remote_attr::Archive, "A "},   {remote_attr::Normal, "N "},
                   {remote_attr::Temporary, "T "}, {remote_attr::Compressed, "C"}};
    QString text;
    for (const auto &l : letters) {
        if (attributes & l.bit)
            text += QLatin1String(l.text);
    }
    return trimBlanks(text);
}

QString sizeText(qint64 size)
{
    return size < 0 ? QString() : QString::number(size);
}

QString FormatiereDatum(const QDateTime &utc)
{
    if (!utc.isValid())
        return {};
    static const char *const weekdays[] = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
    const QDate d = utc.date();
    const QTime t = utc.time();
    return QLatin1String(weekdays[d.dayOfWeek() % 7]) + QLatin1Char(' ') +
           QString::number(d.day()) + QLatin1Char('.') + QString::number(d.month()) +
           QLatin1Char('.') + QString::number(d.year()) + QLatin1String(" um ") +
           QString::number(t.hour()) + QLatin1Char(':') +
           QStringLiteral("%1").arg(t.minute(), 2, 10, QLatin1Char('0'));
}

EntryDetails entryDetails(const RemoteEntry &entry)
{
    return {attributeText(entry.attributes), sizeText(entry.size), FormatiereDatum(entry.changed)};
}

// --- Public: navigation ------------------------------------------------------------------

QString parentLabel(const QString &request)
{
    const QString shortened = request.left(qMax<qsizetype>(0, request.size() - 3));
    const qsizetype slash = shortened.lastIndexOf(u'/');
    if (slash < 0)
        return shortened;
    return shortened.left(slash + 1);
}

RemoteNavigation navigate(const QString &label, const QString &serverName, const QString &dirName)
{
    const QString name = trimBlanks(dirName);
    RemoteNavigation nav;
    nav.label = label;
    if (name.isEmpty())
        return nav;
    if (name == QLatin1String(".")) {
        nav.relist = true;
        nav.request = label;
        return nav;
    }
    // An address directory's label has no closing "/"; without one the name
    // would be glued onto the last directory ("…/test" + "sub").
    const QString base = label.endsWith(u'/') || label.isEmpty() ? label : label + QLatin1Char('/');
    if (name == QLatin1String("..")) {
        if (base == serverName + QLatin1Char('/'))
            return nav;
        nav.relist = true;
        nav.request = base + QLatin1String("..");
        nav.label = parentLabel(nav.request);
        return nav;
    }
    nav.relist = true;
    nav.request = base + name;
    nav.label = nav.request + QLatin1Char('/');
    return nav;
}

RemoteNavigation navigate(const QString &label, const QString &serverName, const RemoteEntry &entry)
{
    if (!entry.isDirectory()) {
        RemoteNavigation nav;
        nav.label = label;
        return nav;
    }
    return navigate(label, serverName, ftpName(entry));
}

QString ftpName(const RemoteEntry &entry)
{
    return entry.roh.isEmpty() ? trimBlanks(entry.name) : ftpText(ohneBlanks(entry.roh));
}

QString anzeigePfad(const QString &pfad)
{
    const QList<QByteArray> teile = ftpBytes(pfad).split('/');
    QStringList text;
    text.reserve(teile.size());
    for (const QByteArray &teil : teile)
        text << decodeRemoteName(teil);
    return text.join(QLatin1Char('/'));
}

} // namespace varnek
