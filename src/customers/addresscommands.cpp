#include "customers/addresscommands.h"

#include "customers/addressdlg.h"
#include "customers/addressquerydlg.h"
#include "customers/customerrecords.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

// The address-book dialog as a record list asks for it: empty to add, loaded with the stored
// row to modify the entry shown in row `item` of the main list.
void OpenAddressDialog(CVantrelDoc& doc, const CRecordRequest& request, QWidget* parent)
{
    CAddressDlg dialog(doc.Database(), doc.MainList(), parent);
    dialog.SetRequestMembers(request);
    dialog.SetFieldValues(request.fields);
    dialog.exec();
}

} // namespace

void RegisterAddressCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    context.commands.SetHandler(ID_MANAGE_ADDRESS, [window, &doc] {
        CRecordRequest request;
        request.dialog = CustomerDialog::kAddressBook;
        OpenAddressDialog(doc, request, window);
    });
    context.commands.SetHandler(ID_QUERY_ADDRESS, [window, &doc] {
        CAddressQueryDlg dialog(doc.Database(), doc, window);
        dialog.exec();
    });
    doc.Dialogs().Register(CustomerDialog::kAddressBook,
                           [&doc](const CRecordRequest& request, QWidget* parent) {
                               OpenAddressDialog(doc, request, parent);
                           });
}
