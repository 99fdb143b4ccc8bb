#include "app/Programm.h"

#include "app/Arbeitsplatz.h"

#include "addressbook/ui/frmAdressen.h"
#include "bell/ui/Klingel2.h"
#include "contact/Empfang.h"
#include "contact/KontoDatei.h"
#include "contact/Quittung.h"
#include "contact/Senden.h"
#include "contact/SpeechComponent.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/VerbindungEinrichten.h"
#include "contact_extras/RemoteListing.h"
#include "contact_extras/ui/FotoSpalte.h"
#include "help/ui/Hilfe2.h"
#include "photo/ui/FotoF.h"
#include "platform/AnsiText.h"
#include "platform/Passwort.h"
#include "platform/Schreiber.h"
#include "platform/Tls.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QImage>

namespace varnek
{

Programm::Programm(Einstellungen einstellungen, QObject *parent)
    : QObject(parent), einstellungen_(std::move(einstellungen)),
      sprecher_(new SpeechComponent(einstellungen_.programmOrdner, this)),
      schluesselbund_(schluesselbund()), einstellungsDatei_(kontodatei::standardPfad())
{
    // A write cut short by a kill leaves its temporary file beside the
    // program's own file; nobody else will ever finish it.
    if (!einstellungen_.programmOrdner.isEmpty())
        schreiber::entferneReste(einstellungen_.programmOrdner, schuetzenswert);
    sprecher_->setMuted(einstellungen_.stumm);
    if (!einstellungen_.sprechProtokoll.isEmpty())
        sprecher_->setTranscriptFile(einstellungen_.sprechProtokoll);
    arbeitsplatz_ = new Arbeitsplatz(einstellungen_, *sprecher_, this);
    connect(arbeitsplatz_, &Arbeitsplatz::fensterZeigen, this, &Programm::zeigeKontaktfenster);
    connect(arbeitsplatz_, &Arbeitsplatz::beenden, this, &Programm::beende);
    quittungen_ = new QuittungsVersand(einstellungen_, this);
    connect(sprecher_, &SpeechComponent::gehoert, this, &Programm::textGehoert);
}

Programm::~Programm()
{
    delete einrichten_;
    delete fotoF_;
    delete adressen_;
    delete klingel2_;
    delete hilfe2_;
    delete gast1_;
}

Gast1 *Programm::gast1()
{
    if (!gast1_) {
        gast1_ = new Gast1(*this);
        connect(gast1_, &Gast1::schliesst, this, &Programm::schliesseAndereFenster);
        connect(&gast1_->empfang(), &Empfang::geaendert, this, &Programm::zeigeZustand);
        connect(&gast1_->empfang(), &Empfang::neuerText, this, &Programm::neuerText);
    }
    return gast1_;
}

Hilfe2 *Programm::hilfe2()
{
    if (!hilfe2_) {
        hilfe2_ = new Hilfe2(*this);
        // Once loaded, the help window docks above the contact window after
        // 2 s, as its first placement.
        if (gast1_)
            hilfe2_->platziereUeber(gast1_, gast1_->sendeFeld(), 2000, false);
    }
    return hilfe2_;
}

Klingel2 *Programm::klingel2()
{
    if (!klingel2_) {
        klingel2_ = new Klingel2(*this);
        // The ring waits until it is answered or its bell window is closed.
        const auto erledigt = [this] {
            klingelnWartet_ = false;
            zeigeZustand();
        };
        connect(klingel2_, &QObject::destroyed, this, erledigt);
        connect(klingel2_, &Klingel2::klingelnBeantwortet, this, erledigt);
        klingel2_->lade();
    }
    return klingel2_;
}

FotoF *Programm::fotoF()
{
    if (!fotoF_) {
        fotoF_ = new FotoF(*this);
        // A photo just taken is shown in the contact window's photo column.
        connect(fotoF_, &FotoF::fotoGespeichert, this, [this] { gast1()->zeigeLokalesFoto(); });
    }
    return fotoF_;
}

FotoF *Programm::fotoFWennGeladen() const
{
    return fotoF_;
}

frmAdressen *Programm::adressen()
{
    if (!adressen_) {
        adressen_ = new frmAdressen(*this);
        adressen_->lade();
    }
    return adressen_;
}

frmAdressen *Programm::adressenWennGeladen() const
{
    return adressen_;
}

Gast1 *Programm::gast1WennGeladen() const
{
    return gast1_;
}

Hilfe2 *Programm::hilfe2WennGeladen() const
{
    return hilfe2_;
}

Klingel2 *Programm::klingel2WennGeladen() const
{
    return klingel2_;
}

void Programm::hinweis(const QString &text)
{
    hilfe2()->setText(text);
}

void Programm::sprich(const QString &knopf, const QString &text)
{
    sprecher_->press(knopf, text);
}

void Programm::zeigeHilfe()
{
    hilfe2()->zeigen();
}

void Programm::liesHinweis()
{
    hilfe2()->Play();
}

void Programm::dockeHilfe(QWidget *fenster, QWidget *fokus, Andocken art)
{
    Hilfe2 *h = hilfe2();
    const bool mitFokus = art == Andocken::MitFokus;
    if (mitFokus)
        h->zeigen();
    else
        h->zeigenOhneFokus();
    h->platziereUeber(fenster, fokus, 500, mitFokus);
}

bool Programm::hilfeSchreibfehlerGezeigt() const
{
    return hilfe2_ && hilfe2_->schreibfehlerGezeigt();
}

bool Programm::hilfeLiestAutomatisch() const
{
    return hilfe2_ && hilfe2_->automatisch();
}

void Programm::setzeHilfeAutomatisch(bool ein)
{
    hilfe2()->setAutomatisch(ein);
}

void Programm::zeigeKontaktfenster()
{
    Gast1 *gast = gast1();
    // Shown again, the window ends the program when it closes.
    QApplication::setQuitOnLastWindowClosed(true);
    if (gast->isMinimized())
        gast->showNormal();
    gast->show();
    gast->raise();
    gast->activateWindow();
}

void Programm::zurueckZumKontaktfenster()
{
    if (Gast1 *gast = gast1WennGeladen()) {
        gast->activateWindow();
        gast->fokusTextS();
    }
}

QString Programm::kontaktAdresse()
{
    return gast1()->adresse();
}

void Programm::setzeKontaktAdresse(const QString &adresse)
{
    gast1()->setzeAdresse(adresse);
}

QImage Programm::kontaktFoto()
{
    return gast1()->fotoSpalte().bild1();
}

void Programm::klingelnGemeldet(const QString &empfangen)
{
    Klingel2 *k = klingel2();
    klingelnWartet_ = true;
    zeigeZustand();
    k->zeigen();
    k->klingelnEmpfangen(empfangen);
}

void Programm::zeigeKlingelfenster(const QString &empfangen)
{
    Klingel2 *k = klingel2();
    k->zeigen();
    k->trageEin(empfangen);
}

void Programm::zeigeFotoapparat()
{
    fotoF()->zeigen();
}

void Programm::zeigeAdressbuch()
{
    adressen()->zeigen();
}

bool Programm::infobereichDa() const
{
    return arbeitsplatz_->infobereichDa();
}

bool Programm::imInfobereichBleiben() const
{
    return arbeitsplatz_->imInfobereichBleiben();
}

Ergebnis Programm::setzeImInfobereichBleiben(bool ein)
{
    return arbeitsplatz_->setzeImInfobereichBleiben(ein);
}

bool Programm::bleibeImInfobereich()
{
    if (!arbeitsplatz_->bleibtBeimSchliessen())
        return false;
    // The window hides; the other windows closing must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    return true;
}

bool Programm::autostartAn() const
{
    return arbeitsplatz_->autostartAn();
}

Ergebnis Programm::setzeAutostart(bool ein)
{
    const QString adresse = gast1_ ? gast1_->empfang().adresse() : QString();
    return arbeitsplatz_->setzeAutostart(ein, adresse);
}

bool Programm::lesebestaetigungSenden() const
{
    return quittungen_->an();
}

Ergebnis Programm::setzeLesebestaetigungSenden(bool ein)
{
    return quittungen_->setzeAn(ein);
}

void Programm::textGehoert(const QString &text)
{
    if (!gast1_)
        return;
    // Only the received message is confirmed, not a text from elsewhere
    // ("K1.txt" of an earlier run, a hint).
    const Empfang &e = gast1_->empfang();
    if (e.list5Bytes().isEmpty() || SpeechComponent::speakable(e.gemerkteTexte().value(0)) != text)
        return;
    // The guest hears the text it sent into the address it watches; that
    // is no reading by the contact and is not confirmed.
    if (ansi::readFile(nachrichtPfad(einstellungen_.programmOrdner)) == e.list5Bytes())
        return;
    quittungen_->gelesen(e.adresse(), e.list5Bytes());
}

void Programm::zeigeZustand()
{
    if (klingelnWartet_) {
        arbeitsplatz_->setzeZustand(Arbeitsplatz::Zustand::KlingelnWartet);
        return;
    }
    Empfang *e = gast1_ ? &gast1_->empfang() : nullptr;
    if (e && e->abrufTakt().isActive() && !e->adresse().isEmpty())
        arbeitsplatz_->setzeZustand(Arbeitsplatz::Zustand::Liest, e->adresse());
    else
        arbeitsplatz_->setzeZustand(Arbeitsplatz::Zustand::NichtVerbunden);
}

void Programm::neuerText(const QString &text, bool klingeln)
{
    // The user at the contact window sees and hears it there.
    if (gast1_ && gast1_->isActiveWindow())
        return;
    arbeitsplatz_->meldeNeuenText(text, gast1_ ? gast1_->empfang().adresse() : QString(), klingeln);
}

void Programm::beende()
{
    // As the menu's "Beenden": the contact window closes the others.
    if (Gast1 *gast = gast1WennGeladen())
        gast->close();
    QCoreApplication::quit();
}

void Programm::schliesseAndereFenster()
{
    if (frmAdressen *a = adressenWennGeladen())
        a->schliesseBuch();
    if (Hilfe2 *h = hilfe2WennGeladen())
        h->beende();
    if (Klingel2 *k = klingel2WennGeladen())
        k->bestaetige();
    if (FotoF *f = fotoFWennGeladen())
        f->schliesseFenster();
}

void Programm::zeigeVerbindungEinrichten()
{
    if (!einrichten_) {
        einrichten_ = new VerbindungEinrichten(einstellungen_, passwortDatei_, einstellungsDatei_,
                                               *schluesselbund_, gast1());
        einrichten_->setAttribute(Qt::WA_DeleteOnClose);
        connect(einrichten_, &VerbindungEinrichten::gespeichert, this,
                [this](const Einstellungen &neu, const QString &passwortDatei) {
                    einstellungen_ = neu;
                    passwortDatei_ = passwortDatei;
                    if (!neu.caDatei.isEmpty()) {
                        if (const Ergebnis r = vertraueZertifizierungsstelle(neu.caDatei); !r)
                            dialogs::message(gast1(), r.grund(), QString(), dialogs::Icon::Warning);
                    }
                    if (gast1_)
                        gast1_->uebernehmeKonto();
                });
    }
    einrichten_->show();
    einrichten_->raise();
    einrichten_->activateWindow();
}

VerbindungEinrichten *Programm::verbindungEinrichtenWennGeladen() const
{
    return einrichten_;
}

void Programm::passwortFehlt(const QString &grund)
{
    dialogs::message(gast1(),
                     grund + QStringLiteral("\n\nUnter \"Verbindung\" > \"Verbindung einrichten\" "
                                            "kann das Passwort gespeichert oder eine Passwortdatei "
                                            "(nur für Sie lesbar, 0600) gewählt werden."),
                     QString(), dialogs::Icon::Warning);
}

} // namespace varnek
