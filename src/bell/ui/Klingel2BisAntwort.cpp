// The bell window's "Klingeln bis Antwort": a ring repeated until the user
// answers in the window.
#include "bell/RingLog.h"
#include "bell/ui/Klingel2.h"
#include "platform/Clock.h"
#include "platform/Zeitgeber.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QListWidget>

#include <functional>

namespace varnek
{

namespace
{

constexpr int bisAntwortToene = 3; // beeps of each repeat of a ring not yet answered

// Sees every event of the program while a ring waits for its answer and
// reports the user's keys and clicks; it never takes an event away.
class AntwortWaechter : public QObject
{
  public:
    AntwortWaechter(QObject *eltern, std::function<void(QObject *)> gesehen)
        : QObject(eltern), gesehen_(std::move(gesehen))
    {
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        // A key the window's hot keys take reaches the widget only as the
        // override question, one they do not take as the key press as well.
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (watched->isWidgetType())
                gesehen_(watched);
            break;
        default:
            break;
        }
        return false;
    }

  private:
    std::function<void(QObject *)> gesehen_;
};

} // namespace

void Klingel2::bisAntwortGeklickt()
{
    if (!check1_->isChecked())
        stoppeBisAntwort();
    speichereModus();
}

void Klingel2::setzeWiederholAbstand(int ms)
{
    wiederholTakt_.setInterval(ms);
}

void Klingel2::starteBisAntwort()
{
    if (!check1_->isChecked())
        return;
    klingeltSeit_ = clock::now();
    wiederholTakt_.start();
    if (!antwortWaechter_) {
        antwortWaechter_ = new AntwortWaechter(this, [this](QObject *empfaenger) {
            if (gehoertZumFenster(empfaenger))
                beantwortet();
        });
        qApp->installEventFilter(antwortWaechter_);
    }
}

void Klingel2::stoppeBisAntwort()
{
    wiederholTakt_.stop();
    if (antwortWaechter_) {
        qApp->removeEventFilter(antwortWaechter_);
        antwortWaechter_->deleteLater();
        antwortWaechter_ = nullptr;
    }
}

void Klingel2::wiederholeKlingeln()
{
    if (klingeltSeit_.secsTo(clock::now()) >= bisAntwortHoechstensSek) {
        stoppeBisAntwort();
        return;
    }
    klingeln(bisAntwortToene);
    zeigen();
    // A desktop that keeps the focus where the user works lets the panel
    // flash the window's entry instead.
    QApplication::alert(this);
}

bool Klingel2::gehoertZumFenster(const QObject *empfaenger) const
{
    // The window itself, its controls, and its message boxes and dialogs.
    for (const QWidget *w = static_cast<const QWidget *>(empfaenger)->window(); w;
         w = w->parentWidget() ? w->parentWidget()->window() : nullptr)
        if (w == this)
            return true;
    return false;
}

void Klingel2::beantwortet()
{
    Q_EMIT klingelnBeantwortet();
    stoppeBisAntwort();
    timer1_->setEnabled(false);
    // The user is here: the beeps still due are not given.
    tonTakt_.stop();
    offeneToene_ = 0;
    // An answer within the first half second: the ring's entry comes first.
    if (timer5_->laeuft()) {
        timer5_->setEnabled(false);
        trageEin(klingelText_);
    } else if (ladeAlarmOffen_) {
        antwortNachEintrag_ = clock::now(); // the entry is not made yet
        return;
    }
    list1_->addItem(ringlog::beantwortet(clock::now()));
}

} // namespace varnek
