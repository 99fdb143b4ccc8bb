#include "platform/ui/Zugaenglichkeit.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace varnek::zugaenglichkeit
{

namespace
{

bool hatBuchstaben(const QString &text)
{
    for (const QChar c : text)
        if (c.isLetterOrNumber())
            return true;
    return false;
}

// The label that names w: one whose buddy is w, or the title of the group
// box it sits in.
QString buddyText(const QWidget *w)
{
    const QWidget *fenster = w->window();
    const QList<QLabel *> labels = fenster->findChildren<QLabel *>();
    for (const QLabel *l : labels)
        if (l->buddy() == w)
            return ohneKuerzel(l->text());
    if (const auto *g = qobject_cast<const QGroupBox *>(w->parentWidget())) {
        const QString titel = ohneKuerzel(g->title());
        if (hatBuchstaben(titel))
            return titel;
    }
    return QString();
}

} // namespace

QString ohneKuerzel(const QString &beschriftung)
{
    QString text = beschriftung.section(QLatin1Char('\t'), 0, 0);
    QString ohne;
    ohne.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&')) {
                ohne += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        ohne += text.at(i);
    }
    return ohne.simplified();
}

QString kurzname(const QString &hinweis)
{
    QString text = hinweis.simplified();
    // The first phrase: up to the first "!" or ":" that is followed by more.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('!') || c == QLatin1Char(':') || c == QLatin1Char('[')) {
            const QString vorne = text.left(i).trimmed();
            if (hatBuchstaben(vorne))
                return vorne;
        }
    }
    while (!text.isEmpty() && (text.endsWith(QLatin1Char('!')) || text.endsWith(QLatin1Char('.'))))
        text.chop(1);
    return text.trimmed();
}

QString beschriftung(const QWidget *w)
{
    QString text;
    if (const auto *b = qobject_cast<const QAbstractButton *>(w))
        text = b->text();
    else if (const auto *g = qobject_cast<const QGroupBox *>(w))
        text = g->title();
    else if (const auto *l = qobject_cast<const QLabel *>(w))
        text = l->text();
    text = ohneKuerzel(text);
    return hatBuchstaben(text) ? text : QString();
}

void benenne(QWidget *w, const QString &hinweis)
{
    if (!w)
        return;
    if (w->accessibleName().isEmpty()) {
        QString name = beschriftung(w);
        if (name.isEmpty())
            name = buddyText(w);
        if (name.isEmpty())
            name = kurzname(hinweis);
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
    if (w->accessibleDescription().isEmpty() && !hinweis.trimmed().isEmpty())
        w->setAccessibleDescription(hinweis.simplified());
}

void benenne(QWidget *w, const QString &name, const QString &beschreibung)
{
    if (!w)
        return;
    if (w->accessibleName().isEmpty())
        w->setAccessibleName(name);
    if (w->accessibleDescription().isEmpty())
        w->setAccessibleDescription(beschreibung);
}

void benenneFenster(QWidget *fenster)
{
    const QList<QWidget *> alle = fenster->findChildren<QWidget *>();
    for (QWidget *w : alle) {
        if (w->window() != fenster || w->focusPolicy() == Qt::NoFocus ||
            !w->accessibleName().isEmpty())
            continue;
        QString name = beschriftung(w);
        if (name.isEmpty())
            name = buddyText(w);
        if (name.isEmpty())
            name = kurzname(w->toolTip());
        if (name.isEmpty())
            if (const auto *e = qobject_cast<const QLineEdit *>(w))
                name = kurzname(e->placeholderText());
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
}

} // namespace varnek::zugaenglichkeit
