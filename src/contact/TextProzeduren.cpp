#include "contact/TextProzeduren.h"

#include "platform/Dienste.h"

#include <vector>

namespace varnek
{

QString ZeichenErsetzen(const QString &text, const QString &alt, const QString &neu)
{
    if (alt.isEmpty())
        return text;
    // Built in one pass: searching on after each inserted `neu` in the
    // changed text finds exactly the occurrences that follow in the original.
    QString ergebnis;
    qsizetype von = 0;
    qsizetype pos = text.indexOf(alt, von, Qt::CaseSensitive);
    if (pos < 0)
        return text;
    while (pos >= 0) {
        ergebnis += QStringView(text).mid(von, pos - von);
        ergebnis += neu;
        von = pos + alt.size();
        pos = text.indexOf(alt, von, Qt::CaseSensitive);
    }
    ergebnis += QStringView(text).mid(von);
    return ergebnis;
}

bool enthaelt(const QString &text, const QString &code)
{
    return !code.isEmpty() && text.contains(code, Qt::CaseSensitive);
}

namespace
{

// Length of the escape sequence that starts with the ESC at `i`.
qsizetype escapeLaenge(const QString &text, qsizetype i)
{
    const qsizetype n = text.size();
    if (i + 1 >= n)
        return 1;
    const char16_t art = text.at(i + 1).unicode();
    qsizetype k = i + 2;
    if (art == u'[') {
        // Control sequence: parameter and intermediate bytes, one final byte.
        while (k < n && text.at(k).unicode() >= 0x20 && text.at(k).unicode() <= 0x3F)
            ++k;
        if (k < n && text.at(k).unicode() >= 0x40 && text.at(k).unicode() <= 0x7E)
            ++k;
        return k - i;
    }
    if (art == u']' || art == u'P' || art == u'_' || art == u'^') {
        // String sequence: ends with BEL or with ESC and a backslash.
        while (k < n) {
            if (text.at(k).unicode() == 0x07)
                return k + 1 - i;
            if (text.at(k).unicode() == 0x1B && k + 1 < n && text.at(k + 1) == QLatin1Char('\\'))
                return k + 2 - i;
            ++k;
        }
        return n - i;
    }
    if (art >= 0x20 && art <= 0x2F) {
        // Intermediate bytes, then one final byte (e.g. a character set).
        while (k < n && text.at(k).unicode() >= 0x20 && text.at(k).unicode() <= 0x2F)
            ++k;
        if (k < n && text.at(k).unicode() >= 0x30 && text.at(k).unicode() <= 0x7E)
            ++k;
        return k - i;
    }
    if (art >= 0x30 && art <= 0x7E)
        return 2; // ESC and one character
    return 1;
}

} // namespace

QString ohneSteuerzeichen(const QString &text, bool zeilenBehalten)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == 0x1B) {
            i += escapeLaenge(text, i) - 1;
            continue;
        }
        if (c == u'\r' || c == u'\n' || c == u'\t') {
            if (zeilenBehalten) {
                out += QChar(c);
                continue;
            }
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i; // CR LF is one line break
            out += QLatin1Char(' ');
            continue;
        }
        if (c == 0x0B || c == 0x0C) {
            out += QLatin1Char(' ');
            continue;
        }
        if (istSteuerzeichen(text.at(i)))
            continue;
        out += QChar(c);
    }
    return out;
}

QString sprechbarerText(const QString &text)
{
    // The words between white space, as views into the cleaned text.
    const QString rein = ohneSteuerzeichen(text);
    std::vector<QStringView> words;
    const qsizetype laenge = rein.size();
    for (qsizetype p = 0; p < laenge;) {
        while (p < laenge && rein.at(p).isSpace())
            ++p;
        const qsizetype anfang = p;
        while (p < laenge && !rein.at(p).isSpace())
            ++p;
        if (p > anfang)
            words.push_back(QStringView(rein).mid(anfang, p - anfang));
    }
    const QChar hash = QLatin1Char('#');
    const std::size_t n = words.size();
    // naechstesEnde[k]: the first word from k on that ends with "#", or n.
    std::vector<std::size_t> naechstesEnde(n + 1, n);
    for (std::size_t k = n; k-- > 0;)
        naechstesEnde[k] = words[k].endsWith(hash) ? k : naechstesEnde[k + 1];
    QString heard;
    heard.reserve(laenge);
    for (std::size_t i = 0; i < n; ++i) {
        const QStringView word = words[i];
        if (word.startsWith(hash)) {
            const std::size_t end =
                word.size() >= 2 && word.endsWith(hash) ? i : naechstesEnde[i + 1];
            if (end < n) {
                i = end;
                continue;
            }
        }
        if (!heard.isEmpty())
            heard += QLatin1Char(' ');
        heard += word;
    }
    return heard;
}

QString zuVieleBefehleText()
{
    return QStringLiteral("Zu viele Befehle!");
}

std::optional<QStringList> Parsing(const QString &text)
{
    const QChar blank = QLatin1Char(' ');
    QStringList woerter{QString()};
    const qsizetype n = text.size();
    for (qsizetype p = 0; p < n; ++p) {
        const QChar c = text.at(p);
        if (c != blank) {
            woerter.last() += c;
            continue;
        }
        if (p == n - 1 || text.at(p + 1) == blank)
            continue; // trailing blank, or not the last blank of a run
        if (woerter.size() >= kMaxWoerter)
            return std::nullopt;
        woerter.append(QString());
    }
    return woerter;
}

} // namespace varnek
