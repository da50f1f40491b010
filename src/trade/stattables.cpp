#include "trade/stattables.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/sqltext.h"
#include "trade/tradetwin.h"

#include <QHash>

using namespace Qt::StringLiterals;

namespace {

constexpr int kLastYear = 9999;

// What a basis reads: the statement's tables, the date column the months are taken from (as
// the condition names it, and as a field of the result) and the amount's field.
struct BasisColumns
{
    QString tables;
    QString condition; // the date column in the WHERE clause
    QString order;     // the same in the ORDER BY clause
    QString dateField;
    QString sumField;
    QString join; // " AND <order>.no = <detail>.paper", or empty
};

BasisColumns Columns(const TradeTwin& trade, StatBasis basis, bool bracketDetailDate)
{
    const QString order = QString::fromUtf16(trade.orderTable);
    if (basis == StatBasis::kSigned)
        return {order, u"[date]"_s, u"date"_s, u"date"_s, u"sum"_s, {}};
    const QString detail = QString::fromUtf16(trade.detailTable);
    const QString date = detail + u".date"_s;
    return {order + u", "_s + detail, bracketDetailDate ? u'[' + date + u']' : date, date, date,
            detail + u".sum"_s,       u" AND %1.no = %2.paper"_s.arg(order, detail)};
}

// "<column> >= <first day> AND <column> < <first day of the month after>".
QString MonthSpan(const QString& column, int fromYear, int fromMonth, int toYear, int toMonth)
{
    const QString start = column + u" >= "_s + SqlMonthStart(fromYear, fromMonth);
    if (toMonth == 12 && toYear >= kLastYear)
        return start + u" AND "_s + column + u" <= "_s + SqlDayEnd(toYear, 12, 31);
    const int endYear = toMonth == 12 ? toYear + 1 : toYear;
    const int endMonth = toMonth == 12 ? 1 : toMonth + 1;
    return start + u" AND "_s + column + u" < "_s + SqlMonthStart(endYear, endMonth);
}

QString Title(const TradeTwin& trade, StatBasis basis)
{
    return QString::fromUtf16(trade.word) +
           (basis == StatBasis::kSigned ? u"签单金额对比表"_s : u"到帐金额对比表"_s);
}

} // namespace

std::vector<CStatEntry> MonthEntries(int fromYear, int fromMonth, int toYear, int toMonth)
{
    std::vector<CStatEntry> entries;
    const int count = (toYear - fromYear) * 12 + (toMonth - fromMonth) + 1;
    if (count <= 0)
        return entries;
    entries.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        CStatEntry entry;
        entry.m_nYear = fromYear + (fromMonth + i - 1) / 12;
        entry.m_nMonth = (fromMonth + i - 1) % 12 + 1;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<CStatEntry> ClientEntries(const QStringList& clients)
{
    std::vector<CStatEntry> entries(size_t(clients.size()));
    for (qsizetype i = 0; i < clients.size(); ++i)
        entries[size_t(i)].m_strClient = clients.at(i);
    return entries;
}

QString ClientMonthsTitle(const TradeTwin& trade, StatBasis basis, const QString& client)
{
    return client + u" 各月"_s + Title(trade, basis);
}

QString MonthClientsTitle(const TradeTwin& trade, StatBasis basis, int year, int month)
{
    return u"%1年%2月 各个客户"_s.arg(year).arg(month) + Title(trade, basis);
}

QString ClientMonthsStatement(const TradeTwin& trade, StatBasis basis, int fromYear, int fromMonth,
                              int toYear, int toMonth, const QString& client)
{
    const BasisColumns columns = Columns(trade, basis, false);
    const QString clientColumn = basis == StatBasis::kSigned ? u"[client]"_s : u"client"_s;
    // One client's few orders first, then their payments: left to itself the database may walk
    // every payment of the span and look each order up. CROSS JOIN asks for the tables in this
    // order and means the same as the comma.
    QString tables = columns.tables;
    if (basis == StatBasis::kPaid)
        tables.replace(u", "_s, u" CROSS JOIN "_s);
    return u"SELECT * FROM "_s + tables + u" WHERE "_s +
           MonthSpan(columns.condition, fromYear, fromMonth, toYear, toMonth) + u" AND "_s +
           clientColumn + u" = '"_s + SqlText(client) + u'\'' + columns.join + u" ORDER BY "_s +
           columns.order;
}

QString MonthClientsStatement(const TradeTwin& trade, StatBasis basis, int year, int month)
{
    const BasisColumns columns = Columns(trade, basis, true);
    return u"SELECT * FROM "_s + columns.tables + u" WHERE "_s +
           MonthSpan(columns.condition, year, month, year, month) + columns.join + u" ORDER BY "_s +
           columns.order;
}

void SumClientMonths(CADODatabase* database, const TradeTwin& trade, StatBasis basis,
                     const QString& client, std::vector<CStatEntry>& months)
{
    if (months.empty())
        return;
    const CStatEntry& first = months.front();
    const CStatEntry& last = months.back();
    const BasisColumns columns = Columns(trade, basis, false);
    CADORecordset recordset(database);
    if (!recordset.Open(ClientMonthsStatement(trade, basis, first.m_nYear, first.m_nMonth,
                                              last.m_nYear, last.m_nMonth, client)))
        return;
    const int dateField = recordset.GetFieldIndex(columns.dateField);
    const int sumField = recordset.GetFieldIndex(columns.sumField);
    const qint64 firstMonth = qint64(first.m_nYear) * 12 + first.m_nMonth - 1;
    ForEachRow(recordset, [&] {
        QDate day;
        if (!recordset.GetFieldDay(dateField, day) || day.isNull())
            return;
        // The months run without a gap, so a month's entry is found by counting.
        const qint64 index = qint64(day.year()) * 12 + day.month() - 1 - firstMonth;
        if (index < 0 || index >= qint64(months.size()))
            return;
        double sum = 0.0;
        recordset.GetFieldDouble(sumField, sum);
        months[size_t(index)].m_dSum += sum;
    });
}

void SumMonthClients(CADODatabase* database, const TradeTwin& trade, StatBasis basis, int year,
                     int month, std::vector<CStatEntry>& clients)
{
    // Each name leads to its first entry, so a month's rows are summed in one pass.
    QHash<QString, size_t> entryOf;
    entryOf.reserve(qsizetype(clients.size()));
    for (size_t i = 0; i < clients.size(); ++i)
        if (!entryOf.contains(clients[i].m_strClient))
            entryOf.insert(clients[i].m_strClient, i);
    const BasisColumns columns = Columns(trade, basis, true);
    CADORecordset recordset(database);
    if (!recordset.Open(MonthClientsStatement(trade, basis, year, month)))
        return;
    const int clientField = recordset.GetFieldIndex(u"client"_s);
    const int sumField = recordset.GetFieldIndex(columns.sumField);
    QString client;
    ForEachRow(recordset, [&] {
        recordset.GetFieldText(clientField, client);
        const auto it = entryOf.constFind(client);
        if (it == entryOf.cend())
            return;
        double sum = 0.0;
        recordset.GetFieldDouble(sumField, sum);
        clients[*it].m_dSum += sum;
    });
}

QString MonthLabel(const CStatEntry& entry)
{
    return u"%1年%2月"_s.arg(entry.m_nYear).arg(entry.m_nMonth);
}
