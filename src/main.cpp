#include "contact/ui/Gast1.h"
#include "contact/ui/Programm.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    varnek::Programm programm(varnek::Einstellungen{});
    programm.gast1()->show();
    return app.exec();
}
