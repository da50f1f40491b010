#include "kit/commandids.h"
#include "trade/paymentdependants.h"
#include "trade/traderecords.h"
#include "trade/tradetwin.h"
#include "views/categoryregistry.h"
#include "views/totalsrow.h"
#include "views/vantreldoc.h"

#include <memory>

namespace {

using enum FieldKind;

constexpr FieldSpec kOrderFields[] = {
    {"date", Day},       {"paper", Text},     {"item", Text},   {"bargain", Text},
    {"client", Text},    {"linkman", Text},   {"goods", Text},  {"unit", Text},
    {"number", Double},  {"warehouse", Text}, {"sum", Double},  {"detail", Text},
    {"principal", Text}, {"square", Flag},    {"remark", Text},
};

// The orders, with what has been paid of each, and the payments below them.
constexpr const char* kPurchaseTables[] = {"inputdata", "inputdetail"};
constexpr const char* kSaleTables[] = {"outputdata", "outputdetail"};

} // namespace

void RegisterTradeCategories(CVantrelDoc& doc)
{
    CCategoryRegistry& categories = doc.Categories();
    categories.Register({.code = TradeCategory::kPurchases,
                         .caption = u"采购",
                         .dialog = TradeDialog::kPurchase,
                         .manageCommand = ID_MANAGE_INPUT,
                         .recordSql = u"SELECT * FROM inputdata WHERE [no] = %1 ORDER BY date",
                         .readFailure = u"采购表无法打开！",
                         .fields = kOrderFields,
                         .recountTotals = &UpdateOrderTotals,
                         .dependants = std::make_shared<CPaymentDependants>(kPurchaseTwin),
                         .tables = kPurchaseTables});
    categories.Register({.code = TradeCategory::kSales,
                         .caption = u"销售",
                         .dialog = TradeDialog::kSale,
                         .manageCommand = ID_MANAGE_OUTPUT,
                         .recordSql = u"SELECT * FROM outputdata WHERE [no] = %1 ORDER BY date",
                         .readFailure = u"销售表无法打开！",
                         .fields = kOrderFields,
                         .recountTotals = &UpdateOrderTotals,
                         .dependants = std::make_shared<CPaymentDependants>(kSaleTwin),
                         .tables = kSaleTables});
    // The statistics table's caption names what it compares; the filler sets it.
    categories.Register({.code = TradeCategory::kStatistics, .chart = true});
}
