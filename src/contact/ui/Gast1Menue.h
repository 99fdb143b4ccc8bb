#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>

class QAction;
class QMenu;

namespace varnek
{

class Gast1;
class Programmdienste;

// The menu bar of the contact window with every item, caption and shortcut,
// and the window's hot keys, wired to the window's procedures.
class Gast1Menue : public QObject
{
    Q_OBJECT
  public:
    Gast1Menue(Gast1 &gast, Programmdienste &programm);

    // The items the window's panels wire to, and those whose state shows.
    QAction *kompaktAnsicht() const;        // `menuezu`
    QAction *linkSenden() const;            // `URLsenden`
    QAction *linkOeffnen() const;           // `linkmenue`
    QAction *beschreibung() const;          // `Beschreibung1`
    QAction *klingelfenster() const;        // `Klingelfenster`
    QAction *fotoSenden() const;            // `Bildschirmfotosenden`
    QAction *fotoAnzeigen() const;          // `Fanzeigen`
    QAction *klingelCode() const;           // `KlingelSignal1`
    QAction *hilfeVorlesen() const;         // `hilfetex`
    QAction *adressbuch() const;            // `Adressbuch1`
    QAction *fotoapparat() const;           // `fotoaperad`
    QAction *imInfobereich() const;         // "Beim Schließen im Infobereich bleiben"
    QAction *autostart() const;             // "Mit der Anmeldung starten"
    QAction *lesebestaetigung() const;      // "Lesebestätigung senden"
    QMenu *links() const { return links_; } // `links1`

  private:
    void baueMenue();
    void baueTasten();
    QAction *aktion(QMenu *menu, const char *name, const QString &text, const QKeySequence &kurz,
                    void (Gast1::*handler)());

    Gast1 &gast_;
    Programmdienste &programm_;
    QHash<QString, QAction *> aktionen_;
    QMenu *links_ = nullptr;
};

} // namespace varnek
