#include "schedule/reminderlist.h"

#include "kit/recordlistmodel.h"
#include "schedule/schedulelayouts.h"
#include "schedule/schedulerecords.h"
#include "views/listpanes.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

using namespace Qt::StringLiterals;

void ShowReminderList(CVantrelDoc& doc)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    view->SetCategory(ScheduleCategory::kReminders);
    view->SetRefill([&doc] { ShowReminderList(doc); });
    view->SetCaption(u"提醒"_s);
    doc.SetInfoText(u"提醒"_s);
    doc.ShowBottomView(BottomView::kText);
    SetLayoutColumns(view->List(), ListLayouts::kReminders);
    const QString sql = u"SELECT * FROM notice ORDER BY time DESC"_s;
    if (AppendLayoutRows(view->List(), ListLayouts::kReminders, doc.Database(), sql))
        view->SetCurrentQuery(sql);
}
