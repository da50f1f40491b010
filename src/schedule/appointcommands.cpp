#include "schedule/appointcommands.h"

#include "data/adorecordset.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/recordlistmodel.h"
#include "schedule/appointdlg.h"
#include "schedule/appointlist.h"
#include "schedule/appointquerydlg.h"
#include "schedule/schedulelayouts.h"
#include "schedule/schedulerecords.h"
#include "views/featurecontext.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace {

// The appointment of the main list's current row; -1 when the list shows no appointments or
// no row is current.
int CurrentAppointment(const CVantrelDoc& doc)
{
    const CVantrelView* view = doc.MainList();
    int no = -1;
    if (!view || view->Category() != ScheduleCategory::kAppointments || view->CurrentRow() < 0 ||
        !view->List().RecordNumber(view->CurrentRow(), no))
        return -1;
    return no;
}

// The main list's rows of appointments the dialog changed show them as they are now; those of
// deleted appointments go.
void FollowChanges(CVantrelDoc& doc, const CAppointDlg& dialog)
{
    CVantrelView* view = doc.MainList();
    if (!view || view->Category() != ScheduleCategory::kAppointments ||
        (dialog.Modified().empty() && dialog.Deleted().empty()))
        return;
    CRecordListModel& list = view->List();
    const AppointPartiesOf parties = PartiesFromTables(doc);
    for (int row = list.GetItemCount() - 1; row >= 0; --row) {
        int no = -1;
        if (!list.RecordNumber(row, no))
            continue;
        if (dialog.Deleted().count(no)) {
            list.DeleteItem(row);
            continue;
        }
        if (!dialog.Modified().count(no))
            continue;
        CADORecordset recordset(doc.Database());
        if (!recordset.Open(u"SELECT * FROM appoint WHERE [no] = %1"_s.arg(no)) ||
            recordset.GetRecordCount() < 1)
            continue;
        recordset.MoveFirst();
        QVariantMap values;
        QDateTime time;
        int linkman = -1;
        recordset.GetFieldDate(u"time"_s, time);
        recordset.GetFieldInt(u"linkman"_s, linkman);
        values[u"time"_s] = time;
        for (const QString& field : {u"length"_s, u"place"_s, u"content"_s}) {
            QString text;
            recordset.GetFieldText(field, text);
            values[field] = text;
        }
        const AppointParties names = parties(linkman).value_or(AppointParties{});
        values[u"client"_s] = names.client;
        values[u"contact"_s] = names.contact;
        RewriteLayoutRow(list, row, no, ListLayouts::kAppointments, values);
    }
    if (view->CurrentRow() >= list.GetItemCount())
        view->SetCurrentRow(-1);
}

void OpenAppointDlg(CVantrelDoc& doc, const CAppContext& app, QWidget* parent, int no)
{
    CAppointDlg dialog(doc.Database(), app.Clock(), parent);
    if (no >= 0)
        dialog.SelectAppointment(no);
    dialog.exec();
    FollowChanges(doc, dialog);
}

} // namespace

void RegisterAppointCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    const CAppContext& app = context.app;
    QWidget* window = context.window;
    // Also the main list's "修改记录" for appointments, which runs this command: the dialog
    // opens at the appointment of the list's current row.
    context.commands.SetHandler(ID_MANAGE_APPOINT, [&doc, &app, window] {
        OpenAppointDlg(doc, app, window, CurrentAppointment(doc));
    });
    context.commands.SetHandler(ID_QUERY_APPOINT, [&doc, &app, window] {
        CAppointQueryDlg dialog(doc, app.Clock(), window);
        dialog.exec();
    });
    doc.Dialogs().Register(ScheduleDialog::kAppointment,
                           [&doc, &app](const CRecordRequest& request, QWidget* parent) {
                               OpenAppointDlg(doc, app, parent, request.modify ? request.no : -1);
                           });
}
