#include "platform/ui/Desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace varnek::desktop {

namespace {
struct State {
    bool testMode = false;
    QStringList opened;
    int beeps = 0;
};
State &state()
{
    static State s;
    return s;
}
} // namespace

void open(const QString &pathOrUrl)
{
    if (state().testMode) {
        state().opened << pathOrUrl;
        return;
    }
    const QUrl url = QFileInfo(pathOrUrl).isAbsolute() || QFileInfo::exists(pathOrUrl)
                         ? QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath())
                         : QUrl::fromUserInput(pathOrUrl);
    QDesktopServices::openUrl(url);
}

void beep()
{
    ++state().beeps;
    if (!state().testMode)
        QApplication::beep();
}

void setTestMode(bool on)
{
    state().testMode = on;
    reset();
}

QStringList opened()
{
    return state().opened;
}

int beeps()
{
    return state().beeps;
}

void reset()
{
    state().opened.clear();
    state().beeps = 0;
}

} // namespace varnek::desktop
