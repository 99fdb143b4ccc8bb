#pragma once

#include <QObject>
#include <QTimer>

namespace varnek
{

// A window timer with a period and an on switch, set independently. It
// fires every period while it is on; without a period (0) it never fires,
// even when on. Giving it a new period, or switching it on from off,
// starts the count afresh.
class Zeitgeber : public QObject
{
    Q_OBJECT
  public:
    explicit Zeitgeber(QObject *parent = nullptr);

    void setInterval(int ms);
    int interval() const { return interval_; }
    void setEnabled(bool on);
    bool isEnabled() const { return enabled_; }
    // On and with a period: it will fire.
    bool laeuft() const { return timer_.isActive(); }

  Q_SIGNALS:
    void tick();

  private:
    void neuStarten();

    QTimer timer_;
    int interval_ = 0;
    bool enabled_ = false;
};

} // namespace varnek
