#pragma once

#include <QKeySequence>
#include <QObject>
#include <QShortcut>

class QKeyEvent;
class QWidget;

namespace varnek
{

// The hot keys of one window. Each key is a shortcut of the window, so it
// acts whichever control has the focus. A text field claims some keys for
// itself before shortcuts are looked at (Ctrl+A, Ctrl+X, Ctrl+U, Home,
// Delete); for every key one of the window's shortcuts or menu entries
// takes, the window wins. A key none of them takes still reaches the field,
// so Ctrl+C copies and Ctrl+V pastes.
class Fenstertasten : public QObject
{
    Q_OBJECT
  public:
    // The keys of the window `control` is part of; made on first use, one
    // per window.
    static Fenstertasten &von(QWidget &control);

    // A key of the whole window; `f` runs on `ziel` (a member function or a
    // function object) and goes with it.
    template <typename Ziel, typename F> QShortcut *taste(QKeySequence k, Ziel *ziel, F f)
    {
        QShortcut *s = neu(k, Qt::WindowShortcut, &fenster_);
        connect(s, &QShortcut::activated, ziel, f);
        return s;
    }
    // A key that acts while `control` has the focus.
    template <typename Ziel, typename F>
    QShortcut *tasteIn(QWidget *control, QKeySequence k, Ziel *ziel, F f)
    {
        QShortcut *s = neu(k, Qt::WidgetShortcut, control);
        connect(s, &QShortcut::activated, ziel, f);
        return s;
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    explicit Fenstertasten(QWidget &fenster);
    QShortcut *neu(const QKeySequence &k, Qt::ShortcutContext kontext, QWidget *eltern);
    bool gehoertDemFenster(const QKeyEvent *event) const;

    QWidget &fenster_;
};

} // namespace varnek
