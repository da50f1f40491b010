#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// The item list of a catalogue dialog: code, name and (materials only) enterprise, then the
// item's number in a last column without title. Sorting reorders the rows already listed by
// the bytes of one column as the users' code page writes them ("10" before "9").
class CCatalogueItemModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Item
    {
        QStringList texts; // one per visible column
        int no = -1;
    };

    CCatalogueItemModel(QStringList titles, QObject* parent = nullptr);

    // The column holding the item number.
    int NumberColumn() const { return int(m_titles.size()); }
    void SetItems(std::vector<Item> items);
    int Append(Item item);
    void Replace(int row, const QStringList& texts);
    void Remove(int row);
    const Item& At(int row) const { return m_items[size_t(row)]; }
    int Count() const { return int(m_items.size()); }
    // Stable: rows with equal texts keep their order. Selections follow their rows.
    void SortByColumn(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList m_titles;
    std::vector<Item> m_items;
};
