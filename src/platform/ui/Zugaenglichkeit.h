#pragma once

#include <QString>

class QWidget;

// What a screen reader says of a window's controls: each control's
// accessible name (its caption as read, or a short name taken from its hint)
// and its accessible description (its hint text).
namespace varnek::zugaenglichkeit
{

// A caption as it is read: without the access-key "&" ("&&" is one "&"),
// without the menu's tab and hot key behind it, blanks collapsed.
QString ohneKuerzel(const QString &beschriftung);

// The hint as a short name, for a control whose caption says nothing
// (a text field, a list, a button showing a symbol): the hint's first
// phrase, e.g. " Lade-Klingelbuch!" gives "Lade-Klingelbuch".
QString kurzname(const QString &hinweis);

// The caption a user sees on the control, as read; empty for a control
// without one or whose caption has no letter or digit (a symbol).
QString beschriftung(const QWidget *w);

// Names and describes one control from its row of the hint table: the name
// is its caption, else the label that names it (a buddy label, the title of
// its group box), else the short name of the hint; the description is the
// hint text without its framing blanks. A name or description set before
// (by the window itself) is kept.
void benenne(QWidget *w, const QString &hinweis);

// For a control without a row in a hint table: the name and description
// given, each unless set before.
void benenne(QWidget *w, const QString &name, const QString &beschreibung);

// Every control of the window that can take the focus and has no name yet
// gets one: its caption, the label that names it (buddy), its tool tip, its
// placeholder text. Message boxes and dialogs of the window are left alone.
void benenneFenster(QWidget *fenster);

} // namespace varnek::zugaenglichkeit
