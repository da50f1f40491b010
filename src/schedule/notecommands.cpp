#include "schedule/notecommands.h"

#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "schedule/notepaperdlg.h"
#include "schedule/notepaperquerydlg.h"
#include "schedule/schedulerecords.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

namespace {

void OpenNoteDialog(CVantrelDoc& doc, const CAppContext& app, const CRecordRequest& request,
                    QWidget* parent)
{
    CNotepaperDlg dialog(doc.Database(), doc.MainList(), doc.NoteView(), app.Clock(), parent);
    dialog.SetRequest(request);
    dialog.exec();
}

} // namespace

void RegisterNoteDialog(CVantrelDoc& doc, const CAppContext& app)
{
    doc.Dialogs().Register(ScheduleDialog::kNote,
                           [&doc, &app](const CRecordRequest& request, QWidget* parent) {
                               OpenNoteDialog(doc, app, request, parent);
                           });
}

void RegisterNoteCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    const CAppContext& app = context.app;
    QWidget* window = context.window;
    context.commands.SetHandler(ID_MANAGE_NOTE, [&doc, &app, window] {
        CRecordRequest request;
        request.dialog = ScheduleDialog::kNote;
        OpenNoteDialog(doc, app, request, window);
    });
    context.commands.SetHandler(ID_QUERY_NOTE, [&doc, &app, window] {
        CNotepaperQueryDlg dialog(doc, app.Clock(), window);
        dialog.exec();
    });
    RegisterNoteDialog(doc, app);
}
