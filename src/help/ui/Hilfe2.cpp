#include "help/ui/Hilfe2.h"

#include "contact/ui/Programm.h"

namespace varnek {

Hilfe2::Hilfe2(Programm &programm) : programm_(programm)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Hilfe-Fenster"));
}

void Hilfe2::setText(const QString &text)
{
    text_ = text;
    if (automatisch_)
        Play();
}

void Hilfe2::setAutomatisch(bool on)
{
    automatisch_ = on;
    if (on)
        Play();
}

void Hilfe2::Play()
{
}

void Hilfe2::beende()
{
    close();
}

void Hilfe2::zeigen()
{
    show();
}

void Hilfe2::platziereUeberGast(int)
{
}

} // namespace varnek
