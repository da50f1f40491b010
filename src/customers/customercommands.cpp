#include "customers/customercommands.h"

#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "customers/categorydlg.h"
#include "customers/clientdlg.h"
#include "customers/clientquerydlg.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

// The client dialog as a record list asks for it: empty to add, loaded with the stored row to
// modify the client shown in row `item` of the main list.
void OpenClientDialog(CVantrelDoc& doc, const CRecordRequest& request, QWidget* parent)
{
    CClientDlg dialog(doc.Database(), doc.MainList(), parent);
    if (request.modify) {
        dialog.m_bModify = 1;
        dialog.m_nNo = request.no;
        dialog.m_nItem = request.item;
    }
    dialog.SetFieldTexts(request.fields);
    dialog.exec();
}

} // namespace

void RegisterCustomerCommands(CMainFrame& frame)
{
    CVantrelDoc& doc = *frame.Document();
    CCommandRouter& router = frame.Router();
    router.SetHandler(ID_MANAGE_BASIC, [&frame, &doc] {
        CCategoryDlg dialog(doc.Database(), &frame);
        dialog.exec();
    });
    router.SetHandler(ID_QUERY_CLIENT, [&frame, &doc] {
        CClientQueryDlg dialog(doc.Database(), doc, &frame);
        dialog.exec();
    });
    router.SetHandler(ID_MANAGE_CLIENT,
                      [&frame, &doc] { OpenClientDialog(doc, CRecordRequest{}, &frame); });
    doc.Dialogs().Register(RecordDialog::Client,
                           [&doc](const CRecordRequest& request, QWidget* parent) {
                               OpenClientDialog(doc, request, parent);
                           });
}
