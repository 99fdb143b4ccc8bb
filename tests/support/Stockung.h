#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

namespace varnek::test
{

// Measures how long the event loop stalls: a 5 ms timer runs while the
// object lives, and laengste() is the longest gap between two of its ticks.
class Stockung
{
  public:
    Stockung()
    {
        uhr_.start();
        QObject::connect(&takt_, &QTimer::timeout, &takt_, [this] {
            laengste_ = std::max(laengste_, uhr_.elapsed() - zuletzt_);
            zuletzt_ = uhr_.elapsed();
        });
        takt_.start(5);
    }
    // Starts measuring anew from now.
    void neu()
    {
        zuletzt_ = uhr_.elapsed();
        laengste_ = 0;
    }
    void halt() { takt_.stop(); }
    qint64 laengste() const { return laengste_; }

  private:
    QElapsedTimer uhr_;
    QTimer takt_;
    qint64 laengste_ = 0;
    qint64 zuletzt_ = 0;
};

} // namespace varnek::test
