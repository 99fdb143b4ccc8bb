// The contact window's hint table and the small reactions of its controls.
#include "contact/ui/Gast1.h"
#include "contact/ui/KlingelCodeRahmen.h"
#include "help/ui/Hinweise.h"
#include "platform/ui/Fensterdienste.h"
#include "platform/ui/Programmdienste.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace varnek
{

void Gast1::installiereHinweise()
{
    using namespace farbe;
    const QColor keine;
    const std::vector<std::pair<const char *, QColor>> fotoBlau = {{"Command11", blau},
                                                                   {"Command14", blau},
                                                                   {"Fot1", blau},
                                                                   {"Command13", blau},
                                                                   {"bildlokal", blau}};
    auto text7Also = fotoBlau;
    text7Also.push_back({"beende3", lachs});
    text7Also.push_back({"KL1", weiss});
    std::vector<Hinweis> tabelle = {
        {"abbr", QStringLiteral(" Kontakt abbrechen!"), gelb, rot, lachs},
        {"beende3", QStringLiteral(" Programm beenden!"), gelb, rot, lachs},
        {"kontakt", QStringLiteral(" Kontakt herstellen!"), gelb, gelb, pfirsich},
        {"Combo2",
         QStringLiteral(" Adresse Auswählen mit Maus oder Pfeil-Taste!Oder Adresse-Nummer in "
                        "Adressenfeld schreiben,  danach [Enter -Taste]  drücken!"),
         gelb, keine, orange},
        {"Combo3",
         QStringLiteral(" Standardmäßig wird der Code #dingdong# benutzt. Ein Wort oder ein Text, "
                        "mit einem Rautezeichen [#] am Anfang und Ende wird nicht vorgelesen."),
         gelb, keine, keine},
        {"Command21",
         QStringLiteral(" Klingel-Signal-Code schlissen, zu"),
         gelb,
         gelb,
         weiss,
         {{"Command22", weiss}}},
        {"Command22",
         QStringLiteral(" Übernehme Eintrag in das Textfeld "),
         gelb,
         gelb,
         weiss,
         {{"Command21", weiss}}},
        {"KL1", QStringLiteral(" Klingelsignal abschicken an ausgewählte Adresse!"), gelb, gelb,
         weiss},
        {"ladeKC", QStringLiteral(" Lade Einträge in das Auswahlfeld"), gelb, gelb, weiss},
        {"klinelcodspeichern", QStringLiteral(" Speichere den eingegebene Eintrag"), keine, keine,
         keine},
        {"Label17", QStringLiteral(" Alle abgespeicherten Einträge öffnen!"), keine, keine, keine},
        {"Frame3",
         QStringLiteral("Ein Wort oder ein Text, mit einem Rautezeichen [#] am Anfang und Ende "
                        "wird nicht vorgelesen.Ihr Klingel-Signal-Code sollte sich innerhalb ihres "
                        "verschicktem Textes befinden."),
         keine,
         keine,
         keine,
         {{"ladeKC", weiss},
          {"klinelcodspeichern", weiss},
          {"Command20", weiss},
          {"Combo3", weiss},
          {"Command21", weiss},
          {"Command22", weiss}}},
        {"FrameGA", QStringLiteral(" Sende Textfeld!"), keine, keine, keine},
        {"ImageG", QStringLiteral(" Text aus Zwischenablage in Textfeld einfügen!"), keine, keine,
         keine},
        {"Label16",
         QStringLiteral(" Erstens.[Kontakt herstellen]... Zweitens.[Adresse auswählen]... "
                        "Drittens.[In Textfeld schreiben] ...Viertens.[Enter-Taste]!"),
         keine, keine, keine},
        {"TextS",
         QStringLiteral(" Textfeld mit Enter wird ihr Text an die ausgewählte Adresse verschickt "
                        "und beim Empfänger automatisch vorgelesen!"),
         keine, keine, keine},
        {"Text7", QStringLiteral(" Empfangener Text "), keine, keine, keine, text7Also},
        {"Picture3", QStringLiteral(" Lesen nicht Aktiv: Mit Doppelklick Adresse lesen !"), keine,
         keine, keine},
        {"Picture4", QStringLiteral(" Lesen Aktiv: Mit Doppelklick Adresse lesen Stop"), keine,
         keine, keine},
        {"PicturePlay", QStringLiteral(" Play:"), keine, keine, keine},
        {"PicturePause", QStringLiteral(" Play-Pause:"), keine, keine, keine},
        {"PictureStop", QStringLiteral(" Play-Stop:"), keine, keine, keine},
        {"PictureWeiter",
         QStringLiteral(" Play-Weiter:"),
         keine,
         keine,
         keine,
         {{"beende3", lachs}}},
        {"Gast1Flaeche", QString(), keine, keine, keine, fotoBlau},
        {"Picture1M",
         QString(),
         keine,
         keine,
         keine,
         {{"beende3", lachs}, {"abbr", lachs}, {"KL1", weiss}, {"kontakt", pfirsich}}},
    };
    hinweise_ = Hinweise::install(this, std::move(tabelle),
                                  [this](const QString &t) { programm_.hinweis(t); });
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
            // The pasted text is completed in the send box and sent with Enter.
            ZwischenablageEinfuegen(TextS);
            fokusTextS();
            TextS->end(false);
        }
    } else if (typ == QEvent::MouseButtonDblClick) {
        if (watched == Picture3)
            startLesen();
        else if (watched == Picture4)
            stopLesen();
        else if (watched == Frame3)
            schalteKlingelCodeRahmen();
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace varnek
