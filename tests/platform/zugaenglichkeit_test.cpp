#include "platform/ui/Zugaenglichkeit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

using namespace varnek;

namespace
{

TEST(Zugaenglichkeit, CaptionAsRead)
{
    const struct {
        const char *beschriftung, *gelesen;
    } faelle[] = {
        {"&OK", "OK"},
        {"<--Senden-&ü", "<--Senden-ü"},
        {"Kopieren && Einfügen", "Kopieren & Einfügen"},
        {"&Beenden\tCtrl+X", "Beenden"},
        {">>  N&ächster ", ">> Nächster"},
        {" lese", "lese"},
        {"&", ""},
    };
    for (const auto &f : faelle)
        EXPECT_EQ(zugaenglichkeit::ohneKuerzel(QString::fromUtf8(f.beschriftung)),
                  QString::fromUtf8(f.gelesen))
            << f.beschriftung;
}

TEST(Zugaenglichkeit, ShortNameOfAHint)
{
    const struct {
        const char *hinweis, *name;
    } faelle[] = {
        {" Lade-Klingelbuch!", "Lade-Klingelbuch"},
        {" Play:", "Play"},
        {" Adresse Auswählen mit Maus oder Pfeil-Taste!Oder Adresse-Nummer",
         "Adresse Auswählen mit Maus oder Pfeil-Taste"},
        {" Klingeln bis Antwort: alle 10 Sekunden!", "Klingeln bis Antwort"},
        {"Den Hilfetext automatisch vorlesen lassen!      [F8]!",
         "Den Hilfetext automatisch vorlesen lassen"},
        {" Empfangener Text ", "Empfangener Text"},
        {" Adresse  eingeben [V-VX-Nr:]", "Adresse eingeben"},
        // A first phrase without letters does not name anything.
        {"!! Foto Ansicht", "!! Foto Ansicht"},
        {"", ""},
    };
    for (const auto &f : faelle)
        EXPECT_EQ(zugaenglichkeit::kurzname(QString::fromUtf8(f.hinweis)),
                  QString::fromUtf8(f.name))
            << f.hinweis;
}

// The name comes from the caption, then a label that names the control,
// then the hint; the description is the hint.
TEST(Zugaenglichkeit, NameAndDescriptionFromTheHintRow)
{
    QWidget fenster;
    auto *knopf = new QPushButton(QStringLiteral("&speichern"), &fenster);
    auto *symbol = new QPushButton(QStringLiteral("▶"), &fenster);
    auto *rahmen = new QGroupBox(QStringLiteral("Sende-&Textfeld:"), &fenster);
    auto *imRahmen = new QLineEdit(rahmen);
    auto *feld = new QLineEdit(&fenster);
    auto *mitLabel = new QLineEdit(&fenster);
    auto *label = new QLabel(QStringLiteral("&Komentar:"), &fenster);
    label->setBuddy(mitLabel);
    auto *schonBenannt = new QCheckBox(QStringLiteral("Ein"), &fenster);
    schonBenannt->setAccessibleName(QStringLiteral("Eigener Name"));

    const struct {
        QWidget *w;
        const char *hinweis, *name, *beschreibung;
    } faelle[] = {
        {knopf, " Speichern-Klingelbuch!", "speichern", "Speichern-Klingelbuch!"},
        {symbol, " Play:", "Play", "Play:"},
        {imRahmen, " Schreibe hier!", "Sende-Textfeld:", "Schreibe hier!"},
        {feld, " Empfangener Text ", "Empfangener Text", "Empfangener Text"},
        {mitLabel, " Komentarfeld!", "Komentar:", "Komentarfeld!"},
        {schonBenannt, " Ein und aus!", "Eigener Name", "Ein und aus!"},
    };
    for (const auto &f : faelle) {
        zugaenglichkeit::benenne(f.w, QString::fromUtf8(f.hinweis));
        EXPECT_EQ(f.w->accessibleName(), QString::fromUtf8(f.name)) << f.hinweis;
        EXPECT_EQ(f.w->accessibleDescription(), QString::fromUtf8(f.beschreibung)) << f.hinweis;
    }
}

// Controls no hint table names get their caption, label, tool tip or
// placeholder; what cannot take the focus is left alone.
TEST(Zugaenglichkeit, WindowNamesWhatCanTakeTheFocus)
{
    QWidget fenster;
    auto *knopf = new QPushButton(QStringLiteral("&Refresh"), &fenster);
    auto *liste = new QListWidget(&fenster);
    liste->setToolTip(QStringLiteral("Lade-Klingelbuch"));
    auto *feld = new QLineEdit(&fenster);
    feld->setPlaceholderText(QStringLiteral("Suchbegriff eingeben!"));
    auto *ohne = new QLineEdit(&fenster);
    auto *label = new QLabel(QStringLiteral("Uhr"), &fenster);
    auto *dialog = new QWidget(&fenster, Qt::Dialog);
    auto *imDialog = new QPushButton(QStringLiteral("Ja"), dialog);

    zugaenglichkeit::benenneFenster(&fenster);
    EXPECT_EQ(knopf->accessibleName(), QStringLiteral("Refresh"));
    EXPECT_EQ(liste->accessibleName(), QStringLiteral("Lade-Klingelbuch"));
    EXPECT_EQ(feld->accessibleName(), QStringLiteral("Suchbegriff eingeben"));
    EXPECT_EQ(ohne->accessibleName(), QString());
    EXPECT_EQ(label->accessibleName(), QString());
    EXPECT_EQ(imDialog->accessibleName(), QString());
}

} // namespace
