#include "data/storedinitials.h"

#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "data/jetsql.h"
#include "data/pinyin.h"
#include "data/schema.h"
#include "data/sqldialect.h"
#include "data/sqltext.h"

#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using vantrel::db::Connection;
using vantrel::db::StepResult;

// The rows of `table` whose `column` holds a name without initials beside it.
bool FindUnfilled(Connection& connection, const QString& table, const QString& column,
                  std::vector<std::pair<qint64, QString>>& rows)
{
    const QString sql = u"SELECT %1, %2 FROM %3 WHERE %2 IS NOT NULL AND %4 IS NULL"_s.arg(
        connection.SqlDialect().RowIdentity(), SqlIdentifier(column), SqlIdentifier(table),
        SqlIdentifier(column + QLatin1StringView(jetsql::kInitialsSuffix)));
    vantrel::db::Statement* select = connection.Prepared(sql);
    if (!select)
        return false;
    StepResult step;
    while ((step = select->Step()) == StepResult::Row)
        rows.emplace_back(select->Integer(0), QString::fromUtf8(select->Text(1)));
    select->Reset();
    return step == StepResult::Done;
}

bool FillTable(Connection& connection, const schema::Table& table)
{
    for (const char* searched : table.initials) {
        const QString column = QString::fromUtf8(searched);
        std::vector<std::pair<qint64, QString>> rows;
        if (!FindUnfilled(connection, QString::fromUtf8(table.name), column, rows))
            return false;
        if (rows.empty())
            continue;
        vantrel::db::Statement* update =
            connection.Prepared(u"UPDATE %1 SET %2 = ? WHERE %3 = ?"_s.arg(
                SqlIdentifier(QString::fromUtf8(table.name)),
                SqlIdentifier(column + QLatin1StringView(jetsql::kInitialsSuffix)),
                connection.SqlDialect().RowIdentity()));
        if (!update)
            return false;
        for (const auto& [row, name] : rows) {
            const bool written = update->BindText(1, PinyinInitials(name).toUtf8()) &&
                                 update->BindInteger(2, row) && update->Step() == StepResult::Done;
            update->Reset();
            if (!written)
                return false;
        }
    }
    return true;
}

} // namespace

bool FillStoredInitials(Connection& connection, QString* error)
{
    if (!connection.SqlDialect().StoresInitials())
        return true;
    bool filled = connection.Begin(vantrel::db::Transaction::Write);
    for (const schema::Table& table : schema::DataTables())
        filled = filled && FillTable(connection, table);
    filled = filled && connection.Commit();
    if (!filled) {
        if (error)
            *error = connection.LastError().message;
        connection.Rollback();
    }
    return filled;
}
