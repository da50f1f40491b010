#pragma once

#include <QString>
#include <QTableView>

class CRecordListModel;
class CVantrelDoc;
class QMenu;

// A report-style record list (grid lines, whole-row selection, movable column headers) with
// the record context menu: what the main list and the secondary list have in common. The
// rows live in a CRecordListModel; width-0 columns (the record number) are hidden, the others
// grow to their titles and values (kit/columnwidths.h).
//
// The "current row" is the row the next edit or delete acts on. It changes on every double
// click and right click, not on a plain click, and is -1 when the pointer was on no row.
class CRecordListView : public QTableView
{
    Q_OBJECT
public:
    explicit CRecordListView(CVantrelDoc& doc, QWidget* parent = nullptr);

    CVantrelDoc& Document() const { return m_doc; }
    // The rows and columns fillers write.
    CRecordListModel& List() const { return *m_list; }

    // The SQL text that produced the rows; the delete command runs it again to find the
    // record. Fillers set it.
    QString CurrentQuery() const { return m_strQuery; }
    void SetCurrentQuery(const QString& sql) { m_strQuery = sql; }

    // Empties the view as a newly made one is: no rows, no columns, no query, no current row.
    void Reset();

    int CurrentRow() const { return m_nCurrentRow; }
    void SetCurrentRow(int row);
    // The selected row, -1 when none.
    int SelectedRow() const;
    void SelectRow(int row);

    // Menu 146 with "增加记录", "修改记录" and "删除记录", the first as default; entries whose
    // dialog is not available here are disabled.
    QMenu* CreateContextMenu(QWidget* parent);

    // The view became the active one: the info bar names what it shows.
    virtual void Activate() = 0;

public Q_SLOTS:
    virtual void OnRecordAdd() = 0;
    virtual void OnRecordEdit() = 0;
    // Needs the permission of ManageCommand(). Asks "您确定要删除%s吗？", runs the current query
    // again and deletes the first row whose `no` is the current row's number, then takes the row
    // out of the list.
    void OnRecordDelete();

protected:
    virtual bool CanAdd() const = 0;
    virtual bool CanEdit() const = 0;
    // Whether the current query may be re-run to delete a row of this list.
    virtual bool CanDelete() const { return true; }
    // The menu command whose permission adding, modifying and deleting the rows' records
    // needs; 0 when the rows are no records the user may change.
    virtual int ManageCommand() const = 0;
    // False, after the refusal, when the signed-in user may not change these records.
    bool MayChangeRecords();
    // The row is out of the list; totals may need recounting.
    virtual void RowDeleted() {}

    void focusInEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ApplyColumnWidths(int first, int last);
    void RunCommand(int command);

    CVantrelDoc& m_doc;
    CRecordListModel* m_list;
    QString m_strQuery;
    int m_nCurrentRow = -1;
};
