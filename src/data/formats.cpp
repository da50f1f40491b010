#include "data/formats.h"

#include <charconv>

QString FormatDate(const QDate& date)
{
    return QString::asprintf("%d-%d-%d", date.year(), date.month(), date.day());
}

QString FormatDateTime(const QDateTime& dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return QString::asprintf("%d-%d-%d  %d:%d:%d", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

QString FormatAmount(double amount)
{
    return QString::asprintf("%.02lf", amount);
}

QString FormatPercent(double percent)
{
    return QString::asprintf("%.02lf%%", percent);
}

double PaidPercent(double paid, double amount)
{
    return amount > 0.001 ? paid / amount * 100.0 : 0.0;
}

QString FormatNumber(int number)
{
    return QString::number(number);
}

double ParseAmount(const QString& text)
{
    // std::from_chars never looks at the locale; it takes neither blanks nor a '+' sign.
    const QByteArray bytes = text.trimmed().toLatin1();
    const char* begin = bytes.constData();
    const char* end = begin + bytes.size();
    if (begin != end && *begin == '+')
        ++begin;
    double value = 0.0;
    if (std::from_chars(begin, end, value).ec != std::errc())
        return 0.0;
    return value;
}
