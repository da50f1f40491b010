#include "customers/contactdependants.h"
#include "customers/customerrecords.h"
#include "kit/commandids.h"
#include "views/categoryregistry.h"
#include "views/vantreldoc.h"

#include <memory>

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

constexpr FieldSpec kAddressFields[] = {
    {"group", Text},   {"user", Text},        {"sex", Int},          {"mobile", Text},
    {"pas", Text},     {"homephone", Text},   {"officephone", Text}, {"qq", Text},
    {"msn", Text},     {"email1", Text},      {"email2", Text},      {"birthday", Text},
    {"like", Text},    {"company", Text},     {"branch", Text},      {"duty", Text},
    {"fax", Text},     {"companyaddr", Text}, {"companyzip", Text},  {"homeaddr", Text},
    {"homezip", Text}, {"remark", Text},
};

// The clients with their contacts below them; the address book.
constexpr const char* kClientTables[] = {"client", "linkman"};
constexpr const char* kAddressTables[] = {"address"};

} // namespace

void RegisterCustomerCategories(CVantrelDoc& doc)
{
    CCategoryRegistry& categories = doc.Categories();
    categories.Register({.code = CustomerCategory::kClients,
                         .caption = u"客户",
                         .dialog = CustomerDialog::kClient,
                         .manageCommand = ID_MANAGE_CLIENT,
                         .recordSql = u"SELECT * FROM client WHERE [no] = %1",
                         .readFailure = u"客户表无法打开！",
                         .fields = kClientFields,
                         .dependants = std::make_shared<CContactDependants>(),
                         .tables = kClientTables});
    categories.Register(
        {.code = CustomerCategory::kAddressBook,
         .caption = u"通讯录",
         .dialog = CustomerDialog::kAddressBook,
         .manageCommand = ID_MANAGE_ADDRESS,
         .recordSql = u"SELECT * FROM [address] WHERE [no] = %1 ORDER BY group, user",
         .readFailure = u"通讯录表无法打开！",
         .fields = kAddressFields,
         .tables = kAddressTables});
}
