#pragma once

#include "contact/Einstellungen.h"
#include "platform/Ergebnis.h"

#include <QIcon>
#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace varnek
{

class Benachrichtigung;
class SpeechComponent;

// The program on the user's desktop: its icon in the tray (the panel's
// notification area) with the state and a small menu, the notifications of
// messages and rings that come while the contact window is not in front,
// and the autostart entry. Where the desktop offers no tray the icon is
// never seen and closing the window ends the program as it always did.
class Arbeitsplatz : public QObject
{
    Q_OBJECT
  public:
    enum class Zustand { NichtVerbunden, Liest, KlingelnWartet };

    // The file in the program folder that keeps the tray switch.
    static inline const QString infobereichDatei = QStringLiteral("Infobereich");

    Arbeitsplatz(const Einstellungen &einstellungen, SpeechComponent &sprecher,
                 QObject *parent = nullptr);
    ~Arbeitsplatz() override;

    // The tray icon: shown (and so the way back to a hidden window) only
    // while a tray is there.
    bool infobereichDa() const;
    QSystemTrayIcon &symbol() { return *symbol_; }
    QMenu &menue() { return *menue_; }
    void setzeZustand(Zustand zustand, const QString &adresse = QString());
    Zustand zustand() const { return zustand_; }
    QString tooltip() const;

    // "Beim Schließen im Infobereich bleiben": the stored switch, and
    // whether closing the window keeps the program now (the switch is on
    // and a tray shows the icon).
    bool imInfobereichBleiben() const { return bleiben_; }
    Ergebnis setzeImInfobereichBleiben(bool ein);
    bool bleibtBeimSchliessen() const;

    // A notification "Nachricht an <address>" / "Klingeln an <address>"
    // with the text; nothing for an empty text that is no ring.
    void meldeNeuenText(const QString &text, const QString &adresse, bool klingeln);

    // "Mit der Anmeldung starten": the entry exists; written with the
    // command line that starts the program watching the address, or removed.
    bool autostartAn() const;
    Ergebnis setzeAutostart(bool ein, const QString &adresse);
    QStringList startArgumente(const QString &adresse) const;

  Q_SIGNALS:
    void fensterZeigen();
    void beenden();

  private:
    QIcon zustandsSymbol() const;

    const Einstellungen &einstellungen_;
    SpeechComponent &sprecher_;
    QSystemTrayIcon *symbol_;
    QMenu *menue_;
    QAction *stumm_;
    Benachrichtigung *benachrichtigung_;
    Zustand zustand_ = Zustand::NichtVerbunden;
    QString adresse_;
    bool bleiben_ = false;
};

} // namespace varnek
