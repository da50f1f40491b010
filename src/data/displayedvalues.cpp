#include "data/displayedvalues.h"

#include <QTime>

namespace {

// Reads 1 to `maxDigits` decimal digits at `pos`, moving past them.
std::optional<int> ReadDigits(QStringView text, qsizetype& pos, int maxDigits)
{
    int value = 0;
    int digits = 0;
    while (pos < text.size() && text[pos].isDigit() && text[pos].unicode() < 128) {
        if (++digits > maxDigits)
            return std::nullopt;
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
    }
    if (digits == 0)
        return std::nullopt;
    return value;
}

bool ReadChar(QStringView text, qsizetype& pos, char16_t wanted)
{
    if (pos >= text.size() || text[pos] != wanted)
        return false;
    ++pos;
    return true;
}

std::optional<QDate> ReadDate(QStringView text, qsizetype& pos)
{
    const auto year = ReadDigits(text, pos, 4);
    if (!year || !ReadChar(text, pos, u'-'))
        return std::nullopt;
    const auto month = ReadDigits(text, pos, 2);
    if (!month || !ReadChar(text, pos, u'-'))
        return std::nullopt;
    const auto day = ReadDigits(text, pos, 2);
    if (!day)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace

std::optional<double> DisplayedAmount(QStringView text)
{
    // Digits, a point and exactly two decimals, perhaps a minus sign first.
    const bool negative = text.startsWith(u'-');
    const QStringView digits = negative ? text.mid(1) : text;
    const qsizetype point = digits.size() - 3;
    if (point < 1 || digits[point] != u'.')
        return std::nullopt;
    // Hundredths as a whole number: exact up to 2^53, and one correctly rounded division
    // gives the double nearest the decimal text, as strtod would.
    qint64 hundredths = 0;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i == point)
            continue;
        const char16_t c = digits[i].unicode();
        if (c < u'0' || c > u'9' || hundredths > (qint64(1) << 53) / 10)
            return std::nullopt;
        hundredths = hundredths * 10 + (c - u'0');
    }
    const double value = double(hundredths) / 100.0;
    return negative ? -value : value;
}

std::optional<double> DisplayedPercent(QStringView text)
{
    if (!text.endsWith(u'%'))
        return std::nullopt;
    return DisplayedAmount(text.chopped(1));
}

std::optional<QDate> DisplayedDate(QStringView text)
{
    qsizetype pos = 0;
    const auto date = ReadDate(text, pos);
    if (!date || pos != text.size())
        return std::nullopt;
    return date;
}

std::optional<QDateTime> DisplayedDateTime(QStringView text)
{
    qsizetype pos = 0;
    const auto date = ReadDate(text, pos);
    if (!date || !ReadChar(text, pos, u' ') || !ReadChar(text, pos, u' '))
        return std::nullopt;
    const auto hour = ReadDigits(text, pos, 2);
    if (!hour || !ReadChar(text, pos, u':'))
        return std::nullopt;
    const auto minute = ReadDigits(text, pos, 2);
    if (!minute || !ReadChar(text, pos, u':'))
        return std::nullopt;
    const auto second = ReadDigits(text, pos, 2);
    if (!second || pos != text.size())
        return std::nullopt;
    const QTime time(*hour, *minute, *second);
    if (!time.isValid())
        return std::nullopt;
    // A reading of the wall clock: no time zone to consult.
    return QDateTime(*date, time, Qt::UTC);
}
