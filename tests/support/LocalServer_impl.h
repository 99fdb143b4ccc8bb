#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

namespace varnek::test
{

template <typename Pred> bool waitUntil(Pred pred, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!pred()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

} // namespace varnek::test
