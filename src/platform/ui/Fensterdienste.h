#pragma once

#include <QString>

#include <functional>

class QApplication;
class QIcon;
class QLineEdit;
class QMenuBar;
class QObject;
class QWidget;

// Services the windows share: opening a document, searching a list, keeping
// a window on top, the save dialog, the menu hints and the clipboard paste.
namespace varnek
{

// Opens a document or web address on the desktop, with the busy pointer
// while the desktop is asked.
void OeffneDokument(QWidget *fenster, const QString &text);

// Exact-match search in a list or combo box (QListWidget, QComboBox): the
// whole item must equal the text, letters compared without regard to case.
// The item's index; -1 when there is none; -2 for any other control.
int FindeListenEintrag(const QObject *liste, const QString &text, bool flag = false);

// Puts the window into the topmost band (an) or takes it out of it. Calling
// it with the state the window already has changes nothing, so it may run on
// every repaint.
void SetzeVordergrund(QWidget *fenster, bool an);
bool istImVordergrund(const QWidget *fenster);

// The save dialog for all files, proposing `vorschlag`; the chosen full path,
// or "" when the user cancels.
QString DateiSpeichernDialog(const QString &vorschlag);

// Menu hints: the caption of every menu entry highlighted in the bar's menus
// (also of menus added later) is handed to `hinweis`; a closing menu leaves
// the last hint. A second installation on the same bar replaces the first.
void MenueHinweiseEin(QMenuBar *leiste, std::function<void(const QString &)> hinweis);
void MenueHinweiseAus(QMenuBar *leiste);
// The same for anything that writes the hint line (the running program).
template <typename Ziel>
requires requires(Ziel &z)
{
    z.hinweis(QString());
}
void MenueHinweiseEin(QMenuBar *leiste, Ziel &ziel)
{
    MenueHinweiseEin(leiste, [&ziel](const QString &t) { ziel.hinweis(t); });
}

// Paste from the clipboard: text on it replaces the content of `ziel`, cut
// to its first 32767 characters; anything else (a picture) leaves `ziel`
// alone. True when text was pasted.
bool ZwischenablageEinfuegen(QLineEdit *ziel);
constexpr int maxEinfuegeLaenge = 32767;

// Loads Qt's own German texts (the standard buttons read "Ja", "Nein",
// "Abbrechen"). False when the translation is not installed.
bool LadeQtUebersetzung(QApplication &app);

// The program's icon (data/varnek.svg, built into the program), drawn for
// the sizes window systems ask for.
QIcon ProgrammSymbol();

// Sets up the window application once: Qt's German texts, German as the
// locale of everything shown (dates and sizes in the file dialogs
// included) and the program's icon for every window.
void RichteAnwendungEin(QApplication &app);

} // namespace varnek
