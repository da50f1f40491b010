#include "customers/customerlayouts.h"

#include "views/listicons.h"

namespace {

using enum CellFormat;

constexpr ListColumn kClientColumns[] = {
    {u"名称", 200, "name"},       {u"编号", 100, "number"},
    {u"法人", 80, "corporation"}, {u"所属业务员", 80, "operator"},
    {u"性质", 80, "property"},    {u"类别", 80, "type"},
    {u"行业", 100, "vocation"},   {u"重要度", 80, "important"},
    {u"信誉", 80, "credit"},      {u"国家", 80, "country"},
    {u"省", 80, "province"},      {u"市", 80, "city"},
    {u"员工人数", 100, "people"}, {u"年营业额", 100, "turnover"},
    {u"地址", 150, "address"},    {u"邮编", 80, "zip"},
    {u"主页", 100, "site"},       {u"开户行", 100, "bank"},
    {u"帐号", 100, "account"},    {u"税号", 100, "tax"},
    {u"概况", 150, "survey"},     {u"备注", 150, "remark"},
};

// "client" shows the owning client's name, which the filler supplies.
constexpr ListColumn kContactColumns[] = {
    {u"姓名", 80, "name"},
    {u"所属客户", 200, "client"},
    {u"编号", 100, "number"},
    {u"手机", 100, "mobile"},
    {u"工作电话", 100, "officephone"},
    {u"家庭电话", 100, "homephone"},
    {u"传真", 100, "fax"},
    {u"Email1", 150, "email1"},
    {u"Email2", 150, "email2"},
    {u"QQ", 80, "qq"},
    {u"MSN", 150, "msn"},
    {u"性别", 50, "sex", Sex},
    {u"民族", 50, "nation"},
    {u"重要度", 80, "important"},
    {u"信誉", 80, "credit"},
    {u"部门", 80, "branch"},
    {u"职务", 80, "duty"},
    {u"生日", 110, "birthday", Date},
    {u"爱好", 100, "like"},
    {u"学历", 80, "education"},
    {u"职称", 80, "technical"},
    {u"身份证号", 100, "id"},
    {u"工作地点", 150, "location"},
    {u"邮编", 80, "loczip"},
    {u"家庭地址", 150, "address"},
    {u"邮编", 80, "adrzip"},
    {u"国家", 80, "country"},
    {u"省", 80, "province"},
    {u"市", 80, "city"},
    {u"休息日", 100, "holiday"},
    {u"备注", 150, "remark"},
};

constexpr ListColumn kAddressColumns[] = {
    {u"分类", 100, "group"},
    {u"姓名", 100, "user"},
    {u"性别", 50, "sex", Sex},
    {u"手机", 100, "mobile"},
    {u"小灵通", 100, "pas"},
    {u"家庭电话", 100, "homephone"},
    {u"办公电话", 100, "officephone"},
    {u"QQ", 100, "qq"},
    {u"MSN", 100, "msn"},
    {u"Email1", 100, "email1"},
    {u"Email2", 100, "email2"},
    {u"生日", 110, "birthday"},
    {u"爱好", 100, "like"},
    {u"所在公司", 150, "company"},
    {u"部门", 100, "branch"},
    {u"职务", 100, "duty"},
    {u"传真", 100, "fax"},
    {u"公司地址", 150, "companyaddr"},
    {u"邮编", 100, "companyzip"},
    {u"家庭住址", 150, "homeaddr"},
    {u"邮编", 100, "homezip"},
    {u"备注", 150, "remark"},
};

} // namespace

namespace ListLayouts {
const ListLayout kClients{kClientColumns, ListIcon::kRecordCard};
const ListLayout kContacts{kContactColumns, ListIcon::kDependant};
const ListLayout kAddressBook{kAddressColumns, ListIcon::kRecordCard};
} // namespace ListLayouts
