#include "customers/addressentry.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"

#include <QHash>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr AddressTextField kFields[kAddressTextFieldCount] = {
    {"user", u"姓名"},
    {"mobile", u"手机"},
    {"pas", u"小灵通"},
    {"homephone", u"家庭电话"},
    {"officephone", u"办公电话"},
    {"qq", u"QQ"},
    {"msn", u"MSN"},
    {"email1", u"Email1"},
    {"email2", u"Email2"},
    {"birthday", u"生日"},
    {"like", u"爱好"},
    {"company", u"所在公司"},
    {"branch", u"部门"},
    {"duty", u"职务"},
    {"fax", u"传真"},
    {"companyaddr", u"公司地址"},
    {"companyzip", u"邮编"},
    {"homeaddr", u"家庭住址"},
    {"homezip", u"邮编"},
    {"remark", u"备注"},
};

} // namespace

std::span<const AddressTextField, kAddressTextFieldCount> AddressTextFields()
{
    return kFields;
}

bool LoadAddressEntries(CADODatabase* database, std::span<const int> numbers,
                        std::vector<AddressEntry>& entries)
{
    entries.clear();
    QHash<int, qsizetype> wanted;
    wanted.reserve(qsizetype(numbers.size()));
    for (size_t i = 0; i < numbers.size(); ++i)
        wanted.insert(numbers[i], qsizetype(i));
    std::vector<std::optional<AddressEntry>> found(numbers.size());
    CADORecordset recordset(database);
    if (!recordset.OpenForward(u"SELECT * FROM [address]"_s))
        return false;
    const int no = recordset.GetFieldIndex(u"no"_s);
    const int group = recordset.GetFieldIndex(u"group"_s);
    const int sex = recordset.GetFieldIndex(u"sex"_s);
    std::array<int, kAddressTextFieldCount> columns{};
    for (int i = 0; i < kAddressTextFieldCount; ++i)
        columns[size_t(i)] = recordset.GetFieldIndex(QString::fromLatin1(kFields[i].column));
    ForEachRow(recordset, [&] {
        int number = -1;
        recordset.GetFieldInt(no, number);
        const auto place = wanted.constFind(number);
        if (place == wanted.cend())
            return;
        AddressEntry entry;
        recordset.GetFieldText(group, entry.group);
        recordset.GetFieldInt(sex, entry.sex);
        for (int i = 0; i < kAddressTextFieldCount; ++i)
            recordset.GetFieldText(columns[size_t(i)], entry.texts[size_t(i)]);
        found[size_t(*place)] = std::move(entry);
    });
    if (!recordset.WalkSucceeded())
        return false;
    for (std::optional<AddressEntry>& entry : found)
        if (entry)
            entries.push_back(std::move(*entry));
    return true;
}
