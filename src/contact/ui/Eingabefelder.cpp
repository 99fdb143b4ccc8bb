#include "contact/ui/Eingabefelder.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace varnek
{

Kombi::Kombi(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

void Kombi::keyPressEvent(QKeyEvent *event)
{
    if (beiTaste)
        beiTaste();
    const bool liste = view() && view()->isVisible();
    if (!liste && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        event->accept();
        Q_EMIT enter();
        return;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace varnek
