#include "schedule/lookupcommands.h"

#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "schedule/lookupdlg.h"
#include "schedule/phonebookdlg.h"
#include "views/featurecontext.h"

void RegisterLookupCommands(const CFeatureContext& context)
{
    CAppContext& app = context.app;
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    // The reference file is asked for at each opening: the program may have reopened it.
    context.commands.SetHandler(ID_TOOLS_ZIP, [&app, &doc, window] {
        CZipQueryDlg dialog(app.ReferenceDatabase(), doc, window);
        dialog.exec();
    });
    context.commands.SetHandler(ID_TOOLS_PHONE, [&app, &doc, window] {
        CPhoneBookDlg dialog(app.ReferenceDatabase(), doc, window);
        dialog.exec();
    });
}
