#pragma once

#include "contact/Einstellungen.h"

#include <QObject>
#include <QPointer>

namespace varnek
{

class FotoF;
class Gast1;
class Hilfe2;
class frmAdressen;
class Klingel2;
class SpeechComponent;

// The running program: its settings, its voice and its windows. Windows
// reach each other only through here. The help and bell windows are created
// when first touched and deleted when closed; touching one again creates it
// anew, as loading a form did.
class Programm : public QObject
{
    Q_OBJECT
  public:
    explicit Programm(Einstellungen einstellungen, QObject *parent = nullptr);
    ~Programm() override;

    const Einstellungen &einstellungen() const { return einstellungen_; }
    SpeechComponent &sprecher() { return *sprecher_; }

    Gast1 *gast1(); // created on first use, lives for the run
    Gast1 *gast1WennGeladen() const;
    Hilfe2 *hilfe2(); // loads the help window (hidden) if needed
    Hilfe2 *hilfe2WennGeladen() const;
    Klingel2 *klingel2(); // loads the bell window (which alerts on load)
    Klingel2 *klingel2WennGeladen() const;
    FotoF *fotoF(); // the screen photo window, created when first shown
    FotoF *fotoFWennGeladen() const;
    frmAdressen *adressen(); // loads the address book (opens "Adress.PRE")
    frmAdressen *adressenWennGeladen() const;

    // Writes the hint line of the help window.
    void hinweis(const QString &text);

    // Presses a button of the speech component by name (see SpeechComponent).
    // For "user1" a given text is read instead of "K1.txt".
    void sprich(const QString &button, const QString &text = QString());

  private:
    Einstellungen einstellungen_;
    SpeechComponent *sprecher_;
    QPointer<Gast1> gast1_;
    QPointer<Hilfe2> hilfe2_;
    QPointer<Klingel2> klingel2_;
    QPointer<FotoF> fotoF_;
    QPointer<frmAdressen> adressen_;
};

} // namespace varnek
