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
#include <unordered_map>
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
    // The list's columns after the client and the contact.
    const std::vector<CADORecordset::StoredField> fields = {
        {recordset.GetFieldIndex(u"time"_s), 2},
        {recordset.GetFieldIndex(u"length"_s), 3},
        {recordset.GetFieldIndex(u"place"_s), 4},
        {recordset.GetFieldIndex(u"content"_s), 5}};
    CListRows rows;
    CStoredValues& values = rows.values;
    // A list of many appointments meets the same contacts again and again: their names are
    // asked for and kept once, and the rows refer to them.
    struct KeptParties
    {
        bool listed = false;
        int client = -1;
        int contact = -1;
    };
    std::unordered_map<int, KeptParties> kept;
    // The formats of the read columns, written once for every row.
    std::vector<CStoredValues::Value> prototype(fields.size() + 3);
    for (const CADORecordset::StoredField& field : fields)
        prototype[size_t(field.column)].format = layout.columns[size_t(field.column)].format;
    ForEachRow(recordset, [&] {
        int contact = 0;
        recordset.GetFieldInt(linkman, contact);
        auto [known, added] = kept.try_emplace(contact);
        if (added) {
            if (const std::optional<AppointParties> names = parties(contact))
                known->second = {true, values.KeepShown(names->client),
                                 values.KeepShown(names->contact)};
        }
        if (!known->second.listed)
            return;
        const int row = rows.Add(layout.image, prototype);
        values.SetShown(row, 0, known->second.client);
        values.SetShown(row, 1, known->second.contact);
        recordset.StoreFields(fields, values, row);
        int number = 0;
        recordset.GetFieldInt(no, number);
        values.SetInteger(row, int(fields.size()) + 2, number);
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
            if (recordset.OpenForward(u"SELECT [no], [name] FROM client"_s)) {
                const int no = recordset.GetFieldIndex(u"no"_s);
                const int name = recordset.GetFieldIndex(u"name"_s);
                ForEachRow(recordset, [&] {
                    int number = 0;
                    recordset.GetFieldInt(no, number);
                    // The first of equal numbers, as a lookup of the number finds it.
                    if (clients.contains(number))
                        return;
                    QString text;
                    recordset.GetFieldText(name, text);
                    clients.insert(number, text);
                });
            }
            if (recordset.OpenForward(u"SELECT [no], [client], [name] FROM linkman"_s)) {
                const int no = recordset.GetFieldIndex(u"no"_s);
                const int client = recordset.GetFieldIndex(u"client"_s);
                const int name = recordset.GetFieldIndex(u"name"_s);
                ForEachRow(recordset, [&] {
                    int number = 0;
                    int clientNo = 0;
                    recordset.GetFieldInt(no, number);
                    if (tables->contacts.contains(number))
                        return;
                    AppointParties parties;
                    recordset.GetFieldInt(client, clientNo);
                    recordset.GetFieldText(name, parties.contact);
                    parties.client = clients.value(clientNo);
                    tables->contacts.insert(number, parties);
                });
            }
        }
        return tables->contacts.value(linkman);
    };
}
