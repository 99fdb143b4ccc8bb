#include "addressbook/AdressDatensatz.h"

#include "platform/AnsiText.h"

#include <array>

namespace varnek
{

namespace
{

struct Layout {
    int versatz;
    int breite;
};

constexpr std::array<Layout, 12> kLayout{{
    {0, 60},    // Nummer
    {60, 60},   // Komentar
    {120, 200}, // Reserve1
    {320, 60},  // Reserve2
    {380, 60},  // Reserve3
    {440, 60},  // Reserve4
    {500, 60},  // Reserve5
    {560, 60},  // Reserve6
    {620, 60},  // Reserve7
    {680, 60},  // Reserve8
    {740, 60},  // Webadresse
    {800, 70},  // Bildpfad
}};

static_assert(kLayout.back().versatz + kLayout.back().breite == AdressDatensatz::Satzlaenge);

const Layout &layout(AdressDatensatz::Feld feld)
{
    return kLayout[static_cast<std::size_t>(feld)];
}

// Byte -> character of Windows-1252, built once from the shared codec so
// shown texts decode exactly like every other file of the program.
const std::array<QChar, 256> &decodeTable()
{
    static const std::array<QChar, 256> table = [] {
        std::array<QChar, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const QString s = ansi::decode(QByteArray(1, static_cast<char>(b)));
            t[static_cast<std::size_t>(b)] =
                s.size() == 1 ? s.at(0) : QChar(QChar::ReplacementCharacter);
        }
        return t;
    }();
    return table;
}

// Character -> byte of Windows-1252; characters the code page lacks become
// '?' (as the system's own conversion does), one byte per character.
QByteArray encodeText(const QString &text)
{
    static const std::array<char, 65536> table = [] {
        std::array<char, 65536> t;
        t.fill('?');
        const auto &chars = decodeTable();
        for (int b = 0; b < 256; ++b) {
            const QChar c = chars[static_cast<std::size_t>(b)];
            if (c != QChar(QChar::ReplacementCharacter))
                t[c.unicode()] = static_cast<char>(b);
        }
        return t;
    }();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += '?';
            ++i;
        } else {
            out += table[c.unicode()];
        }
    }
    return out;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\0';
}

} // namespace

int AdressDatensatz::breite(Feld feld)
{
    return layout(feld).breite;
}

int AdressDatensatz::versatz(Feld feld)
{
    return layout(feld).versatz;
}

AdressDatensatz::AdressDatensatz() : bytes_(Satzlaenge, ' ') {}

AdressDatensatz AdressDatensatz::fromBytes(const QByteArray &bytes)
{
    AdressDatensatz satz;
    const qsizetype n = std::min<qsizetype>(bytes.size(), Satzlaenge);
    std::copy_n(bytes.constData(), n, satz.bytes_.data());
    return satz;
}

void AdressDatensatz::setText(Feld feld, const QString &text)
{
    setRaw(feld, encodeText(text));
}

QString AdressDatensatz::text(Feld feld) const
{
    const Layout &l = layout(feld);
    return shownText(bytes_.constData() + l.versatz, l.breite);
}

QByteArray AdressDatensatz::raw(Feld feld) const
{
    const Layout &l = layout(feld);
    return bytes_.mid(l.versatz, l.breite);
}

void AdressDatensatz::setRaw(Feld feld, const QByteArray &bytes)
{
    const Layout &l = layout(feld);
    char *out = bytes_.data() + l.versatz;
    const qsizetype n = std::min<qsizetype>(bytes.size(), l.breite);
    std::copy_n(bytes.constData(), n, out);
    std::fill(out + n, out + l.breite, ' ');
}

QString AdressDatensatz::shownText(const char *bytes, int length)
{
    int begin = 0;
    int end = length;
    while (begin < end && isBlank(bytes[begin]))
        ++begin;
    while (end > begin && isBlank(bytes[end - 1]))
        --end;
    const auto &table = decodeTable();
    QString out(end - begin, Qt::Uninitialized);
    QChar *dst = out.data();
    for (int i = begin; i < end; ++i)
        *dst++ = table[static_cast<unsigned char>(bytes[i])];
    return out;
}

} // namespace varnek
