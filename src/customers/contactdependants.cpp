#include "customers/contactdependants.h"

#include "customers/customerlayouts.h"
#include "data/adorecordset.h"
#include "kit/commandids.h"
#include "kit/recordlistmodel.h"
#include "views/middlelistview.h"
#include "views/recordfields.h"
#include "views/vantreldoc.h"

using namespace Qt::StringLiterals;

namespace {

constexpr FieldSpec kContactFields[] = {
    {"name", FieldKind::Text},        {"number", FieldKind::Text},    {"mobile", FieldKind::Text},
    {"officephone", FieldKind::Text}, {"homephone", FieldKind::Text}, {"fax", FieldKind::Text},
    {"email1", FieldKind::Text},      {"email2", FieldKind::Text},    {"qq", FieldKind::Text},
    {"msn", FieldKind::Text},         {"sex", FieldKind::Flag},       {"nation", FieldKind::Text},
    {"important", FieldKind::Text},   {"credit", FieldKind::Text},    {"branch", FieldKind::Text},
    {"duty", FieldKind::Text},        {"birthday", FieldKind::Day},   {"like", FieldKind::Text},
    {"education", FieldKind::Text},   {"technical", FieldKind::Text}, {"id", FieldKind::Text},
    {"location", FieldKind::Text},    {"loczip", FieldKind::Text},    {"address", FieldKind::Text},
    {"adrzip", FieldKind::Text},      {"country", FieldKind::Text},   {"province", FieldKind::Text},
    {"city", FieldKind::Text},        {"holiday", FieldKind::Text},   {"remark", FieldKind::Text},
    {"client", FieldKind::Int},
};

// The name of client `number`, "未知客户" when there is none.
QString ClientName(CADODatabase* database, int number)
{
    CADORecordset recordset(database);
    QString name = u"未知客户"_s;
    if (OpenFirstRow(recordset, u"SELECT * FROM client WHERE [no] = %1"_s.arg(number)))
        recordset.GetFieldText(u"name"_s, name);
    return name;
}

} // namespace

QString CContactDependants::Caption() const
{
    return u"联系人列表"_s;
}

int CContactDependants::ManageCommand() const
{
    return ID_MANAGE_LINKMAN;
}

const ListLayout& CContactDependants::Layout() const
{
    return ListLayouts::kContacts;
}

void CContactDependants::Show(CVantrelDoc& doc, int number) const
{
    const QString clientName = ClientName(doc.Database(), number);
    CMiddleListView* lower = doc.MiddleList();
    if (!lower)
        return;
    lower->List().DeleteAllItems();
    // The list's query names the whole table: a delete finds the contact by its number.
    if (AppendLayoutRows(lower->List(), Layout(), doc.Database(),
                         u"SELECT * FROM linkman WHERE [client] = %1"_s.arg(number),
                         {{u"client"_s, clientName}}))
        lower->SetCurrentQuery(u"SELECT * FROM linkman"_s);
}

CRecordRequest CContactDependants::AddRequest(const CRecordListModel& main, int row) const
{
    CRecordRequest request;
    request.dialog = Dialog();
    request.presetClient = true;
    request.client = main.GetItemText(row, 0);
    return request;
}

bool CContactDependants::ReadForModify(CADODatabase* database, int number, CRecordRequest& request,
                                       QString& failure) const
{
    CADORecordset recordset(database);
    // A contact deleted elsewhere since the list was filled cannot be modified.
    if (!OpenFirstRow(recordset, u"SELECT * FROM linkman WHERE [no] = %1"_s.arg(number))) {
        failure = u"联系人不存在！"_s;
        return false;
    }
    request.fields = ReadFields(recordset, kContactFields);
    request.storedRow = StoredRowTexts(recordset);
    request.client = ClientName(database, request.fields.value(u"client"_s).toInt());
    return true;
}
