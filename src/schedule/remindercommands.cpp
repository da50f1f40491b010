#include "schedule/remindercommands.h"

#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "schedule/noticedlg.h"
#include "schedule/reminderwatch.h"
#include "schedule/schedulerecords.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

#include <QPointer>
#include <QTimer>

namespace {

void OpenNoticeDialog(CVantrelDoc& doc, const CAppContext& app,
                      const QPointer<CReminderWatch>& watch, const CRecordRequest& request,
                      QWidget* parent)
{
    {
        CNoticeDlg dialog(doc.Database(), doc.MainList(), doc.NoteView(), app.Clock(), parent);
        dialog.SetRequest(request);
        dialog.exec();
    }
    // A reminder saved with a window holding the present is due at once.
    if (watch)
        watch->Check();
}

} // namespace

CReminderWatch* RegisterReminderCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    const CAppContext& app = context.app;
    QWidget* window = context.window;
    auto* watch = new CReminderWatch(doc, context.commands, app.Clock(), window);
    const QPointer<CReminderWatch> guarded(watch);
    context.commands.SetHandler(ID_MANAGE_NOTICE, [&doc, &app, guarded, window] {
        CRecordRequest request;
        request.dialog = ScheduleDialog::kReminder;
        OpenNoticeDialog(doc, app, guarded, request, window);
    });
    doc.Dialogs().Register(ScheduleDialog::kReminder,
                           [&doc, &app, guarded](const CRecordRequest& request, QWidget* parent) {
                               OpenNoticeDialog(doc, app, guarded, request, parent);
                           });
    // The main window is made before it shows: the first check waits for the event loop.
    QTimer::singleShot(0, watch, [guarded] {
        if (guarded)
            guarded->Start();
    });
    return watch;
}
