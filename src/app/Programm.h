#pragma once

#include "contact/Einstellungen.h"
#include "platform/ui/Programmdienste.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace varnek
{

class Arbeitsplatz;
class FotoF;
class Gast1;
class Hilfe2;
class frmAdressen;
class Klingel2;
class PasswortAblage;
class QuittungsVersand;
class SpeechComponent;
class VerbindungEinrichten;

// The running program, its composition root: its settings, its voice and
// its windows. It makes the windows, and windows reach each other only
// through it, by the services of Programmdienste and by the signals it
// connects. The help and bell windows are created when first touched and
// deleted when closed; touching one again creates it anew.
class Programm : public QObject, public Programmdienste
{
    Q_OBJECT
  public:
    explicit Programm(Einstellungen einstellungen, QObject *parent = nullptr);
    ~Programm() override;

    const Einstellungen &einstellungen() const override { return einstellungen_; }
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

    // Programmdienste.
    void hinweis(const QString &text) override;
    void sprich(const QString &knopf, const QString &text = QString()) override;
    void zeigeHilfe() override;
    void liesHinweis() override;
    void dockeHilfe(QWidget *fenster, QWidget *fokus, Andocken art) override;
    bool hilfeSchreibfehlerGezeigt() const override;
    bool hilfeLiestAutomatisch() const override;
    void setzeHilfeAutomatisch(bool ein) override;
    void zeigeKontaktfenster() override;
    void zurueckZumKontaktfenster() override;
    QString kontaktAdresse() override;
    void setzeKontaktAdresse(const QString &adresse) override;
    QImage kontaktFoto() override;
    void klingelnGemeldet(const QString &empfangen) override;
    void zeigeKlingelfenster(const QString &empfangen) override;
    void zeigeFotoapparat() override;
    void zeigeAdressbuch() override;
    bool infobereichDa() const override;
    bool imInfobereichBleiben() const override;
    Ergebnis setzeImInfobereichBleiben(bool ein) override;
    bool bleibeImInfobereich() override;
    bool autostartAn() const override;
    Ergebnis setzeAutostart(bool ein) override;
    bool lesebestaetigungSenden() const override;
    Ergebnis setzeLesebestaetigungSenden(bool ein) override;

    QuittungsVersand &quittungen() { return *quittungen_; }

    Arbeitsplatz &arbeitsplatz() { return *arbeitsplatz_; }

    void zeigeVerbindungEinrichten() override;

    // The settings window's window, once opened.
    VerbindungEinrichten *verbindungEinrichtenWennGeladen() const;
    // Where the password of the account was read from (empty: keyring or built in).
    void setzePasswortDatei(const QString &pfad) { passwortDatei_ = pfad; }
    // The settings file the settings window writes (tests choose their own).
    void setzeEinstellungsDatei(const QString &pfad) { einstellungsDatei_ = pfad; }
    // The account's password could not be had: said in a message box, with
    // the way to a password file.
    void passwortFehlt(const QString &grund);

  private:
    // Closing the contact window closes the others that are open; opening
    // the bell window just to close it would sound a false alarm, opening
    // the address book would create "Adress.PRE".
    void schliesseAndereFenster();
    // The tray shows whether an address is read and whether a ring waits.
    void zeigeZustand();
    void neuerText(const QString &text, bool klingeln);
    // A message was read aloud to its end: its receipt goes out.
    void textGehoert(const QString &text);
    void beende();

    Einstellungen einstellungen_;
    SpeechComponent *sprecher_;
    Arbeitsplatz *arbeitsplatz_ = nullptr;
    QuittungsVersand *quittungen_ = nullptr;
    bool klingelnWartet_ = false; // a ring came; its bell window is still open
    QPointer<Gast1> gast1_;
    QPointer<Hilfe2> hilfe2_;
    QPointer<Klingel2> klingel2_;
    QPointer<FotoF> fotoF_;
    QPointer<frmAdressen> adressen_;
    QPointer<VerbindungEinrichten> einrichten_;
    std::unique_ptr<PasswortAblage> schluesselbund_;
    QString passwortDatei_;
    QString einstellungsDatei_;
};

} // namespace varnek
