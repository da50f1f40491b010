#include "customers/clientlist.h"

#include "customers/customerlayouts.h"
#include "customers/customerrecords.h"
#include "kit/recordlistmodel.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

using namespace Qt::StringLiterals;

bool ShowClientList(CVantrelDoc& doc, CADODatabase* database, const QString& sql)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return false;
    // Read first, so a statement that fails leaves the list as it was.
    CListRows rows;
    if (!ReadLayoutRows(rows, ListLayouts::kClients, database, sql))
        return false;

    view->SetCategory(CustomerCategory::kClients);
    view->SetRefill([&doc, database, sql] { ShowClientList(doc, database, sql); });
    view->SetCaption(u"客户列表"_s);
    view->SetCurrentQuery(sql);
    doc.ShowBottomView(BottomView::kList);
    CRecordListModel& list = view->List();
    SetLayoutColumns(list, ListLayouts::kClients);
    list.AppendRows(std::move(rows));

    if (CMiddleListView* lower = doc.MiddleList()) {
        SetLayoutColumns(lower->List(), ListLayouts::kContacts);
        lower->SetCurrentQuery(QString());
    }
    doc.SetInfoText(view->Caption());
    return true;
}
