#include "help/ui/Hinweise.h"

#include "platform/ui/Zugaenglichkeit.h"

#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace varnek
{

Hinweise::Hinweise(QWidget *window, std::vector<Hinweis> table, Sink sink)
    : QObject(window), window_(window), table_(std::move(table)), sink_(std::move(sink))
{
}

Hinweise *Hinweise::install(QWidget *window, std::vector<Hinweis> table, Sink sink)
{
    auto *h = new Hinweise(window, std::move(table), std::move(sink));
    for (const Hinweis &row : h->table_) {
        QWidget *w =
            *row.control ? window->findChild<QWidget *>(QString::fromLatin1(row.control)) : window;
        if (!w)
            continue;
        w->setMouseTracking(true);
        w->installEventFilter(h);
        // A screen reader names and describes the control by its row, also
        // the controls that share the row's name.
        if (!*row.control)
            continue;
        const QString &text = row.text.isEmpty() ? row.mouseText : row.text;
        const QList<QWidget *> gleiche =
            window->findChildren<QWidget *>(QString::fromLatin1(row.control));
        for (QWidget *g : gleiche)
            zugaenglichkeit::benenne(g, text);
    }
    zugaenglichkeit::benenneFenster(window);
    return h;
}

void Hinweise::loesen()
{
    aus_ = true;
    window_->removeEventFilter(this);
    const QList<QWidget *> alle = window_->findChildren<QWidget *>();
    for (QWidget *w : alle)
        w->removeEventFilter(this);
}

void Hinweise::loesen(QWidget *window)
{
    const QList<Hinweise *> alle = window->findChildren<Hinweise *>(Qt::FindDirectChildrenOnly);
    for (Hinweise *h : alle)
        h->loesen();
}

void Hinweise::setBackground(QWidget *w, const QColor &colour)
{
    if (!w || !colour.isValid())
        return;
    QPalette p = w->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(true);
    w->setProperty("varnekFarbe", colour);
}

QColor Hinweise::background(const QWidget *w)
{
    return w ? w->property("varnekFarbe").value<QColor>() : QColor();
}

void Hinweise::recolour(const char *name, const QColor &colour)
{
    setBackground(window_->findChild<QWidget *>(QString::fromLatin1(name)), colour);
}

void Hinweise::apply(const Hinweis &row, bool focus)
{
    const QString &text = !focus && !row.mouseText.isEmpty() ? row.mouseText : row.text;
    if (!text.isEmpty() && (!focus || row.textOnFocus) && sink_)
        sink_(text);
    if (*row.control)
        recolour(row.control, focus ? row.focus : row.mouse);
    for (const auto &[name, colour] : row.also)
        recolour(name, colour);
}

bool Hinweise::eventFilter(QObject *watched, QEvent *event)
{
    if (aus_)
        return false;
    const QString name = watched == window_ ? QString() : watched->objectName();
    for (const Hinweis &row : table_) {
        if (name != QLatin1String(row.control))
            continue;
        switch (event->type()) {
        case QEvent::FocusIn:
            // The focus coming back from the menus leaves the menu's hint.
            if (const auto grund = static_cast<QFocusEvent *>(event)->reason();
                grund != Qt::PopupFocusReason && grund != Qt::MenuBarFocusReason)
                apply(row, true);
            break;
        case QEvent::Enter:
            apply(row, false);
            break;
        case QEvent::FocusOut:
            if (*row.control)
                recolour(row.control, row.leave);
            break;
        default:
            break;
        }
    }
    return false;
}

} // namespace varnek
