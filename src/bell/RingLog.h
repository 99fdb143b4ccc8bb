#pragma once

#include "platform/Ergebnis.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// The ring log ("Klingelbuch") and the stored alert mode of the bell window.
namespace varnek::ringlog
{

// File names in the program folder.
inline const QString logDatei = QStringLiteral("aufnahme.txt");
inline const QString modusDatei = QStringLiteral("Kling");

// The parts of an entry: "07.12.26.." and "14:35.".
QString datum(const QDateTime &zeit);
QString uhr(const QDateTime &zeit);

// The received text as one line: line ends at its end are dropped, line
// breaks inside become one blank each. An entry with a line break would be
// split into two entries when the saved log is loaded again.
QString einzeilig(const QString &text);

// One log entry: date, time, then the received text as one line,
// e.g. "07.12.26..14:35.Hallo".
QString eintrag(const QDateTime &zeit, const QString &empfangen);
// The line that follows a ring the user answered, e.g. "beantwortet 14:35:40".
QString beantwortet(const QDateTime &zeit);

// The saved log, one entry a line; empty when there is no file.
QStringList lade(const QString &pfad);
// Replaces the file with the entries, one a line. Fails with the reason when
// it cannot be written, e.g. when it is read-only.
Ergebnis speichere(const QString &pfad, const QStringList &eintraege);

// How a ring is announced; the index of the option button that selects it.
enum class Alarm { Meldung = 0, Intervall = 1, Einmal = 2 };
inline constexpr int optionen = 3;

// A line of the mode file read as a Boolean: "True"/"False" in any case,
// or a number (0 is false, anything else true). nullopt for anything else.
std::optional<bool> alsBoolean(const QString &zeile);

// The three option buttons are exclusive; `gewaehlt` is the selected one,
// -1 for none. Reading applies the file's lines to the options in order as
// the buttons would take them: "True" selects that option (and so deselects
// the others), "False" deselects it, any other line or a missing line leaves
// it alone. A missing file changes nothing.
int leseModus(const QString &pfad, int gewaehlt = -1);
// "Klingeln bis Antwort" is a fourth line "True" after the three; a file
// without it (as every file written before the option existed) means off,
// and the option off writes the three lines alone.
bool leseBisAntwort(const QString &pfad);
QStringList modusZeilen(int gewaehlt, bool bisAntwort = false);
Ergebnis schreibeModus(const QString &pfad, int gewaehlt, bool bisAntwort = false);

// The alert of a selection: the selected option's, the message box when
// none is selected.
Alarm alarm(int gewaehlt);

} // namespace varnek::ringlog
