#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class CADODatabase;
struct TradeTwin;

// What places an amount in a month (m_nBasis): the order's own date and 金额 ("按签单时间"), or
// the dates and amounts of its payments ("按到帐时间").
enum class StatBasis { kSigned = 0, kPaid = 1 };

// One row of a statistics table: a month of one client's trade, or one client's trade in a
// month.
struct CStatEntry
{
    int m_nYear = 0;
    int m_nMonth = 0;
    double m_dSum = 0.0;
    QString m_strClient;
};

// The calendar months from one month to another, both included, each with sum 0; none when the
// span ends before it starts. Months and years are those of a real calendar (1 to 12).
std::vector<CStatEntry> MonthEntries(int fromYear, int fromMonth, int toYear, int toMonth);
// One entry per client name, in the given order, each with sum 0.
std::vector<CStatEntry> ClientEntries(const QStringList& clients);

// "某客户各月对比": "<client> 各月采购签单金额对比表" and its three siblings.
QString ClientMonthsTitle(const TradeTwin& trade, StatBasis basis, const QString& client);
// "某月各个客户对比": "2009年3月 各个客户销售到帐金额对比表" and its three siblings.
QString MonthClientsTitle(const TradeTwin& trade, StatBasis basis, int year, int month);

// The statements that read the amounts of one client over a span of months, and of every client
// in one month. A span reaching the last month of year 9999 ends at that month's last second,
// as no first day follows it.
QString ClientMonthsStatement(const TradeTwin& trade, StatBasis basis, int fromYear, int fromMonth,
                              int toYear, int toMonth, const QString& client);
QString MonthClientsStatement(const TradeTwin& trade, StatBasis basis, int year, int month);

// Adds the client's amounts to the month entries `months` (made by MonthEntries, so the first
// is the span's first month), each to the entry of its month; a statement that does not run
// adds nothing.
void SumClientMonths(CADODatabase* database, const TradeTwin& trade, StatBasis basis,
                     const QString& client, std::vector<CStatEntry>& months);
// Adds the month's amounts to the client entries, each to the first entry of exactly its
// client's name; the amounts of a client without an entry are left out.
void SumMonthClients(CADODatabase* database, const TradeTwin& trade, StatBasis basis, int year,
                     int month, std::vector<CStatEntry>& clients);

// The first column of a month entry's row: "2009年3月".
QString MonthLabel(const CStatEntry& entry);
