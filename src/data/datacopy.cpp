#include "data/datacopy.h"

#include "data/dbcatalogue.h"
#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "data/jetsql.h"
#include "data/pinyin.h"
#include "data/schema.h"
#include "data/sqldialect.h"
#include "data/sqltext.h"

#include <QByteArray>
#include <QStringList>

#include <algorithm>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace vantrel::db {
namespace {

// Rows read from the source and written to the target at a time: one statement each way, so
// that a server is asked once for many rows, and the values of a large table never all sit in
// memory.
constexpr int kBatchRows = 200;

const QString kCounterTable = u"snnumber"_s;

QString Name(const char* name)
{
    return QString::fromUtf8(name);
}

// A value as the source holds it, kept until the target has it.
struct Value
{
    ValueType type = ValueType::Null;
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes;
};

using Row = std::vector<Value>;

// The work of one copy, which fails at its first failure with the reason in `error`.
class Copy
{
public:
    Copy(Connection& source, Connection& target) : m_source(source), m_target(target) {}

    bool PrepareTarget(CopyInto into);
    std::optional<qint64> CopyTable(const schema::Table& table);
    bool StartCounters();
    std::optional<qint64> Count(Connection& connection, const QString& table);

    QString error;

private:
    bool Failed(const QString& what, const Connection& connection);
    bool Run(Connection& connection, const QString& sql);
    bool ReadBatch(Statement& select, qint64& after, std::vector<Row>& rows, const QString& table);
    bool WriteBatch(const QString& table, const QStringList& columns,
                    const std::vector<int>& initialsOf, const std::vector<Row>& rows);

