#include "data/formats.h"

#include <charconv>

using namespace Qt::StringLiterals;

QString FormatDate(const QDate& date)
{
    return QString::number(date.year()) + u'-' + QString::number(date.month()) + u'-' +
           QString::number(date.day());
}

QString FormatDateTime(const QDateTime& dateTime)
{
    const QDate date = dateTime.date();
    const QTime time = dateTime.time();
    // Lists format this once a row: digits written straight, without a format string. Six
    // numbers of at most 11 characters and their separators fit.
    char text[96];
    char* const last = text + sizeof text;
    char* end = text;
    auto put = [&end, last](int number, const char* after) {
        end = std::to_chars(end, last, number).ptr;
        for (; *after && end != last; ++after)
            *end++ = *after;
    };
    put(date.year(), "-");
    put(date.month(), "-");
    put(date.day(), "  ");
    put(time.hour(), ":");
    put(time.minute(), ":");
    put(time.second(), "");
    return QString::fromLatin1(text, end - text);
}

QString WeekdayName(const QDate& date)
{
    // Qt counts Monday as 1 and Sunday as 7.
    static constexpr const char16_t* kNames[] = {u"星期一", u"星期二", u"星期三", u"星期四",
                                                 u"星期五", u"星期六", u"星期日"};
    const int weekday = date.dayOfWeek();
    return weekday >= 1 && weekday <= 7 ? QString::fromUtf16(kNames[weekday - 1]) : QString();
}

QString FormatDayWithWeekday(const QDate& date)
{
    return FormatDate(date) + u"  "_s + WeekdayName(date);
}

namespace {

// "%.02lf" as C's printf writes it in any locale; std::to_chars is defined to give the same
// digits, without printf's parsing of the format on every call (lists format 100,000s).
QString FixedTwo(double value, char suffix = 0)
{
    char text[400]; // the longest double has 309 digits before the point
    auto [end, error] =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, 2);
    if (error != std::errc()) { // cannot happen: any double fits
        end = text;
    }
    if (suffix)
        *end++ = suffix;
    return QString::fromLatin1(text, end - text);
}

} // namespace

QString FormatAmount(double amount)
{
    return FixedTwo(amount);
}

QString FormatPercent(double percent)
{
    return FixedTwo(percent, '%');
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
    // std::from_chars never looks at the locale; it takes neither blanks nor a '+' sign. The
    // text is copied to a buffer on the stack: totals rows parse whole columns of 100,000s.
    qsizetype at = 0;
    while (at < text.size() && text.at(at).isSpace())
        ++at;
    if (at < text.size() && text.at(at) == u'+')
        ++at;
    char buffer[400]; // more than the longest "%.02lf" of a double
    size_t length = 0;
    for (; at < text.size() && length < sizeof buffer; ++at) {
        const char16_t c = text.at(at).unicode();
        if (c >= 0x80)
            break;
        buffer[length++] = char(c);
    }
    double value = 0.0;
    if (std::from_chars(buffer, buffer + length, value).ec != std::errc())
        return 0.0;
    return value;
}
