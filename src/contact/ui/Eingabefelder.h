#pragma once

#include <QComboBox>

#include <functional>

namespace varnek
{

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
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace varnek
