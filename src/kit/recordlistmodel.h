#pragma once

#include "data/storedvalues.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// Rows read for a record list, before they go to the list in one step: their values, made
// into texts in their formats when their cells are shown, and the index of each row's icon in
// the list's image list.
struct CListRows
{
    CStoredValues values;
    std::vector<int> images;

    int Count() const { return values.RowCount(); }
    // Appends a row of NULLs with its icon; returns its index.
    int Add(int image)
    {
        images.push_back(image);
        return values.AddRow();
    }
    int Add(int image, const std::vector<CStoredValues::Value>& prototype)
    {
        images.push_back(image);
        return values.AddRow(prototype);
    }
    // Appends a row of texts, each shown as it is.
    int AddTexts(const QStringList& texts, int image)
    {
        const int row = Add(image);
        for (int column = 0; column < int(texts.size()); ++column)
            values.SetShown(row, column, texts[column]);
        return row;
    }
};

// The rows and columns of a report-style record list. Every category lays its columns out
// differently, so the model is generic over rows of values, each made into its text in its
// own format when its cell is shown or read (what is shown, exported and printed is one
// text); by convention the last column holds the record's number (empty title, width 0).
// Texts set on a row show as they are. Rows may carry more values than there are columns;
// only the columns are shown.
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
    void AppendRows(CListRows rows);
    bool SetItemText(int row, int column, const QString& text);
    // The cell's text as its column shows it.
    QString GetItemText(int row, int column) const;
    bool SetItemImage(int row, int image);
    int GetItemImage(int row) const;
    bool DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const { return int(m_rows.size()); }
    // Rows and columns both.
    void Clear();

    // The value of a cell as kept: what a reader of many cells looks at before it asks for
    // the text. NULL outside the rows and columns.
    CStoredValues::Value GetItemValue(int row, int column) const;
    const CStoredValues& Values() const { return m_values; }

    // The record number in the row's last column; false when the row has none (a totals row,
    // a row of a list without numbers).
    bool RecordNumber(int row, int& number) const;
    // Sum of a column's shown texts read as numbers over rows 0..endRow-1.
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
    // A shown row: where its values are kept, and its icon.
    struct Row
    {
        int stored;
        int image;
    };

    bool HasRow(int row) const { return row >= 0 && row < GetItemCount(); }
    // A kept row for texts: every column shows "" until set.
    int AddTextRow(const QStringList& texts);
    CStoredValues::Value ValueAt(int row, int column) const;
    // Empties the rows.
    void DisposeRows();

    std::vector<Column> m_columns;
    std::vector<Row> m_rows;
    CStoredValues m_values;
    QList<QIcon> m_icons;
};
