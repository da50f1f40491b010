#include "kit/commandids.h"
#include "schedule/schedulerecords.h"
#include "views/categoryregistry.h"
#include "views/vantreldoc.h"

namespace {

using enum FieldKind;

constexpr FieldSpec kNoteFields[] = {
    {"time", DateTime},
    {"weather", Text},
    {"caption", Text},
    {"content", Text},
};

constexpr FieldSpec kReminderFields[] = {
    {"time", DateTime},
    {"endtime", DateTime},
    {"content", Text},
};

constexpr const char* kNoteTables[] = {"notepaper"};
// An appointment row names its contact and the contact's client.
constexpr const char* kAppointmentTables[] = {"appoint", "linkman", "client"};
constexpr const char* kReminderTables[] = {"notice"};

} // namespace

void RegisterScheduleCategories(CVantrelDoc& doc)
{
    CCategoryRegistry& categories = doc.Categories();
    categories.Register({.code = ScheduleCategory::kNotes,
                         .caption = u"便笺",
                         .dialog = ScheduleDialog::kNote,
                         .manageCommand = ID_MANAGE_NOTE,
                         .recordSql = u"SELECT * FROM notepaper WHERE [no] = %1",
                         .readFailure = u"便笺表无法打开！",
                         .fields = kNoteFields,
                         .textColumn = 3,
                         .tables = kNoteTables});
    // Appointments are modified in their own dialog, through 资料管理 > 约会.
    categories.Register({.code = ScheduleCategory::kAppointments,
                         .caption = u"约会",
                         .dialog = ScheduleDialog::kAppointment,
                         .manageCommand = ID_MANAGE_APPOINT,
                         .modifyCommand = ID_MANAGE_APPOINT,
                         .textColumn = 5,
                         .tables = kAppointmentTables});
    categories.Register({.code = ScheduleCategory::kReminders,
                         .caption = u"提醒",
                         .dialog = ScheduleDialog::kReminder,
                         .manageCommand = ID_MANAGE_NOTICE,
                         .recordSql = u"SELECT * FROM notice WHERE [no] = %1",
                         .readFailure = u"提醒表无法打开！",
                         .fields = kReminderFields,
                         .textColumn = 2,
                         .tables = kReminderTables});
    categories.Register({.code = ScheduleCategory::kDomesticCodes, .caption = u"国内邮编、区号"});
    categories.Register({.code = ScheduleCategory::kInternationalCodes, .caption = u"国际区号"});
    categories.Register({.code = ScheduleCategory::kPhoneNumbers, .caption = u"常用电话"});
}
