#include "views/vantrelview.h"

#include "data/adorecordset.h"
#include "data/gbktext.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/categoryregistry.h"
#include "views/dependants.h"
#include "views/listicons.h"
#include "views/listpanes.h"
#include "views/noteview.h"
#include "views/recordfields.h"
#include "views/totalsrow.h"
#include "views/vantreldoc.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The long text a notes, appointments or reminders row shows in the text view is cut to this
// many code-page bytes.
constexpr int kTextViewLimit = 64000;

const QString kOthersChanged = u"其他用户修改了数据，按 F5 刷新"_s;

} // namespace

CVantrelView::CVantrelView(CVantrelDoc& doc, QWidget* parent) : CRecordListView(doc, parent)
{
    setObjectName(u"VantrelView"_s);
    List().SetImageList(MainListIcons());
    doc.RegisterView(this);
    connect(this, &QAbstractItemView::clicked, this, [this] { OnClickRow(SelectedRow()); });
    connect(&doc, &CVantrelDoc::TableChanged, this, &CVantrelView::OnTableChanged);
}

void CVantrelView::SetCategory(int category)
{
    // Every filler names its category first: the rows it lists are read now.
    m_bOthersChanged = false;
    m_refill = nullptr;
    if (category != m_nCategory)
        SetCurrentQuery(QString());
    m_nCategory = category;
    // The chart belongs to its table (statistics): any other list that replaces the table takes
    // the lower pane back for the secondary list, whether or not its filler asks for a pane.
    const CategoryInfo* info = Document().Categories().Find(category);
    if (!(info && info->chart) && Document().BottomViewKind() == BottomView::kChart)
        Document().ShowBottomView(BottomView::kList);
}

QString CVantrelView::CategoryCaption(int category) const
{
    const CategoryInfo* info = Document().Categories().Find(category);
    if (!info)
        return u"信息提示栏"_s;
    return info->caption ? QString::fromUtf16(info->caption) : QString();
}

void CVantrelView::Activate()
{
    const CategoryInfo* info = Info();
    if (!info || info->caption)
        m_strCaption = CategoryCaption(m_nCategory);
    Document().SetInfoText(m_bOthersChanged ? kOthersChanged : m_strCaption);
}

void CVantrelView::OnTableChanged(const QString& table)
{
    const CategoryInfo* info = Info();
    if (!info || !std::ranges::any_of(info->tables, [&](const char* name) {
            return table.compare(QLatin1StringView(name), Qt::CaseInsensitive) == 0;
        }))
        return;
    m_bOthersChanged = true;
    Document().SetInfoText(kOthersChanged);
}

void CVantrelView::Refresh()
{
    if (m_refill) {
        // Rows may have come and gone above it: the record is found again by its number.
        const int selected = RecordOfRow(SelectedRow());
        const int current = RecordOfRow(CurrentRow());
        // The fill replaces the refill it runs.
        const std::function<void()> refill = m_refill;
        refill();
        const int selectedRow = RowOfRecord(selected);
        SelectRow(selectedRow);
        if (selectedRow >= 0) {
            scrollTo(model()->index(selectedRow, 0));
            OnClickRow(selectedRow);
        }
        SetCurrentRow(RowOfRecord(current));
    }
    m_bOthersChanged = false;
    Document().SetInfoText(m_strCaption);
}

int CVantrelView::RecordOfRow(int row) const
{
    int number = -1;
    if (row < 0 || row >= List().GetItemCount() || IsTotalsRow(row) ||
        !List().RecordNumber(row, number))
        return -1;
    return number;
}

int CVantrelView::RowOfRecord(int number) const
{
    if (number < 0)
        return -1;
    for (int row = 0; row < List().GetItemCount(); ++row)
        if (RecordOfRow(row) == number)
            return row;
    return -1;
}

const CategoryInfo* CVantrelView::Info() const
{
    return Document().Categories().Find(m_nCategory);
}

bool CVantrelView::IsTotalsRow(int row) const
{
    const CategoryInfo* info = Info();
    return info && info->recountTotals && row == List().GetItemCount() - 1;
}

void CVantrelView::OnClickRow(int row)
{
    const CategoryInfo* info = Info();
    if (!info || row < 0 || row >= List().GetItemCount() || IsTotalsRow(row))
        return;
    if (info->dependants) {
        int number = 0;
        List().RecordNumber(row, number);
        info->dependants->Show(Document(), number);
    } else if (info->textColumn >= 0) {
        ShowText(row, info->textColumn);
    }
}

void CVantrelView::ShowText(int row, int column)
{
    if (CNoteView* text = Document().NoteView())
        text->SetText(GbkLeft(List().GetItemText(row, column), kTextViewLimit));
}

bool CVantrelView::CanAdd() const
{
    const CategoryInfo* info = Info();
    return info && !info->dialog.empty() && Document().Dialogs().Has(info->dialog);
}

bool CVantrelView::CanEdit() const
{
    return CanAdd();
}

bool CVantrelView::CanDelete() const
{
    // Only lists of records of the data file can be deleted from: area codes and statistics
    // rows carry no record number.
    const CategoryInfo* info = Info();
    return info && !info->dialog.empty();
}

int CVantrelView::ManageCommand() const
{
    const CategoryInfo* info = Info();
    return info ? info->manageCommand : 0;
}

void CVantrelView::RowDeleted()
{
    const CategoryInfo* info = Info();
    if (info && info->recountTotals && HasTotalsRow(List()))
        info->recountTotals(List());
}

void CVantrelView::OnRecordAdd()
{
    const CategoryInfo* info = Info();
    if (!info || info->dialog.empty() || !MayChangeRecords())
        return;
    CRecordRequest request;
    request.dialog = info->dialog;
    Document().Dialogs().Open(request, this);
}

void CVantrelView::OnRecordEdit()
{
    const int row = CurrentRow();
    if (row < 0 || !CanEdit() || IsTotalsRow(row) || !MayChangeRecords())
        return;
    const CategoryInfo& info = *Info();
    if (info.modifyCommand != 0) {
        Document().PostCommand(info.modifyCommand);
        return;
    }
    int number = 0;
    List().RecordNumber(row, number);
    CRecordRequest request;
    {
        CADORecordset recordset(Document().Database());
        // A record that is gone (deleted elsewhere since the list was filled) cannot be
        // modified either.
        if (!OpenFirstRow(recordset, QString::fromUtf16(info.recordSql).arg(number))) {
            Warn(this, QString::fromUtf16(info.readFailure));
            return;
        }
        request.fields = ReadFields(recordset, info.fields);
        request.storedRow = StoredRowTexts(recordset);
    }
    request.dialog = info.dialog;
    request.modify = true;
    request.no = number;
    request.item = row;
    Document().Dialogs().Open(request, this);
}
