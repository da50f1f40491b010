#include "trade/detailcommands.h"

#include "kit/appcontext.h"
#include "kit/commandregistry.h"
#include "trade/tradedetaildlg.h"
#include "trade/tradetwin.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

constexpr const TradeTwin* kTrades[] = {&kPurchaseTwin, &kSaleTwin};

void OpenDetailDialog(CVantrelDoc& doc, const CAppContext& app, const TradeTwin& trade,
                      const CRecordRequest& request, QWidget* parent)
{
    CTradeDetailDlg dialog(doc.Database(), trade, doc.MiddleList(), doc.MainList(), app.Clock(),
                           parent);
    dialog.SetRequest(request);
    dialog.exec();
}

} // namespace

void RegisterDetailDialogs(CVantrelDoc& doc, const CAppContext& app)
{
    for (const TradeTwin* trade : kTrades)
        doc.Dialogs().Register(trade->detailDialog,
                               [&doc, &app, trade](const CRecordRequest& request, QWidget* parent) {
                                   OpenDetailDialog(doc, app, *trade, request, parent);
                               });
}

void RegisterDetailCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    const CAppContext& app = context.app;
    QWidget* window = context.window;
    for (const TradeTwin* trade : kTrades)
        context.commands.SetHandler(trade->detailCommand, [&doc, &app, trade, window] {
            CRecordRequest request;
            request.dialog = trade->detailDialog;
            request.sale = trade->sale;
            OpenDetailDialog(doc, app, *trade, request, window);
        });
    RegisterDetailDialogs(doc, app);
}
