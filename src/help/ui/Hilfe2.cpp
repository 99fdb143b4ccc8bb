#include "help/ui/Hilfe2.h"

#include "contact/Einstellungen.h"
#include "help/ui/Hinweise.h"
#include "platform/AnsiText.h"
#include "platform/Schreiber.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fenstertasten.h"
#include "platform/ui/Programmdienste.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

namespace varnek
{

namespace
{

QLabel *neuesLabel(QWidget *parent, const char *name, const QColor &text, const QColor &grund,
                   QRect lage)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(QFont(QStringLiteral("Tahoma"), 10));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Window, grund);
    label->setPalette(p);
    label->setAutoFillBackground(true);
    label->setGeometry(twips(lage.x(), lage.y(), lage.width(), lage.height()));
    return label;
}

} // namespace

Hilfe2::Hilfe2(Programmdienste &programm)
    : QWidget(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), programm_(programm)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Hilfe-Fenster"));
    setFixedSize(twips(7785), hoehe);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::black);
    setPalette(p);
    setAutoFillBackground(true);

    label1_ = neuesLabel(this, "Label1", QColor(255, 255, 0), Qt::black, {120, 240, 7335, 1335});
    label2_ = neuesLabel(this, "Label2", Qt::black, Qt::white, {120, 120, 11055, 1455});
    label2_->hide();

    check1_ = new QCheckBox(this);
    check1_->setObjectName(QStringLiteral("Check1"));
    check1_->setGeometry(0, 0, twips(255), twips(255));
    // Black around a white box with a black tick: seen on the black window.
    {
        QPalette cp = check1_->palette();
        cp.setColor(QPalette::Window, Qt::black);
        cp.setColor(QPalette::Button, Qt::white);
        cp.setColor(QPalette::Base, Qt::white);
        cp.setColor(QPalette::Text, Qt::black);
        cp.setColor(QPalette::WindowText, QColor(255, 255, 0));
        check1_->setPalette(cp);
        check1_->setAutoFillBackground(true);
    }
    check1_->raise();
    connect(check1_, &QCheckBox::toggled, this, &Hilfe2::checkBoxProzedur);

    for (QWidget *w : {static_cast<QWidget *>(label1_), static_cast<QWidget *>(label2_),
                       static_cast<QWidget *>(check1_)})
        w->installEventFilter(this);
    baueTasten();

    Hinweise::install(this,
                      {{"Check1",
                        QStringLiteral("Den Hilfetext automatisch vorlesen lassen!      [F8]!"),
                        QColor(),
                        QColor(),
                        QColor(),
                        {},
                        false}},
                      [this](const QString &text) { setText(text); });

    andockTakt_ = new QTimer(this);
    andockTakt_->setSingleShot(true);
    connect(andockTakt_, &QTimer::timeout, this, &Hilfe2::andocken);
}

Hilfe2::~Hilfe2()
{
    Hinweise::loesen(this);
    for (QWidget *w : {static_cast<QWidget *>(label1_), static_cast<QWidget *>(label2_),
                       static_cast<QWidget *>(check1_)})
        w->removeEventFilter(this);
}

QString Hilfe2::text() const
{
    return label1_->text();
}

void Hilfe2::setText(const QString &text)
{
    if (text == label1_->text())
        return;
    label1_->setText(text);
    label2_->setText(text);
    checkBoxProzedur();
}

bool Hilfe2::automatisch() const
{
    return check1_->isChecked();
}

void Hilfe2::setAutomatisch(bool on)
{
    check1_->setChecked(on);
}

void Hilfe2::checkBoxProzedur()
{
    if (check1_->isChecked())
        Play();
}

void Hilfe2::Play()
{
    list1_ = QStringList{label1_->text()};
    speichern();
}

