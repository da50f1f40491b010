#include "data/sqltext.h"

using namespace Qt::StringLiterals;

QString SqlIdentifier(const QString& name)
{
    QString quoted = name;
    return u'"' + quoted.replace(u'"', u"\"\""_s) + u'"';
}

QString SqlText(const QString& value)
{
    QString quoted = value;
    return quoted.replace(u'\'', u"''"_s);
}

QString SqlDayStart(int year, int month, int day)
{
    return QString::asprintf("#%d-%d-%d 0:0:0#", year, month, day);
}

QString SqlDayEnd(int year, int month, int day)
{
    return QString::asprintf("#%d-%d-%d 23:59:59#", year, month, day);
}

QString SqlMonthStart(int year, int month)
{
    return QString::asprintf("#%d-%d-1#", year, month);
}

QString SqlDateTime(const QDateTime& moment)
{
    const QDate date = moment.date();
    const QTime time = moment.time();
    return QString::asprintf("#%d-%d-%d %d:%d:%d#", date.year(), date.month(), date.day(),
                             time.hour(), time.minute(), time.second());
}

bool HasQuoteOrBracket(const QString& text)
{
    for (QChar c : text)
        if (c == u'\'' || c == u'"' || c == u'[' || c == u']')
            return true;
    return false;
}
