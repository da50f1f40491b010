#include "trade/analysiscommands.h"

#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "trade/finddlg.h"
#include "trade/statdlg.h"
#include "views/featurecontext.h"

namespace {

template <typename Dialog> void RegisterDialog(const CFeatureContext& context, int command)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    context.commands.SetHandler(command, [window, &doc] {
        Dialog dialog(doc, window);
        dialog.exec();
    });
}

} // namespace

void RegisterAnalysisCommands(const CFeatureContext& context)
{
    RegisterDialog<CStatDlg>(context, ID_QUERY_STAT);
    RegisterDialog<CFindDlg>(context, ID_QUERY_FIND);
}
