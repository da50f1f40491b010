#include "schedule/notelist.h"

#include "kit/recordlistmodel.h"
#include "schedule/schedulelayouts.h"
#include "schedule/schedulerecords.h"
#include "views/listpanes.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

void ShowNoteList(CVantrelDoc& doc, const QString& sql)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    view->SetCategory(ScheduleCategory::kNotes);
    view->SetRefill([&doc, sql] { ShowNoteList(doc, sql); });
    view->SetCaption(view->CategoryCaption(ScheduleCategory::kNotes));
    doc.SetInfoText(view->Caption());
    doc.ShowBottomView(BottomView::kText);
    SetLayoutColumns(view->List(), ListLayouts::kNotes);
    if (AppendLayoutRows(view->List(), ListLayouts::kNotes, doc.Database(), sql))
        view->SetCurrentQuery(sql);
}
