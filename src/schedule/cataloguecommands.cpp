#include "schedule/cataloguecommands.h"

#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "schedule/cataloguedlg.h"
#include "views/featurecontext.h"
#include "views/vantreldoc.h"

void RegisterCatalogueCommands(const CFeatureContext& context)
{
    CAppContext& app = context.app;
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    // The picture home directory is read when a dialog opens: the settings may have changed it.
    context.commands.SetHandler(ID_MANAGE_MATERIAL, [window, &app, &doc] {
        CMaterialDlg dialog(doc.Database(), app.PicturePath(), window);
        dialog.exec();
    });
    context.commands.SetHandler(ID_MANAGE_PRODUCT, [window, &app, &doc] {
        CProductDlg dialog(doc.Database(), app.PicturePath(), window);
        dialog.exec();
    });
}
