#include "customers/addresslist.h"

#include "customers/customerlayouts.h"
#include "customers/customerrecords.h"
#include "kit/recordlistmodel.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

bool ShowAddressList(CVantrelDoc& doc, CADODatabase* database, const QString& sql)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return false;
    view->SetCategory(CustomerCategory::kAddressBook);
    view->SetRefill([&doc, database, sql] { ShowAddressList(doc, database, sql); });
    view->SetCaption(view->CategoryCaption(CustomerCategory::kAddressBook));
    view->SetCurrentQuery(QString());
    doc.ShowBottomView(BottomView::kList);
    CRecordListModel& list = view->List();
    SetLayoutColumns(list, ListLayouts::kAddressBook);
    const bool listed = AppendLayoutRows(list, ListLayouts::kAddressBook, database, sql);
    if (listed)
        view->SetCurrentQuery(sql);
    // Dependants of another list's record mean nothing beside address-book entries.
    if (CMiddleListView* lower = doc.MiddleList())
        lower->Reset();
    doc.SetInfoText(view->Caption());
    return listed;
}
