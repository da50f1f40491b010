#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

// The moment a window takes as "now" when it opens at the present or decides what is due. The
// application context holds the program's one (the system clock); a test gives its own source
// so that nothing depends on the time of day. Copies read the same source.
class CClock
{
public:
    using Source = std::function<QDateTime()>;

    // The system clock.
    CClock() = default;
    explicit CClock(Source source) : m_source(std::move(source)) {}

    QDateTime Now() const;
    QDate Today() const { return Now().date(); }

private:
    Source m_source;
};
