#pragma once

#include <QColor>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace varnek
{

// Focus colours shared by the windows.
namespace farbe
{
inline const QColor gelb{0xFF, 0xFF, 0x80};
inline const QColor rot{0xFF, 0x00, 0x00};
inline const QColor lachs{0xFF, 0x80, 0x80};
inline const QColor weiss{0xFF, 0xFF, 0xFF};
inline const QColor orange{0xFF, 0xC0, 0x80};
inline const QColor pfirsich{0xFF, 0xE0, 0xC0};
inline const QColor blau{0x00, 0xCF, 0xFF};
} // namespace farbe

// One row of a window's hint table: what a control writes into the hint
// line and how it is recoloured when it gets the focus or the mouse, and
// when it loses the focus. Invalid colours and empty texts change nothing.
struct Hinweis {
    const char *control; // objectName; "" is the window background
    QString text;        // hint text, written unchanged (leading blanks kept)
    QColor focus;        // on getting the focus
    QColor mouse;        // on mouse over
    QColor leave;        // on losing the focus
    std::vector<std::pair<const char *, QColor>> also = {}; // others recoloured on focus/mouse
    bool textOnFocus = true; // false: the text is written on mouse over only
    QString mouseText = {};  // written on mouse over instead of text, when not empty
};

// Watches the controls named in a hint table and carries out the table.
class Hinweise : public QObject
{
    Q_OBJECT
  public:
    using Sink = std::function<void(const QString &)>;
    // Installs on the window; rows naming no existing control are skipped.
    static Hinweise *install(QWidget *window, std::vector<Hinweis> table, Sink sink);
    // Stops watching: a window calls this in its destructor, before its
    // controls are destroyed (they lose the focus as they go).
    void loesen();
    // The same for the hint table installed on window, if any.
    static void loesen(QWidget *window);

    static void setBackground(QWidget *w, const QColor &colour);
    static QColor background(const QWidget *w);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    Hinweise(QWidget *window, std::vector<Hinweis> table, Sink sink);
    void apply(const Hinweis &row, bool focus);
    void recolour(const char *name, const QColor &colour);

    QWidget *window_;
    std::vector<Hinweis> table_;
    Sink sink_;
    bool aus_ = false;
};

} // namespace varnek