    Connection& m_source;
    Connection& m_target;
    bool m_keepsUsers = false; // the source has no users: the target keeps its own
};

bool Copy::Failed(const QString& what, const Connection& connection)
{
    error = what;
    const QString reason = connection.LastError().message;
    if (!reason.isEmpty())
        error += u"\n"_s + reason;
    return false;
}

bool Copy::Run(Connection& connection, const QString& sql)
{
    Statement* statement = connection.Prepared(sql);
    StepResult step = StepResult::Failed;
    if (statement) {
        while ((step = statement->Step()) == StepResult::Row) {
        }
        statement->Reset();
    }
    return step == StepResult::Done;
}

std::optional<qint64> Copy::Count(Connection& connection, const QString& table)
{
    Statement* count = connection.Prepared(u"SELECT count(*) FROM %1"_s.arg(SqlIdentifier(table)));
    if (!count)
        return std::nullopt;
    std::optional<qint64> rows;
    if (count->Step() == StepResult::Row)
        rows = count->Integer(0);
    count->Reset();
    return rows;
}

// Makes the target's tables and empties them as the copy calls for.
bool Copy::PrepareTarget(CopyInto into)
{
    QString why;
    const schema::Table users[] = {schema::PowerTable()};
    if (!AddMissingTables(m_target, schema::DataTables(), &why) ||
        !AddMissingTables(m_target, users, &why)) {
        error = u"无法在目标数据库中建立数据表：\n"_s + why;
        return false;
    }
    if (into == CopyInto::Empty) {
        // The counters and the administrator of a database just set up are no data; any
        // record is, and two sets of records are never merged.
        QStringList held;
        for (const schema::Table& table : schema::DataTables()) {
            const QString name = Name(table.name);
            if (name == kCounterTable)
                continue;
            const std::optional<qint64> rows = Count(m_target, name);
            if (!rows)
                return Failed(u"无法读取目标数据库的数据表 %1。"_s.arg(name), m_target);
            if (*rows > 0)
                held << u"%1 %2 条"_s.arg(schema::TableTitle(name)).arg(*rows);
        }
        if (!held.isEmpty()) {
            error = u"目标数据库中已有数据（%1），数据不会合并，请换用一个空的数据库！"_s.arg(
                held.join(u"、"_s));
            return false;
        }
    }
    // The target's users give way to the source's, but a source without any (a file nobody
    // has signed in to yet) leaves them: a users table left empty would get the administrator
    // with the known first password at the next sign-in.
    const QString power = Name(schema::PowerTable().name);
    std::vector<QString> emptied{kCounterTable};
    m_keepsUsers = true;
    if (m_source.Schema().HasTable(power)) {
        const std::optional<qint64> users = Count(m_source, power);
        if (!users)
            return Failed(u"无法读取数据表 %1。"_s.arg(power), m_source);
        m_keepsUsers = *users == 0;
    }
    if (!m_keepsUsers)
        emptied.push_back(power);
    if (into == CopyInto::Replacing)
        for (const schema::Table& table : schema::DataTables())
            emptied.push_back(Name(table.name));
    for (const QString& table : emptied)
        if (!Run(m_target, u"DELETE FROM %1"_s.arg(SqlIdentifier(table))))
            return Failed(u"无法清空目标数据库的数据表 %1。"_s.arg(table), m_target);
    return true;
}

// Reads the rows after row identity `after`, in the order of their identities, moving
// `after` on to the last one read.
bool Copy::ReadBatch(Statement& select, qint64& after, std::vector<Row>& rows, const QString& table)
{
    rows.clear();
    StepResult step = StepResult::Failed;
    if (select.BindInteger(1, after)) {
        while ((step = select.Step()) == StepResult::Row) {
            after = select.Integer(0);
            Row& row = rows.emplace_back(static_cast<std::size_t>(select.ColumnCount() - 1));
            for (int c = 1; c < select.ColumnCount(); ++c) {
                Value& value = row[static_cast<std::size_t>(c - 1)];
                value.type = select.Type(c);
                switch (value.type) {
                case ValueType::Null:
                    break;
                case ValueType::Integer:
                    value.integer = select.Integer(c);
                    break;
                case ValueType::Real:
                    value.real = select.Real(c);
                    break;
                case ValueType::Text:
                    value.bytes = select.Text(c).toByteArray();
                    break;
                case ValueType::Blob:
                    // The schema keeps no bytes (pictures are files, their rows hold paths):
                    // bytes in a column are not the program's and would not survive a text.
                    error = u"数据表 %1 的字段 %2 中有二进制数据，无法复制！"_s.arg(
                        table, select.ColumnName(c));
                    select.Reset();
                    return false;
                }
            }
        }
    }
    select.Reset();
    return step == StepResult::Done || Failed(u"无法读取数据表 %1。"_s.arg(table), m_source);
}

// Writes the rows with one statement. `initialsOf` holds, for each stored-initials column
// after `columns`, the place of the name it is made from.
bool Copy::WriteBatch(const QString& table, const QStringList& columns,
                      const std::vector<int>& initialsOf, const std::vector<Row>& rows)
{
    const qsizetype width = columns.size() + static_cast<qsizetype>(initialsOf.size());
    QStringList marks(width, u"?"_s);
    const QString one = u"("_s + marks.join(u", "_s) + u")"_s;
    QStringList names;
    for (const QString& column : columns)
        names << SqlIdentifier(column);
    for (int place : initialsOf)
        names << SqlIdentifier(columns[place] + QLatin1StringView(jetsql::kInitialsSuffix));
    const QString sql = u"INSERT INTO %1 (%2) VALUES %3"_s.arg(
        SqlIdentifier(table), names.join(u", "_s),
        QStringList(static_cast<qsizetype>(rows.size()), one).join(u", "_s));
    Statement* insert = m_target.Prepared(sql);
    if (!insert)
        return Failed(u"无法写入数据表 %1。"_s.arg(table), m_target);
    int parameter = 0;
    bool bound = true;
    for (const Row& row : rows) {
        for (const Value& value : row) {
            switch (value.type) {
            case ValueType::Integer:
                bound = bound && insert->BindInteger(++parameter, value.integer);
                break;
            case ValueType::Real:
                bound = bound && insert->BindReal(++parameter, value.real);
                break;
            case ValueType::Text:
                bound = bound && insert->BindText(++parameter, value.bytes);
                break;
            case ValueType::Null:
            case ValueType::Blob:
                bound = bound && insert->BindNull(++parameter);
                break;
            }
        }
        for (int place : initialsOf) {
            const Value& name = row[static_cast<std::size_t>(place)];
            if (name.type == ValueType::Null) {
                bound = bound && insert->BindNull(++parameter);
                continue;
            }
            const QString text = name.type == ValueType::Text      ? QString::fromUtf8(name.bytes)
                                 : name.type == ValueType::Integer ? QString::number(name.integer)
                                                                   : QString::number(name.real);
            bound = bound && insert->BindText(++parameter, PinyinInitials(text).toUtf8());
        }
    }
    const bool written = bound && insert->Step() == StepResult::Done;
    insert->Reset();
    return written || Failed(u"无法写入数据表 %1。"_s.arg(table), m_target);
}

// The table's rows, counted on both sides after the copy; none when it failed.
std::optional<qint64> Copy::CopyTable(const schema::Table& table)
{
    const QString name = Name(table.name);
    if (m_keepsUsers && name == Name(schema::PowerTable().name))
        return Count(m_target, name);
    const std::vector<ColumnSpec> held = m_source.Schema().Columns(name);
    // The schema's columns that the source has (a file of an earlier layout may lack some;
    // what the backend adds of its own, such as stored initials, is made anew).
    QStringList columns;
    for (const schema::Column& column : table.columns)
        if (std::ranges::any_of(held, [&](const ColumnSpec& spec) {
                return spec.name.compare(Name(column.name), Qt::CaseInsensitive) == 0;
            }))
            columns << Name(column.name);
    std::vector<int> initialsOf;
    if (m_target.SqlDialect().StoresInitials())
        for (const char* searched : table.initials)
            if (const qsizetype place = columns.indexOf(Name(searched)); place >= 0)
                initialsOf.push_back(static_cast<int>(place));

    qint64 copied = 0;
    if (!columns.isEmpty()) {
        QStringList selected{m_source.SqlDialect().RowIdentity()};
        for (const QString& column : std::as_const(columns))
            selected << SqlIdentifier(column);
        const QString rowIdentity = m_source.SqlDialect().RowIdentity();
        Statement* select =
            m_source.Prepared(u"SELECT %1 FROM %2 WHERE %3 > ? ORDER BY %3 LIMIT %4"_s
                                  .arg(selected.join(u", "_s), SqlIdentifier(name), rowIdentity)
                                  .arg(kBatchRows));
        if (!select) {
            Failed(u"无法读取数据表 %1。"_s.arg(name), m_source);
            return std::nullopt;
        }
        qint64 after = std::numeric_limits<qint64>::min();
        std::vector<Row> rows;
        do {
            if (!ReadBatch(*select, after, rows, name))
                return std::nullopt;
            if (!rows.empty() && !WriteBatch(name, columns, initialsOf, rows))
                return std::nullopt;
            copied += static_cast<qint64>(rows.size());
        } while (rows.size() == kBatchRows);
    }

    const std::optional<qint64> had = columns.isEmpty() ? 0 : Count(m_source, name);
    const std::optional<qint64> has = Count(m_target, name);
    if (!had || !has) {
        Failed(u"无法清点数据表 %1 的记录。"_s.arg(name), !had ? m_source : m_target);
        return std::nullopt;
    }
    if (*had != copied || *has != copied) {
        error = u"数据表 %1 复制后记录数不符：原有 %2 条，读出 %3 条，写入后 %4 条。"_s.arg(name)
                    .arg(*had)
                    .arg(copied)
                    .arg(*has);
        return std::nullopt;
    }
    return copied;
}

// The counters row as the source had it; where it had none, or lacked a counter, the counter
// starts after the highest number its table holds, so it never hands out a number in use.
bool Copy::StartCounters()
{
    QString why;
    if (!AddMissingTables(m_target, {}, &why)) {
        error = u"无法建立编号计数器：\n"_s + why;
        return false;
    }
    for (const schema::Table& table : schema::DataTables()) {
        if (Name(table.name) != kCounterTable)
            continue;
        for (const schema::Column& counter : table.columns) {
            const QString column = SqlIdentifier(Name(counter.name));
            if (!Run(m_target,
                     u"UPDATE snnumber SET %1 = (SELECT coalesce(max(\"no\"), 0) + 1 FROM %1) "
                     "WHERE %1 IS NULL"_s.arg(column)))
                return Failed(u"无法设置编号计数器 %1。"_s.arg(Name(counter.name)), m_target);
        }
    }
    return true;
}

} // namespace

