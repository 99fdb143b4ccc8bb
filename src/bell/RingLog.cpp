#include "bell/RingLog.h"

#include "platform/AnsiText.h"

#include <QLocale>

namespace varnek::ringlog
{

namespace
{
bool istZeilenende(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
           c == QChar::ParagraphSeparator;
}
} // namespace

QString datum(const QDateTime &zeit)
{
    return zeit.toString(QStringLiteral("dd.MM.yy.."));
}

QString uhr(const QDateTime &zeit)
{
    return zeit.toString(QStringLiteral("hh:mm."));
}

QString einzeilig(const QString &text)
{
    qsizetype ende = text.size();
    while (ende > 0 && istZeilenende(text.at(ende - 1)))
        --ende;
    QString zeile;
    zeile.reserve(ende);
    for (qsizetype i = 0; i < ende; ++i) {
        const QChar c = text.at(i);
        if (!istZeilenende(c)) {
            zeile += c;
            continue;
        }
        zeile += QLatin1Char(' ');
        if (c == QLatin1Char('\r') && i + 1 < ende && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
    }
    return zeile;
}

QString eintrag(const QDateTime &zeit, const QString &empfangen)
{
    return datum(zeit) + uhr(zeit) + einzeilig(empfangen);
}

QString beantwortet(const QDateTime &zeit)
{
    return QStringLiteral("beantwortet ") + zeit.toString(QStringLiteral("hh:mm:ss"));
}

QStringList lade(const QString &pfad)
{
    return ansi::readLines(pfad).value_or(QStringList());
}

Ergebnis speichere(const QString &pfad, const QStringList &eintraege)
{
    // A log the user marked read-only stays as it is: writeLines refuses it.
    return ansi::writeLines(pfad, eintraege);
}

std::optional<bool> alsBoolean(const QString &zeile)
{
    const QString t = zeile.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double zahl = QLocale::c().toDouble(t, &ok);
    if (ok)
        return zahl != 0.0;
    return std::nullopt;
}

int leseModus(const QString &pfad, int gewaehlt)
{
    const auto zeilen = ansi::readLines(pfad);
    if (!zeilen)
        return gewaehlt;
    for (int i = 0; i < optionen && i < zeilen->size(); ++i) {
        const auto wert = alsBoolean(zeilen->at(i));
        if (!wert)
            continue;
        if (*wert)
            gewaehlt = i;
        else if (gewaehlt == i)
            gewaehlt = -1;
    }
    return gewaehlt;
}

bool leseBisAntwort(const QString &pfad)
{
    const auto zeilen = ansi::readLines(pfad);
    return zeilen && zeilen->size() > optionen && alsBoolean(zeilen->at(optionen)).value_or(false);
}

QStringList modusZeilen(int gewaehlt, bool bisAntwort)
{
    QStringList zeilen;
    for (int i = 0; i < optionen; ++i)
        zeilen << (i == gewaehlt ? QStringLiteral("True") : QStringLiteral("False"));
    if (bisAntwort)
        zeilen << QStringLiteral("True");
    return zeilen;
}

Ergebnis schreibeModus(const QString &pfad, int gewaehlt, bool bisAntwort)
{
    return ansi::writeLines(pfad, modusZeilen(gewaehlt, bisAntwort));
}

Alarm alarm(int gewaehlt)
{
    return gewaehlt >= 0 && gewaehlt < optionen ? static_cast<Alarm>(gewaehlt) : Alarm::Meldung;
}

} // namespace varnek::ringlog
