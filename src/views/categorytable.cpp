#include "views/categorytable.h"

#include "kit/commandids.h"
#include "views/contactdependants.h"
#include "views/paymentdependants.h"
#include "views/recordcategory.h"
#include "views/tradetwin.h"

namespace {

using enum FieldKind;

constexpr FieldSpec kClientFields[] = {
    {"name", Text},     {"number", Text},   {"corporation", Text}, {"operator", Text},
    {"property", Text}, {"type", Text},     {"vocation", Text},    {"important", Text},
    {"credit", Text},   {"country", Text},  {"province", Text},    {"city", Text},
    {"people", Text},   {"turnover", Text}, {"address", Text},     {"zip", Text},
    {"site", Text},     {"bank", Text},     {"account", Text},     {"tax", Text},
    {"survey", Text},   {"remark", Text},
};

constexpr FieldSpec kOrderFields[] = {
    {"date", Day},       {"paper", Text},     {"item", Text},   {"bargain", Text},
    {"client", Text},    {"linkman", Text},   {"goods", Text},  {"unit", Text},
    {"number", Double},  {"warehouse", Text}, {"sum", Double},  {"detail", Text},
    {"principal", Text}, {"square", Flag},    {"remark", Text},
};

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

constexpr FieldSpec kAddressFields[] = {
    {"group", Text},   {"user", Text},        {"sex", Int},          {"mobile", Text},
    {"pas", Text},     {"homephone", Text},   {"officephone", Text}, {"qq", Text},
    {"msn", Text},     {"email1", Text},      {"email2", Text},      {"birthday", Text},
    {"like", Text},    {"company", Text},     {"branch", Text},      {"duty", Text},
    {"fax", Text},     {"companyaddr", Text}, {"companyzip", Text},  {"homeaddr", Text},
    {"homezip", Text}, {"remark", Text},
};

const CContactDependants kContacts;
const CPaymentDependants kPurchasePayments(kPurchaseTwin);
const CPaymentDependants kSalePayments(kSaleTwin);

const CategoryInfo kCategories[] = {
    {.code = RecordCategory::kClients,
     .caption = u"客户",
     .dialog = RecordDialog::Client,
     .manageCommand = ID_MANAGE_CLIENT,
     .recordSql = u"SELECT * FROM client WHERE [no] = %1",
     .readFailure = u"客户表无法打开！",
     .fields = kClientFields,
     .dependants = &kContacts},
    {.code = RecordCategory::kPurchases,
     .caption = u"采购",
     .dialog = RecordDialog::Purchase,
     .manageCommand = ID_MANAGE_INPUT,
     .recordSql = u"SELECT * FROM inputdata WHERE [no] = %1 ORDER BY date",
     .readFailure = u"采购表无法打开！",
     .fields = kOrderFields,
     .totalsRow = true,
     .dependants = &kPurchasePayments},
    {.code = RecordCategory::kSales,
     .caption = u"销售",
     .dialog = RecordDialog::Sale,
     .manageCommand = ID_MANAGE_OUTPUT,
     .recordSql = u"SELECT * FROM outputdata WHERE [no] = %1 ORDER BY date",
     .readFailure = u"销售表无法打开！",
     .fields = kOrderFields,
     .totalsRow = true,
     .dependants = &kSalePayments},
    {.code = RecordCategory::kNotes,
     .caption = u"便笺",
     .dialog = RecordDialog::Note,
     .manageCommand = ID_MANAGE_NOTE,
     .recordSql = u"SELECT * FROM notepaper WHERE [no] = %1",
     .readFailure = u"便笺表无法打开！",
     .fields = kNoteFields,
     .textColumn = 3},
    // Appointments are modified in their own dialog, through 资料管理 > 约会.
    {.code = RecordCategory::kAppointments,
     .caption = u"约会",
     .dialog = RecordDialog::Appointment,
     .manageCommand = ID_MANAGE_APPOINT,
     .modifyCommand = ID_MANAGE_APPOINT,
     .textColumn = 5},
    {.code = RecordCategory::kReminders,
     .caption = u"提醒",
     .dialog = RecordDialog::Reminder,
     .manageCommand = ID_MANAGE_NOTICE,
     .recordSql = u"SELECT * FROM notice WHERE [no] = %1",
     .readFailure = u"提醒表无法打开！",
     .fields = kReminderFields,
     .textColumn = 2},
    {.code = RecordCategory::kDomesticCodes, .caption = u"国内邮编、区号"},
    {.code = RecordCategory::kInternationalCodes, .caption = u"国际区号"},
    {.code = RecordCategory::kPhoneNumbers, .caption = u"常用电话"},
    {.code = RecordCategory::kAddressBook,
     .caption = u"通讯录",
     .dialog = RecordDialog::AddressBook,
     .manageCommand = ID_MANAGE_ADDRESS,
     .recordSql = u"SELECT * FROM [address] WHERE [no] = %1 ORDER BY group, user",
     .readFailure = u"通讯录表无法打开！",
     .fields = kAddressFields},
    // The statistics table's caption names what it compares; the filler sets it.
    {.code = RecordCategory::kStatistics, .caption = nullptr},
};

} // namespace

const CategoryInfo* FindCategory(int code)
{
    for (const CategoryInfo& category : kCategories)
        if (category.code == code)
            return &category;
    return nullptr;
}
