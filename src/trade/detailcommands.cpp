#include "trade/detailcommands.h"

#include "kit/commandregistry.h"
#include "trade/tradedetaildlg.h"
#include "trade/tradetwin.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

constexpr const TradeTwin* kTrades[] = {&kPurchaseTwin, &kSaleTwin};

void OpenDetailDialog(CVantrelDoc& doc, const TradeTwin& trade, const CRecordRequest& request,
                      QWidget* parent)
{
    CTradeDetailDlg dialog(doc.Database(), trade, doc.MiddleList(), doc.MainList(), parent);
    dialog.SetRequest(request);
    dialog.exec();
}

} // namespace

void RegisterDetailDialogs(CVantrelDoc& doc)
{
    for (const TradeTwin* trade : kTrades)
        doc.Dialogs().Register(trade->detailDialog,
                               [&doc, trade](const CRecordRequest& request, QWidget* parent) {
                                   OpenDetailDialog(doc, *trade, request, parent);
                               });
}

void RegisterDetailCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    for (const TradeTwin* trade : kTrades)
        context.commands.SetHandler(trade->detailCommand, [&doc, trade, window] {
            CRecordRequest request;
            request.dialog = trade->detailDialog;
            request.sale = trade->sale;
            OpenDetailDialog(doc, *trade, request, window);
        });
    RegisterDetailDialogs(doc);
}
