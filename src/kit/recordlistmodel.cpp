#include "kit/recordlistmodel.h"

#include "data/formats.h"

#include <limits>

CRecordListModel::CRecordListModel(QObject* parent) : QAbstractTableModel(parent) {}

int CRecordListModel::InsertColumn(int index, const QString& title, Qt::Alignment alignment,
                                   int width)
{
    if (index < 0 || index > GetColumnCount())
        index = GetColumnCount();
    beginInsertColumns({}, index, index);
    m_columns.insert(m_columns.begin() + index, Column{title, alignment, width < 0 ? 0 : width});
    endInsertColumns();
    return index;
}

void CRecordListModel::DeleteAllColumns()
{
    if (m_columns.empty())
        return;
    beginRemoveColumns({}, 0, GetColumnCount() - 1);
    m_columns.clear();
    endRemoveColumns();
}

int CRecordListModel::AddTextRow(const QStringList& texts)
{
    const int stored = m_values.AddRow();
    const int columns = std::max(GetColumnCount(), int(texts.size()));
    for (int column = 0; column < columns; ++column)
        m_values.SetShown(stored, column, texts.value(column));
    return stored;
}

int CRecordListModel::InsertItem(int row, const QString& text, int image)
{
    if (row < 0 || row > GetItemCount())
        row = GetItemCount();
    beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, Row{AddTextRow(QStringList{text}), image});
    endInsertRows();
    return row;
}

int CRecordListModel::AppendRow(QStringList texts, int image)
{
    const int row = GetItemCount();
    beginInsertRows({}, row, row);
    m_rows.push_back(Row{AddTextRow(texts), image});
    endInsertRows();
    return row;
}

void CRecordListModel::AppendRows(CListRows rows)
{
    const int count = rows.Count();
    if (count == 0)
        return;
    const int first = GetItemCount();
    const int base = m_values.RowCount();
    beginInsertRows({}, first, first + count - 1);
    m_values.Append(std::move(rows.values));
    m_rows.reserve(m_rows.size() + size_t(count));
    for (int i = 0; i < count; ++i)
        m_rows.push_back(
            Row{base + i, i < int(rows.images.size()) ? rows.images[size_t(i)] : kNoImage});
    endInsertRows();
}

bool CRecordListModel::SetItemText(int row, int column, const QString& text)
{
    if (!HasRow(row) || column < 0)
        return false;
    m_values.SetShown(m_rows[size_t(row)].stored, column, text);
    if (column < GetColumnCount()) {
        const QModelIndex cell = index(row, column);
        Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
    }
    return true;
}

CStoredValues::Value CRecordListModel::ValueAt(int row, int column) const
{
    return m_values.At(m_rows[size_t(row)].stored, column);
}

QString CRecordListModel::GetItemText(int row, int column) const
{
    if (!HasRow(row) || column < 0)
        return {};
    return FormatCell(m_values, ValueAt(row, column));
}

CStoredValues::Value CRecordListModel::GetItemValue(int row, int column) const
{
    return HasRow(row) && column >= 0 ? ValueAt(row, column) : CStoredValues::Value();
}

bool CRecordListModel::SetItemImage(int row, int image)
{
    if (!HasRow(row))
        return false;
    m_rows[size_t(row)].image = image;
    if (GetColumnCount() > 0) {
        const QModelIndex cell = index(row, 0);
        Q_EMIT dataChanged(cell, cell, {Qt::DecorationRole});
    }
    return true;
}

int CRecordListModel::GetItemImage(int row) const
{
    if (!HasRow(row))
        return kNoImage;
    return m_rows[size_t(row)].image;
}

bool CRecordListModel::DeleteItem(int row)
{
    if (!HasRow(row))
        return false;
    // The row's values stay kept, unreached, until the list is emptied.
    beginRemoveRows({}, row, row);
    m_rows.erase(m_rows.begin() + row);
    endRemoveRows();
    return true;
}

void CRecordListModel::DeleteAllItems()
{
    if (m_rows.empty())
        return;
    // One removal rather than a reset, so the views keep their column widths and order.
    beginRemoveRows({}, 0, GetItemCount() - 1);
    DisposeRows();
    endRemoveRows();
}

void CRecordListModel::Clear()
{
    beginResetModel();
    DisposeRows();
    m_columns.clear();
    endResetModel();
}

void CRecordListModel::DisposeRows()
{
    m_rows.clear();
    m_values = CStoredValues();
}

bool CRecordListModel::RecordNumber(int row, int& number) const
{
    if (GetColumnCount() == 0 || !HasRow(row))
        return false;
    const CStoredValues::Value value = ValueAt(row, GetColumnCount() - 1);
    if (value.kind == CStoredValues::Kind::Integer) {
        if (value.number < std::numeric_limits<int>::min() ||
            value.number > std::numeric_limits<int>::max())
            return false;
        number = int(value.number);
        return true;
    }
    bool ok = false;
    const int read = m_values.Text(value).trimmed().toInt(&ok);
    if (ok)
        number = read;
    return ok;
}

double CRecordListModel::SumColumn(int column, int endRow) const
{
    using Kind = CStoredValues::Kind;
    double sum = 0.0;
    const int end = std::min(endRow, GetItemCount());
    for (int row = 0; row < end; ++row) {
        const CStoredValues::Value value = ValueAt(row, column);
        const CellFormat format = value.format;
        const bool number =
            value.kind == Kind::Integer || value.kind == Kind::Real || value.kind == Kind::Null;
        // Numbers are added as their texts read back, without making the texts.
        if (number && (format == CellFormat::Amount || format == CellFormat::Percent))
            sum += ShownAmount(m_values.Number(value));
        else if (number && format == CellFormat::Text)
            sum += m_values.Number(value);
        else
            sum += ParseAmount(FormatCell(m_values, value));
    }
    return sum;
}

void CRecordListModel::SetImageList(QList<QIcon> icons)
{
    m_icons = std::move(icons);
    if (GetItemCount() > 0 && GetColumnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(GetItemCount() - 1, 0), {Qt::DecorationRole});
}

int CRecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GetItemCount();
}

int CRecordListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : GetColumnCount();
}

QVariant CRecordListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return GetItemText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        // The first column of a report list always reads from the left.
        if (index.column() == 0)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        return QVariant::fromValue(m_columns[size_t(index.column())].alignment | Qt::AlignVCenter);
    case Qt::DecorationRole:
        if (index.column() == 0 && row.image >= 0 && row.image < m_icons.size())
            return m_icons[row.image];
        return {};
    default:
        return {};
    }
}

QVariant CRecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= GetColumnCount())
        return {};
    const Column& column = m_columns[size_t(section)];
    switch (role) {
    case Qt::DisplayRole:
        return column.title;
    case Qt::TextAlignmentRole:
        return QVariant::fromValue((section == 0 ? Qt::AlignLeft : column.alignment) |
                                   Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags CRecordListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
