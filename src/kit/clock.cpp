#include "kit/clock.h"

QDateTime CClock::Now() const
{
    return m_source ? m_source() : QDateTime::currentDateTime();
}
