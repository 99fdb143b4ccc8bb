#include "platform/ui/Desktop.h"

#include "platform/Dienste.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace varnek::desktop
{

namespace
{
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

bool istLokal(const QString &pathOrUrl)
{
    return QFileInfo(pathOrUrl).isAbsolute() || QFileInfo::exists(pathOrUrl);
}

void meldeFehlschlag(const QString &pathOrUrl)
{
    dialogs::message(QApplication::activeWindow(), keinProgrammText(pathOrUrl));
}
} // namespace

QString keinProgrammText(const QString &pathOrUrl)
{
    const QString name = istLokal(pathOrUrl) ? QFileInfo(pathOrUrl).fileName() : pathOrUrl;
    if (istLokal(pathOrUrl))
        return QStringLiteral(
                   "„%1“ kann nicht geöffnet werden: Es wurde kein Programm dafür gefunden.\n"
                   "Bitte einen Texteditor (zum Beispiel mousepad oder gedit) oder einen "
                   "Web-Browser installieren.\nDie Datei liegt in: %2")
            .arg(name, QFileInfo(pathOrUrl).absolutePath());
    return QStringLiteral("„%1“ kann nicht geöffnet werden: Es wurde kein Web-Browser gefunden.")
        .arg(name);
}

void open(const QString &adresse)
{
    // A mail address never names a file of ours to attach.
    const QString pathOrUrl = ohneMailAnhang(adresse);
    if (state().testMode) {
        state().opened << pathOrUrl;
        return;
    }
    const QUrl url = istLokal(pathOrUrl)
                         ? QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath())
                         : QUrl(pathOrUrl);
    // xdg-open works on any desktop, also without a full desktop
    // environment, and says by its exit status when it found nothing to open
    // the document with.
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (xdgOpen.isEmpty()) {
        if (!QDesktopServices::openUrl(url))
            meldeFehlschlag(pathOrUrl);
        return;
    }
    auto *prozess = new QProcess(qApp);
    prozess->setProgram(xdgOpen);
    prozess->setArguments(
        {url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    prozess->setStandardInputFile(QProcess::nullDevice());
    prozess->setStandardOutputFile(QProcess::nullDevice());
    prozess->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(prozess, &QProcess::finished, prozess,
                     [prozess, pathOrUrl](int code, QProcess::ExitStatus s) {
                         prozess->deleteLater();
                         // 3: no program found for it; 4: the program could not be started.
                         if (s == QProcess::NormalExit && (code == 3 || code == 4))
                             meldeFehlschlag(pathOrUrl);
                     });
    QObject::connect(prozess, &QProcess::errorOccurred, prozess,
                     [prozess, pathOrUrl](QProcess::ProcessError e) {
                         if (e == QProcess::FailedToStart) {
                             prozess->deleteLater();
                             meldeFehlschlag(pathOrUrl);
                         }
                     });
    prozess->start();
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
