#include "platform/Zeitgeber.h"

namespace varnek
{

Zeitgeber::Zeitgeber(QObject *parent) : QObject(parent)
{
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Zeitgeber::tick);
}

void Zeitgeber::setInterval(int ms)
{
    interval_ = ms > 0 ? ms : 0;
    neuStarten();
}

void Zeitgeber::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    neuStarten();
}

void Zeitgeber::neuStarten()
{
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

} // namespace varnek
