#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <deque>

#include <cstdio>

namespace varnek::dialogs
{

namespace
{
struct State {
    bool testMode = false;
    int modalMs = 0;
    QStringList shown;
    QStringList titles;
    std::deque<QString> answers;
    std::function<void(QDialog &)> ansehen;
};
State &state()
{
    static State s;
    return s;
}

std::optional<QString> takeAnswer()
{
    auto &a = state().answers;
    if (a.empty())
        return std::nullopt;
    QString answer = a.front();
    a.pop_front();
    return answer;
}

void record(const QString &text, const QString &title)
{
    state().shown << text;
    state().titles << title;
}

QMessageBox::Icon boxIcon(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// The file list of the save dialog with sizes and dates in the program's
// locale (Qt's own list takes the system's, English under a C locale).
class DateiListe : public QIdentityProxyModel
{
  public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *dateien = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !dateien || (index.column() != 1 && index.column() != 3))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex quelle = mapToSource(index);
        if (index.column() == 3)
            return QLocale().toString(dateien->lastModified(quelle), QLocale::ShortFormat);
        return dateien->isDir(quelle) ? QString()
                                      : QLocale().formattedDataSize(dateien->size(quelle));
    }
};

// The window a box belongs to: its parent's, else the active one.
QWidget *fensterVon(QWidget *parent)
{
    return parent ? parent->window() : QApplication::activeWindow();
}

// Runs pending events until `fertig` holds, for at most `ms` milliseconds.
template <typename Bedingung> void warte(Bedingung fertig, int ms)
{
    QElapsedTimer uhr;
    uhr.start();
    while (!fertig() && uhr.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// Shows the dialog modal, centred over `fenster`, and waits for its answer.
// It is centred once it is on the screen, when its frame is known (a window
// manager places a box by its own rules, not by its parent). In test mode
// with a viewer the viewer sees it there and it is answered with
// `testAntwort` (before closing, `vorAntwort` sets it up).
int zeige(QDialog &d, QWidget *fenster, int testAntwort = 0,
          const std::function<void()> &vorAntwort = {})
{
    QTimer::singleShot(0, &d, [&d, fenster, testAntwort, vorAntwort] {
        // A dialog of the desktop's own (a native file dialog) places itself.
        const bool eigenes = !d.testAttribute(Qt::WA_DontShowOnScreen);
        if (eigenes)
            warte([&d] { return d.windowHandle() && d.windowHandle()->isExposed(); }, 1000);
        if (eigenes && fenster && fenster->isVisible()) {
            QRect r = d.frameGeometry();
            r.moveCenter(fenster->frameGeometry().center());
            // Over a small window (the photo window) a big dialog stays on
            // the screen all the same.
            if (const QScreen *schirm = fenster->screen()) {
                const QRect platz = schirm->availableGeometry();
                r.moveLeft(
                    std::max(platz.left(), std::min(r.left(), platz.right() - r.width() + 1)));
                r.moveTop(
                    std::max(platz.top(), std::min(r.top(), platz.bottom() - r.height() + 1)));
            }
            if (r.topLeft() != d.frameGeometry().topLeft()) {
                d.move(r.topLeft());
                warte([&d, r] { return d.frameGeometry().topLeft() == r.topLeft(); }, 500);
            }
        }
        if (!state().testMode)
            return;
        QCoreApplication::processEvents();
        if (state().ansehen)
            state().ansehen(d);
        if (vorAntwort)
            vorAntwort();
        d.done(testAntwort);
    });
    return d.exec();
}
} // namespace

QString programTitle()
{
    return QStringLiteral("Varnek");
}

namespace
{
bool quittingFlag = false;

// While quitting: the text on stderr (and recorded in test mode) instead of a box.
bool leiseBeenden(const QString &text, const QString &title)
{
    if (!quittingFlag)
        return false;
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (state().testMode)
        record(text, title);
    return true;
}
} // namespace

void setQuitting(bool on)
{
    quittingFlag = on;
}

bool quitting()
{
    return quittingFlag;
}

void message(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    if (leiseBeenden(text, title))
        return;
    if (state().testMode && !state().ansehen) {
        record(text, title);
        if (state().modalMs > 0) {
            // As a box the user closes after a while: events run meanwhile.
            QEventLoop loop;
            QTimer::singleShot(state().modalMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return;
    }
    if (state().testMode)
        record(text, title);
    QMessageBox box(boxIcon(icon), title.isEmpty() ? programTitle() : title, text, QMessageBox::Ok,
                    parent);
    zeige(box, fensterVon(parent), QMessageBox::Ok);
}

bool question(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    if (leiseBeenden(text, title))
        return false;
    int testAntwort = QMessageBox::No;
    if (state().testMode) {
        record(text, title);
        if (takeAnswer().value_or(QString()) == QLatin1String("yes"))
            testAntwort = QMessageBox::Yes;
        if (!state().ansehen)
            return testAntwort == QMessageBox::Yes;
    }
    QMessageBox box(boxIcon(icon), title.isEmpty() ? programTitle() : title, text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return zeige(box, fensterVon(parent), testAntwort) == QMessageBox::Yes;
}

QString input(QWidget *parent, const QString &prompt, const QString &title,
              const QString &defaultText, bool *ok)
{
    if (leiseBeenden(prompt, title)) {
        if (ok)
            *ok = false;
        return QString();
    }
    if (state().testMode) {
        record(prompt, title);
        const auto answer = takeAnswer();
        const bool accepted = answer.has_value() && !answer->isNull();
        if (ok)
            *ok = accepted;
        return accepted ? *answer : QString();
    }
    QInputDialog box(parent);
    box.setWindowTitle(title.isEmpty() ? programTitle() : title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    const bool accepted = zeige(box, fensterVon(parent)) == QDialog::Accepted;
    if (ok)
        *ok = accepted;
    return accepted ? box.textValue() : QString();
}

QString saveFile(QWidget *parent, const QString &proposedName)
{
    if (leiseBeenden(proposedName, QString()))
        return QString();
    QString testAntwort;
    if (state().testMode) {
        record(proposedName, QString());
        testAntwort = takeAnswer().value_or(QString());
        if (!state().ansehen)
            return testAntwort;
    }
    QFileDialog dialog(parent, QString(), proposedName, QStringLiteral("Alle Dateien (*.*)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // Qt's own dialog (where the desktop offers none of its own) lists
    // sizes and dates in German too.
    dialog.setProxyModel(new DateiListe(&dialog));
    const auto waehle = [&dialog, testAntwort] {
        if (!testAntwort.isEmpty())
            dialog.selectFile(testAntwort);
    };
    if (zeige(dialog, fensterVon(parent),
              testAntwort.isEmpty() ? QDialog::Rejected : QDialog::Accepted,
              waehle) != QDialog::Accepted)
        return QString();
    return testAntwort.isEmpty() ? dialog.selectedFiles().value(0) : testAntwort;
}

void setTestAnsicht(std::function<void(QDialog &)> ansehen)
{
    state().ansehen = std::move(ansehen);
}

void setTestModalMs(int ms)
{
    state().modalMs = ms;
}

void setTestMode(bool on)
{
    state().testMode = on;
    state().modalMs = 0;
    state().ansehen = {};
    state().answers.clear();
    state().shown.clear();
    state().titles.clear();
}

QStringList shown()
{
    return state().shown;
}

void clearShown()
{
    state().shown.clear();
    state().titles.clear();
}

QStringList shownTitles()
{
    return state().titles;
}

void prepareAnswer(const QString &answer)
{
    state().answers.push_back(answer);
}

} // namespace varnek::dialogs
