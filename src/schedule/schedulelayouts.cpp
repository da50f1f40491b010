#include "schedule/schedulelayouts.h"

#include "views/listicons.h"

namespace {

using enum CellFormat;

constexpr ListColumn kNoteColumns[] = {
    {u"日期", 150, "time", Diary},
    {u"天气", 80, "weather"},
    {u"标题", 300, "caption"},
    {u"内容", 300, "content"},
};

constexpr ListColumn kReminderColumns[] = {
    {u"开始时间", 150, "time", DateTime},
    {u"终止时间", 150, "endtime", DateTime},
    {u"内容", 600, "content"},
};

constexpr ListColumn kAppointmentColumns[] = {
    {u"客户", 200, "client"}, {u"联系人", 100, "contact"}, {u"日期时间", 150, "time", DateTime},
    {u"时长", 80, "length"},  {u"地点", 300, "place"},     {u"内容", 300, "content"},
};

constexpr ListColumn kDomesticCodeColumns[] = {
    {u"省份", 160, "province"},
    {u"城市", 160, "city"},
    {u"邮编", 160, "zip"},
    {u"区号", 160, "sections"},
};

constexpr ListColumn kInternationalCodeColumns[] = {
    {u"洲", 160, "continent"},
    {u"国家及地区", 160, "country"},
    {u"区号", 160, "sections"},
};

constexpr ListColumn kPhoneNumberColumns[] = {
    {u"名称", 160, "name"},
    {u"号码", 120, "number"},
    {u"说明", 300, "remark"},
};

} // namespace

namespace ListLayouts {
const ListLayout kNotes{kNoteColumns, ListIcon::kDiary};
const ListLayout kReminders{kReminderColumns};
const ListLayout kAppointments{kAppointmentColumns, ListIcon::kDiary};
const ListLayout kDomesticCodes{.columns = kDomesticCodeColumns, .numbered = false};
const ListLayout kInternationalCodes{.columns = kInternationalCodeColumns, .numbered = false};
const ListLayout kPhoneNumbers{.columns = kPhoneNumberColumns, .numbered = false};
} // namespace ListLayouts
