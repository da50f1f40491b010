#include "customers/contactcommands.h"

#include "customers/customerrecords.h"
#include "customers/linkmandlg.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

void OpenContactDialog(CVantrelDoc& doc, const CRecordRequest& request, QWidget* parent)
{
    CLinkmanDlg dialog(doc.Database(), doc.MiddleList(), parent);
    dialog.SetRequest(request);
    dialog.exec();
}

} // namespace

void RegisterContactDialog(CVantrelDoc& doc)
{
    doc.Dialogs().Register(CustomerDialog::kContact,
                           [&doc](const CRecordRequest& request, QWidget* parent) {
                               OpenContactDialog(doc, request, parent);
                           });
}

void RegisterContactCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    context.commands.SetHandler(ID_MANAGE_LINKMAN, [window, &doc] {
        CRecordRequest request;
        request.dialog = CustomerDialog::kContact;
        OpenContactDialog(doc, request, window);
    });
    RegisterContactDialog(doc);
}
