#pragma once

#include <QString>
#include <QStringList>

// The desktop's part in the program: opening a document or web address with
// its default program, and the alert sound.
namespace varnek::desktop
{

// Opens a local file (in the desktop's default program, for a text file the
// text editor) or a web address. Where the desktop finds no program for it,
// the user is told so in a message box.
void open(const QString &pathOrUrl);
// One alert sound; silent where the platform has none.
void beep();

// The text shown when no program could be found to open `pathOrUrl`.
QString keinProgrammText(const QString &pathOrUrl);

// --- test mode: nothing is opened or sounded, calls are recorded ---
void setTestMode(bool on);
QStringList opened();
int beeps();
void reset();

} // namespace varnek::desktop
