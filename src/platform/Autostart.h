#pragma once

#include "platform/Ergebnis.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The XDG autostart entry that starts the program with the desktop session:
// "varnek.desktop" in the autostart folder of the user's configuration.
namespace varnek::autostart
{

// "$XDG_CONFIG_HOME/autostart/varnek.desktop"; "~/.config" when the
// variable is unset, empty or not an absolute path.
QString eintragPfad();

// One argument of an Exec line: quoted in double quotes when it holds a
// reserved character (or is empty), with '"', '`', '$' and '\' escaped
// inside; '%' doubled as field codes demand. Not yet escaped as a string
// value of the file (see execZeile).
QString execArgument(const QString &argument);
// The Exec value as it stands in the file: the quoted arguments, blank
// separated, escaped as a desktop entry string ("\\" for '\', "\n", ...).
QString execZeile(const QStringList &argumente);
// The whole entry, UTF-8 with LF line ends.
QByteArray eintrag(const QStringList &argumente);

bool vorhanden();
// Writes the entry whole (its folder created if missing), or removes it;
// removing an entry that is not there succeeds.
Ergebnis schreibe(const QStringList &argumente);
Ergebnis entferne();

} // namespace varnek::autostart
