#include "contact/TextProzeduren.h"

namespace varnek {

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
