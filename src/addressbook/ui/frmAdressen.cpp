#include "addressbook/ui/frmAdressen.h"

#include "platform/ui/BildDatei.h"

#include "addressbook/ui/EintragDruck.h"
#include "platform/AnsiText.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Programmdienste.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSaveFile>

#include <cstdio>

namespace varnek
{

namespace
{

// Where an edit the book refused is kept when the program quits on a signal.
const QString kUngespeichert = QStringLiteral("Adress-ungespeichert.txt");

QPushButton *knopf(QWidget *parent, const char *name, const QString &text, const QString &tipp = {})
{
    auto *b = benannt(new QPushButton(text, parent), name);
    b->setToolTip(tipp);
    return b;
}

QLineEdit *feld(QWidget *parent, const char *name, const QString &text, const QString &tipp = {})
{
    auto *t = benannt(new QLineEdit(text, parent), name);
    t->setToolTip(tipp);
    return t;
}

QGroupBox *rahmen(QWidget *parent, const char *name, const QString &text)
{
    return benannt(new QGroupBox(text, parent), name);
}

QLabel *beschriftung(QWidget *parent, const char *name, const QString &text)
{
    return benannt(new QLabel(text, parent), name);
}

} // namespace

frmAdressen::frmAdressen(Programmdienste &programm)
    : programm_(programm), bildLader_(new bild::Lader(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Adressen"));
    baueOberflaeche();
    baueMenue();
    // The menu bar on top of the controls' area.
    setFixedSize(sizeHint());
    installiereHinweise();
    baueTasten();
    // Hints follow the focus and the mouse over the controls.
    installEventFilter(this);
    for (QWidget *w : findChildren<QWidget *>())
        if (!qobject_cast<QMenu *>(w))
            w->installEventFilter(this);
}

frmAdressen::~frmAdressen() = default;

void frmAdressen::baueOberflaeche()
{
    auto *flaeche = benannt(new QWidget(this), "frmAdressenFlaeche");
    setCentralWidget(flaeche);
    flaeche->setFixedSize(twips(10200), twips(6000));

    auto *Frame1 = platz(rahmen(flaeche, "Frame1", QStringLiteral("Adress-Nummern-Buch:")), 120, 60,
                         7200, 2040);
    platz(beschriftung(Frame1, "Label4", QStringLiteral("Adresse Nummer :V-VX-Nr:")), 120, 300,
          2400, 255);
    platz(beschriftung(Frame1, "Label1", QStringLiteral("#")), 6840, 300, 240, 255);
    txtVorname = platz(feld(Frame1, "txtVorname", QStringLiteral("Kontakt Adresse Nummer")), 120,
                       570, 6960, 330);
    platz(beschriftung(Frame1, "Label3", QStringLiteral("Komentar:")), 120, 960, 2400, 255);
    platz(beschriftung(Frame1, "Label6", QStringLiteral("#")), 6840, 960, 240, 255);
    txtNachname = platz(
        feld(Frame1, "txtNachname", QStringLiteral("Komentar\r\n"), QStringLiteral("Komentarfeld")),
        120, 1230, 6960, 330);
    auto *Command2Button =
        platz(knopf(Frame1, "Command2", QStringLiteral("<< &In Adressenfeld übernehmen")), 120,
              1620, 3420, 345);
    auto *uebernehmenButton =
        platz(knopf(Frame1, "uebernehmen", QStringLiteral(">> Von &Adressenfeld übernehmen"),
                    QStringLiteral("Adresse von Adressenfeld übernehmen")),
              3600, 1620, 3480, 345);

    auto *Frame5 =
        platz(rahmen(flaeche, "Frame5", QStringLiteral("Webadresse:")), 120, 2160, 7200, 780);
    txtWebadresse = platz(feld(Frame5, "txtWebadresse", QStringLiteral("Webadresse"),
                               QStringLiteral("Webadressenfeld")),
                          120, 330, 5880, 330);
    auto *Command1Button = platz(
        knopf(Frame5, "Command1", QStringLiteral("öffnen"), QStringLiteral("Webadresse öffnen")),
        6120, 315, 960, 360);

    auto *Frame8 = platz(
        rahmen(flaeche, "Frame8",
               QStringLiteral("Klick Button Bildpfad + geben Sie den Bildnamen ein:  \\bild.jpg")),
        120, 3000, 7200, 780);
    // Filled from the shown record; no design text in between.
    txtBild = platz(feld(Frame8, "txtBild", QString()), 120, 330, 5760, 330);
    auto *cmdBildButton =
        platz(knopf(Frame8, "cmdBild", QStringLiteral("&Bildpfad"),
                    QStringLiteral("Der Grafikpfad ist auf 70 Zeichen beschränkt")),
              6000, 315, 1080, 360);

    Image1 = platz(beschriftung(flaeche, "Image1", QString()), 7440, 120, 2640, 2415);
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setBackgroundRole(QPalette::Base);
    Image1->setAutoFillBackground(true);
    auto *Command3Button = platz(knopf(flaeche, "Command3", QStringLiteral("&Foto Aufnehmen:")),
                                 7440, 2640, 2640, 345);
    auto *fotspeichButton = platz(knopf(flaeche, "fotspeich", QStringLiteral("Foto &speichern")),
                                  7440, 3045, 2640, 345);
    // The path of the last saved photo; empty until then.
    Text1 = platz(feld(flaeche, "Text1", QString()), 7440, 3450, 2640, 330);
    Text1->setReadOnly(true);

    // Paging and editing.
    const int reihe1 = 3960, reihe2 = 4440, breite = 1560, hoehe = 390;
    auto *cmdPreviousButton = platz(knopf(flaeche, "cmdPrevious", QStringLiteral("Vorheriger  <<"),
                                          QStringLiteral("Vorherigen Eintrag anzeigen")),
                                    120, reihe1, breite, hoehe);
    auto *cmdNextButton = platz(knopf(flaeche, "cmdNext", QStringLiteral(">>  Nächster"),
                                      QStringLiteral("Nächsten Eintrag anzeigen")),
                                1800, reihe1, breite, hoehe);
    auto *cmdNewButton = platz(knopf(flaeche, "cmdNew", QStringLiteral("Neuer Eintrag"),
                                     QStringLiteral("Neuen Eintrag hinzufügen")),
                               3480, reihe1, breite, hoehe);
    auto *cmdDeleteButton = platz(knopf(flaeche, "cmdDelete", QStringLiteral("Löschen"),
                                        QStringLiteral("Aktuellen Eintrag löschen")),
                                  5160, reihe1, breite, hoehe);
    auto *suchNrButton =
        platz(knopf(flaeche, "suchNr", QStringLiteral("Suche:")), 120, reihe2, breite, hoehe);
    Label5 = platz(beschriftung(flaeche, "Label5", QStringLiteral("V-Nr:")), 1800, reihe2 + 60, 600,
                   255);
    auto *cmdSearchButton = platz(knopf(flaeche, "cmdSearch", QStringLiteral("Suchen:"),
                                        QStringLiteral("Einträge nach Komentar  suchen")),
                                  3480, reihe2, breite, hoehe);
    auto *cmdDruckenButton = platz(
        knopf(flaeche, "cmdDrucken", QStringLiteral("Drucken"), QStringLiteral("Eintrag Drucken")),
        5160, reihe2, breite, hoehe);
    auto *cmdCopyButton = platz(knopf(flaeche, "cmdCopy", QStringLiteral("Kopieren in...")), 7440,
                                reihe1, 1440, hoehe);
    auto *cmdHilfeButton =
        platz(knopf(flaeche, "cmdHilfe", QStringLiteral("&Hilfe"), QStringLiteral("Hilfe")), 8940,
              reihe1, 1140, hoehe);

    Frame7 = platz(rahmen(flaeche, "Frame7", QString()), 7440, 4920, 2640, 960);
    cmdExitButton =
        platz(knopf(Frame7, "cmdExit", QStringLiteral("Ende"), QStringLiteral("Programm beenden")),
              240, 240, 2160, 480);
    Frame7->setMouseTracking(true);

    connect(cmdNextButton, &QPushButton::clicked, this, &frmAdressen::naechsterEintrag);
    connect(cmdPreviousButton, &QPushButton::clicked, this, &frmAdressen::vorigerEintrag);
    connect(cmdNewButton, &QPushButton::clicked, this, &frmAdressen::neuerEintrag);
    connect(cmdDeleteButton, &QPushButton::clicked, this, &frmAdressen::loescheEintrag);
    connect(cmdSearchButton, &QPushButton::clicked, this, &frmAdressen::sucheKommentar);
    connect(suchNrButton, &QPushButton::clicked, this, &frmAdressen::sucheNummer);
    connect(cmdDruckenButton, &QPushButton::clicked, this, &frmAdressen::druckeEintrag);
    connect(cmdCopyButton, &QPushButton::clicked, this, &frmAdressen::kopiereEintrag);
    connect(Command2Button, &QPushButton::clicked, this, &frmAdressen::adresseAnKontakt);
    connect(uebernehmenButton, &QPushButton::clicked, this, &frmAdressen::uebernehmen);
    connect(Command3Button, &QPushButton::clicked, this, &frmAdressen::fotoVomKontakt);
    connect(fotspeichButton, &QPushButton::clicked, this, &frmAdressen::speichereFoto);
    connect(cmdBildButton, &QPushButton::clicked, this, &frmAdressen::ladeBild);
    connect(Command1Button, &QPushButton::clicked, this, &frmAdressen::oeffneWebadresse);
    // The help button repeats the help command.
    connect(cmdHilfeButton, &QPushButton::clicked, this, &frmAdressen::hilfe);
    connect(cmdExitButton, &QPushButton::clicked, this, &frmAdressen::schliesseBuch);

    connect(txtVorname, &QLineEdit::textChanged, this, &frmAdressen::nummerGeaendert);
    const auto folgen = [this](const QString &text) { hinweis(QStringLiteral("....   ") + text); };
    connect(txtNachname, &QLineEdit::textChanged, this, folgen);
    connect(txtWebadresse, &QLineEdit::textChanged, this, folgen);
}

void frmAdressen::lade()
{
    texte_.fuellen();
    if (const Ergebnis e = buch_.oeffnen(); !e)
        fehler(texte_.NichtGeoeffnet + QStringLiteral("\n") + e.grund());
    zeigeAktuellenDatensatz();
}

void frmAdressen::zeigen()
{
    show();
    raise();
    activateWindow();
}

AdressFelder frmAdressen::felder() const
{
    return {txtVorname->text(), txtNachname->text(), txtWebadresse->text(), txtBild->text()};
}

void frmAdressen::hinweis(const QString &text)
{
    programm_.hinweis(text);
}

void frmAdressen::fehler(const QString &text)
{
    dialogs::message(this, text, texte_.FehlerTitel, dialogs::Icon::Critical);
}

// --- records --------------------------------------------------------------

bool frmAdressen::AktuellenDatensatzSpeichern()
{
    const Ergebnis e = buch_.speichern(felder());
    if (!e)
        fehler(e.grund());
    return e.ok();
}

void frmAdressen::zeigeAktuellenDatensatz()
{
    const AdressAnzeige a = buch_.anzeigen();
    // The number first: its change sets the default photo path, which the
    // stored path then replaces.
    txtVorname->setText(a.felder.nummer);
    txtNachname->setText(a.felder.komentar);
    txtWebadresse->setText(a.felder.webadresse);
    txtBild->setText(a.felder.bildpfad);
    setWindowTitle(texte_.titel(buch_.aktuellerSatz(), buch_.anzahlSaetze()));
    zeigeBild(txtBild->text());
}

void frmAdressen::blaettern(int schritt)
{
    const bool vor = schritt > 0;
    if (vor)
        setBild(QPixmap());
    if (buch_.aktuellerSatz() == (vor ? buch_.anzahlSaetze() : 1)) {
        hinweis(vor ? texte_.EndeHinweis : texte_.AnfangHinweis);
        dialogs::message(this, vor ? texte_.EndeText : texte_.AnfangText,
                         vor ? texte_.EndeTitel : texte_.AnfangTitel, dialogs::Icon::Warning);
    } else if (AktuellenDatensatzSpeichern()) {
        // A record the store refused to save stays on show with its edits.
        buch_.setAktuellerSatz(buch_.aktuellerSatz() + schritt);
        zeigeAktuellenDatensatz();
    }
    txtVorname->setFocus();
    zeigeBild(txtBild->text());
}

void frmAdressen::naechsterEintrag()
{
    blaettern(1);
}

void frmAdressen::vorigerEintrag()
{
    blaettern(-1);
}

void frmAdressen::neuerEintrag()
{
    if (AktuellenDatensatzSpeichern()) {
        if (const Ergebnis e = buch_.neuerSatz(felder()); !e)
            fehler(e.grund());
        zeigeAktuellenDatensatz();
    }
    txtVorname->setFocus();
    fotoVomKontakt();
}

void frmAdressen::loescheEintrag()
{
    if (dialogs::question(this, texte_.LoeschenFrage, texte_.LoeschenTitel,
                          dialogs::Icon::Information)) {
        if (const Ergebnis e = buch_.satzLoeschen(); !e)
            fehler(e.grund());
        zeigeAktuellenDatensatz();
    }
    txtVorname->setFocus();
}

void frmAdressen::suche(SuchFeld feld)
{
    const bool komentar = feld == SuchFeld::Komentar;
    QLineEdit *fokus = komentar ? txtNachname : txtVorname;
    if (komentar)
        setBild(QPixmap());
    const QString antwort = dialogs::input(
        this, komentar ? texte_.SucheKomentar : texte_.SucheNummer, texte_.SucheTitel);
    if (!antwort.isEmpty()) {
        if (const auto treffer = buch_.satzSuchen(feld, antwort)) {
            if (AktuellenDatensatzSpeichern()) {
                buch_.setAktuellerSatz(*treffer);
                zeigeAktuellenDatensatz();
            }
        } else {
            dialogs::message(this, texte_.nichtGefunden(antwort), texte_.NichtGefundenTitel,
                             dialogs::Icon::Information);
        }
    }
    fokus->setFocus();
}

void frmAdressen::sucheKommentar()
{
    suche(SuchFeld::Komentar);
}

void frmAdressen::sucheNummer()
{
    suche(SuchFeld::Nummer);
}

// --- closing ----------------------------------------------------------------

// Saves the shown record and closes the file. When the store refuses the
// save, the user decides whether to close anyway; false keeps the window.
bool frmAdressen::schliessen()
{
    if (buch_.istOffen()) {
        const Ergebnis e = buch_.speichern(felder());
        const bool gespeichert = e.ok();
        const QString grund = e.grund();
        if (!gespeichert && dialogs::quitting())
            bewahreUngespeichert(grund);
        else if (!gespeichert &&
                 !dialogs::question(this,
                                    grund + QStringLiteral("\n\n") + texte_.TrotzdemSchliessen,
                                    texte_.FehlerTitel, dialogs::Icon::Warning))
            return false;
        buch_.dateiSchliessen();
    }
    geschlossen_ = true;
    programm_.zurueckZumKontaktfenster();
    return true;
}

// Quitting on a signal with an edit the book refused: the edit is kept as a
// text file beside the book (and, if even that fails, on stderr), so that no
// typed text is lost without a word.
void frmAdressen::bewahreUngespeichert(const QString &grund)
{
    const AdressFelder f = felder();
    const QStringList zeilen{f.nummer, f.komentar, f.webadresse, f.bildpfad};
    const QString pfad = QFileInfo(buch_.pfad()).dir().filePath(kUngespeichert);
    if (ansi::writeLines(pfad, zeilen)) {
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("Eintrag %1 nicht gespeichert (%2), bewahrt in %3")
                         .arg(buch_.aktuellerSatz())
                         .arg(grund, pfad)
                         .toLocal8Bit()
                         .constData());
        return;
    }
    std::fprintf(stderr, "%s\n",
                 QStringLiteral("Eintrag %1 nicht gespeichert (%2): %3")
                     .arg(buch_.aktuellerSatz())
                     .arg(grund, zeilen.join(QStringLiteral(" | ")))
                     .toLocal8Bit()
                     .constData());
}

void frmAdressen::schliesseBuch()
{
    if (geschlossen_ || schliessen())
        close();
}

void frmAdressen::closeEvent(QCloseEvent *event)
{
    // After cmdExit this second run finds everything done.
    if (!geschlossen_ && !schliessen()) {
        event->ignore();
        return;
    }
    event->accept();
}

// --- the contact window -------------------------------------------------------

void frmAdressen::adresseAnKontakt()
{
    programm_.setzeKontaktAdresse(txtVorname->text());
}

void frmAdressen::uebernehmen()
{
    txtVorname->setText(programm_.kontaktAdresse());
}

void frmAdressen::nummerGeaendert(const QString &text)
{
    txtBild->setText(standardBildpfad(text));
    hinweis(text);
}

void frmAdressen::hilfe()
{
    programm_.dockeHilfe(this, txtVorname, Programmdienste::Andocken::MitFokus);
}

// --- copy, print, photo, web address --------------------------------------------

void frmAdressen::kopiereEintrag()
{
    dialogs::message(this, texte_.KopierenText, texte_.KopierenTitel, dialogs::Icon::Information);
    QClipboard *ablage = QGuiApplication::clipboard();
    ablage->clear();
    ablage->setText(kopierText(txtVorname->text(), txtNachname->text()));
}

void frmAdressen::druckeEintrag()
{
    if (!dialogs::question(this, texte_.DruckenFrage, texte_.DruckenTitel, dialogs::Icon::Question))
        return;
    eintragdruck::Eintrag e;
    e.bild = Image1->pixmap();
    e.bildTwips = inTwips(Image1->size());
    e.label5 = Label5->text();
    e.nummer = txtVorname->text();
    e.komentar = txtNachname->text();
    e.webadresse = txtWebadresse->text();
    switch (eintragdruck::drucke(e)) {
    case eintragdruck::Druck::Gedruckt:
        break;
    case eintragdruck::Druck::KeinDrucker:
        dialogs::message(this, texte_.KeinDrucker, texte_.DruckenTitel, dialogs::Icon::Warning);
        break;
    case eintragdruck::Druck::Fehlgeschlagen:
        dialogs::message(this, texte_.NichtGedruckt, texte_.DruckenTitel, dialogs::Icon::Warning);
        break;
    }
}

void frmAdressen::setBild(const QPixmap &bild)
{
    if (bild.isNull())
        Image1->clear();
    else
        Image1->setPixmap(bild);
}

void frmAdressen::zeigeBild(const QString &pfad)
{
    if (pfad.isEmpty()) {
        bildLader_->verwerfen();
        setBild(QPixmap());
        return;
    }
    bildLader_->ladeDatei(pfad, Image1->size(), [this](const QImage &bild) {
        if (!bild.isNull())
            setBild(QPixmap::fromImage(bild));
    });
}

void frmAdressen::ladeBild()
{
    zeigeBild(txtBild->text());
}

void frmAdressen::fotoVomKontakt()
{
    bildLader_->verwerfen(); // a picture still being decoded does not replace this one
    setBild(QPixmap::fromImage(programm_.kontaktFoto()));
}

void frmAdressen::speichereFoto()
{
    const QPixmap bild = Image1->pixmap();
    if (bild.isNull()) {
        dialogs::message(this, texte_.KeinBild, QString(), dialogs::Icon::None);
        return;
    }
    const QString ziel = standardBildpfad(txtVorname->text());
    // The folder "bilder" is made when it is missing; the field names the
    // file only once it is written.
    if (!QDir().mkpath(QFileInfo(ziel).path())) {
        fehler(texte_.BilderOrdnerFehlt);
        return;
    }
    QSaveFile datei(ziel);
    if (!datei.open(QIODevice::WriteOnly) || !bild.save(&datei, "BMP") || !datei.commit()) {
        fehler(texte_.FotoNichtGespeichert + ziel + QStringLiteral("\n") + datei.errorString());
        return;
    }
    Text1->setText(ziel);
}

void frmAdressen::oeffneWebadresse()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    desktop::open(txtWebadresse->text());
    QApplication::restoreOverrideCursor();
}

} // namespace varnek
