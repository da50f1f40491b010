#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

// The program's "now". Every window that opens at the present moment or decides what is due
// asks here, so that a test can fix the moment (SetClock) and not depend on the time of day.
QDateTime CurrentDateTime();
QDate CurrentDate();

// Replaces the clock; an empty function puts the system clock back.
void SetClock(std::function<QDateTime()> clock);
