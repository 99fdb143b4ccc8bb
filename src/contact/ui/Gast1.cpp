#include "contact/ui/Gast1.h"

#include "contact/ui/Programm.h"

#include <QPlainTextEdit>

namespace varnek {

Gast1::Gast1(Programm &programm) : programm_(programm)
{
    setWindowTitle(QStringLiteral("     Varnek-5-VX:"));
    auto *text7 = new QPlainTextEdit(this);
    text7->setObjectName(QStringLiteral("Text7"));
    setCentralWidget(text7);
}

Gast1::~Gast1() = default;

QString Gast1::text7() const
{
    return findChild<QPlainTextEdit *>(QStringLiteral("Text7"))->toPlainText();
}

void Gast1::fokusTextS()
{
}

} // namespace varnek
