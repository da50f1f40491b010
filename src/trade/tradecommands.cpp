#include "trade/tradecommands.h"

#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "trade/tradequerydlg.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/tradetwin.h"
#include "views/vantreldoc.h"

namespace {

// 查询搜索 > 采购 / 销售: the order queries.
void RegisterOrderQueries(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    context.commands.SetHandler(kPurchaseTwin.queryCommand, [window, &doc] {
        CPurchaseQueryDlg dialog(doc, window);
        dialog.exec();
    });
    context.commands.SetHandler(kSaleTwin.queryCommand, [window, &doc] {
        CSaleQueryDlg dialog(doc, window);
        dialog.exec();
    });
}

} // namespace

void RegisterTradeCommands(const CFeatureContext& context)
{
    RegisterOrderQueries(context);
}
