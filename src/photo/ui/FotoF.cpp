#include "photo/ui/FotoF.h"

#include "contact/Einstellungen.h"
#include "help/ui/Hinweise.h"
#include "photo/FotoDatei.h"
#include "platform/Clock.h"
#include "platform/Zeitgeber.h"
#include "platform/ui/Bildschirm.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fenstertasten.h"
#include "platform/ui/Programmdienste.h"
#include "platform/ui/Twips.h"

#include <QBuffer>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegion>
#include <QWindow>

namespace varnek
{

namespace
{

const QString statusGeladen = QStringLiteral("Bildschirmfoto= OK");
const QString statusGespeichert = QStringLiteral("OK Fotografie");
const QString statusBereit = QStringLiteral("Fotografiere");

// The capture buffer's parking place and size, away from the window.
const QRect snapParkplatz(3000, 3000, 105, 105);

QPushButton *knopf(QWidget *parent, const char *name, const QString &text)
{
    auto *b = benannt(new QPushButton(text, parent), name);
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

} // namespace

FotoF::FotoF(Programmdienste &programm) : programm_(programm), timer1_(new Zeitgeber(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FotoF"));
    setWindowTitle(QStringLiteral("Bildschirm-Fotoapparat"));
    // Load: no border, no title bar, on top of every other window.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(breite, hoehe);
    baueOberflaeche();
    installiereHinweise();
    lblDrag->setText(statusGeladen);
    connect(timer1_, &Zeitgeber::tick, this, [this] {
        lblDrag->setText(statusBereit);
        timer1_->setInterval(5000);
    });
}

FotoF::~FotoF() = default;

void FotoF::baueOberflaeche()
{
    lblDrag = platz(benannt(new QLabel(this), "lblDrag"), 0, 0, 1815, 240);
    QFont times(QStringLiteral("Times New Roman"));
    times.setPointSize(7);
    lblDrag->setFont(times);
    QPalette blau = lblDrag->palette();
    blau.setColor(QPalette::Window, QColor(0, 0, 255));
    blau.setColor(QPalette::WindowText, Qt::white);
    lblDrag->setPalette(blau);
    lblDrag->setAutoFillBackground(true);

    QFont klein = font();
    klein.setPointSize(7);
    zu_ = platz(knopf(this, "Zu", QStringLiteral("&X")), 1560, 0, 255, 255);
    ok_ = platz(knopf(this, "ok", QStringLiteral("&OK")), 0, 2044, 500, 221);
    command1_ = platz(knopf(this, "Command1", QStringLiteral("Sp")), 1418, 2007, 397, 255);
    QFont tahoma(QStringLiteral("Tahoma"));
    tahoma.setPointSize(7);
    command1_->setFont(tahoma);
    for (QPushButton *b : {zu_, ok_, command1_}) {
        if (b != command1_)
            b->setFont(klein);
        // Buttons this small show their caption only without the style's margins.
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; border: 1px solid #707070;"
                                        " background: #e0e0e0; }"
                                        "QPushButton:pressed { background: #b0b0b0; }"
                                        "QPushButton:focus { border: 1px solid black; }"));
    }

    connect(zu_, &QPushButton::clicked, this, &FotoF::schliesseFenster);
    connect(ok_, &QPushButton::clicked, this, &FotoF::nimmFotoAuf);
    connect(command1_, &QPushButton::clicked, this, &FotoF::fotografiereUndFrage);

    baueTasten();
    lblDrag->installEventFilter(this);
}

void FotoF::installiereHinweise()
{
    const QColor keine;
    // The hints are written when the mouse comes over a control.
    std::vector<Hinweis> tabelle = {
        {"lblDrag",
         QStringLiteral("Mit gedrückter linker-Maus kann das Fenster verschoben werden ! Mit Klick "
                        "auf [OK] wird der Fensterinhalt als Foto abgespeichert."),
         keine,
         keine,
         keine,
         {},
         false},
        {"ok",
         QStringLiteral("OK, speichert Fensterinhalt als Foto-Bitmap."),
         keine,
         keine,
         keine,
         {},
         false},
        {"Command1",
         QStringLiteral("Speichert Fensterinhalt unter  Bitmap auf  Ihrem Computer, nach Datum und "
                        "Uhrzeit."),
         keine,
         keine,
         keine,
         {},
         false},
        {"Zu", QStringLiteral("Schließe Fenster."), keine, keine, keine, {}, false},
    };
    Hinweise::install(this, std::move(tabelle), [this](const QString &t) { programm_.hinweis(t); });
}

QString FotoF::status() const
{
    return lblDrag->text();
}

// --- window region ------------------------------------------------------------

void FotoF::GlassForm(QWidget *frm)
{
    if (!frm || !frm->isWindow() || frm->isMinimized())
        return;
    // The frame belongs to the window system and always stays; of the
    // client area only the controls' rectangles are kept.
    QRegion region;
    for (QObject *o : frm->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow() && !w->isHidden())
            region += w->geometry();
    }
    // An empty mask would mean "no mask", the whole window; a window
    // without controls keeps its region as it is.
    if (!region.isEmpty())
        frm->setMask(region);
}

