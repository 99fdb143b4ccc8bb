#include "bell/ui/Klingel2.h"

#include "contact/ui/Programm.h"

namespace varnek {

Klingel2::Klingel2(Programm &programm) : programm_(programm)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Achtung ein Gast hat geklingelt !"));
}

void Klingel2::zeigen()
{
    show();
    raise();
}

void Klingel2::Command6()
{
}

void Klingel2::Command3()
{
}

void Klingel2::Command2()
{
    close();
}

} // namespace varnek
