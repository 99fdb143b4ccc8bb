#include "contact/ui/Programm.h"

#include "addressbook/ui/frmAdressen.h"
#include "bell/ui/Klingel2.h"
#include "contact/SpeechComponent.h"
#include "contact/ui/Gast1.h"
#include "contact_extras/RemoteListing.h"
#include "help/ui/Hilfe2.h"
#include "photo/ui/FotoF.h"
#include "platform/Schreiber.h"

namespace varnek
{

Programm::Programm(Einstellungen einstellungen, QObject *parent)
    : QObject(parent), einstellungen_(std::move(einstellungen)),
      sprecher_(new SpeechComponent(einstellungen_.programmOrdner, this))
{
    // A write cut short by a kill leaves its temporary file beside the
    // program's own file; nobody else will ever finish it.
    if (!einstellungen_.programmOrdner.isEmpty())
        schreiber::entferneReste(einstellungen_.programmOrdner, schuetzenswert);
    sprecher_->setMuted(einstellungen_.stumm);
    if (!einstellungen_.sprechProtokoll.isEmpty())
        sprecher_->setTranscriptFile(einstellungen_.sprechProtokoll);
}

Programm::~Programm()
{
    delete fotoF_;
    delete adressen_;
    delete klingel2_;
    delete hilfe2_;
    delete gast1_;
}

Gast1 *Programm::gast1()
{
    if (!gast1_)
        gast1_ = new Gast1(*this);
    return gast1_;
}

Hilfe2 *Programm::hilfe2()
{
    if (!hilfe2_)
        hilfe2_ = new Hilfe2(*this);
    return hilfe2_;
}

Klingel2 *Programm::klingel2()
{
    if (!klingel2_) {
        klingel2_ = new Klingel2(*this);
        klingel2_->lade();
    }
    return klingel2_;
}

FotoF *Programm::fotoF()
{
    if (!fotoF_)
        fotoF_ = new FotoF(*this);
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

void Programm::sprich(const QString &button, const QString &text)
{
    sprecher_->press(button, text);
}

} // namespace varnek
