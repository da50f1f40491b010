#include "customers/clientlist.h"

#include "data/adorecordset.h"
#include "data/formats.h"
#include "kit/recordlistmodel.h"
#include "views/middlelistview.h"
#include "views/recordcategory.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct ListColumn
{
    const char16_t* title;
    int width;
    const char* field; // the column of the table shown there
};

constexpr ListColumn kClientColumns[] = {
    {u"名称", 200, "name"},       {u"编号", 100, "number"},
    {u"法人", 80, "corporation"}, {u"所属业务员", 80, "operator"},
    {u"性质", 80, "property"},    {u"类别", 80, "type"},
    {u"行业", 100, "vocation"},   {u"重要度", 80, "important"},
    {u"信誉", 80, "credit"},      {u"国家", 80, "country"},
    {u"省", 80, "province"},      {u"市", 80, "city"},
    {u"员工人数", 100, "people"}, {u"年营业额", 100, "turnover"},
    {u"地址", 150, "address"},    {u"邮编", 80, "zip"},
    {u"主页", 100, "site"},       {u"开户行", 100, "bank"},
    {u"帐号", 100, "account"},    {u"税号", 100, "tax"},
    {u"概况", 150, "survey"},     {u"备注", 150, "remark"},
};

constexpr ListColumn kContactColumns[] = {
    {u"姓名", 80, "name"},
    {u"所属客户", 200, "client"},
    {u"编号", 100, "number"},
    {u"手机", 100, "mobile"},
    {u"工作电话", 100, "officephone"},
    {u"家庭电话", 100, "homephone"},
    {u"传真", 100, "fax"},
    {u"Email1", 150, "email1"},
    {u"Email2", 150, "email2"},
    {u"QQ", 80, "qq"},
    {u"MSN", 150, "msn"},
    {u"性别", 50, "sex"},
    {u"民族", 50, "nation"},
    {u"重要度", 80, "important"},
    {u"信誉", 80, "credit"},
    {u"部门", 80, "branch"},
    {u"职务", 80, "duty"},
    {u"生日", 110, "birthday"},
    {u"爱好", 100, "like"},
    {u"学历", 80, "education"},
    {u"职称", 80, "technical"},
    {u"身份证号", 100, "id"},
    {u"工作地点", 150, "location"},
    {u"邮编", 80, "loczip"},
    {u"家庭地址", 150, "address"},
    {u"邮编", 80, "adrzip"},
    {u"国家", 80, "country"},
    {u"省", 80, "province"},
    {u"市", 80, "city"},
    {u"休息日", 100, "holiday"},
    {u"备注", 150, "remark"},
};

// The main list's icon of a record card.
constexpr int kClientImage = 0;

template <std::size_t N> void InsertColumns(CRecordListModel& list, const ListColumn (&columns)[N])
{
    for (const ListColumn& column : columns)
        list.InsertColumn(-1, QString::fromUtf16(column.title), Qt::AlignLeft, column.width);
    list.InsertColumn(-1, QString(), Qt::AlignLeft, 0);
}

} // namespace

void InsertClientColumns(CRecordListModel& list)
{
    InsertColumns(list, kClientColumns);
}

void InsertContactColumns(CRecordListModel& list)
{
    InsertColumns(list, kContactColumns);
}

bool ShowClientList(CVantrelDoc& doc, CADODatabase* database, const QString& sql)
{
    CVantrelView* view = doc.MainList();
    if (!view)
        return false;
    CADORecordset recordset(database);
    if (!recordset.Open(sql))
        return false;

    std::vector<CListRow> rows;
    const int count = recordset.GetRecordCount();
    rows.reserve(std::size_t(std::max(count, 0)));
    if (count >= 1)
        recordset.MoveFirst();
    constexpr int kColumns = int(std::size(kClientColumns));
    QStringList fields;
    for (const ListColumn& column : kClientColumns)
        fields << QString::fromLatin1(column.field);
    const QString numberField = u"no"_s;
    for (int i = 0; i < count; ++i) {
        QStringList cells;
        cells.reserve(kColumns + 1);
        for (const QString& field : std::as_const(fields)) {
            QString value;
            recordset.GetFieldText(field, value);
            cells << value;
        }
        int no = 0;
        recordset.GetFieldInt(numberField, no);
        cells << FormatNumber(no);
        rows.push_back(CListRow{std::move(cells), kClientImage});
        recordset.MoveNext();
    }
    recordset.Close();

    view->SetCategory(RecordCategory::kClients);
    view->SetCaption(u"客户列表"_s);
    view->SetCurrentQuery(sql);
    doc.ShowBottomView(BottomView::kList);
    CRecordListModel& list = view->List();
    list.Clear();
    InsertClientColumns(list);
    list.AppendRows(std::move(rows));

    if (CMiddleListView* lower = doc.MiddleList()) {
        lower->List().Clear();
        InsertContactColumns(lower->List());
        lower->SetCurrentQuery(QString());
    }
    doc.SetInfoText(view->Caption());
    return true;
}
