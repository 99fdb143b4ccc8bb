#include "platform/Clock.h"

namespace varnek::clock
{

namespace
{
std::function<QDateTime()> &source()
{
    static std::function<QDateTime()> s;
    return s;
}
} // namespace

QDateTime now()
{
    return source() ? source()() : QDateTime::currentDateTime();
}

void setNow(std::function<QDateTime()> s)
{
    source() = std::move(s);
}

} // namespace varnek::clock
