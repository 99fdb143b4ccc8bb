#pragma once

#include "platform/ui/Twips.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QLabel;
class QTimer;

namespace varnek
{

class Programmdienste;

// The help window "Hilfe-Fenster": the hint line of every window, shown
// yellow on black, read aloud on request or, with `Check1` ticked, on every
// change. Other windows write it whether or not it is shown.
class Hilfe2 : public QWidget
{
    Q_OBJECT
  public:
    explicit Hilfe2(Programmdienste &programm);
    ~Hilfe2() override;

    // Outer widths of the normal and the wide view, and the client height.
    static constexpr int normalBreite = twips(7875);
    static constexpr int breitBreite = twips(11415);
    static constexpr int hoehe = twips(1650);
    // How far above the calling window the help window is placed.
    static constexpr int abstandOben = twips(2100);

    // The hint line (`Label1`). A new text is mirrored into the wide view
    // (`Label2`) and, with automatic reading on, read aloud. Writing the text
    // it already shows is no change and reads nothing.
    void setText(const QString &text);
    QString text() const;

    bool automatisch() const;     // `Check1` ticked
    void setAutomatisch(bool on); // ticking reads the text at once

    void Play();      // read the current text aloud now
    void speichern(); // write "Hilfe.txt" from `List1` and start reading it
    void beende();    // close the window
    void zeigen();    // show (modeless)
    // Shows the window beside the one that keeps the keyboard: a window
    // manager does not give the help window the focus.
    void zeigenOhneFokus();

    // `List1`: the lines to be spoken (the current text, after a reading).
    QStringList List1() const { return list1_; }
    // True while "Hilfe.txt" cannot be written and the user was told so.
    bool schreibfehlerGezeigt() const { return schreibfehlerGezeigt_; }

    // Places the window above `fenster` after `ms` (the newest request wins)
    // and then gives `fokus` the focus, if the help window is shown. With
    // `aktivieren`, `fokus`'s window is activated first (the address book);
    // without, it keeps the keyboard it never lost (the contact window,
    // which shows help without giving it the focus).
    void platziereUeber(QWidget *fenster, QWidget *fokus, int ms = 500, bool aktivieren = true);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void baueTasten();
    void checkBoxProzedur();
    void breiteAnsicht(bool on);
    void setzeAussenBreite(int breite);
    void platziere(QWidget *fenster);
    void andocken();

    Programmdienste &programm_;
    QLabel *label1_;
    QLabel *label2_;
    QCheckBox *check1_;
    QStringList list1_;
    bool schreibfehlerGezeigt_ = false; // "Hilfe.txt" failed and was shown
    QTimer *andockTakt_;
    QPointer<QWidget> andockFenster_;
    QPointer<QWidget> andockFokus_;
    bool andockAktivieren_ = true;
    bool gedrueckt_ = false;
};

} // namespace varnek
