// The address book window's hint table and the hints that follow the fields.
#include "addressbook/ui/frmAdressen.h"

#include "help/ui/Hinweise.h"
#include "platform/ui/Zugaenglichkeit.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

namespace varnek
{

void frmAdressen::installiereHinweise()
{
    using namespace farbe;
    const QColor keine;
    // A button that loses the focus returns to the button face.
    const QColor knopf = QApplication::palette().color(QPalette::Button);
    std::vector<Hinweis> tabelle = {
        {"cmdNew", QStringLiteral(" Neuer-Eintrag"), gelb, keine, knopf},
        {"cmdNext", QStringLiteral(" Nächster-Eintrag"), gelb, keine, knopf},
        {"cmdPrevious", QStringLiteral(" Vorheriger-Eintrag"), gelb, keine, knopf},
        {"cmdSearch", QStringLiteral(" Suche-Eintrag nach Komentar:"), gelb, keine, knopf},
        {"suchNr", QStringLiteral(" Suche-Eintrag nach V Nummer:"), gelb, keine, knopf},
        {"cmdDelete", QStringLiteral(" Eintrag-Löschen"), gelb, keine, knopf},
        {"cmdDrucken", QStringLiteral(" Eintrag-Drucken"), gelb, keine, knopf},
        {"cmdCopy", QStringLiteral(" Einträge in Zwischenablage Kopieren:"), gelb, keine, knopf},
        {"cmdExit", QStringLiteral(" Adressbuch schließen!"), rot, rot, knopf},
        {"Command1", QStringLiteral(" Öffne Webadresse"), gelb, keine, knopf},
        {"Command2", QStringLiteral(" In Adressenfeld übernehmen"), gelb, keine, knopf},
        {"uebernehmen", QStringLiteral(" Von Adressenfeld übernehmen V Nummer:"), gelb, keine,
         knopf},
        {"Command3", QStringLiteral(" Foto Aufnehmen:"), gelb, keine, knopf},
        {"fotspeich", QStringLiteral(" Foto Speichern:"), gelb, keine, knopf},
        {"Image1", QStringLiteral(" Foto Ansicht"), keine, keine, keine, {}, false},
    };
    Hinweise::install(this, std::move(tabelle), [this](const QString &t) { hinweis(t); });
    // The photo's path has no caption and no hint; a screen reader says this.
    zugaenglichkeit::benenne(Text1, QStringLiteral("Pfad des gespeicherten Fotos"),
                             QStringLiteral("Wohin \"Foto speichern\" das Foto zuletzt schrieb"));
}

// Hints whose text holds the field's content, the frame that returns the
// close button to its colour, and a click on the photo.
bool frmAdressen::hinweisEreignis(QObject *watched, QEvent *event)
{
    const auto typ = event->type();
    const bool fokus = typ == QEvent::FocusIn;
    if (fokus || typ == QEvent::Enter) {
        if (watched == txtVorname)
            hinweis((fokus ? QStringLiteral("V Nummer Feld:...")
                           : QStringLiteral("Kontakt Adressen Nummernfeld:....   ")) +
                    txtVorname->text());
        else if (watched == txtNachname)
            hinweis((fokus ? QStringLiteral(" Komentar Feld:...   ")
                           : QStringLiteral(" Komentar Feld:....   ")) +
                    txtNachname->text());
        else if (watched == txtWebadresse)
            hinweis((fokus ? QStringLiteral(" Webadressen Feld:....   ")
                           : QStringLiteral("Webadressen Feld....   ")) +
                    txtWebadresse->text());
    } else if (typ == QEvent::MouseMove && watched == Frame7) {
        Hinweise::setBackground(cmdExitButton, QApplication::palette().color(QPalette::Button));
    } else if (typ == QEvent::MouseButtonRelease && watched == Image1 &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        fotoVomKontakt();
        return true;
    }
    return false;
}

bool frmAdressen::eventFilter(QObject *watched, QEvent *event)
{
    if (hinweisEreignis(watched, event))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

} // namespace varnek
