#include "schedule/notelist.h"

#include "kit/recordlistmodel.h"
#include "views/listlayouts.h"
#include "views/recordcategory.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

void ShowNoteList(CVantrelDoc& doc, const QString& sql)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    view->SetCategory(RecordCategory::kNotes);
    view->SetCaption(CVantrelView::CategoryCaption(RecordCategory::kNotes));
    doc.SetInfoText(view->Caption());
    doc.ShowBottomView(BottomView::kText);
    SetLayoutColumns(view->List(), ListLayouts::kNotes);
    if (AppendLayoutRows(view->List(), ListLayouts::kNotes, doc.Database(), sql))
        view->SetCurrentQuery(sql);
}
