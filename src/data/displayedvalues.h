#pragma once

#include <QDate>
#include <QDateTime>
#include <QStringView>

#include <optional>

// Reads back the values the display formats (formats.h) wrote into a list, strictly: a text
// that another format could also have produced (an order number "0012", a telephone number)
// is no value.

// "%.02lf": "-12.50", "3.00".
std::optional<double> DisplayedAmount(QStringView text);
// "%.02lf%": "25.00%"; the percentage itself (25.0).
std::optional<double> DisplayedPercent(QStringView text);
// "2024-3-5": a valid day.
std::optional<QDate> DisplayedDate(QStringView text);
// "2024-3-5  9:7:0": a valid day and time, as read off the clock (in UTC, so no time zone
// shifts it).
std::optional<QDateTime> DisplayedDateTime(QStringView text);
