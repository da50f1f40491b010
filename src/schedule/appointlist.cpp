#include "schedule/appointlist.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/storedvalues.h"
#include "kit/recordlistmodel.h"
#include "schedule/schedulelayouts.h"
#include "schedule/schedulerecords.h"
#include "views/listpanes.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QHash>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

void ShowAppointmentList(CVantrelDoc& doc, const QString& sql, const AppointPartiesOf& parties)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    view->SetCategory(ScheduleCategory::kAppointments);
    view->SetRefill([&doc, sql, parties] { ShowAppointmentList(doc, sql, parties); });
    view->SetCaption(u"约会"_s);
    doc.SetInfoText(u"约会"_s);
    doc.ShowBottomView(BottomView::kText);
    const ListLayout& layout = ListLayouts::kAppointments;
    SetLayoutColumns(view->List(), layout);

    CADORecordset recordset(doc.Database());
    if (!recordset.OpenForward(sql))
        return;
    const int no = recordset.GetFieldIndex(u"no"_s);
    const int linkman = recordset.GetFieldIndex(u"linkman"_s);
    const int fields[] = {recordset.GetFieldIndex(u"time"_s), recordset.GetFieldIndex(u"length"_s),
                          recordset.GetFieldIndex(u"place"_s),
                          recordset.GetFieldIndex(u"content"_s)};
    CListRows rows;
    CStoredValues& values = rows.values;
    ForEachRow(recordset, [&] {
        int contact = 0;
        recordset.GetFieldInt(linkman, contact);
        const std::optional<AppointParties> names = parties(contact);
        if (!names)
            return;
        const int row = rows.Add(layout.image);
        values.SetShown(row, 0, names->client);
        values.SetShown(row, 1, names->contact);
        int column = 2;
        for (int field : fields) {
            values.SetFormat(row, column, layout.columns[size_t(column)].format);
            recordset.StoreField(field, values, row, column++);
        }
        int number = 0;
        recordset.GetFieldInt(no, number);
        values.SetInteger(row, column, number);
    });
    if (!recordset.WalkSucceeded())
        return;
    view->SetCurrentQuery(sql);
    view->List().AppendRows(std::move(rows));
}

AppointPartiesOf PartiesFromTables(CVantrelDoc& doc)
{
    // Read once, when the first row asks: a list of many rows looks up the same few contacts.
    struct Tables
    {
        bool read = false;
        QHash<int, AppointParties> contacts;
    };
    auto tables = std::make_shared<Tables>();
    CADODatabase* database = doc.Database();
    return [tables, database](int linkman) -> std::optional<AppointParties> {
        if (!tables->read) {
            tables->read = true;
            QHash<int, QString> clients;
            CADORecordset recordset(database);
            OpenEachRow(recordset, u"SELECT [no], [name] FROM client"_s, [&] {
                int no = 0;
                QString name;
                recordset.GetFieldInt(u"no"_s, no);
                recordset.GetFieldText(u"name"_s, name);
                // The first of equal numbers, as a lookup of the number finds it.
                if (!clients.contains(no))
                    clients.insert(no, name);
            });
            OpenEachRow(recordset, u"SELECT [no], [client], [name] FROM linkman"_s, [&] {
                int no = 0;
                int client = 0;
                AppointParties parties;
                recordset.GetFieldInt(u"no"_s, no);
                recordset.GetFieldInt(u"client"_s, client);
                recordset.GetFieldText(u"name"_s, parties.contact);
                parties.client = clients.value(client);
                if (!tables->contacts.contains(no))
                    tables->contacts.insert(no, parties);
            });
        }
        return tables->contacts.value(linkman);
    };
}
