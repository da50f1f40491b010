#include "views/middlelistview.h"

#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/categoryregistry.h"
#include "views/dependants.h"
#include "views/listicons.h"
#include "views/listpanes.h"
#include "views/recordfields.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

using namespace Qt::StringLiterals;

CMiddleListView::CMiddleListView(CVantrelDoc& doc, QWidget* parent) : CRecordListView(doc, parent)
{
    setObjectName(u"MiddleListView"_s);
    List().SetImageList(MiddleListIcons());
    doc.RegisterView(this);
}

const CDependants* CMiddleListView::Dependants() const
{
    const CVantrelView* main = Document().MainList();
    const CategoryInfo* info = main ? Document().Categories().Find(main->Category()) : nullptr;
    return info ? info->dependants.get() : nullptr;
}

void CMiddleListView::Activate()
{
    CVantrelView* main = Document().MainList();
    if (!main)
        return;
    if (const CDependants* dependants = Dependants())
        main->SetCaption(dependants->Caption());
    Document().SetInfoText(main->Caption());
}

bool CMiddleListView::CanAdd() const
{
    const CDependants* dependants = Dependants();
    return dependants && Document().Dialogs().Has(dependants->Dialog());
}

bool CMiddleListView::CanEdit() const
{
    return CanAdd();
}

bool CMiddleListView::CanDelete() const
{
    return Dependants() != nullptr;
}

int CMiddleListView::ManageCommand() const
{
    const CDependants* dependants = Dependants();
    return dependants ? dependants->ManageCommand() : 0;
}

void CMiddleListView::RowDeleted()
{
    if (const CDependants* dependants = Dependants())
        dependants->RowDeleted(*this);
}

void CMiddleListView::OnRecordAdd()
{
    const CVantrelView* main = Document().MainList();
    const CDependants* dependants = Dependants();
    if (!main || !dependants || !MayChangeRecords())
        return;
    const CRecordRequest request = dependants->AddRequest(main->List(), main->SelectedRow());
    Document().Dialogs().Open(request, this);
}

void CMiddleListView::OnRecordEdit()
{
    const int row = CurrentRow();
    if (row < 0 || !CanEdit())
        return;
    const CDependants& dependants = *Dependants();
    // The totals row is no record.
    if (dependants.HasTotalsRow() && row == List().GetItemCount() - 1)
        return;
    if (!MayChangeRecords())
        return;
    int number = 0;
    List().RecordNumber(row, number);
    CRecordRequest request;
    QString failure;
    if (!dependants.ReadForModify(Document().Database(), number, request, failure)) {
        Warn(this, failure);
        return;
    }
    request.dialog = dependants.Dialog();
    request.modify = true;
    request.no = number;
    request.item = row;
    Document().Dialogs().Open(request, this);
}
