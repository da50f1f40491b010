#include "trade/analysiscommands.h"

#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "trade/finddlg.h"
#include "trade/statdlg.h"
#include "views/featurecontext.h"

void RegisterAnalysisCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    const CAppContext& app = context.app;
    QWidget* window = context.window;
    context.commands.SetHandler(ID_QUERY_STAT, [window, &doc, &app] {
        CStatDlg dialog(doc, app.Clock(), window);
        dialog.exec();
    });
    context.commands.SetHandler(ID_QUERY_FIND, [window, &doc] {
        CFindDlg dialog(doc, window);
        dialog.exec();
    });
}
