#include "trade/findresults.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/sqltext.h"
#include "kit/recordlistmodel.h"
#include "trade/tradelayouts.h"
#include "trade/traderecords.h"
#include "views/categoryregistry.h"
#include "views/dependants.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QHash>

#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QString kContactQuery = u"SELECT * FROM linkman"_s;

// The fields of a contact the mode looks in.
QStringList SearchedFields(FindMode mode)
{
    switch (mode) {
    case FindMode::kContactName:
        return {u"name"_s};
    case FindMode::kContactPhone:
        return {u"mobile"_s, u"officephone"_s, u"homephone"_s, u"fax"_s};
    case FindMode::kContactNumber:
        return {u"number"_s};
    case FindMode::kClientNumber:
        break;
    }
    return {};
}

// Every client's name by its number, read once for all the contacts found; false when the
// table cannot be read.
bool ReadClientNames(CADODatabase* database, QHash<int, QString>& names)
{
    CADORecordset recordset(database);
    if (!recordset.Open(u"SELECT [no], [name] FROM client"_s))
        return false;
    names.reserve(std::max(recordset.GetRecordCount(), 0));
    const int noField = recordset.GetFieldIndex(u"no"_s);
    const int nameField = recordset.GetFieldIndex(u"name"_s);
    ForEachRow(recordset, [&] {
        int no = 0;
        QString name;
        recordset.GetFieldInt(noField, no);
        recordset.GetFieldText(nameField, name);
        // The first row of a number names it, as a look-up of that number would.
        if (!names.contains(no))
            names.insert(no, name);
    });
    return true;
}

// The contact list's column that shows the client's name.
int ClientColumn(const ListLayout& contacts)
{
    const auto& columns = contacts.columns;
    for (size_t i = 0; i < columns.size(); ++i)
        if (QLatin1StringView(columns[i].field) == u"client"_s)
            return int(i);
    return -1;
}

// The layout the found clients' contacts are listed with: the one of the dependants of the
// clients' category; null when that lists none.
const ListLayout* ContactLayout(const CVantrelDoc& doc)
{
    const CategoryInfo* clients = doc.Categories().Find(TradeCategory::kFoundClients);
    return clients && clients->dependants ? &clients->dependants->Layout() : nullptr;
}

void FindContacts(CVantrelDoc& doc, CMiddleListView& lower, const ListLayout& contacts,
                  FindMode mode, const QString& text)
{
    const QStringList fields = SearchedFields(mode);
    std::vector<int> places;
    const auto keep = [&](CADORecordset& recordset) {
        if (places.empty())
            for (const QString& field : fields)
                places.push_back(recordset.GetFieldIndex(field));
        QString value;
        for (int place : places) {
            recordset.GetFieldText(place, value);
            if (value.contains(text, Qt::CaseSensitive))
                return true;
        }
        return false;
    };
    CListRows rows;
    if (!ReadFilteredLayoutRows(rows, contacts, doc.Database(), kContactQuery, keep))
        return;
    lower.SetCurrentQuery(kContactQuery);
    // The client column holds the contact's stored client number until it is named here.
    const int column = ClientColumn(contacts);
    QHash<int, QString> names;
    const bool named = rows.Count() == 0 || ReadClientNames(doc.Database(), names);
    const QString unknown = u"未知客户"_s;
    CStoredValues& values = rows.values;
    for (int row = 0; row < rows.Count(); ++row) {
        const int client = int(values.Number(values.At(row, column)));
        values.SetShown(row, column, named ? names.value(client, unknown) : QString());
    }
    lower.List().AppendRows(std::move(rows));
}

} // namespace

void ShowFindResult(CVantrelDoc& doc, FindMode mode, const QString& text)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return;
    view->SetCategory(TradeCategory::kFoundClients);
    view->SetRefill([&doc, mode, text] { ShowFindResult(doc, mode, text); });
    view->SetCurrentQuery(QString());
    doc.ShowBottomView(BottomView::kList);
    view->SetCaption(u"客户列表"_s);
    doc.SetInfoText(view->Caption());
    SetLayoutColumns(view->List(), ListLayouts::kFoundClients);
    const ListLayout* contacts = ContactLayout(doc);
    CMiddleListView* lower = contacts ? doc.MiddleList() : nullptr;
    if (lower) {
        SetLayoutColumns(lower->List(), *contacts);
        lower->SetCurrentQuery(QString());
    }

    if (mode == FindMode::kClientNumber) {
        const QString sql =
            u"SELECT * FROM client WHERE number LIKE '%"_s + SqlText(text) + u"%'"_s;
        if (AppendLayoutRows(view->List(), ListLayouts::kFoundClients, doc.Database(), sql))
            view->SetCurrentQuery(sql);
        return;
    }
    if (lower)
        FindContacts(doc, *lower, *contacts, mode, text);
}
