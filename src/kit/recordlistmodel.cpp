#include "kit/recordlistmodel.h"

#include "data/formats.h"

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

int CRecordListModel::InsertItem(int row, const QString& text, int image)
{
    if (row < 0 || row > GetItemCount())
        row = GetItemCount();
    beginInsertRows({}, row, row);
    m_rows.insert(m_rows.begin() + row, CListRow{QStringList{text}, image});
    endInsertRows();
    return row;
}

int CRecordListModel::AppendRow(QStringList texts, int image)
{
    const int row = GetItemCount();
    beginInsertRows({}, row, row);
    m_rows.push_back(CListRow{std::move(texts), image});
    endInsertRows();
    return row;
}

void CRecordListModel::AppendRows(std::vector<CListRow> rows)
{
    if (rows.empty())
        return;
    const int first = GetItemCount();
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    if (m_rows.empty()) {
        m_rows = std::move(rows);
    } else {
        m_rows.reserve(m_rows.size() + rows.size());
        for (CListRow& row : rows)
            m_rows.push_back(std::move(row));
    }
    endInsertRows();
}

bool CRecordListModel::SetItemText(int row, int column, const QString& text)
{
    if (!HasRow(row) || column < 0)
        return false;
    QStringList& texts = m_rows[size_t(row)].texts;
    while (texts.size() <= column)
        texts.append(QString());
    texts[column] = text;
    if (column < GetColumnCount()) {
        const QModelIndex cell = index(row, column);
        Q_EMIT dataChanged(cell, cell, {Qt::DisplayRole});
    }
    return true;
}

QString CRecordListModel::GetItemText(int row, int column) const
{
    if (!HasRow(row))
        return {};
    return m_rows[size_t(row)].texts.value(column);
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
    if (m_rows.size() < kBackgroundDisposal) {
        m_rows.clear();
        return;
    }
    // Freeing the texts of 100,000 rows takes a tenth of a second, which the user would wait
    // for before the next list shows. Texts handed out share their data through thread-safe
    // counts, so another thread may free the rows meanwhile.
    std::vector<CListRow> rows;
    rows.swap(m_rows);
    m_disposal = std::jthread([rows = std::move(rows)]() mutable { rows.clear(); });
}

bool CRecordListModel::RecordNumber(int row, int& number) const
{
    if (GetColumnCount() == 0)
        return false;
    bool ok = false;
    const int value = GetItemText(row, GetColumnCount() - 1).trimmed().toInt(&ok);
    if (ok)
        number = value;
    return ok;
}

double CRecordListModel::SumColumn(int column, int endRow) const
{
    double sum = 0.0;
    const int end = std::min(endRow, GetItemCount());
    for (int row = 0; row < end; ++row)
        sum += ParseAmount(m_rows[size_t(row)].texts.value(column));
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
    const CListRow& row = m_rows[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return row.texts.value(index.column());
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
