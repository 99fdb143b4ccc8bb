#include "contact/ui/Gast1.h"

#include "contact/Einstellungen.h"
#include "contact/Empfang.h"
#include "contact/Quittung.h"
#include "contact/Senden.h"
#include "contact/TextProzeduren.h"
#include "contact/ui/Eingabefelder.h"
#include "contact/ui/Gast1Menue.h"
#include "contact/ui/KlingelCodeRahmen.h"
#include "contact_extras/ui/FernBrowser.h"
#include "contact_extras/ui/FotoSpalte.h"
#include "contact_extras/ui/MenuePanel.h"
#include "help/ui/Hinweise.h"
#include "platform/AnsiText.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Programmdienste.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <utility>

namespace varnek
{

namespace
{
const QString kAdressText = QStringLiteral(" Adresse  eingeben [V-VX-Nr:]");

QPushButton *knopf(QWidget *parent, const char *name, const QString &text)
{
    return benannt(new QPushButton(text, parent), name);
}

const QString kUnverschluesselt = QStringLiteral("Verbindung nicht verschlüsselt");
} // namespace

Gast1::Gast1(Programmdienste &programm)
    : programm_(programm), empfang_(new Empfang(programm.einstellungen().programmOrdner, this)),
      quittungsAbruf_(new QuittungsAbruf(this))
{
    setWindowTitle(QStringLiteral("     Varnek-5-VX:"));
    empfang_->setServer(programm.einstellungen().web());
    baueOberflaeche();
    menue_ = new Gast1Menue(*this, programm_);
    menuePanel_ = new MenuePanel(
        *this, programm_, {centralWidget(), Check2, TextS, Combo2, Picture28, menue_->links()});
    ordneTabReihe();
    // The photo column at the right edge, seen at the full width.
    fotoSpalte_ = new FotoSpalte(*this, programm_, centralWidget(), Combo2);
    fotoSpalte_->move(twips(FotoSpalte::links), 0);
    installiereHinweise();

    connect(&verbindung_, &Verbindung::status, this, &Gast1::ZeigeStatus);
    connect(browser_, &FernBrowser::status, this, &Gast1::ZeigeStatus);
    connect(fotoSpalte_, &FotoSpalte::status, this, &Gast1::ZeigeStatus);
    // Once the text of the send box is on the server, its receipt is awaited.
    connect(browser_, &FernBrowser::gesendet, this, [this] {
        const QByteArray text = std::exchange(gesendeterText_, QByteArray());
        if (!text.isEmpty())
            (void)quittungsAbruf_->starte(verbindung_.pfad().section(u'/', -1), text);
    });
    connect(quittungsAbruf_, &QuittungsAbruf::gelesen, this,
            [this](const QDateTime &zeit) { ZeigeStatus(quittung::statusText(zeit)); });
    connect(&verbindung_, &Verbindung::meldung, this,
            [this](const QString &text) { dialogs::message(this, text); });
    // The hourglass shows on the window while FTP steps are queued; the
    // window itself keeps answering.
    connect(&verbindung_, &Verbindung::beschaeftigtGeaendert, this, [this](bool an) {
        if (an)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    connect(empfang_, &Empfang::geaendert, this, &Gast1::spiegleEmpfang);
    connect(empfang_, &Empfang::sprechen, this,
            [this](const QString &knopf, const QString &text) { programm_.sprich(knopf, text); });
    connect(empfang_, &Empfang::meldung, this,
            [this](const QString &t) { dialogs::message(this, t); });
    connect(empfang_, &Empfang::fokusAdresse, this, [this] {
        if (TextS->hasFocus() && !TextS->text().isEmpty())
            return; // the user is typing a message: the focus stays there
        Combo2->setFocus();
        Combo2->lineEdit()->end(false);
    });
    // The bell window is rung once the poll tick is over: its alert box
    // must not run inside the tick, where the speak timers are still on
    // and would read the text a second time.
    connect(
        empfang_, &Empfang::klingeln, this, [this] { programm_.klingelnGemeldet(text7()); },
        Qt::QueuedConnection);
    Form_Load();
}

Gast1::~Gast1()
{
    loeseBeobachter();
}

void Gast1::loeseBeobachter()
{
    // While the controls are destroyed they lose the focus; a hint or a
    // handler run then would touch controls already gone.
    if (hinweise_)
        hinweise_->loesen();
    const QList<QWidget *> alle = findChildren<QWidget *>();
    for (QWidget *w : alle)
        w->removeEventFilter(this);
    disconnect(empfang_, nullptr, this, nullptr);
}

void Gast1::baueOberflaeche()
{
    // The window shows the part of this surface its size lets it show; what
    // lies below (the remote browser) or to the right (the photo column) is
    // seen by enlarging the window. The surface never scrolls.
    auto *flaeche = new QWidget(this);
    flaeche->setObjectName(QStringLiteral("Gast1Flaeche"));
    setCentralWidget(flaeche);

    kontakt = platz(knopf(flaeche, "kontakt", QStringLiteral("K&ontakt")), 120, 120, 1095, 375);
    abbr = platz(knopf(flaeche, "abbr", QStringLiteral("Ex&it")), 120, 120, 1095, 375);
    beende3Button =
        platz(knopf(flaeche, "beende3", QStringLiteral("&Beenden")), 1320, 120, 1095, 375);
    Combo2 = platz(benannt(new Kombi(flaeche), "Combo2"), 2520, 120, 2895, 375);
    // Wide enough for its design text.
    Combo2->resize(
        std::max(Combo2->width(), Combo2->fontMetrics().horizontalAdvance(kAdressText) + 40),
        Combo2->height());
    Combo2->setToolTip(QStringLiteral("Adresse  eingeben "));
    Label16 =
        platz(benannt(new QLabel(QStringLiteral("1.[Kontakt] 2.[Adresse] 3.[Textfeld]"), flaeche),
                      "Label16"),
              5520, 180, 3000, 255);
    Label16->move(Combo2->geometry().right() + 8, Label16->y());
    Label16->setWordWrap(true);
    FrameGA = platz(benannt(new QGroupBox(QStringLiteral("Sende-Textfeld:"), flaeche), "FrameGA"),
                    120, 600, 6000, 735);
    TextS = platz(benannt(new QLineEdit(FrameGA), "TextS"), 120, 300, 5760, 315);
    TextS->setMaxLength(32767);
    TextS->setToolTip(
        QStringLiteral("Schreibe Nachricht  in das Textfeld !  Danach  \"Enter \"! "));
    KL1 = platz(knopf(flaeche, "KL1", QStringLiteral("&Klingel")), 6240, 720, 1095, 375);
    platz(benannt(new QLabel(flaeche), "ImageG"), 7440, 720, 375, 375)
        ->setText(QStringLiteral("⇩"));
    Label9 = platz(benannt(new QLabel(QStringLiteral("xxxxxxxxxxx"), flaeche), "Label9"), 120, 1440,
                   7200, 255);
    Text7 = platz(benannt(new QPlainTextEdit(flaeche), "Text7"), 120, 1740, 7620, 1095);
    Text7->setReadOnly(true);
    Text7->setTabChangesFocus(true);
    text7Breite_ = Text7->width();
    Picture3 =
        platz(benannt(new QLabel(QStringLiteral("○"), flaeche), "Picture3"), 7800, 1740, 375, 375);
    Picture4 =
        platz(benannt(new QLabel(QStringLiteral("●"), flaeche), "Picture4"), 7800, 1740, 375, 375);
    Picture4->setStyleSheet(QStringLiteral("color: #00a000;"));
    rechteSpalte_ << Picture3 << Picture4;
    struct Bild {
        const char *name;
        const char *zeichen;
        const char *knopf;
    };
    int oben = 2160;
    for (const Bild &b : {Bild{"PicturePlay", "▶", "user1"}, Bild{"PicturePause", "‖", "Pause"},
                          Bild{"PictureStop", "■", "Stop"}, Bild{"PictureWeiter", "»", "Weiter"}}) {
        auto *w = platz(knopf(flaeche, b.name, QString::fromUtf8(b.zeichen)), 7800, oben, 375, 255);
        w->setFlat(true);
        rechteSpalte_ << w;
        const QString name = QString::fromLatin1(b.knopf);
        connect(w, &QPushButton::clicked, this, [this, name] { programm_.sprich(name); });
        oben += 270;
    }
    Check2 =
        platz(benannt(new QCheckBox(QStringLiteral("Fenster &in Vordergrund"), flaeche), "Check2"),
              5520, 1440, 2400, 255);

    // The ring-code panel lies below the visible part until it is opened.
    Frame3 = new KlingelCodeRahmen(programm_.einstellungen().programmOrdner, flaeche);
    platz(Frame3, 120, 2880, 7620, 1095);
    Frame3->hide();

    // The panel "Adresse ist nicht gültig!".
    Picture28 = platz(benannt(new QLabel(flaeche), "Picture28"), 2520, 480, 2895, 315);
    Picture28->setStyleSheet(QStringLiteral("background: #ff0000; color: white;"));
    auto *LabelAdresse =
        benannt(new QLabel(Empfang::adresseUngueltigText(), Picture28), "LabelAdresse");
    LabelAdresse->setGeometry(0, 0, Picture28->width(), Picture28->height());
    LabelAdresse->setAlignment(Qt::AlignCenter);

    constexpr int browserOben = 3960;
    browser_ = new FernBrowser(verbindung_, programm_.einstellungen().programmOrdner, flaeche);
    browser_->move(0, twips(browserOben));
    browser_->resize(browser_->minimumSize());
    browser_->fokusTextS = [this] { fokusTextS(); };
    resize(twips(9525), twips(3900));

    connect(kontakt, &QPushButton::clicked, this, &Gast1::herstellen);
    connect(abbr, &QPushButton::clicked, this, &Gast1::abbrClick);
    connect(beende3Button, &QPushButton::clicked, this, &Gast1::beende);
    connect(TextS, &QLineEdit::returnPressed, this, &Gast1::sendeText);
    connect(KL1, &QPushButton::clicked, this, &Gast1::klingeln);
    connect(Frame3, &KlingelCodeRahmen::schliessen, this, &Gast1::schliesseKlingelCode);
    connect(Frame3, &KlingelCodeRahmen::uebernehmenUndSchliessen, this,
            &Gast1::uebernehmeUndSchliesse);
    connect(Frame3, &KlingelCodeRahmen::uebernehmen, this, &Gast1::uebernehme);
    connect(Frame3, &KlingelCodeRahmen::enter, this, [this] {
        uebernehme();
        schalteKlingelCodeRahmen();
    });
    connect(Frame3, &KlingelCodeRahmen::gewaehlt, empfang_, &Empfang::setzeKlingelCode);
    connect(Combo2, &QComboBox::activated, this, &Gast1::adresseGewaehlt);
    connect(Combo2, &Kombi::enter, this, &Gast1::adresseEnter);
    connect(&verbindung_, &Verbindung::verbindungGeaendert, this,
            [this](bool an) { an ? zeigeVerbunden() : zeigeGetrennt(); });

    for (QObject *o :
         std::initializer_list<QObject *>{KL1, Label16, FrameGA, Picture3, Picture4, Frame3,
                                          findChild<QWidget *>(QStringLiteral("ImageG"))})
        o->installEventFilter(this);
}

void Gast1::Form_Load()
{
    const Einstellungen &e = programm_.einstellungen();
    speichereNachricht();
    setzeListenHoehe(700);
    uebernehmeKonto();
    if (e.passiv)
        browser_->setzePassiv(*e.passiv);
    Combo2->addItems({QStringLiteral("test"), QStringLiteral("info"), QStringLiteral("d-bw-001")});
    Combo2->setEditText(kAdressText);
    verbindung_.uebertragungsart = 1;
    zeigeGetrennt();
    browser_->waehleLokal(QString());
    ZeigeStatus(QStringLiteral("Klicke-Kontakt-Herstellen"));
    // The design text is shown in the path, but it is no address chosen.
    verbindung_.setzePfad(verbindung_.basisPfad() + Combo2->currentText());
    abbr->hide();
    spiegleEmpfang();
}

QString Gast1::text7() const
{
    return Text7->toPlainText();
}

QString Gast1::adresse() const
{
    return Combo2->currentText();
}

void Gast1::fokusTextS()
{
    TextS->setFocus();
}

QWidget *Gast1::sendeFeld() const
{
    return TextS;
}

void Gast1::ZeigeStatus(const QString &text)
{
    Label9->setText(bereinigeStatus(text));
    Label9->repaint();
}

// --- connection -------------------------------------------------------------

void Gast1::uebernehmeKonto()
{
    const Einstellungen &e = programm_.einstellungen();
    konto_ = kontoAus(e);
    richteEin(verbindung_, e);
    empfang_->setServer(e.web());
    quittungsAbruf_->setServer(e.web());
}

void Gast1::stelleVerbindungHer()
{
    verbindung_.herstellen(konto_, browser_->passiv(), [this](bool ok) {
        if (ok) {
            browser_->zeigeVerzeichnis(verbindung_.pfad());
            zeigeVerbunden();
            // A listing cut short keeps saying so.
            verbindung_.danach([this, tls = konto_.tls] {
                if (browser_->listeGekuerzt())
                    return;
                // A connection in clear says so, unless a failure must be read.
                const QString antwort = verbindung_.antwort();
                ZeigeStatus(tls || antwort != QLatin1String("Ok")
                                ? antwort
                                : antwort + QStringLiteral(" - ") + kUnverschluesselt);
            });
        }
        browser_->waehleLokal(QStringLiteral("Gast.txt"));
    });
}

void Gast1::trenneVerbindung()
{
    // Also while a connect is still on its way: log off cancels it.
    if (!verbindung_.verbunden() && !verbindung_.beschaeftigt())
        return;
    verbindung_.abbrechen();
    browser_->leereListe();
}

void Gast1::herstellen()
{
    stelleVerbindungHer();
    kontakt->hide();
    abbr->show();
    startLesen();
}

void Gast1::abbrechen()
{
    trenneVerbindung();
    fokusTextS();
    abbr->hide();
    kontakt->show();
    stopLesen();
}

void Gast1::abbrClick()
{
    abbrechen();
    ZeigeStatus(QStringLiteral("Klicke-Kontakt-Herstellen"));
}

void Gast1::zeigeVerbunden()
{
    browser_->zeigeVerbunden(true);
}

void Gast1::zeigeGetrennt()
{
    browser_->zeigeVerbunden(false);
}

// --- sending ----------------------------------------------------------------

void Gast1::nimmZeileAuf()
{
    if (!TextS->text().isEmpty()) {
        List2 << TextS->text();
        TextS->clear();
    }
    fokusTextS();
}

bool Gast1::speichereNachricht()
{
    const Ergebnis ok = schreibeNachricht(programm_.einstellungen().programmOrdner, List2);
    if (ok) {
        ZeigeStatus(QStringLiteral("Sende-Text"));
    } else {
        dialogs::message(this, ok.grund());
        ZeigeStatus(QStringLiteral("Fehler"));
    }
    List2.clear();
    return ok.ok();
}

void Gast1::ladeAuswahlHoch()
{
    // A message reaches someone only in an address directory; the browser's
    // own upload button goes to whatever folder it shows. The design text
    // of the address field is no address.
    if (!verbindung_.imAdressVerzeichnis() ||
        verbindung_.pfad() == verbindung_.basisPfad() + kAdressText) {
        gesendeterText_.clear();
        dialogs::message(this, QStringLiteral("Sie haben keine Empfänger Adresse angegeben!"));
        return;
    }
    browser_->ladeHoch();
}

void Gast1::sendeText()
{
    const QString getippt = TextS->text();
    nimmZeileAuf();
    // A message file that could not be written is not sent (the file on disk
    // is an older text), and the typed text stays in the send box.
    if (!speichereNachricht()) {
        TextS->setText(getippt);
        fokusTextS();
        return;
    }
    // The receipt names the bytes the contact fetched: those of the file
    // uploaded now. An empty message is never read aloud.
    gesendeterText_ = ansi::readFile(nachrichtPfad(programm_.einstellungen().programmOrdner))
                          .value_or(QByteArray());
    ladeAuswahlHoch();
    fokusTextS();
}

void Gast1::klingeln()
{
    if (const Ergebnis e =
            schreibeNachricht(programm_.einstellungen().programmOrdner, klingel.klingeln());
        !e) {
        dialogs::message(this, e.grund());
        ZeigeStatus(QStringLiteral("Fehler"));
        return;
    }
    gesendeterText_.clear(); // a ring is never read aloud: no receipt comes
    ladeAuswahlHoch();
}

void Gast1::warneOhneAdresse()
{
    if (Combo2->currentText().isEmpty())
        dialogs::message(this, QStringLiteral("Sie haben keine Empfänger Adresse angegeben!"));
}

// --- ring-code panel ----------------------------------------------------------

void Gast1::schalteKlingelCodeRahmen()
{
    QAction *menu = menue_->klingelCode();
    const bool oeffnen = !Frame3->isVisible();
    menu->setChecked(oeffnen);
    // Open, the panel lies below the status line, which stays readable.
    Frame3->move(Frame3->x(),
                 oeffnen ? std::max(twips(1680), Label9->geometry().bottom() + 1) : twips(2880));
    Frame3->setVisible(oeffnen);
    ordneAn();
    if (oeffnen) {
        Frame3->raise();
        Frame3->combo()->setFocus();
    } else {
        fokusTextS();
    }
}

void Gast1::uebernehme()
{
    TextS->setText(Frame3->code());
    fokusTextS();
    TextS->end(false);
}

void Gast1::schliesseKlingelCode()
{
    fokusTextS();
    schalteKlingelCodeRahmen();
}

void Gast1::uebernehmeUndSchliesse()
{
    uebernehme();
    schliesseKlingelCode();
}

// --- receiving ----------------------------------------------------------------

void Gast1::adresseGewaehlt()
{
    verbindung_.adressPfad(Combo2->currentText());
    setzeEmpfangsAdresse();
}

void Gast1::adresseEnter()
{
    setzeEmpfangsAdresse();
    empfang_->setzeAdresseUngueltigSichtbar(false);
    empfang_->zerlegeWoerter();
    fokusTextS();
    verbindung_.adressPfad(Combo2->currentText());
    startLesen();
}

void Gast1::lausche(const QString &adresse)
{
    Combo2->setEditText(adresse);
    adresseEnter();
}

void Gast1::waehleAdressPfad()
{
    verbindung_.adressPfad(Combo2->currentText());
    setzeEmpfangsAdresse();
}

void Gast1::setzeAdresse(const QString &adresse)
{
    Combo2->setEditText(adresse);
    waehleAdressPfad();
}

void Gast1::setzeEmpfangsAdresse()
{
    empfang_->setzeAdresse(Combo2->currentText());
}

void Gast1::startLesen()
{
    empfang_->starteLesen();
}

void Gast1::stopLesen()
{
    empfang_->stoppeLesen();
}

void Gast1::spiegleEmpfang()
{
    if (Text7->toPlainText() != empfang_->letzterText())
        Text7->setPlainText(empfang_->letzterText());
    Picture28->setVisible(empfang_->adresseUngueltigSichtbar());
    Picture3->setVisible(empfang_->ruhtSichtbar());
    Picture4->setVisible(empfang_->liestSichtbar());
}

// --- photo --------------------------------------------------------------------

void Gast1::zeigeLokalesFoto()
{
    fotoSpalte_->zeigeLokalesFoto();
}

// --- window -------------------------------------------------------------------

void Gast1::setzeListenHoehe(int hoehe)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int halb = screen ? screen->geometry().height() / 2 : hoehe;
    listenHoehe_ = std::min(hoehe, halb);
    const int zeile = std::max(1, Combo2->view()->sizeHintForRow(0));
    Combo2->setMaxVisibleItems(std::max(1, listenHoehe_ / zeile));
}

void Gast1::MausEinsperren()
{
    // Qt offers no pointer confinement on the desktops we run on; a grab
    // keeps the mouse events with the window instead.
    if (QWidget *w = findChild<QWidget *>(QStringLiteral("Picture1M")))
        w->grabMouse();
}

void Gast1::gibMausFrei()
{
    if (QWidget *w = QWidget::mouseGrabber())
        w->releaseMouse();
}

void Gast1::fokusAdresse()
{
    // As the keyboard reaches a field: its text is selected, so what is typed
    // replaces it.
    Combo2->setFocus(Qt::ShortcutFocusReason);
    Combo2->lineEdit()->selectAll();
}

void Gast1::sprecherBreite(int fenster, int text7)
{
    text7Breite_ = twips(text7);
    resize(twips(fenster), height());
    ordneAn();
}

void Gast1::beende()
{
    show();
    close();
}

void Gast1::closeEvent(QCloseEvent *event)
{
    // Closed from the desktop (its close button) while the program stays in
    // the tray: the window only hides. The program's own "Beenden" closes.
    if (event->spontaneous() && programm_.bleibeImInfobereich()) {
        event->ignore();
        hide();
        return;
    }
    Q_EMIT schliesst();
    verbindung_.beenden();
    empfang_->stoppeLesen();
    beendet_ = true;
    event->accept();
}

} // namespace varnek
