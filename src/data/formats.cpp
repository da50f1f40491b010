#include "data/formats.h"

#include <charconv>

QString FormatDate(const QDate& date)
{
    return QString::number(date.year()) + u'-' + QString::number(date.month()) + u'-' +
           QString::number(date.day());
}

QString FormatDateTime(const QDateTime& dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    return QString::asprintf("%d-%d-%d  %d:%d:%d", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

namespace {

// "%.02lf" as C's printf writes it in any locale; std::to_chars is defined to give the same
// digits, without printf's parsing of the format on every call (lists format 100,000s).
QString FixedTwo(double value, const char* suffix = "")
{
    char text[400]; // the longest double has 309 digits before the point
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    if (error != std::errc())
        return QString::asprintf("%.02lf%s", value, suffix);
    return QString::fromLatin1(text, end - text) + QLatin1StringView(suffix);
}

} // namespace

QString FormatAmount(double amount)
{
    return FixedTwo(amount);
}

QString FormatPercent(double percent)
{
    return FixedTwo(percent, "%");
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
