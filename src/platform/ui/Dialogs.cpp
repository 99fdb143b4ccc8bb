#include "platform/ui/Dialogs.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>

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
    if (state().testMode) {
        record(text, title);
        if (state().modalMs > 0) {
            // As a box the user closes after a while: events run meanwhile.
            QEventLoop loop;
            QTimer::singleShot(state().modalMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return;
    }
    QMessageBox box(boxIcon(icon), title.isEmpty() ? programTitle() : title, text, QMessageBox::Ok,
                    parent);
    box.exec();
}

bool question(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    if (leiseBeenden(text, title))
        return false;
    if (state().testMode) {
        record(text, title);
        return takeAnswer().value_or(QString()) == QLatin1String("yes");
    }
    QMessageBox box(boxIcon(icon), title.isEmpty() ? programTitle() : title, text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
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
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title.isEmpty() ? programTitle() : title,
                                               prompt, QLineEdit::Normal, defaultText, &accepted);
    if (ok)
        *ok = accepted;
    return accepted ? text : QString();
}

QString saveFile(QWidget *parent, const QString &proposedName)
{
    if (leiseBeenden(proposedName, QString()))
        return QString();
    if (state().testMode) {
        record(proposedName, QString());
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
    state().titles.clear();
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
