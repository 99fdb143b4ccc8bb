#pragma once

#include <QDateTime>
#include <QTimer>
#include <QWidget>

#include <optional>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace varnek
{

class Programmdienste;
class Zeitgeber;

// The bell window "Achtung ein Gast hat geklingelt !": alerts when a guest
// rings and keeps the ring log ("Klingelbuch") in its list. Creating it is
// loading it: the saved log is read, the alert mode restored and the alert
// given once. Closing it in any way stops every timer and deletes it.
class Klingel2 : public QWidget
{
    Q_OBJECT
  public:
    explicit Klingel2(Programmdienste &programm);
    ~Klingel2() override;

    // The load sequence (log, alert mode, alert). Programm runs it right
    // after creating the window, once it is registered, so that a ring
    // arriving while the alert's message box is open finds this window.
    void lade();
    void zeigen(); // show and bring to the front
    // A ring was received: the received text is logged 500 ms later.
    void klingelnEmpfangen(const QString &empfangen);
    void trageEin(const QString &empfangen); // log an entry now
    void bestaetige();                       // OK: stop the alert and close

    // The buttons' procedures.
    void laden();          // "lade": append the saved log to the list
    void leereListe();     // "lösche": clear the list (not the file)
    void speichereListe(); // "speichern": write the list to "aufnahme.txt"
    void oeffneLogDatei(); // "öffne": open "aufnahme.txt" in the text editor
    void liesEintrag();    // " lese": read the selected entry aloud

    // The entry last selected in the list.
    QString gewaehlterEintrag() const { return text1_; }
    // The selected option button, -1 for none.
    int gewaehlteOption() const;

    const Zeitgeber &Timer1() const { return *timer1_; } // repeat ring
    const Zeitgeber &Timer2() const { return *timer2_; } // single ring
    const Zeitgeber &Timer3() const { return *timer3_; } // flash light yellow
    const Zeitgeber &Timer4() const { return *timer4_; } // flash white
    const Zeitgeber &Timer5() const { return *timer5_; } // delayed entry

    // "Klingeln bis Antwort": the ring is repeated until the user presses a
    // key or clicks in this window, at most for bisAntwortHoechstensSek.
    static constexpr int bisAntwortAbstandMs = 10'000;
    static constexpr qint64 bisAntwortHoechstensSek = 30 * 60;
    bool klingeltBisAntwort() const { return wiederholTakt_.isActive(); }
    // The time between repeats; tests shorten it. A running repeat takes it
    // at once.
    void setzeWiederholAbstand(int ms);

  Q_SIGNALS:
    // The user has answered a repeated ring (a key or a click here).
    void klingelnBeantwortet();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

  private:
    void baueOberflaeche();
    void installiereHinweise();
    void alarmieren();
    void starteBisAntwort();
    void stoppeBisAntwort();
    void wiederholeKlingeln();
    void beantwortet();
    bool gehoertZumFenster(const QObject *empfaenger) const;
    void bisAntwortGeklickt();
    void speichereModus(); // "Kling"; a failure is said in a message box

    void waehleOption(int index); // -1 selects none
    void optionGeklickt();
    void eintragGewaehlt();
    void baueTasten();
    void knoepfeZuruecksetzen();
    void setzeAlarmzeile(const QColor &farbe);
    void klingeln(int anzahl);
    void naechsterTon();
    void alleTimerAus();

    QString datei(const QString &name) const;

    Programmdienste &programm_;
    QString text1_;
    QString klingelText_; // the received text of the ring being logged

    QLabel *label1_ = nullptr;
    QLabel *label3_ = nullptr;
    QListWidget *list1_ = nullptr;
    QPushButton *command2_ = nullptr;
    QRadioButton *option1_[3] = {};
    QButtonGroup *optionen_ = nullptr;
    QCheckBox *check1_ = nullptr; // "Klingeln bis Antwort"

    Zeitgeber *timer1_;
    Zeitgeber *timer2_;
    Zeitgeber *timer3_;
    Zeitgeber *timer4_;
    Zeitgeber *timer5_;

    // Beeps of one ring are paced so that they are heard one by one.
    QTimer tonTakt_;
    int offeneToene_ = 0;

    // The ring repeated until answered: its timer, when it began, and the
    // watcher that sees the user's keys and clicks anywhere in the window
    // (also in a message box of this window) while it runs.
    QTimer wiederholTakt_;
    QDateTime klingeltSeit_;
    QObject *antwortWaechter_ = nullptr;
    // Right after the load the alert stands for the ring (or the opening)
    // that caused the load, whose entry comes next; an answer given before
    // that entry (to the message box of mode 0) is logged after it.
    bool ladeAlarmOffen_ = false;
    std::optional<QDateTime> antwortNachEintrag_;
};

} // namespace varnek
