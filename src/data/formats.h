#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The display formats of every list and message.
QString FormatDate(const QDate& date);             // "2024-3-5"
QString FormatDateTime(const QDateTime& dateTime); // "2024-3-5  9:7:0"
// The weekday of a day, Sunday first: "星期日" … "星期六".
QString WeekdayName(const QDate& date);
// A diary day as lists show it: the date, two blanks and the weekday, "2009-1-1  星期四".
QString FormatDayWithWeekday(const QDate& date);
QString FormatAmount(double amount);   // "%.02lf"
QString FormatPercent(double percent); // "%.02lf%"
// paid / amount * 100 when the amount is above 0.001, else 0.
double PaidPercent(double paid, double amount);
QString FormatNumber(int number); // the hidden record-number column
// The number a list text begins with, as C's atof reads it but always with a decimal point
// (whatever the user's locale); 0 when the text does not begin with a number.
double ParseAmount(const QString& text);
