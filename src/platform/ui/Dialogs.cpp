#include "platform/ui/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

#include <deque>

namespace varnek::dialogs {

namespace {
struct State {
    bool testMode = false;
    int modalMs = 0;
    QStringList shown;
    std::deque<QString> answers;
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
} // namespace

QString programTitle()
{
    return QStringLiteral("Varnek");
}

void message(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    if (state().testMode) {
        state().shown << text;
        if (state().modalMs > 0) {
            // As a box the user closes after a while: events run meanwhile.
            QEventLoop loop;
            QTimer::singleShot(state().modalMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return;
    }
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    title.isEmpty() ? programTitle() : title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool question(QWidget *parent, const QString &text, const QString &title)
{
    if (state().testMode) {
        state().shown << text;
        return takeAnswer().value_or(QString()) == QLatin1String("yes");
    }
    return QMessageBox::question(parent, title.isEmpty() ? programTitle() : title, text,
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
           == QMessageBox::Yes;
}

QString input(QWidget *parent, const QString &prompt, const QString &title,
              const QString &defaultText, bool *ok)
{
    if (state().testMode) {
        state().shown << prompt;
        const auto answer = takeAnswer();
        const bool accepted = answer.has_value() && !answer->isNull();
        if (ok)
            *ok = accepted;
        return accepted ? *answer : QString();
    }
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title.isEmpty() ? programTitle() : title,
                                               prompt, QLineEdit::Normal, defaultText, &accepted);
    if (ok)
        *ok = accepted;
    return accepted ? text : QString();
}

QString saveFile(QWidget *parent, const QString &proposedName)
{
    if (state().testMode) {
        state().shown << proposedName;
        return takeAnswer().value_or(QString());
    }
    return QFileDialog::getSaveFileName(parent, QString(), proposedName,
                                        QStringLiteral("Alle Dateien (*.*)"));
}

void setTestModalMs(int ms)
{
    state().modalMs = ms;
}

void setTestMode(bool on)
{
    state().testMode = on;
    state().modalMs = 0;
    state().answers.clear();
    state().shown.clear();
}

bool testMode()
{
    return state().testMode;
}

QStringList shown()
{
    return state().shown;
}

void clearShown()
{
    state().shown.clear();
}

void prepareAnswer(const QString &answer)
{
    state().answers.push_back(answer);
}

} // namespace varnek::dialogs
