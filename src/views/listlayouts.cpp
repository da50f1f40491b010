#include "views/listlayouts.h"

#include <array>

namespace {

using enum CellFormat;

// The icons of the record lists' image lists.
constexpr int kMainRecordCard = 0; // main list: a record card
constexpr int kLowerDependant = 0; // secondary list: a dependent record
constexpr int kMainSettled = 1;    // main list: a settled order
constexpr int kMainOpen = 2;       // main list: an order still open
constexpr int kMainDiary = 3;      // main list: a note or an appointment

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

constexpr ListColumn kFoundClientColumns[] = {
    {u"名称", 100, "name"},       {u"编号", 100, "number"}, {u"法人", 80, "corporation"},
    {u"性质", 80, "property"},    {u"类别", 80, "type"},    {u"行业", 100, "vocation"},
    {u"重要度", 80, "important"}, {u"信誉", 80, "credit"},  {u"国家", 80, "country"},
    {u"省", 80, "province"},      {u"市", 80, "city"},      {u"地址", 150, "address"},
    {u"邮编", 80, "zip"},         {u"主页", 100, "site"},   {u"开户行", 100, "bank"},
    {u"帐号", 100, "account"},    {u"税号", 100, "tax"},    {u"概况", 150, "survey"},
    {u"备注", 150, "remark"},
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

// The order columns of both trades; the four whose titles name the trade differ.
constexpr std::array<ListColumn, 17> OrderColumns(const char16_t* client, const char16_t* paid,
                                                  const char16_t* percent, const char16_t* detail)
{
    return {{
        {u"日期", 110, "date", Date},
        {u"单号", 100, "paper"},
        {u"项目", 100, "item"},
        {u"合同", 100, "bargain"},
        {client, 100, "client"},
        {u"对方签约人", 100, "linkman", Text, Qt::AlignCenter},
        {u"单据金额", 80, "sum", Amount, Qt::AlignRight},
        {paid, 80, "paid", Amount, Qt::AlignRight},
        {percent, 80, "percent", Percent, Qt::AlignCenter},
        {u"货品名称", 100, "goods", Text, Qt::AlignCenter},
        {u"单位", 50, "unit", Text, Qt::AlignCenter},
        {u"数量", 80, "number", Amount, Qt::AlignRight},
        {u"仓库", 80, "warehouse", Text, Qt::AlignCenter},
        {u"责任人", 80, "principal", Text, Qt::AlignCenter},
        {u"结清标志", 80, "square", Settled, Qt::AlignCenter},
        {detail, 200, "detail"},
        {u"备注", 200, "remark"},
    }};
}

constexpr auto kPurchaseOrderColumns =
    OrderColumns(u"供应商", u"已支付金额", u"支付百分比", u"采购详情");
constexpr auto kSaleOrderColumns = OrderColumns(u"客户", u"回笼金额", u"回笼百分比", u"销售详情");

constexpr ListColumn kPaymentColumns[] = {
    {u"日期", 110, "date", Date},
    {u"数量", 100, "number", Amount, Qt::AlignRight},
    {u"金额", 100, "sum", Amount, Qt::AlignRight},
    {u"经手人", 100, "person"},
    {u"审批人", 100, "taster"},
    {u"交易详情", 200, "detail"},
    {u"备注", 200, "remark"},
};

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
const ListLayout kClients{kClientColumns, kMainRecordCard};
const ListLayout kFoundClients{kFoundClientColumns, kMainRecordCard};
const ListLayout kContacts{kContactColumns, kLowerDependant};
const ListLayout kPurchaseOrders{kPurchaseOrderColumns, kMainSettled, "square", kMainOpen};
const ListLayout kSaleOrders{kSaleOrderColumns, kMainSettled, "square", kMainOpen};
const ListLayout kPayments{kPaymentColumns, kLowerDependant};
const ListLayout kNotes{kNoteColumns, kMainDiary};
const ListLayout kReminders{kReminderColumns};
const ListLayout kAddressBook{kAddressColumns, kMainRecordCard};
const ListLayout kAppointments{kAppointmentColumns, kMainDiary};
const ListLayout kDomesticCodes{.columns = kDomesticCodeColumns, .numbered = false};
const ListLayout kInternationalCodes{.columns = kInternationalCodeColumns, .numbered = false};
const ListLayout kPhoneNumbers{.columns = kPhoneNumberColumns, .numbered = false};
} // namespace ListLayouts