void FotoF::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    lblDrag->resize(width(), lblDrag->height());
    parkeSnap();
    GlassForm(this);
}

void FotoF::parkeSnap()
{
    picSnap = QImage();
}

// --- dragging -------------------------------------------------------------------

void FotoF::MoveWindow()
{
    QWindow *fenster = windowHandle();
    if (fenster && fenster->startSystemMove())
        return;
    // No window manager that moves windows (a bare X server): follow the
    // mouse ourselves while the button is held.
    ziehen_ = true;
    ziehStart_ = QCursor::pos();
    fensterStart_ = pos();
}

// --- photographing ----------------------------------------------------------------

void FotoF::fotografiere()
{
    const QRect aussen = frameGeometry();
    if (!aussen.isValid()) {
        dialogs::message(
            this, QStringLiteral("Die Abmessungen des Formulars konnten nicht bestimmt werden."),
            QString(), dialogs::Icon::Warning);
        return;
    }
    const QString nichtMoeglich = QStringLiteral("Das Snapshot konnte nicht erstellt werden.");
    // Where the desktop hands out no screen content, say so rather than
    // saving an empty picture.
    if (const QString grund = bildschirm::keinFotoGrund(); !grund.isEmpty()) {
        dialogs::message(this, nichtMoeglich + QStringLiteral("\n\n") + grund, QString(),
                         dialogs::Icon::Warning);
        return;
    }

    // The window must not be on its own photo: hide it and let what lay
    // beneath it be painted again.
    const QPoint ort = pos();
    hide();
    bildschirm::lasseNeuZeichnen(windowHandle());
    picSnap = bildschirm::fotografiere(aussen);
    zeigeWiederAn(ort);
    if (picSnap.isNull()) {
        dialogs::message(this, nichtMoeglich, QString(), dialogs::Icon::Warning);
        return;
    }

    zwischenablage::setzeBild(picSnap);

    int &modus = foto::speichermodus();
    QString name;
    if (modus == foto::Fragen) {
        name = dialogs::saveFile(this, foto::vorschlag(clock::now()));
        modus = foto::GastBild;
    } else {
        name = foto::datei(modus, programm_.einstellungen().programmOrdner);
    }
    if (!name.isEmpty()) {
        BildSpeichern(picSnap, name);
        modus = foto::GastBild;
        lblDrag->setText(statusGespeichert);
        timer1_->setInterval(3000);
        timer1_->setEnabled(true);
    }
    parkeSnap();
    update();
}

void FotoF::zeigeWiederAn(const QPoint &ort)
{
    // Shown again, a window is placed anew by the window manager unless it
    // asks for its place; where the user put it is where it stays.
    if (QWindow *fenster = windowHandle())
        fenster->setPosition(ort);
    show();
    if (pos() != ort)
        move(ort);
}

void FotoF::BildSpeichern(const QImage &bild, const QString &pfad)
{
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    const bool kodiert = bild.save(&puffer, "BMP");
    if (!kodiert || !foto::schreibe(pfad, bytes))
        dialogs::message(this, QStringLiteral("Speichern fehlgeschlagen!"),
                         QStringLiteral("Fehler beim Speichern"), dialogs::Icon::Critical);
}

// --- buttons and keys -------------------------------------------------------------

void FotoF::zeigen()
{
    show();
    raise();
    activateWindow();
}

void FotoF::nimmFotoAuf()
{
    activateWindow();
    setFocus();
    foto::speichermodus() = foto::FotoBild;
    fotografiere();
    parkeSnap();
    Q_EMIT fotoGespeichert();
}

void FotoF::fotografiereUndFrage()
{
    foto::speichermodus() = foto::Fragen;
    fotografiere();
    parkeSnap();
}

void FotoF::schliesseFenster()
{
    close();
}

void FotoF::baueTasten()
{
    Fenstertasten &tasten = Fenstertasten::von(*this);
    tasten.taste(Qt::Key_Escape, this, &FotoF::close);
    tasten.taste(Qt::Key_F1, this, [this] { programm_.zeigeHilfe(); });
}

bool FotoF::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == lblDrag && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            MoveWindow();
            return true;
        }
        break;
    case QEvent::MouseMove:
        if (watched == lblDrag && ziehen_) {
            const auto *m = static_cast<QMouseEvent *>(event);
            if (m->buttons() & Qt::LeftButton)
                move(fensterStart_ + m->globalPosition().toPoint() - ziehStart_);
            else
                ziehen_ = false;
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (watched == lblDrag && ziehen_) {
            ziehen_ = false;
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace varnek
