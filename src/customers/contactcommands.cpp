#include "customers/contactcommands.h"

#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "customers/linkmandlg.h"
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
    doc.Dialogs().Register(RecordDialog::Contact,
                           [&doc](const CRecordRequest& request, QWidget* parent) {
                               OpenContactDialog(doc, request, parent);
                           });
}

void RegisterContactCommands(CMainFrame& frame)
{
    CVantrelDoc& doc = *frame.Document();
    frame.Router().SetHandler(ID_MANAGE_LINKMAN, [&frame, &doc] {
        CRecordRequest request;
        request.dialog = RecordDialog::Contact;
        OpenContactDialog(doc, request, &frame);
    });
    RegisterContactDialog(doc);
}
