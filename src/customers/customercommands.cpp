#include "customers/customercommands.h"

#include "customers/addresscardcommands.h"
#include "customers/addresscommands.h"
#include "customers/categorydlg.h"
#include "customers/clientdlg.h"
#include "customers/clientquerydlg.h"
#include "customers/customerrecords.h"
#include "customers/importcommands.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

// The client dialog as a record list asks for it: empty to add, loaded with the stored row to
// modify the client shown in row `item` of the main list.
void OpenClientDialog(CVantrelDoc& doc, const CRecordRequest& request, QWidget* parent)
{
    CClientDlg dialog(doc.Database(), doc.MainList(), parent);
    dialog.SetRequestMembers(request);
    dialog.SetFieldTexts(request.fields);
    dialog.exec();
}

} // namespace

void RegisterCustomerCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    RegisterCustomerCategories(doc);
    QWidget* window = context.window;
    context.commands.SetHandler(ID_MANAGE_BASIC, [window, &doc] {
        CCategoryDlg dialog(doc.Database(), window);
        dialog.exec();
    });
    context.commands.SetHandler(ID_QUERY_CLIENT, [window, &doc] {
        CClientQueryDlg dialog(doc.Database(), doc, window);
        dialog.exec();
    });
    context.commands.SetHandler(
        ID_MANAGE_CLIENT, [window, &doc] { OpenClientDialog(doc, CRecordRequest{}, window); });
    doc.Dialogs().Register(CustomerDialog::kClient,
                           [&doc](const CRecordRequest& request, QWidget* parent) {
                               OpenClientDialog(doc, request, parent);
                           });
    RegisterAddressCommands(context);
    RegisterImportCommands(context);
    RegisterAddressCardCommands(context);
}
