#pragma once

#include <QString>
#include <QStringList>

// What the original took from the desktop shell: opening a document or web
// address with its default program, and the alert sound.
namespace varnek::desktop {

// Opens a local file (in the desktop's default program, for a text file the
// text editor) or a web address. Nothing visible happens when it fails.
void open(const QString &pathOrUrl);
// One alert sound; silent where the platform has none.
void beep();

// --- test mode: nothing is opened or sounded, calls are recorded ---
void setTestMode(bool on);
QStringList opened();
int beeps();
void reset();

} // namespace varnek::desktop
