#include "platform/ui/Fenstertasten.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace varnek
{

Fenstertasten &Fenstertasten::von(QWidget &control)
{
    QWidget &fenster = *control.window();
    if (auto *t = fenster.findChild<Fenstertasten *>(QString(), Qt::FindDirectChildrenOnly))
        return *t;
    return *new Fenstertasten(fenster);
}

Fenstertasten::Fenstertasten(QWidget &fenster) : QObject(&fenster), fenster_(fenster)
{
    // The override is sent to the focus widget, which may be made after the
    // window's keys; the application sees it for every control.
    qApp->installEventFilter(this);
}

QShortcut *Fenstertasten::neu(const QKeySequence &k, Qt::ShortcutContext kontext, QWidget *eltern)
{
    auto *s = new QShortcut(k, eltern);
    s->setContext(kontext);
    return s;
}

bool Fenstertasten::gehoertDemFenster(const QKeyEvent *event) const
{
    const QKeySequence gedrueckt(event->keyCombination());
    const QKeySequence ohneZiffernblock(
        QKeyCombination(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key())));
    const auto passt = [&](const QKeySequence &k) {
        return !k.isEmpty() && (k == gedrueckt || k == ohneZiffernblock);
    };
    for (const QShortcut *s : fenster_.findChildren<QShortcut *>())
        if (s->isEnabled() && passt(s->key()))
            return true;
    for (const QAction *a : fenster_.findChildren<QAction *>())
        for (const QKeySequence &k : a->shortcuts())
            if (a->isEnabled() && passt(k))
                return true;
    return false;
}

bool Fenstertasten::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType())
        return false;
    const auto *w = static_cast<QWidget *>(watched);
    if (w->window() != &fenster_ || !gehoertDemFenster(static_cast<QKeyEvent *>(event)))
        return false;
    // Not accepted: the shortcut runs instead of the field's own use of the key.
    event->ignore();
    return true;
}

} // namespace varnek
