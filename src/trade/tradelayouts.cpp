#include "trade/tradelayouts.h"

#include "views/listicons.h"

#include <array>

namespace {

using enum CellFormat;

constexpr ListColumn kFoundClientColumns[] = {
    {u"名称", 100, "name"},       {u"编号", 100, "number"}, {u"法人", 80, "corporation"},
    {u"性质", 80, "property"},    {u"类别", 80, "type"},    {u"行业", 100, "vocation"},
    {u"重要度", 80, "important"}, {u"信誉", 80, "credit"},  {u"国家", 80, "country"},
    {u"省", 80, "province"},      {u"市", 80, "city"},      {u"地址", 150, "address"},
    {u"邮编", 80, "zip"},         {u"主页", 100, "site"},   {u"开户行", 100, "bank"},
    {u"帐号", 100, "account"},    {u"税号", 100, "tax"},    {u"概况", 150, "survey"},
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

} // namespace

namespace ListLayouts {
const ListLayout kFoundClients{kFoundClientColumns, ListIcon::kRecordCard};
const ListLayout kPurchaseOrders{kPurchaseOrderColumns, ListIcon::kSettled, "square",
                                 ListIcon::kOpen};
const ListLayout kSaleOrders{kSaleOrderColumns, ListIcon::kSettled, "square", ListIcon::kOpen};
const ListLayout kPayments{kPaymentColumns, ListIcon::kDependant};
} // namespace ListLayouts
