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
    const qsizetype point = text.indexOf(u'.');
    if (point < 0 || point != text.size() - 3)
        return std::nullopt;
    const qsizetype first = text.startsWith(u'-') ? 1 : 0;
    if (point == first)
        return std::nullopt;
    for (qsizetype i = first; i < text.size(); ++i)
        if (i != point && !(text[i].unicode() >= u'0' && text[i].unicode() <= u'9'))
            return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return value;
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
    return QDateTime(*date, time);
}
