#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

#include <thread>
#include <vector>

// One row of a record list: its cell texts (column 0 first) and the index of its icon in the
// list's image list (kNoImage for none).
struct CListRow
{
    QStringList texts;
    int image = -1;
};

// The rows and columns of a report-style record list. Every category lays its columns out
// differently, so the model is generic over rows of texts; by convention the last column holds
// the record's number ("%d", empty title, width 0). Rows may carry more texts than there are
// columns; only the columns are shown.
class CRecordListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    static constexpr int kNoImage = -1;

    struct Column
    {
        QString title;
        Qt::Alignment alignment = Qt::AlignLeft;
        int width = 100;
    };

    explicit CRecordListModel(QObject* parent = nullptr);

    // Columns. An index outside 0..count appends. Returns the index used.
    int InsertColumn(int index, const QString& title, Qt::Alignment alignment = Qt::AlignLeft,
                     int width = 100);
    void DeleteAllColumns();
    int GetColumnCount() const { return int(m_columns.size()); }
    const Column& ColumnAt(int index) const { return m_columns[size_t(index)]; }

    // Rows. An index outside 0..count appends. Returns the index used.
    int InsertItem(int row, const QString& text, int image = kNoImage);
    int AppendRow(QStringList texts, int image = kNoImage);
    // Many rows at once, announced to the views in one step.
    void AppendRows(std::vector<CListRow> rows);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    bool SetItemImage(int row, int image);
    int GetItemImage(int row) const;
    bool DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const { return int(m_rows.size()); }
    // Rows and columns both.
    void Clear();

    // The record number in the row's last column; false when the row has none (a totals row,
    // a row of a list without numbers).
    bool RecordNumber(int row, int& number) const;
    // Sum of a column's texts read as numbers over rows 0..endRow-1.
    double SumColumn(int column, int endRow) const;

    // The icons the image indices refer to.
    void SetImageList(QList<QIcon> icons);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // Lists from this many rows are freed by a thread of their own.
    static constexpr size_t kBackgroundDisposal = 5000;

    bool HasRow(int row) const { return row >= 0 && row < GetItemCount(); }
    // Empties m_rows.
    void DisposeRows();

    std::vector<Column> m_columns;
    std::vector<CListRow> m_rows;
    QList<QIcon> m_icons;
    // The thread freeing the rows last taken out; joined before the next one starts and when the
    // model goes.
    std::jthread m_disposal;
};
