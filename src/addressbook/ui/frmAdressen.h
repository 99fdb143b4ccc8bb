#pragma once

#include "addressbook/AdressBuch.h"
#include "addressbook/modEnglisch.h"

#include <QHash>
#include <QMainWindow>
#include <QPixmap>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace varnek
{

class Programmdienste;
namespace bild
{
class Lader;
}

// The address book window "Adressen": pages through the entries of
// "Adress.PRE", edits the shown one in place, adds, deletes and finds
// entries, and moves an address number to and from the contact window.
// Creating it is loading it (the file is opened and record 1 shown);
// closing it in any way saves the shown entry, closes the file and deletes
// the window. The record store is AdressBuch; the window wires to it.
class frmAdressen : public QMainWindow
{
    Q_OBJECT
  public:
    explicit frmAdressen(Programmdienste &programm);
    ~frmAdressen() override;

    // The load steps: menu hints, open the book, fill the text table, show
    // record 1. Programm runs it right after creating the window.
    void lade();
    void zeigen(); // show (modeless) and bring to the front

    // Stores the four fields as record `AktuellerSatz`. False (and the user
    // has been told) when the store refused.
    bool AktuellenDatensatzSpeichern();
    // Reads record `AktuellerSatz` into the fields, the caption and `Image1`.
    void zeigeAktuellenDatensatz();

    // The commands.
    void naechsterEintrag();
    void vorigerEintrag();
    void neuerEintrag();
    void loescheEintrag();
    void sucheKommentar();   // by comment
    void sucheNummer();      // by number
    void schliesseBuch();    // close: save, close the file, unload
    void adresseAnKontakt(); // number into the contact window
    void uebernehmen();      // number from the contact window
    void hilfe();            // show the help window docked above this one
    void kopiereEintrag();
    void druckeEintrag();
    void ladeBild();         // load the photo named by `txtBild`
    void fotoVomKontakt();   // photo from the contact window
    void speichereFoto();    // save the photo as a bitmap
    void oeffneWebadresse(); // open the web address

    const AdressBuch &buch() const { return buch_; }
    const modEnglisch &texte() const { return texte_; }
    QAction *menuepunkt(const QString &name) const;

  protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void baueOberflaeche();
    void baueMenue();
    void installiereHinweise();
    void baueTasten();
    bool hinweisEreignis(QObject *watched, QEvent *event);
    void nummerGeaendert(const QString &text);
    void hinweis(const QString &text);
    void fehler(const QString &text);
    void blaettern(int schritt);
    void suche(SuchFeld feld);
    bool schliessen();
    void bewahreUngespeichert(const QString &grund);
    AdressFelder felder() const;
    // `Image1` from a file, shown when decoded: empty clears, unreadable keeps;
    // a later call supersedes one still on its way.
    void zeigeBild(const QString &pfad);
    void setBild(const QPixmap &bild);

    Programmdienste &programm_;
    QHash<QString, QAction *> aktionen_;
    AdressBuch buch_;
    modEnglisch texte_;
    bool geschlossen_ = false;
    bild::Lader *bildLader_; // decodes `Image1` off the window's thread

    QLineEdit *txtVorname, *txtNachname, *txtWebadresse, *txtBild, *Text1;
    QLabel *Image1, *Label5;
    QGroupBox *Frame7;
    QPushButton *cmdExitButton;
};

} // namespace varnek
