#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

namespace varnek
{

// Every message box, input box and file dialog of the program goes through
// here. In test mode nothing is shown: each call is recorded and answered
// from a queue of prepared answers (or a default), so no test ever blocks.
namespace dialogs
{

enum class Icon { Information, Critical, Warning, Question, None };

// A message box with an OK button. An empty title means the program's title.
void message(QWidget *parent, const QString &text, const QString &title = {},
             Icon icon = Icon::None);
// Yes/No question; true for Yes.
bool question(QWidget *parent, const QString &text, const QString &title = {},
              Icon icon = Icon::Question);
// Input box; nullopt-like: returns false in *ok (and "") when cancelled.
QString input(QWidget *parent, const QString &prompt, const QString &title,
              const QString &defaultText = {}, bool *ok = nullptr);
// Save-file dialog proposing a name; "" when cancelled.
QString saveFile(QWidget *parent, const QString &proposedName);

QString programTitle();

// Once the program is quitting on a signal, nothing may wait for a user: no
// box is shown any more, the text goes to stderr, a question answers No, an
// input and a file dialog are cancelled.
void setQuitting(bool on);
bool quitting();

// --- test mode ---
void setTestMode(bool on);
// Texts of every message/question/input shown since the last clear.
QStringList shown();
void clearShown();
// Titles of the same boxes, in the same order.
QStringList shownTitles();
// Answers for the next questions ("yes"/"no"), inputs (the text; an empty
// QString() means cancel) and file dialogs, consumed in order. Without a
// prepared answer a question answers No, an input is cancelled and a file
// dialog is cancelled.
void prepareAnswer(const QString &answer);
// The boxes and dialogs really open, centred over their window as always,
// and `ansehen` sees each one on the screen before it is answered from the
// prepared answers; an empty function (the default) shows none.
void setTestAnsicht(std::function<void(QDialog &)> ansehen);
// Message boxes stay open for ms (their own event loop runs meanwhile), as
// when a user reads them before pressing OK; 0 (the default) closes at once.
void setTestModalMs(int ms);

} // namespace dialogs
} // namespace varnek
