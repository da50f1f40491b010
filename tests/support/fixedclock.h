#pragma once

#include "kit/appcontext.h"
#include "kit/clock.h"

#include <QDateTime>

#include <memory>

// While it exists, the context's clock shows the moment set here; afterwards the system clock
// again. Clock() reads the same moment, for what is made without the context; its copies stay
// readable after this ends.
class FixedClock
{
public:
    FixedClock(CAppContext& app, const QDateTime& now)
        : m_app(app), m_now(std::make_shared<QDateTime>(now))
    {
        m_app.SetClock(Clock());
    }
    ~FixedClock() { m_app.SetClock(CClock()); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    void Set(const QDateTime& now) { *m_now = now; }
    QDateTime Now() const { return *m_now; }
    CClock Clock() const
    {
        return CClock([now = m_now] { return *now; });
    }

private:
    CAppContext& m_app;
    std::shared_ptr<QDateTime> m_now;
};
