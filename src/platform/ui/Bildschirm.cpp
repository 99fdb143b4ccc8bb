#include "platform/ui/Bildschirm.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWindow>

namespace varnek::bildschirm
{

namespace
{

bool unterWayland()
{
    return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
}

bool ganzSchwarz(const QImage &bild)
{
    const QImage rgb = bild.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *zeile = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            if ((zeile[x] & 0xFFFFFF) != 0)
                return false;
    }
    return true;
}

} // namespace

QString keinFotoGrund()
{
    if (QGuiApplication::platformName() == QLatin1String("wayland"))
        return QStringLiteral("Unter Wayland gibt die Arbeitsfläche dem Programm kein Bild des "
                              "Bildschirms.");
    return QString();
}

void lasseNeuZeichnen(QWindow *verborgen, int ms)
{
    QElapsedTimer uhr;
    uhr.start();
    while (verborgen && verborgen->isExposed() && uhr.elapsed() < 1000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    uhr.restart();
    do {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    } while (uhr.elapsed() < ms);
}

QImage fotografiere(const QRect &bereich)
{
    if (!bereich.isValid() || !keinFotoGrund().isEmpty())
        return QImage();
    QScreen *schirm = QGuiApplication::screenAt(bereich.center());
    if (!schirm)
        schirm = QGuiApplication::primaryScreen();
    if (!schirm)
        return QImage();
    // Only what lies on the screen can be copied; an area wholly beside it
    // gives no photo, the part of one beside it stays black.
    const QRect sichtbar = bereich & schirm->virtualGeometry();
    if (sichtbar.isEmpty())
        return QImage();
    // The whole screen (window 0), the area given relative to its origin.
    const QPoint ecke = sichtbar.topLeft() - schirm->geometry().topLeft();
    const QPixmap teil =
        schirm->grabWindow(0, ecke.x(), ecke.y(), sichtbar.width(), sichtbar.height());
    if (teil.isNull())
        return QImage();
    QImage ergebnis = teil.toImage();
    if (sichtbar != bereich) {
        QImage ganz(bereich.size() * teil.devicePixelRatio(), ergebnis.format());
        ganz.setDevicePixelRatio(teil.devicePixelRatio());
        ganz.fill(Qt::black);
        QPainter(&ganz).drawImage(sichtbar.topLeft() - bereich.topLeft(), ergebnis);
        ergebnis = ganz;
    }
    // An X11 program on a Wayland desktop sees only black where other
    // programs' windows are; that is no photo.
    if (unterWayland() && ganzSchwarz(ergebnis))
        return QImage();
    return ergebnis;
}

} // namespace varnek::bildschirm

namespace varnek::zwischenablage
{

void setzeBild(const QImage &bild)
{
    if (QClipboard *ablage = QGuiApplication::clipboard())
        ablage->setImage(bild);
}

QImage bild()
{
    QClipboard *ablage = QGuiApplication::clipboard();
    return ablage ? ablage->image() : QImage();
}

} // namespace varnek::zwischenablage
