// The contact window's menu bar and hot keys.
#include "contact/ui/Gast1Menue.h"

#include "contact/ui/Gast1.h"
#include "platform/Schreiber.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fensterdienste.h"
#include "platform/ui/Fenstertasten.h"
#include "platform/ui/Programmdienste.h"

#include <QAction>
#include <QFont>
#include <QMenuBar>

namespace varnek
{

Gast1Menue::Gast1Menue(Gast1 &gast, Programmdienste &programm)
    : QObject(&gast), gast_(gast), programm_(programm)
{
    baueMenue();
    baueTasten();
}

QAction *Gast1Menue::aktion(QMenu *menu, const char *name, const QString &text,
                            const QKeySequence &kurz, void (Gast1::*handler)())
{
    QAction *a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(kurz);
    a->setShortcutContext(Qt::WindowShortcut);
    if (handler)
        connect(a, &QAction::triggered, &gast_, handler);
    aktionen_.insert(a->objectName(), a);
    return a;
}

void Gast1Menue::baueMenue()
{
    QMenuBar *leiste = gast_.menuBar();
    // Narrow item margins: every menu fits into the narrowest window width.
    leiste->setStyleSheet(QStringLiteral("QMenuBar::item { padding: 1px 2px; }"));
    QFont schrift = leiste->font();
    schrift.setPointSizeF(schrift.pointSizeF() - 1);
    leiste->setFont(schrift);
    const auto menue = [&](const char *name, const QString &text) {
        QMenu *m = leiste->addMenu(text);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    // Entries of the bar itself, which act when clicked.
    const auto oben = [&](const char *name, const QString &text) {
        QAction *a = leiste->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        aktionen_.insert(a->objectName(), a);
        return a;
    };
    // Moving through the menus shows the highlighted entry in the hint line.
    MenueHinweiseEin(leiste, programm_);
    const auto sprich = [this](const char *knopf) {
        return [this, knopf] { programm_.sprich(QString::fromLatin1(knopf)); };
    };

    QMenu *datei = menue("Dateim", QStringLiteral("&Datei"));
    aktion(datei, "beenden", QStringLiteral("Beenden"), Qt::CTRL | Qt::Key_X, nullptr);
    connect(aktionen_.value(QStringLiteral("beenden")), &QAction::triggered, &gast_,
            &QWidget::close);

    QMenu *verb = menue("verbindung", QStringLiteral("&Verbindung"));
    aktion(verb, "Lesen1", QStringLiteral("Lesen...."), {}, &Gast1::startLesen);
    aktion(verb, "LesenStop1", QStringLiteral("Lesen-Stop"), {}, &Gast1::stopLesen);
    verb->addSeparator()->setObjectName(QStringLiteral("leerL"));
    aktion(verb, "herstellen", QStringLiteral("Herstellen"), Qt::CTRL | Qt::Key_H,
           &Gast1::herstellen);
    aktion(verb, "abbrechen", QStringLiteral("Abbrechen"), Qt::CTRL | Qt::Key_A, &Gast1::abbrechen);
    verb->addSeparator();
    aktion(verb, "einrichten", QStringLiteral("Verbindung einrichten"), {}, nullptr);

    QMenu *extras = menue("senden", QStringLiteral("&Extras"));
    aktion(extras, "hilfetex", QStringLiteral("Hilfetext automatisch vorlesen"),
           Qt::CTRL | Qt::Key_Q, nullptr)
        ->setCheckable(true);
    // The check mark shows whether the help window reads automatically.
    connect(extras, &QMenu::aboutToShow, this, [this] {
        aktionen_.value(QStringLiteral("hilfetex"))->setChecked(programm_.hilfeLiestAutomatisch());
        aktionen_.value(QStringLiteral("lesebestaetigung"))
            ->setChecked(programm_.lesebestaetigungSenden());
    });
    aktion(extras, "lesebestaetigung", QStringLiteral("Lesebestätigung senden"), {}, nullptr)
        ->setCheckable(true);
    aktionen_.value(QStringLiteral("lesebestaetigung"))
        ->setChecked(programm_.lesebestaetigungSenden());
    extras->addSeparator();
    aktion(extras, "URLsenden", QStringLiteral("Link-Abschicken"), Qt::CTRL | Qt::Key_L, nullptr);
    aktion(extras, "textabschicken", QStringLiteral("Text-Abschicken"), Qt::CTRL | Qt::Key_G,
           nullptr);
    extras->addSeparator();
    aktion(extras, "fotoaperad", QStringLiteral("Bildschirm-Fotoapparat"), Qt::Key_F7, nullptr);
    extras->addSeparator();
    aktion(extras, "Play", QStringLiteral("Play"), Qt::CTRL | Qt::Key_P, nullptr);
    aktion(extras, "Stop", QStringLiteral("Stop        [F3]"), {}, nullptr);
    aktion(extras, "Pause", QStringLiteral("Pause      [F3]"), {}, nullptr);
    aktion(extras, "Weiter", QStringLiteral("Weiter     [F5]"), {}, nullptr);
    aktion(extras, "Nochmal", QStringLiteral("Nochmal  [F4]"), {}, nullptr);
    extras->addSeparator();
    aktion(extras, "Klingel1", QStringLiteral("Klingelton  abschicken !"), Qt::CTRL | Qt::Key_K,
           &Gast1::klingeln);
    aktion(extras, "KlingelSignal1", QStringLiteral("Klingel-Signal-Code"), Qt::Key_F9,
           &Gast1::schalteKlingelCodeRahmen)
        ->setCheckable(true);
    aktion(extras, "Klingelfenster", QStringLiteral("Klingel-Fenster"), Qt::Key_F12, nullptr);
    extras->addSeparator();
    aktion(extras, "focus2", QStringLiteral("Focus Textfeld Gast  Senden "), Qt::CTRL | Qt::Key_M,
           &Gast1::fokusTextS);
    aktion(extras, "focus1", QStringLiteral("Focus Textfeld 2.  Adresse "), Qt::CTRL | Qt::Key_D,
           nullptr);

    QMenu *fenster = menue("fenster", QStringLiteral("&Fenster"));
    aktion(fenster, "SprecherAnzeigen", QStringLiteral("Nur-Sprecher-Anzeigen"),
           Qt::CTRL | Qt::Key_F, nullptr);
    aktion(fenster, "Fanzeigen", QStringLiteral("Internet-Foto Anzeigen"), Qt::Key_F11, nullptr);
    fenster->addSeparator();
    aktion(fenster, "SprecherAusblenden", QStringLiteral("Sprecher-Ausblenden"),
           Qt::CTRL | Qt::Key_U, nullptr);
    aktion(fenster, "menuezu", QStringLiteral("Fenster minimieren"), Qt::CTRL | Qt::Key_T, nullptr);
    fenster->addSeparator();
    aktion(fenster, "imInfobereich", QStringLiteral("Beim Schließen im Infobereich bleiben"), {},
           nullptr)
        ->setCheckable(true);
    aktion(fenster, "autostart", QStringLiteral("Mit der Anmeldung starten"), {}, nullptr)
        ->setCheckable(true);
    // The marks show the stored switch and whether the autostart entry is
    // there; without a tray the window could not come back, so the switch
    // is off then.
    connect(fenster, &QMenu::aboutToShow, this, [this] {
        QAction *bleiben = aktionen_.value(QStringLiteral("imInfobereich"));
        bleiben->setEnabled(programm_.infobereichDa());
        bleiben->setChecked(programm_.imInfobereichBleiben());
        aktionen_.value(QStringLiteral("autostart"))->setChecked(programm_.autostartAn());
    });

    QMenu *leer7 = menue("leer7", QStringLiteral("Senden"));
    aktion(leer7, "sendengast", QStringLiteral("Gast senden"), Qt::CTRL | Qt::Key_S,
           &Gast1::ladeAuswahlHoch);
    aktion(leer7, "Bildschirmfotosenden", QStringLiteral("Bildschirmfoto senden"),
           Qt::CTRL | Qt::Key_W, nullptr);

    QMenu *links = links_ = menue("links1", QStringLiteral("Links"));
    aktion(links, "linkmenue", QStringLiteral("Link mit Standard Browser öffnen"),
           Qt::CTRL | Qt::Key_B, nullptr);
    oben("Adressbuch1", QStringLiteral("Adressbuch"));
    oben("Beschreibung1", QStringLiteral("Beschreibun&g"));
    oben("Hilfe22", QStringLiteral("Hilfe"));

    const auto an = [this](const char *name, auto &&f) {
        connect(aktionen_.value(QString::fromLatin1(name)), &QAction::triggered, this, f);
    };
    an("Play", sprich("user1"));
    an("Stop", sprich("Stop"));
    an("Pause", sprich("Pause"));
    an("Weiter", sprich("Weiter"));
    an("Nochmal", sprich("Nochmal"));
    an("textabschicken", [this] { gast_.sendeText(); });
    an("hilfetex", [this] {
        const bool ein = aktionen_.value(QStringLiteral("hilfetex"))->isChecked();
        programm_.setzeHilfeAutomatisch(ein);
    });
    an("Klingelfenster", [this] { programm_.zeigeKlingelfenster(gast_.text7()); });
    an("fotoaperad", [this] { programm_.zeigeFotoapparat(); });
    an("einrichten", [this] { programm_.zeigeVerbindungEinrichten(); });
    an("Adressbuch1", [this] { programm_.zeigeAdressbuch(); });
    an("focus1", [this] { gast_.fokusAdresse(); });
    an("imInfobereich", [this] {
        QAction *a = aktionen_.value(QStringLiteral("imInfobereich"));
        if (const Ergebnis e = programm_.setzeImInfobereichBleiben(a->isChecked()); !e) {
            a->setChecked(!a->isChecked());
            dialogs::message(&gast_, schreiber::meldung(QStringLiteral("Infobereich"), e.grund()));
        }
    });
    an("lesebestaetigung", [this] {
        QAction *a = aktionen_.value(QStringLiteral("lesebestaetigung"));
        if (const Ergebnis e = programm_.setzeLesebestaetigungSenden(a->isChecked()); !e) {
            a->setChecked(programm_.lesebestaetigungSenden());
            dialogs::message(&gast_,
                             schreiber::meldung(QStringLiteral("Lesebestaetigung"), e.grund()));
        }
    });
    an("autostart", [this] {
        QAction *a = aktionen_.value(QStringLiteral("autostart"));
        if (const Ergebnis e = programm_.setzeAutostart(a->isChecked()); !e) {
            a->setChecked(programm_.autostartAn());
            dialogs::message(&gast_,
                             schreiber::meldung(QStringLiteral("varnek.desktop"), e.grund()));
        }
    });
    an("SprecherAnzeigen", [this] { gast_.sprecherBreite(9525, 9255); });
    an("SprecherAusblenden", [this] { gast_.sprecherBreite(7875, 7620); });
    an("Hilfe22", [this] {
        // Opening help clears the mark of automatic reading, not the reading.
        aktionen_.value(QStringLiteral("hilfetex"))->setChecked(false);
        programm_.dockeHilfe(&gast_, gast_.sendeFeld(), Programmdienste::Andocken::OhneFokus);
    });
}

QAction *Gast1Menue::kompaktAnsicht() const
{
    return aktionen_.value(QStringLiteral("menuezu"));
}

QAction *Gast1Menue::linkSenden() const
{
    return aktionen_.value(QStringLiteral("URLsenden"));
}

QAction *Gast1Menue::linkOeffnen() const
{
    return aktionen_.value(QStringLiteral("linkmenue"));
}

QAction *Gast1Menue::beschreibung() const
{
    return aktionen_.value(QStringLiteral("Beschreibung1"));
}

QAction *Gast1Menue::klingelfenster() const
{
    return aktionen_.value(QStringLiteral("Klingelfenster"));
}

QAction *Gast1Menue::fotoSenden() const
{
    return aktionen_.value(QStringLiteral("Bildschirmfotosenden"));
}

QAction *Gast1Menue::fotoAnzeigen() const
{
    return aktionen_.value(QStringLiteral("Fanzeigen"));
}

QAction *Gast1Menue::klingelCode() const
{
    return aktionen_.value(QStringLiteral("KlingelSignal1"));
}

QAction *Gast1Menue::hilfeVorlesen() const
{
    return aktionen_.value(QStringLiteral("hilfetex"));
}

QAction *Gast1Menue::adressbuch() const
{
    return aktionen_.value(QStringLiteral("Adressbuch1"));
}

QAction *Gast1Menue::imInfobereich() const
{
    return aktionen_.value(QStringLiteral("imInfobereich"));
}

QAction *Gast1Menue::autostart() const
{
    return aktionen_.value(QStringLiteral("autostart"));
}

QAction *Gast1Menue::lesebestaetigung() const
{
    return aktionen_.value(QStringLiteral("lesebestaetigung"));
}

QAction *Gast1Menue::fotoapparat() const
{
    return aktionen_.value(QStringLiteral("fotoaperad"));
}

void Gast1Menue::baueTasten()
{
    Fenstertasten &tasten = Fenstertasten::von(gast_);
    const auto taste = [this, &tasten](QKeySequence k, auto &&f) { tasten.taste(k, this, f); };
    const auto menu = [this](const char *name) {
        return [this, name] { aktionen_.value(QString::fromLatin1(name))->trigger(); };
    };
    taste(Qt::Key_Escape, [this] { gast_.beende(); });
    taste(Qt::Key_F1, menu("Hilfe22"));
    taste(Qt::Key_F2, [this] { programm_.liesHinweis(); });
    taste(Qt::Key_F3, [this] { programm_.sprich(QStringLiteral("Stop")); });
    taste(Qt::Key_F4, menu("Nochmal"));
    taste(Qt::Key_F5, menu("Weiter"));
    taste(Qt::Key_F8, menu("hilfetex"));
    taste(Qt::Key_F10, [this] { gast_.gibMausFrei(); });
    taste(Qt::Key_Insert, [this] { gast_.ladeAuswahlHoch(); });
    // F7 and F12 are the shortcuts of "Bildschirm-Fotoapparat" and
    // "Klingel-Fenster"; the menu takes them.
}

} // namespace varnek
