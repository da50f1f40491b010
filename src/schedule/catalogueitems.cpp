#include "schedule/catalogueitems.h"

#include <QStringEncoder>

#include <algorithm>
#include <numeric>

CCatalogueItemModel::CCatalogueItemModel(QStringList titles, QObject* parent)
    : QAbstractTableModel(parent), m_titles(std::move(titles))
{
}

void CCatalogueItemModel::SetItems(std::vector<Item> items)
{
    beginResetModel();
    m_items = std::move(items);
    endResetModel();
}

int CCatalogueItemModel::Append(Item item)
{
    const int row = Count();
    beginInsertRows({}, row, row);
    m_items.push_back(std::move(item));
    endInsertRows();
    return row;
}

void CCatalogueItemModel::Replace(int row, const QStringList& texts)
{
    if (row < 0 || row >= Count())
        return;
    m_items[size_t(row)].texts = texts;
    Q_EMIT dataChanged(index(row, 0), index(row, NumberColumn() - 1));
}

void CCatalogueItemModel::Remove(int row)
{
    if (row < 0 || row >= Count())
        return;
    beginRemoveRows({}, row, row);
    m_items.erase(m_items.begin() + row);
    endRemoveRows();
}

void CCatalogueItemModel::SortByColumn(int column)
{
    if (column < 0 || column >= NumberColumn())
        return;
    // The code page's bytes of every text once, then a plain byte comparison.
    QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
    std::vector<QByteArray> keys;
    keys.reserve(m_items.size());
    for (const Item& item : m_items)
        keys.push_back(encoder.encode(item.texts.value(column)));
    std::vector<int> order(m_items.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRow(order.size());
    std::vector<Item> sorted;
    sorted.reserve(m_items.size());
    for (size_t row = 0; row < order.size(); ++row) {
        newRow[size_t(order[row])] = int(row);
        sorted.push_back(std::move(m_items[size_t(order[row])]));
    }
    m_items = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& old : before)
        after << index(newRow[size_t(old.row())], old.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int CCatalogueItemModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

int CCatalogueItemModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NumberColumn() + 1;
}

QVariant CCatalogueItemModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const Item& item = At(index.row());
    if (index.column() == NumberColumn())
        return QString::number(item.no);
    return item.texts.value(index.column());
}

QVariant CCatalogueItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_titles.value(section);
}
