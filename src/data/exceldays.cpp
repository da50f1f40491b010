#include "data/exceldays.h"

double ExcelDayNumber(const QDate& date)
{
    // The days before the one that never was count from one day later.
    const qint64 days = QDate(1899, 12, 30).daysTo(date);
    return double(date < QDate(1900, 3, 1) ? days - 1 : days);
}

QDateTime ExcelSerialDateTime(double serial, bool from1904)
{
    if (!(serial >= 0) || serial > 2958465.0) // beyond 9999-12-31
        return {};
    qint64 days = qint64(serial);
    qint64 seconds = qRound64((serial - double(days)) * 86400.0);
    if (seconds >= 86400) {
        ++days;
        seconds -= 86400;
    }
    QDate base = from1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    // Day 60 is the 29 February 1900 Excel believes in; the days before it count from one day
    // later.
    if (!from1904 && days < 60)
        base = QDate(1899, 12, 31);
    return QDateTime(base.addDays(days), QTime(0, 0).addSecs(int(seconds)));
}
