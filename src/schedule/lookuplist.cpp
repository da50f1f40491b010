#include "schedule/lookuplist.h"

#include "kit/recordlistmodel.h"
#include "views/listlayout.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

void ShowReferenceList(CVantrelDoc& doc, CADODatabase* reference, int category,
                       const ListLayout& layout, const QString& sql)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    doc.ShowBottomView(BottomView::kList);
    view->SetCategory(category);
    view->SetCaption(view->CategoryCaption(category));
    SetLayoutColumns(view->List(), layout);
    if (reference)
        AppendLayoutRows(view->List(), layout, reference, sql);
    // Contacts or payments of an earlier list mean nothing beside these rows.
    if (CMiddleListView* lower = doc.MiddleList()) {
        lower->List().Clear();
        lower->SetCurrentQuery(QString());
    }
    doc.SetInfoText(view->Caption());
}
