#pragma once

#include "platform/ui/Twips.h"

#include <QImage>
#include <QPoint>
#include <QWidget>

class QLabel;
class QPushButton;

namespace varnek
{

class Programmdienste;
class Zeitgeber;

// The screen photo window: a small frameless window on top of all others
// through which the user sees the screen. Only the blue drag strip and
// three buttons are part of it; the rest shows, and takes clicks for, what
// lies beneath. "&OK" photographs what the window covers into "Foto.bmp",
// "Sp" under a name chosen in the save dialog. Closing deletes it.
class FotoF : public QWidget
{
    Q_OBJECT
  public:
    explicit FotoF(Programmdienste &programm);
    ~FotoF() override;

    static constexpr int breite = twips(1815);
    static constexpr int hoehe = twips(2265);

    // Keeps of `frm` only its frame and its controls: the rest of the
    // window is cut out and passes the mouse through. Nothing happens for a
    // minimized window or a widget that is no window.
    static void GlassForm(QWidget *frm);
    // Lets the user drag the window with the mouse (by the window system where
    // it can, else the window follows the mouse until the button is let go).
    void MoveWindow();

    // Photographs the screen area the window covers: onto the clipboard and
    // into the file `Speichermodus` names.
    void fotografiere();

    void zeigen(); // show (modeless) in front

    void nimmFotoAuf();          // "&OK"
    void fotografiereUndFrage(); // "Sp"
    void schliesseFenster();     // "&X"

    QString status() const; // `lblDrag`
    const Zeitgeber &zeitgeber() const { return *timer1_; }

  Q_SIGNALS:
    // "&OK" has taken the photo into "Foto.bmp" (a failure has been shown).
    void fotoGespeichert();

  protected:
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void baueOberflaeche();
    void installiereHinweise();
    void parkeSnap();
    void baueTasten();
    void BildSpeichern(const QImage &bild, const QString &pfad);
    void zeigeWiederAn(const QPoint &ort);

    Programmdienste &programm_;
    QLabel *lblDrag;
    QPushButton *zu_, *ok_, *command1_;
    QImage picSnap; // the capture buffer, never shown
    Zeitgeber *timer1_;

    // Dragging by hand where the window system does not move windows.
    bool ziehen_ = false;
    QPoint ziehStart_;
    QPoint fensterStart_;
};

} // namespace varnek
