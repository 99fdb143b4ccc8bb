// The contact window's menu bar, hot keys, hint table and small control
// reactions.
#include "contact/Empfang.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/KlingelCodeRahmen.h"
#include "contact/ui/Programm.h"
#include "bell/ui/Klingel2.h"
#include "help/ui/Hilfe2.h"
#include "help/ui/Hinweise.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>

namespace varnek {

QAction *Gast1::aktion(QMenu *menu, const char *name, const QString &text, const QKeySequence &kurz,
                       void (Gast1::*handler)())
{
    QAction *a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(kurz);
    a->setShortcutContext(Qt::WindowShortcut);
    if (handler)
        connect(a, &QAction::triggered, this, handler);
    aktionen_.insert(a->objectName(), a);
    return a;
}

void Gast1::baueMenue()
{
    QMenuBar *leiste = menuBar();
    const auto menue = [&](const char *name, const QString &text) {
        QMenu *m = leiste->addMenu(text);
        m->setObjectName(QString::fromLatin1(name));
        // Moving through a menu shows the highlighted entry in the hint line.
        connect(m, &QMenu::hovered, this, [this](QAction *a) {
            if (!a->isSeparator())
                programm_.hinweis(a->text());
        });
        return m;
    };
    const auto sprich = [this](const char *knopf) {
        return [this, knopf] { programm_.sprich(QString::fromLatin1(knopf)); };
    };

    QMenu *datei = menue("Dateim", QStringLiteral("&Datei"));
    aktion(datei, "beenden", QStringLiteral("Beenden"), Qt::CTRL | Qt::Key_X, nullptr);
    connect(aktionen_.value(QStringLiteral("beenden")), &QAction::triggered, this, &QWidget::close);

    QMenu *verb = menue("verbindung", QStringLiteral("&Verbindung"));
    aktion(verb, "Lesen1", QStringLiteral("Lesen...."), {}, &Gast1::startLesen);
    aktion(verb, "LesenStop1", QStringLiteral("Lesen-Stop"), {}, &Gast1::stopLesen);
    verb->addSeparator()->setObjectName(QStringLiteral("leerL"));
    aktion(verb, "herstellen", QStringLiteral("Herstellen"), Qt::CTRL | Qt::Key_H, &Gast1::herstellen);
    aktion(verb, "abbrechen", QStringLiteral("Abbrechen"), Qt::CTRL | Qt::Key_A, &Gast1::abbrechen);

    QMenu *extras = menue("senden", QStringLiteral("&Extras"));
    aktion(extras, "hilfetex", QStringLiteral("Hilfetext automatisch vorlesen"), Qt::CTRL | Qt::Key_Q, nullptr);
    extras->addSeparator();
    aktion(extras, "URLsenden", QStringLiteral("Link-Abschicken"), Qt::CTRL | Qt::Key_L, nullptr);
    aktion(extras, "textabschicken", QStringLiteral("Text-Abschicken"), Qt::CTRL | Qt::Key_G, nullptr);
    extras->addSeparator();
    aktion(extras, "fotoaperad", QStringLiteral("Bildschirm-Fotoapparat"), Qt::Key_F7, nullptr);
    extras->addSeparator();
    aktion(extras, "Play", QStringLiteral("Play"), Qt::CTRL | Qt::Key_P, nullptr);
    aktion(extras, "Stop", QStringLiteral("Stop        [F3]"), {}, nullptr);
    aktion(extras, "Pause", QStringLiteral("Pause      [F3]"), {}, nullptr);
    aktion(extras, "Weiter", QStringLiteral("Weiter     [F5]"), {}, nullptr);
    aktion(extras, "Nochmal", QStringLiteral("Nochmal  [F4]"), {}, nullptr);
    extras->addSeparator();
    aktion(extras, "Klingel1", QStringLiteral("Klingelton  abschicken !"), Qt::CTRL | Qt::Key_K, &Gast1::klingeln);
    aktion(extras, "KlingelSignal1", QStringLiteral("Klingel-Signal-Code"), Qt::Key_F9, &Gast1::KlingelSignal1)
        ->setCheckable(true);
    aktion(extras, "Klingelfenster", QStringLiteral("Klingel-Fenster"), Qt::Key_F12, nullptr);
    extras->addSeparator();
    aktion(extras, "focus2", QStringLiteral("Focus Textfeld Gast  Senden "), Qt::CTRL | Qt::Key_M, &Gast1::fokusTextS);
    aktion(extras, "focus1", QStringLiteral("Focus Textfeld 2.  Adresse "), Qt::CTRL | Qt::Key_D, nullptr);

    QMenu *fenster = menue("fenster", QStringLiteral("&Fenster"));
    aktion(fenster, "SprecherAnzeigen", QStringLiteral("Nur-Sprecher-Anzeigen"), Qt::CTRL | Qt::Key_F, nullptr);
    aktion(fenster, "Fanzeigen", QStringLiteral("Internet-Foto Anzeigen"), Qt::Key_F11, nullptr);
    fenster->addSeparator();
    aktion(fenster, "SprecherAusblenden", QStringLiteral("Sprecher-Ausblenden"), Qt::CTRL | Qt::Key_U, nullptr);
    aktion(fenster, "menuezu", QStringLiteral("Fenster minimieren"), Qt::CTRL | Qt::Key_T, nullptr);

    QMenu *leer7 = menue("leer7", QStringLiteral("Senden"));
    aktion(leer7, "sendengast", QStringLiteral("Gast senden"), Qt::CTRL | Qt::Key_S, &Gast1::Command1);
    aktion(leer7, "Bildschirmfotosenden", QStringLiteral("Bildschirmfoto senden"), Qt::CTRL | Qt::Key_W, nullptr);

    QMenu *links = menue("links1", QStringLiteral("Links"));
    aktion(links, "linkmenue", QStringLiteral("Links"), Qt::CTRL | Qt::Key_B, nullptr);
    menue("Adressbuch1", QStringLiteral("Adressbuch"));
    menue("Beschreibung1", QStringLiteral("Beschreibun&g"));
    QMenu *hilfe = menue("Hilfe22", QStringLiteral("Hilfe"));
    QAction *hilfeZeigen = hilfe->addAction(QStringLiteral("Hilfe-Fenster"));
    hilfeZeigen->setObjectName(QStringLiteral("Hilfe22"));
    aktionen_.insert(hilfeZeigen->objectName(), hilfeZeigen);

    const auto an = [this](const char *name, auto &&f) {
        connect(aktionen_.value(QString::fromLatin1(name)), &QAction::triggered, this, f);
    };
    an("Play", sprich("user1"));
    an("Stop", sprich("Stop"));
    an("Pause", sprich("Pause"));
    an("Weiter", sprich("Weiter"));
    an("Nochmal", sprich("Nochmal"));
    an("textabschicken", [this] {
        hinzuT();
        speicher1();
        Command1();
    });
    an("hilfetex", [this] {
        Hilfe2 *h = programm_.hilfe2();
        h->setAutomatisch(!h->automatisch());
    });
    an("Klingelfenster", [this] {
        Klingel2 *k = programm_.klingel2();
        k->zeigen();
        k->Command3();
    });
    an("focus1", [this] { Combo2->setFocus(); });
    an("SprecherAnzeigen", [this] {
        resize(twips(9525), height());
        Text7->resize(twips(9255), Text7->height());
    });
    an("SprecherAusblenden", [this] {
        resize(twips(7875), height());
        Text7->resize(twips(7620), Text7->height());
    });
    an("Hilfe22", [this] {
        Hilfe2 *h = programm_.hilfe2();
        h->zeigen();
        h->platziereUeberGast(500);
    });
}

void Gast1::baueTasten()
{
    const auto taste = [this](QKeySequence k, auto &&f) {
        auto *s = new QShortcut(k, this);
        s->setContext(Qt::WindowShortcut);
        connect(s, &QShortcut::activated, this, f);
    };
    const auto menu = [this](const char *name) {
        return [this, name] { aktionen_.value(QString::fromLatin1(name))->trigger(); };
    };
    taste(Qt::Key_Escape, [this] { beende3(); });
    taste(Qt::Key_F1, menu("Hilfe22"));
    taste(Qt::Key_F2, [this] { programm_.hilfe2()->Play(); });
    taste(Qt::Key_F3, [this] { programm_.sprich(QStringLiteral("Stop")); });
    taste(Qt::Key_F4, menu("Nochmal"));
    taste(Qt::Key_F5, menu("Weiter"));
    taste(Qt::Key_F8, menu("hilfetex"));
    taste(Qt::Key_F10, [this] { MausFreigeben(); });
    taste(Qt::Key_Insert, [this] { Command1(); });
    // F7 and F12 are the shortcuts of "Bildschirm-Fotoapparat" and
    // "Klingel-Fenster"; the menu takes them.
}

void Gast1::installiereHinweise()
{
    using namespace farbe;
    const QColor keine;
    const std::vector<std::pair<const char *, QColor>> fotoBlau = {
        {"Command11", blau}, {"Command14", blau}, {"Fot1", blau}, {"Command13", blau}, {"bildlokal", blau}};
    auto text7Also = fotoBlau;
    text7Also.push_back({"beende3", lachs});
    text7Also.push_back({"KL1", weiss});
    std::vector<Hinweis> tabelle = {
        {"abbr", QStringLiteral(" Kontakt abbrechen!"), gelb, rot, lachs},
        {"beende3", QStringLiteral(" Programm beenden!"), gelb, rot, lachs},
        {"kontakt", QStringLiteral(" Kontakt herstellen!"), gelb, gelb, pfirsich},
        {"Combo2", QStringLiteral(" Adresse Auswählen mit Maus oder Pfeil-Taste!Oder Adresse-Nummer in Adressenfeld schreiben,  danach [Enter -Taste]  drücken!"), gelb, keine, orange},
        {"Combo3", QStringLiteral(" Standardmäßig wird der Code #dingdong# benutzt. Ein Wort oder ein Text, mit einem Rautezeichen [#] am Anfang und Ende wird nicht vorgelesen."), gelb, keine, keine},
        {"Command21", QStringLiteral(" Klingel-Signal-Code schlissen, zu"), gelb, gelb, weiss, {{"Command22", weiss}}},
        {"Command22", QStringLiteral(" Übernehme Eintrag in das Textfeld "), gelb, gelb, weiss, {{"Command21", weiss}}},
        {"KL1", QStringLiteral(" Klingelsignal abschicken an ausgewählte Adresse!"), gelb, gelb, weiss},
        {"ladeKC", QStringLiteral(" Lade Einträge in das Auswahlfeld"), gelb, gelb, weiss},
        {"klinelcodspeichern", QStringLiteral(" Speichere den eingegebene Eintrag"), keine, keine, keine},
        {"Label17", QStringLiteral(" Alle abgespeicherten Einträge öffnen!"), keine, keine, keine},
        {"Frame3", QStringLiteral("Ein Wort oder ein Text, mit einem Rautezeichen [#] am Anfang und Ende wird nicht vorgelesen.Ihr Klingel-Signal-Code sollte sich innerhalb ihres verschicktem Textes befinden."),
         keine, keine, keine,
         {{"ladeKC", weiss}, {"klinelcodspeichern", weiss}, {"Command20", weiss}, {"Combo3", weiss}, {"Command21", weiss}, {"Command22", weiss}}},
        {"FrameGA", QStringLiteral(" Sende Textfeld!"), keine, keine, keine},
        {"ImageG", QStringLiteral(" Text aus Zwischenablage in Textfeld einfügen!"), keine, keine, keine},
        {"Label16", QStringLiteral(" Erstens.[Kontakt herstellen]... Zweitens.[Adresse auswählen]... Drittens.[In Textfeld schreiben] ...Viertens.[Enter-Taste]!"), keine, keine, keine},
        {"TextS", QStringLiteral(" Textfeld mit Enter wird ihr Text an die ausgewählte Adresse verschickt und beim Empfänger automatisch vorgelesen!"), keine, keine, keine},
        {"Text7", QStringLiteral(" Empfangener Text "), keine, keine, keine, text7Also},
        {"Picture3", QStringLiteral(" Lesen nicht Aktiv: Mit Doppelklick Adresse lesen !"), keine, keine, keine},
        {"Picture4", QStringLiteral(" Lesen Aktiv: Mit Doppelklick Adresse lesen Stop"), keine, keine, keine},
        {"PicturePlay", QStringLiteral(" Play:"), keine, keine, keine},
        {"PicturePause", QStringLiteral(" Play-Pause:"), keine, keine, keine},
        {"PictureStop", QStringLiteral(" Play-Stop:"), keine, keine, keine},
        {"PictureWeiter", QStringLiteral(" Play-Weiter:"), keine, keine, keine, {{"beende3", lachs}}},
        {"Gast1Flaeche", QString(), keine, keine, keine, fotoBlau},
        {"Picture1M", QString(), keine, keine, keine, {{"beende3", lachs}, {"abbr", lachs}, {"KL1", weiss}, {"kontakt", pfirsich}}},
    };
    Hinweise::install(this, std::move(tabelle), [this](const QString &t) { programm_.hinweis(t); });
}

bool Gast1::eventFilter(QObject *watched, QEvent *event)
{
    const QString name = watched->objectName();
    const auto typ = event->type();
    if (typ == QEvent::MouseButtonPress && watched == KL1) {
        klingel.mausDruck();
    } else if (typ == QEvent::MouseButtonRelease) {
        if (watched == Label16)
            kontakt->setFocus();
        else if (watched == FrameGA)
            fokusTextS();
        else if (name == QLatin1String("ImageG")) {
            // Paste: text on the clipboard replaces the send box.
            const QMimeData *daten = QApplication::clipboard()->mimeData();
            if (daten && daten->hasText())
                TextS->setText(daten->text().left(32767));
        }
    } else if (typ == QEvent::MouseButtonDblClick) {
        if (watched == Picture3)
            startLesen();
        else if (watched == Picture4)
            stopLesen();
        else if (watched == Frame3)
            KlingelSignal1();
    } else if (typ == QEvent::FocusIn && name == QLatin1String("Command10")) {
        Command10();
    } else if (typ == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        if (enter && watched == Combo2->lineEdit()) {
            adresseEnter();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace varnek
