#pragma once

#include "platform/Ergebnis.h"

#include <QString>

class QImage;
class QWidget;

namespace varnek
{

struct Einstellungen;

// What a window may ask of the running program. Windows know each other only
// through this: the composition root (src/app/Programm) implements it, makes
// the windows and carries each request to the window that does the work.
// The interface lives below every window so that no window includes another
// window or the root.
class Programmdienste
{
  public:
    // How the help window docks over a window (`dockeHilfe`).
    enum class Andocken {
        // Shown without taking the keyboard; afterwards the focus widget
        // gets the focus again, its window is not activated anew.
        OhneFokus,
        // Shown; afterwards the focus widget's window is activated and the
        // widget gets the focus.
        MitFokus,
    };

    virtual const Einstellungen &einstellungen() const = 0;

    // The hint line of the help window (loaded hidden if need be).
    virtual void hinweis(const QString &text) = 0;
    // Presses a button of the speech component by name ("user1", "Hilfe",
    // "Stop", ...). For "user1" a given text is read instead of "K1.txt".
    virtual void sprich(const QString &knopf, const QString &text = QString()) = 0;

    // The help window: shown (modeless); its hint line read aloud now; docked
    // above `fenster` after 500 ms, the focus then going to `fokus` (none
    // when null).
    virtual void zeigeHilfe() = 0;
    virtual void liesHinweis() = 0;
    virtual void dockeHilfe(QWidget *fenster, QWidget *fokus, Andocken art) = 0;
    // The help window's automatic reading (`Check1`); false when the help
    // window is not loaded.
    virtual bool hilfeLiestAutomatisch() const = 0;
    // Whether the help window has just shown that "Hilfe.txt" cannot be
    // written (so a window writing the same file need not say it again).
    virtual bool hilfeSchreibfehlerGezeigt() const = 0;
    virtual void setzeHilfeAutomatisch(bool ein) = 0;

    // The contact window: shown in front; in front with the keyboard in its
    // send box (when it is loaded); its address (`Combo2`); an address
    // chosen elsewhere taken as the one to read.
    virtual void zeigeKontaktfenster() = 0;
    virtual void zurueckZumKontaktfenster() = 0;
    virtual QString kontaktAdresse() = 0;
    virtual void setzeKontaktAdresse(const QString &adresse) = 0;
    // The photo the contact window's photo column shows (`Picture1`).
    virtual QImage kontaktFoto() = 0;

    // The bell window: a ring came (alert, and the received text logged
    // 500 ms later); opened by hand (the received text logged at once).
    virtual void klingelnGemeldet(const QString &empfangen) = 0;
    virtual void zeigeKlingelfenster(const QString &empfangen) = 0;

    // "Verbindung einrichten": the account settings window, shown in front.
    virtual void zeigeVerbindungEinrichten() = 0;

    // The screen photo window and the address book, shown in front.
    virtual void zeigeFotoapparat() = 0;
    virtual void zeigeAdressbuch() = 0;

    // The desktop. "Beim Schließen im Infobereich bleiben": whether a tray
    // shows the program's icon (the switch only works then), the stored
    // switch, and, asked when the desktop closes the contact window, whether
    // the program stays in the tray (the window then only hides).
    virtual bool infobereichDa() const = 0;
    virtual bool imInfobereichBleiben() const = 0;
    virtual Ergebnis setzeImInfobereichBleiben(bool ein) = 0;
    virtual bool bleibeImInfobereich() = 0;
    // "Mit der Anmeldung starten": the autostart entry, written to start the
    // program watching the contact window's address, or removed.
    virtual bool autostartAn() const = 0;
    virtual Ergebnis setzeAutostart(bool ein) = 0;

    // "Lesebestätigung senden": the stored switch; whether a message read
    // aloud here is confirmed in the address folder.
    virtual bool lesebestaetigungSenden() const = 0;
    virtual Ergebnis setzeLesebestaetigungSenden(bool ein) = 0;

  protected:
    ~Programmdienste() = default;
};

} // namespace varnek