void Hilfe2::speichern()
{
    // A file that cannot be written still lets the speech component try;
    // it then reads whatever the file holds, or nothing. The failure is
    // shown once: automatic reading writes on every hint, and a box per
    // hint would bury the window. After a write that works it shows again.
    if (const Ergebnis e =
            ansi::writeLines(programm_.einstellungen().datei(QStringLiteral("Hilfe.txt")), list1_)) {
        schreibfehlerGezeigt_ = false;
    } else if (!schreibfehlerGezeigt_) {
        schreibfehlerGezeigt_ = true;
        dialogs::message(this, schreiber::meldung(QStringLiteral("Hilfe.txt"), e.grund()));
    }
    programm_.sprich(QStringLiteral("Hilfe"));
}

void Hilfe2::beende()
{
    close();
}

void Hilfe2::zeigen()
{
    show();
    raise();
}

void Hilfe2::zeigenOhneFokus()
{
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    zeigen();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void Hilfe2::breiteAnsicht(bool on)
{
    label2_->setVisible(on);
    if (on)
        check1_->raise();
    setzeAussenBreite(on ? breitBreite : normalBreite);
}

// The width is that of the whole window, frame included, as far as the
// window system tells the frame.
void Hilfe2::setzeAussenBreite(int breite)
{
    const int rahmen = qMax(0, frameGeometry().width() - geometry().width());
    setFixedSize(breite - rahmen, hoehe);
}

void Hilfe2::platziereUeber(QWidget *fenster, QWidget *fokus, int ms, bool aktivieren)
{
    andockFenster_ = fenster;
    andockFokus_ = fokus;
    andockAktivieren_ = aktivieren;
    andockTakt_->start(ms);
}

void Hilfe2::platziere(QWidget *fenster)
{
    // Above the calling window, far enough not to cover its menu bar and
    // first controls; where the screen has no room above, just below it.
    const QRect unter = fenster->frameGeometry();
    const int eigeneHoehe = qMax(frameGeometry().height(), height());
    const int abstand = qMax(abstandOben, eigeneHoehe);
    int top = unter.top() - abstand;
    if (const QScreen *screen = fenster->screen()) {
        const QRect schirm = screen->availableGeometry();
        if (top < schirm.top())
            top = qMin(unter.bottom() + 1, schirm.bottom() + 1 - eigeneHoehe);
    }
    move(unter.left(), top);
}

void Hilfe2::andocken()
{
    if (andockFenster_)
        platziere(andockFenster_);
    // A help window loaded hidden by a hint never took the focus, so it has
    // none to give back.
    if (andockFokus_ && isVisible()) {
        if (andockAktivieren_)
            andockFokus_->window()->activateWindow();
        andockFokus_->setFocus(Qt::OtherFocusReason);
    }
}

void Hilfe2::baueTasten()
{
    Fenstertasten &tasten = Fenstertasten::von(*this);
    tasten.taste(Qt::Key_Escape, this, &Hilfe2::close);
    tasten.taste(Qt::Key_F1, this, [this] { programm_.zeigeKontaktfenster(); });
    tasten.taste(Qt::Key_F2, this, &Hilfe2::Play);
    tasten.taste(Qt::Key_F3, this, [this] { programm_.sprich(QStringLiteral("Stop")); });
    tasten.taste(Qt::Key_F7, this, [this] { setAutomatisch(true); });
    tasten.taste(Qt::Key_F8, this, [this] { setAutomatisch(false); });
}

bool Hilfe2::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (watched == label1_ && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            gedrueckt_ = true;
        break;
    case QEvent::MouseButtonRelease:
        if (watched == label1_ && gedrueckt_ &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            gedrueckt_ = false;
            if (label1_->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                Play();
        }
        break;
    case QEvent::MouseButtonDblClick:
        if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
            break;
        gedrueckt_ = false;
        if (watched == label1_) {
            Play();
            breiteAnsicht(true);
            return true;
        }
        if (watched == label2_) {
            breiteAnsicht(false);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace varnek
