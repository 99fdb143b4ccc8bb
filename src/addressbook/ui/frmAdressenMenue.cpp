// The address book window's menu bar and keys.
#include "addressbook/ui/frmAdressen.h"

#include "platform/ui/Fenstertasten.h"
#include "platform/ui/Programmdienste.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace varnek
{

void frmAdressen::baueMenue()
{
    QMenuBar *leiste = menuBar();
    const auto menue = [&](const char *name, const QString &text) {
        QMenu *m = leiste->addMenu(text);
        m->setObjectName(QString::fromLatin1(name));
        // Moving through a menu shows the highlighted entry in the hint line.
        connect(m, &QMenu::hovered, this, [this](QAction *a) {
            if (!a->isSeparator())
                hinweis(a->text());
        });
        return m;
    };
    const auto punkt = [&](QMenu *m, const char *name, const QString &text,
                           const QKeySequence &kurz, void (frmAdressen::*befehl)()) {
        QAction *a = m->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        a->setShortcut(kurz);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, befehl);
        aktionen_.insert(a->objectName(), a);
    };
    const auto trenner = [](QMenu *m, const char *name) {
        m->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu *mnuDatei = menue("mnuDatei", QStringLiteral("&Datei"));
    punkt(mnuDatei, "mnuEnde", QStringLiteral("&Ende"), Qt::CTRL | Qt::Key_Q,
          &frmAdressen::schliesseBuch);

    QMenu *mnuOptionen = menue("mnuOptionen", QStringLiteral("&Optionen"));
    punkt(mnuOptionen, "mnuNeuerEintrag", QStringLiteral("Neuer Eintrag"), Qt::CTRL | Qt::Key_N,
          &frmAdressen::neuerEintrag);
    trenner(mnuOptionen, "mnuTrenn2");
    punkt(mnuOptionen, "mnuNaechsterEintrag", QStringLiteral("Nächster Eintrag"),
          Qt::CTRL | Qt::Key_W, &frmAdressen::naechsterEintrag);
    punkt(mnuOptionen, "mnuVorherigerEintrag", QStringLiteral("Vorheriger Eintrag"),
          Qt::CTRL | Qt::Key_R, &frmAdressen::vorigerEintrag);
    trenner(mnuOptionen, "mnuTrenn1");
    punkt(mnuOptionen, "mnuDelete", QStringLiteral("&Eintrag löschen"), Qt::CTRL | Qt::Key_L,
          &frmAdressen::loescheEintrag);
    trenner(mnuOptionen, "leer1");
    // Both search entries search the comments.
    punkt(mnuOptionen, "mnuDatensatzSuchen", QStringLiteral("Eintrag V- Nr: suchen"),
          Qt::CTRL | Qt::Key_F, &frmAdressen::sucheKommentar);
    punkt(mnuOptionen, "EintragK", QStringLiteral("Eintrag Komentar: suchen"), Qt::CTRL | Qt::Key_K,
          &frmAdressen::sucheKommentar);

    QMenu *ext = menue("ext", QStringLiteral("Extra"));
    // The two entries do what the captions promise: the buttons' commands.
    punkt(ext, "Adressenfeld2", QStringLiteral(">> Von Adressenfeld übernehmen      [Alt+A]"), {},
          &frmAdressen::uebernehmen);
    punkt(ext, "Adressenfeld1", QStringLiteral("<< In Adressenfeld übernehmen         [Alt+I]"), {},
          &frmAdressen::adresseAnKontakt);
    trenner(ext, "leer3");
    punkt(ext, "FotoAufnehmen", QStringLiteral("Foto Aufnehmen:"), {},
          &frmAdressen::fotoVomKontakt);
    punkt(ext, "Fotospeichern", QStringLiteral("Foto speichern"), {}, &frmAdressen::speichereFoto);
    punkt(ext, "Kopieren", QStringLiteral("Kopieren in Zwischenablage..."), Qt::CTRL | Qt::Key_C,
          &frmAdressen::kopiereEintrag);
    trenner(ext, "leer2");
    punkt(ext, "Drucken1", QStringLiteral("Drucken"), {}, &frmAdressen::druckeEintrag);

    // "Hilfe" is an entry of the bar itself.
    QAction *hilfe1 = leiste->addAction(QStringLiteral("Hilfe"));
    hilfe1->setObjectName(QStringLiteral("hilfe1"));
    connect(hilfe1, &QAction::triggered, this, &frmAdressen::hilfe);
    aktionen_.insert(hilfe1->objectName(), hilfe1);
}

QAction *frmAdressen::menuepunkt(const QString &name) const
{
    return aktionen_.value(name);
}

// Its menu keys win over a text box too (Ctrl+C copies the entry, Ctrl+K
// searches, also from inside a field).
void frmAdressen::baueTasten()
{
    Fenstertasten &tasten = Fenstertasten::von(*this);
    tasten.taste(Qt::Key_Escape, this, &frmAdressen::schliesseBuch);
    tasten.taste(Qt::Key_F1, this, &frmAdressen::hilfe);
    tasten.taste(Qt::Key_F2, this, [this] { programm_.liesHinweis(); });
    tasten.taste(Qt::Key_F3, this, [this] { programm_.sprich(QStringLiteral("Stop")); });
    // F4 and F5 would enable the contact window's "Nochmal" and "Weiter",
    // which are never disabled: the keys are taken and do nothing.
    for (const Qt::Key key : {Qt::Key_F4, Qt::Key_F5})
        tasten.taste(key, this, [] {});
    tasten.taste(Qt::Key_PageUp, this, &frmAdressen::vorigerEintrag);
    tasten.taste(Qt::Key_PageDown, this, &frmAdressen::naechsterEintrag);
}

} // namespace varnek
