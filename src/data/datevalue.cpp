#include "data/datevalue.h"

namespace vantrel::detail {

QString FormatWith(const QString& format, const QDate& date, const QTime& time)
{
    QString out;
    out.reserve(format.size() + 8);
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        const QChar conversion = format[++i];
        switch (conversion.unicode()) {
        case u'Y':
            out += QString::asprintf("%04d", date.year());
            break;
        case u'y':
            out += QString::asprintf("%02d", date.year() % 100);
            break;
        case u'm':
            out += QString::asprintf("%02d", date.month());
            break;
        case u'd':
            out += QString::asprintf("%02d", date.day());
            break;
        case u'j':
            out += QString::asprintf("%03d", date.dayOfYear());
            break;
        case u'H':
            out += QString::asprintf("%02d", time.hour());
            break;
        case u'I':
            out += QString::asprintf("%02d", time.hour() % 12 == 0 ? 12 : time.hour() % 12);
            break;
        case u'M':
            out += QString::asprintf("%02d", time.minute());
            break;
        case u'S':
            out += QString::asprintf("%02d", time.second());
            break;
        case u'p':
            out += time.hour() < 12 ? QStringLiteral("AM") : QStringLiteral("PM");
            break;
        case u'%':
            out += u'%';
            break;
        default:
            out += u'%';
            out += conversion;
            break;
        }
    }
    return out;
}

double DayNumber(const QDate& date, const QTime& time)
{
    static const QDate epoch(1899, 12, 30);
    return static_cast<double>(epoch.daysTo(date)) + time.msecsSinceStartOfDay() / 86400000.0;
}

} // namespace vantrel::detail
