#pragma once

#include <QImage>
#include <QRect>
#include <QString>

class QWindow;

// Taking pictures of the screen and handing pictures to the clipboard.
namespace varnek::bildschirm
{

// Why this desktop lets the program take no picture of the screen; empty
// where it can (X11 and the others Qt grabs on). A Wayland session without
// X11 hands no screen content to programs.
QString keinFotoGrund();

// After `verborgen` was hidden: waits until the window system has taken it
// off the screen, then lets every window paint what it must (pending events
// run) for about `ms` milliseconds, so that what it covered is on the screen.
void lasseNeuZeichnen(QWindow *verborgen, int ms = 200);

// The screen area `bereich` (global coordinates, pixels) as a picture of
// the screen's depth. A null image when the platform could not copy it,
// also when it answers with a picture that holds no screen content (a
// Wayland desktop answering an X11 program with a black area).
QImage fotografiere(const QRect &bereich);

} // namespace varnek::bildschirm

namespace varnek::zwischenablage
{

// Puts the picture on the clipboard, offered in every picture format the
// platform knows (bitmap ones included).
void setzeBild(const QImage &bild);
// The picture on the clipboard; null when it holds none.
QImage bild();

} // namespace varnek::zwischenablage
