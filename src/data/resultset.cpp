#include "data/resultset.h"

#include "data/jetsql.h"

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

} // namespace

Layout::Layout(const db::Statement& statement, bool hasRowId) : first(hasRowId ? 1 : 0)
{
    const int count = statement.ColumnCount();
    std::set<QString> tables;
    for (int i = first; i < count; ++i) {
        ColumnInfo info;
        info.name = statement.ColumnName(i);
        if (hasRowId && info.name == QLatin1StringView(jetsql::kRowIdColumn))
            continue;
        // A backend's own copy of a name's initials is the recordset's to write, nobody's to
        // read.
        if (info.name.endsWith(QLatin1StringView(jetsql::kInitialsSuffix), Qt::CaseInsensitive))
            continue;
        info.source = i;
        info.table = statement.ColumnTable(i);
        info.role = statement.Role(i);
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

Cell ReadCell(const db::Statement& statement, int column, QByteArrayView& text)
{
    qint64 number = 0;
    switch (statement.Read(column, number, text)) {
    case db::ValueType::Integer:
        return {number, 0, CellKind::Integer};
    case db::ValueType::Real:
        return {number, 0, CellKind::Real};
    case db::ValueType::Text:
        return {0, static_cast<quint32>(text.size()), CellKind::Text};
    case db::ValueType::Blob:
        return {0, 0, CellKind::Blob};
    case db::ValueType::Null:
        break;
    }
    return {0, 0, CellKind::Null};
}

void ResultSet::StoreRow(const db::Statement& statement, int row)
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
    rowIds[row] = first ? statement.Integer(0) : row;
    // A statement may select no column the rows show: there is then no cell to write.
    Cell* out = cells.data() + size_t(row) * width;
    for (size_t c = 0; c < width; ++c) {
        const int i = layout->columns[c].source;
        Cell& cell = out[c];
        QByteArrayView text;
        cell = ReadCell(statement, i, text);
        if (cell.kind == CellKind::Text) {
            cell.number = arena.size();
            arena.append(text);
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
