#pragma once

#include <QDate>
#include <QDateTime>

// Excel's day numbers: days since 1899-12-30, with the 29 February 1900 Excel believes in
// (day 60), or since 1904-01-01 in workbooks that count from there; the fraction is the time
// of day. Both directions, for the workbooks the program writes and those it reads.

// The number of a day of 1900 to 9999 in the 1900 system.
double ExcelDayNumber(const QDate& date);
// The day and time of a number; invalid below 0 and beyond 9999-12-31.
QDateTime ExcelSerialDateTime(double serial, bool from1904 = false);
