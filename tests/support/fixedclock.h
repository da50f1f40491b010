#pragma once

#include "data/clock.h"

// While it exists, the program's clock shows the moment set here (SetClock in data/clock.h);
// afterwards the system clock again.
class FixedClock
{
public:
    explicit FixedClock(const QDateTime& now) : m_now(now)
    {
        SetClock([this] { return m_now; });
    }
    ~FixedClock() { SetClock({}); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void Set(const QDateTime& now) { m_now = now; }
    const QDateTime& Now() const { return m_now; }

private:
    QDateTime m_now;
};
