#pragma once

#include <QComboBox>
#include <QLineEdit>

#include <functional>

namespace varnek
{

// Text fields of a window whose menu keys act whichever control has the
// focus. A line edit claims Ctrl+A, Ctrl+X, Ctrl+U and the like for itself
// before the window's shortcuts are looked at; these fields leave every
// Ctrl or Alt key to the window first. A key no shortcut of the window takes
// still reaches the field (Ctrl+C copies, Ctrl+V pastes).
namespace eingabe
{
// True when the key is left to the window's shortcuts.
bool fensterZuerst(QEvent *event);
} // namespace eingabe

// The send box `TextS` and other one-line fields.
class Zeile : public QLineEdit
{
    Q_OBJECT
  public:
    explicit Zeile(QWidget *parent = nullptr) : QLineEdit(parent) {}

  protected:
    bool event(QEvent *event) override;
};

// An editable combo box (`Combo2`, `Combo3`). The combo box itself is the
// focus widget and hands the keys on to its line edit, so Enter is caught
// here, where the key arrives: it emits enter() and is swallowed. With the
// drop-down list open, Enter picks the entry as usual.
class Kombi : public QComboBox
{
    Q_OBJECT
  public:
    explicit Kombi(QWidget *parent = nullptr);

    // Runs on every key press that reaches the field.
    std::function<void()> beiTaste;

  Q_SIGNALS:
    void enter();

  protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace varnek
