#include "schedule/reminderlist.h"

#include "data/adorecordset.h"
#include "data/formats.h"
#include "kit/recordlistmodel.h"
#include "views/recordcategory.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

using namespace Qt::StringLiterals;

void ShowReminderList(CVantrelDoc& doc)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    view->SetCategory(RecordCategory::kReminders);
    view->SetCaption(u"提醒"_s);
    doc.SetInfoText(u"提醒"_s);
    doc.ShowBottomView(BottomView::kText);
    CRecordListModel& list = view->List();
    list.Clear();
    list.InsertColumn(0, u"开始时间"_s, Qt::AlignLeft, 150);
    list.InsertColumn(1, u"终止时间"_s, Qt::AlignLeft, 150);
    list.InsertColumn(2, u"内容"_s, Qt::AlignLeft, 600);
    list.InsertColumn(3, QString(), Qt::AlignLeft, 0);
    const QString sql = u"SELECT * FROM notice ORDER BY time DESC"_s;
    CADORecordset rs(doc.Database());
    if (!rs.Open(sql))
        return;
    view->SetCurrentQuery(sql);
    std::vector<CListRow> rows;
    const int count = rs.GetRecordCount();
    if (count >= 1)
        rs.MoveFirst();
    for (int i = 0; i < count; ++i) {
        QDateTime start, end;
        QString content;
        int no = 0;
        rs.GetFieldDate(u"time"_s, start);
        rs.GetFieldDate(u"endtime"_s, end);
        rs.GetFieldText(u"content"_s, content);
        rs.GetFieldInt(u"no"_s, no);
        rows.push_back({{FormatDateTime(start), FormatDateTime(end), content, FormatNumber(no)}});
        rs.MoveNext();
    }
    list.AppendRows(std::move(rows));
}
