#include "views/recordlistview.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "kit/columnwidths.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "kit/skinengine.h"
#include "views/listpanes.h"
#include "views/vantreldoc.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>

using namespace Qt::StringLiterals;

CRecordListView::CRecordListView(CVantrelDoc& doc, QWidget* parent)
    : QTableView(parent), m_doc(doc), m_list(new CRecordListModel(this))
{
    setModel(m_list);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::StyledPanel);
    setContextMenuPolicy(Qt::DefaultContextMenu);
    // A fixed row height keeps 100,000 rows cheap to lay out and scroll.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Columns start at their layout's widths and grow to their titles and values.
    KeepColumnsFitted(*this);
    connect(m_list, &QAbstractItemModel::columnsInserted, this,
            [this](const QModelIndex&, int first, int last) { ApplyColumnWidths(first, last); });
    connect(m_list, &QAbstractItemModel::modelReset, this, [this] {
        m_nCurrentRow = -1;
        ApplyColumnWidths(0, m_list->GetColumnCount() - 1);
    });
    connect(m_list, &QAbstractItemModel::rowsRemoved, this, [this](const QModelIndex&, int, int) {
        if (m_nCurrentRow >= m_list->GetItemCount())
            m_nCurrentRow = -1;
    });
}

void CRecordListView::Reset()
{
    m_list->Clear();
    m_strQuery.clear();
    m_nCurrentRow = -1;
}

void CRecordListView::SetCurrentRow(int row)
{
    m_nCurrentRow = (row >= 0 && row < m_list->GetItemCount()) ? row : -1;
}

int CRecordListView::SelectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CRecordListView::SelectRow(int row)
{
    if (row < 0 || row >= m_list->GetItemCount()) {
        clearSelection();
        return;
    }
    QTableView::selectRow(row);
}

QMenu* CRecordListView::CreateContextMenu(QWidget* parent)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(u"IDR_RECORD_MENU"_s);
    struct Entry
    {
        int command;
        QString text;
        const char16_t* name;
        bool enabled;
    };
    const Entry entries[] = {
        {RecordCommand::kAdd, u"增加记录"_s, u"ID_RECORD_ADD", CanAdd()},
        {RecordCommand::kModify, u"修改记录"_s, u"ID_RECORD_MODIFY", CanEdit()},
        {RecordCommand::kDelete, u"删除记录"_s, u"ID_RECORD_DELETE", CanDelete()},
    };
    for (const Entry& entry : entries) {
        QAction* action = menu->addAction(entry.text);
        action->setObjectName(QString::fromUtf16(entry.name));
        action->setData(entry.command);
        action->setEnabled(entry.enabled);
    }
    menu->setDefaultAction(menu->actions().constFirst());
    return menu;
}

void CRecordListView::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    Activate();
}

void CRecordListView::contextMenuEvent(QContextMenuEvent* event)
{
    // From the keyboard the menu is for the row with the focus, if any.
    const bool mouse = event->reason() == QContextMenuEvent::Mouse;
    const int row = mouse ? indexAt(event->pos()).row() : currentIndex().row();
    const QPoint position =
        mouse ? event->pos() : (row >= 0 ? visualRect(currentIndex()).center() : QPoint());
    SetCurrentRow(row);
    SelectRow(row);

    QPointer<CRecordListView> self(this);
    QMenu* menu = CreateContextMenu(this);
    QAction* chosen = TrackPopupMenu(m_doc.Skin(), menu, viewport()->mapToGlobal(position), this);
    const int command = chosen ? chosen->data().toInt() : 0;
    if (!self)
        return;
    menu->deleteLater();
    event->accept();
    RunCommand(command);
}

void CRecordListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    SetCurrentRow(indexAt(event->position().toPoint()).row());
    OnRecordEdit();
}

void CRecordListView::RunCommand(int command)
{
    switch (command) {
    case RecordCommand::kAdd:
        OnRecordAdd();
        break;
    case RecordCommand::kModify:
        OnRecordEdit();
        break;
    case RecordCommand::kDelete:
        OnRecordDelete();
        break;
    default:
        break;
    }
}

void CRecordListView::OnRecordDelete()
{
    const int row = m_nCurrentRow;
    if (row < 0 || !m_strQuery.contains(u"SELECT"_s) || !CanDelete() || !MayChangeRecords())
        return;
    const QString name = m_list->GetItemText(row, 0);
    if (!Ask(this, u"您确定要删除%1吗？"_s.arg(name), u"删除警告"_s))
        return;

    // The query is run again to reach the record the row shows. A row without a number (the
    // totals row) names no record, so nothing is deleted for it.
    const QString query = m_strQuery;
    CADORecordset recordset(m_doc.Database());
    if (!recordset.Open(query)) {
        Warn(this, u"无法打开此数据库项目！"_s);
        return;
    }
    int number = 0;
    if (!m_list->RecordNumber(row, number))
        return;
    bool found = false;
    ForEachRow(recordset, [&] {
        int no = 0;
        found = recordset.GetFieldInt(u"no"_s, no) && no == number;
        return !found;
    });
    if (!found)
        return;
    if (!recordset.Delete()) {
        Warn(this, u"无法从数据库中删除这个记录！"_s);
        return;
    }
    recordset.Close();
    m_list->DeleteItem(row);
    RowDeleted();
}

bool CRecordListView::MayChangeRecords()
{
    return m_doc.CheckPermission(ManageCommand(), this);
}

void CRecordListView::ApplyColumnWidths(int first, int last)
{
    for (int column = first; column <= last && column < m_list->GetColumnCount(); ++column) {
        const int width = m_list->ColumnAt(column).width;
        setColumnHidden(column, width == 0);
        if (width > 0)
            setColumnWidth(column, width);
    }
    FitColumnsToContents(*this);
}
