#pragma once

// Inside the access layer only: the rows a recordset holds after running its statement.

#include "data/dbstatement.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace vantrel::detail {

// A whole word, so that a cell has no padding and is copied as two words: with a byte and
// its padding the compiler copied 13 bytes through overlapping moves, which stalled every
// field a list reads.
enum class CellKind : quint32 { Null, Integer, Real, Text, Blob };

// One value: an integer, the bits of a double, or the place of a UTF-8 text in the arena.
struct Cell
{
    qint64 number = 0;
    quint32 length = 0;
    CellKind kind = CellKind::Null;
};
static_assert(sizeof(Cell) == 16);

// The statement's value in a column of its current row; a text's UTF-8 goes to `text` (valid
// until the next step), its length to the cell.
Cell ReadCell(const db::Statement& statement, int column, QByteArrayView& text);

using db::ColumnRole;

struct ColumnInfo
{
    QString name;
    QString table;
    ColumnRole role = ColumnRole::Plain;
    int source = 0; // the statement column it is read from
};

// The columns of a statement's result and the names that reach them.
class Layout
{
public:
    // With `hasRowId` the statement's first column is the row identity and stays hidden, and
    // so does the column of that name a table keeps its identity in, where * selects it again.
    Layout(const db::Statement& statement, bool hasRowId);
    // The column of a field name (case-insensitive; "table.column" in joins), -1 if none.
    int Find(QStringView field) const;

    std::vector<ColumnInfo> columns;
    int first = 0; // 1 when column 0 of the statement is the hidden row identity

private:
    struct Key
    {
        QString name;
        uint hash;
        int column;
    };
    void AddKey(const QString& name, int column);
    std::vector<Key> m_keys;
};

struct ResultSet
{
    ResultSet(std::shared_ptr<const Layout> layout, const QString& table)
        : layout(std::move(layout)), table(table)
    {
    }

    // Appends the statement's current row, or overwrites row `row` when it is given.
    void StoreRow(const db::Statement& statement, int row = -1);

    const std::vector<ColumnInfo>& Columns() const { return layout->columns; }
    int ColumnCount() const { return static_cast<int>(layout->columns.size()); }
    int RowCount() const { return static_cast<int>(rowIds.size()); }
    const Cell& At(int row, int column) const
    {
        return cells[size_t(row) * layout->columns.size() + column];
    }
    QString Text(const Cell& cell) const;
    double Real(const Cell& cell) const;

    std::shared_ptr<const Layout> layout;
    QString table; // the table whose rows may be changed, "" when none
    std::vector<Cell> cells;
    std::vector<qint64> rowIds;
    std::vector<bool> deleted;
    int liveRows = 0;
    QByteArray arena;
};

} // namespace vantrel::detail
