#pragma once

// Inside the access layer only: the date conversions of typed reads.

#include <QDate>
#include <QString>
#include <QTime>

namespace vantrel::detail {

// strftime-style: %Y %y %m %d %H %I %M %S %p %j %%; other characters stay as they are.
QString FormatWith(const QString& format, const QDate& date, const QTime& time);
// Days since 1899-12-30 with the time as the fraction of a day.
double DayNumber(const QDate& date, const QTime& time);

} // namespace vantrel::detail
