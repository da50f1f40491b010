#include "trade/tradecommands.h"

#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "trade/analysiscommands.h"
#include "trade/detailcommands.h"
#include "trade/exportcommands.h"
#include "trade/orderdlg.h"
#include "trade/tradequerydlg.h"
#include "trade/traderecords.h"
#include "trade/tradetwin.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

// 查询搜索 > 采购 / 销售: the order queries.
template <typename Dialog> void RegisterOrderQuery(const CFeatureContext& context, int command)
{
    CVantrelDoc& doc = context.doc;
    const CAppContext& app = context.app;
    QWidget* window = context.window;
    context.commands.SetHandler(command, [window, &doc, &app] {
        Dialog dialog(doc, app.Clock(), window);
        dialog.exec();
    });
}

// The trade's order dialog from 资料管理 (empty, to add) and from the order list (empty, or
// loaded with the stored order to modify row `item`).
template <typename Dialog> void RegisterOrderDialog(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    const CAppContext& app = context.app;
    auto open = [&doc, &app](const CRecordRequest& request, QWidget* parent) {
        Dialog dialog(doc.Database(), doc.MainList(), app.Clock(), parent);
        dialog.SetRequest(request);
        dialog.exec();
    };
    const TradeTwin& trade = Dialog::DialogKind().trade;
    QWidget* window = context.window;
    context.commands.SetHandler(trade.orderCommand,
                                [open, window] { open(CRecordRequest{}, window); });
    doc.Dialogs().Register(trade.orderDialog, open);
}

} // namespace

void RegisterTradeCommands(const CFeatureContext& context)
{
    RegisterTradeCategories(context.doc);
    RegisterOrderQuery<CPurchaseQueryDlg>(context, kPurchaseTwin.queryCommand);
    RegisterOrderQuery<CSaleQueryDlg>(context, kSaleTwin.queryCommand);
    RegisterOrderDialog<CPurchaseDlg>(context);
    RegisterOrderDialog<CSaleDlg>(context);
    RegisterDetailCommands(context);
    RegisterExportCommands(context);
    RegisterAnalysisCommands(context);
}
