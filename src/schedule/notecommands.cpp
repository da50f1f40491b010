#include "schedule/notecommands.h"

#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "schedule/notepaperdlg.h"
#include "schedule/notepaperquerydlg.h"
#include "schedule/schedulerecords.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

void OpenNoteDialog(CVantrelDoc& doc, const CRecordRequest& request, QWidget* parent)
{
    CNotepaperDlg dialog(doc.Database(), doc.MainList(), doc.NoteView(), parent);
    dialog.SetRequest(request);
    dialog.exec();
}

} // namespace

void RegisterNoteDialog(CVantrelDoc& doc)
{
    doc.Dialogs().Register(ScheduleDialog::kNote,
                           [&doc](const CRecordRequest& request, QWidget* parent) {
                               OpenNoteDialog(doc, request, parent);
                           });
}

void RegisterNoteCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    context.commands.SetHandler(ID_MANAGE_NOTE, [&doc, window] {
        CRecordRequest request;
        request.dialog = ScheduleDialog::kNote;
        OpenNoteDialog(doc, request, window);
    });
    context.commands.SetHandler(ID_QUERY_NOTE, [&doc, window] {
        CNotepaperQueryDlg dialog(doc, window);
        dialog.exec();
    });
    RegisterNoteDialog(doc);
}
