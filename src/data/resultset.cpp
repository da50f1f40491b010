#include "data/resultset.h"

#include <sqlite3.h>

#include <bit>
#include <set>

namespace vantrel::detail {
namespace {

// A hash that ignores ASCII case, so a lookup needs no folded copy of the name.
uint FoldedHash(QStringView text)
{
    uint hash = 2166136261u;
    for (QChar c : text) {
        char16_t unit = c.unicode();
        if (unit >= u'A' && unit <= u'Z')
            unit = static_cast<char16_t>(unit - u'A' + u'a');
        hash = (hash ^ unit) * 16777619u;
    }
    return hash;
}

ColumnRole RoleOf(const char* declared)
{
    if (!declared)
        return ColumnRole::Plain;
    const QByteArray type = QByteArray(declared).toUpper();
    if (type.startsWith("BOOL"))
        return ColumnRole::YesNo;
    if (type.startsWith("DATE"))
        return ColumnRole::DateTime;
    return ColumnRole::Plain;
}

QString Utf8(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

Layout::Layout(sqlite3_stmt* statement, bool hasRowId) : first(hasRowId ? 1 : 0)
{
    const int count = sqlite3_column_count(statement);
    std::set<QString> tables;
    for (int i = first; i < count; ++i) {
        ColumnInfo info;
        info.name = Utf8(sqlite3_column_name(statement, i));
        info.table = Utf8(sqlite3_column_table_name(statement, i));
        info.role = RoleOf(sqlite3_column_decltype(statement, i));
        if (!info.table.isEmpty())
            tables.insert(info.table.toLower());
        columns.push_back(std::move(info));
    }
    // A name two tables share is only reachable as "table.column", as Jet names it.
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        int same = 0;
        for (const ColumnInfo& other : columns)
            same += other.name.compare(columns[c].name, Qt::CaseInsensitive) == 0 ? 1 : 0;
        if (same == 1)
            AddKey(columns[c].name, c);
        if (tables.size() > 1 && !columns[c].table.isEmpty())
            AddKey(columns[c].table + u'.' + columns[c].name, c);
    }
}

void Layout::AddKey(const QString& name, int column)
{
    m_keys.push_back({name, FoldedHash(name), column});
}

int Layout::Find(QStringView field) const
{
    const uint hash = FoldedHash(field);
    // Callers nearly always spell a name as the table does: try that cheap test first.
    for (const Key& key : m_keys)
        if (key.hash == hash &&
            (QStringView(key.name) == field || key.name.compare(field, Qt::CaseInsensitive) == 0))
            return key.column;
    return -1;
}

void ResultSet::StoreRow(sqlite3_stmt* statement, int row)
{
    const size_t width = layout->columns.size();
    const int first = layout->first;
    if (row < 0) {
        row = RowCount();
        cells.resize(cells.size() + width);
        rowIds.push_back(0);
        deleted.push_back(false);
        ++liveRows;
    }
    rowIds[row] = first ? sqlite3_column_int64(statement, 0) : row;
    Cell* out = &cells[size_t(row) * width];
    for (size_t c = 0; c < width; ++c) {
        const int i = static_cast<int>(c) + first;
        Cell& cell = out[c];
        switch (sqlite3_column_type(statement, i)) {
        case SQLITE_INTEGER:
            cell = {sqlite3_column_int64(statement, i), 0, CellKind::Integer};
            break;
        case SQLITE_FLOAT:
            cell = {std::bit_cast<qint64>(sqlite3_column_double(statement, i)), 0, CellKind::Real};
            break;
        case SQLITE_TEXT: {
            const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, i));
            const int length = sqlite3_column_bytes(statement, i);
            cell = {arena.size(), static_cast<quint32>(length), CellKind::Text};
            arena.append(text, length);
            break;
        }
        case SQLITE_BLOB:
            cell = {0, 0, CellKind::Blob};
            break;
        default:
            cell = {0, 0, CellKind::Null};
            break;
        }
    }
}

QString ResultSet::Text(const Cell& cell) const
{
    return QString::fromUtf8(arena.constData() + cell.number, cell.length);
}

double ResultSet::Real(const Cell& cell) const
{
    return std::bit_cast<double>(cell.number);
}

} // namespace vantrel::detail