CopyReport CopyData(Connection& source, Connection& target, CopyInto into, const TableProbe& probe)
{
    CopyReport report;
    Copy copy(source, target);
    if (!source.Begin(Transaction::Snapshot)) {
        report.error = u"无法读取要复制的数据：\n"_s + source.LastError().message;
        return report;
    }
    if (!target.Begin(Transaction::Write)) {
        report.error = u"无法写入目标数据库：\n"_s + target.LastError().message;
        source.Rollback();
        return report;
    }
    std::vector<const schema::Table*> tables;
    for (const schema::Table& table : schema::DataTables())
        tables.push_back(&table);
    tables.push_back(&schema::PowerTable());

    bool ok = copy.PrepareTarget(into);
    for (const schema::Table* table : tables) {
        if (!ok)
            break;
        if (probe && !probe(Name(table->name))) {
            copy.error = u"复制已中止。"_s;
            ok = false;
            break;
        }
        const std::optional<qint64> rows = copy.CopyTable(*table);
        ok = rows.has_value();
        if (ok)
            report.tables.push_back({Name(table->name), *rows});
    }
    ok = ok && copy.StartCounters();
    if (ok && !target.Commit()) {
        copy.error = u"无法提交复制的数据：\n"_s + target.LastError().message;
        ok = false;
    }
    source.Rollback();
    if (!ok) {
        target.Rollback();
        target.Schema().SchemaChanged();
        report.tables.clear();
        report.error = copy.error;
        return report;
    }
    target.Schema().SchemaChanged();
    report.copied = true;
    return report;
}

QString CopiedText(const CopyReport& report)
{
    QStringList lines;
    for (const CopiedTable& table : report.tables) {
        if (table.rows == 0)
            continue;
        const QString title = table.table == Name(schema::PowerTable().name)
                                  ? u"用户"_s
                                  : schema::TableTitle(table.table);
        lines << u"%1：%2 条"_s.arg(title).arg(table.rows);
    }
    return lines.join(u'\n');
}

} // namespace vantrel::db
