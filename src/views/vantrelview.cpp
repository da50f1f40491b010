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

using namespace Qt::StringLiterals;

namespace {

// The long text a notes, appointments or reminders row shows in the text view is cut to this
// many code-page bytes.
constexpr int kTextViewLimit = 64000;

} // namespace

CVantrelView::CVantrelView(CVantrelDoc& doc, QWidget* parent) : CRecordListView(doc, parent)
{
    setObjectName(u"VantrelView"_s);
    List().SetImageList(MainListIcons());
    doc.RegisterView(this);
    connect(this, &QAbstractItemView::clicked, this, [this] { OnClickRow(SelectedRow()); });
}

void CVantrelView::SetCategory(int category)
{
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
    Document().SetInfoText(m_strCaption);
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
