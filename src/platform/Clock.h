#pragma once

#include <QDateTime>

#include <functional>

// The one source of wall-clock time. Tests pin it with setNow().
namespace varnek::clock
{

QDateTime now();
// An empty function restores the system clock.
void setNow(std::function<QDateTime()> source);

} // namespace varnek::clock
