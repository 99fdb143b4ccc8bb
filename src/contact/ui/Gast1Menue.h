#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>

class QAction;
class QMenu;

namespace varnek
{

class Gast1;
class Programmdienste;

// The menu bar of the contact window with every item, caption and shortcut,
// and the window's hot keys, wired to the window's procedures.
class Gast1Menue : public QObject
{
    Q_OBJECT
  public:
    Gast1Menue(Gast1 &gast, Programmdienste &programm);

    // A menu item by its name (`textabschicken`, `KlingelSignal1`, ...).
    QAction *punkt(const QString &name) const { return aktionen_.value(name); }

  private:
    void baueMenue();
    void baueTasten();
    QAction *aktion(QMenu *menu, const char *name, const QString &text, const QKeySequence &kurz,
                    void (Gast1::*handler)());

    Gast1 &gast_;
    Programmdienste &programm_;
    QHash<QString, QAction *> aktionen_;
};

} // namespace varnek
