#include "data/clock.h"

namespace {

std::function<QDateTime()>& Clock()
{
    static std::function<QDateTime()> clock;
    return clock;
}

} // namespace

QDateTime CurrentDateTime()
{
    const std::function<QDateTime()>& clock = Clock();
    return clock ? clock() : QDateTime::currentDateTime();
}

QDate CurrentDate()
{
    return CurrentDateTime().date();
}

void SetClock(std::function<QDateTime()> clock)
{
    Clock() = std::move(clock);
}
