#include "contact/ui/Eingabefelder.h"

#include <QAbstractItemView>
#include <QKeyEvent>

namespace varnek
{

bool eingabe::fensterZuerst(QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *k = static_cast<QKeyEvent *>(event);
    if (!(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    // Not accepted: the window's shortcuts are asked first; a key none of
    // them takes is then delivered to the field as a key press.
    event->ignore();
    return true;
}

bool Zeile::event(QEvent *event)
{
    if (eingabe::fensterZuerst(event))
        return true;
    return QLineEdit::event(event);
}

Kombi::Kombi(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
}

bool Kombi::event(QEvent *event)
{
    if (eingabe::fensterZuerst(event))
        return true;
    return QComboBox::event(event);
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
