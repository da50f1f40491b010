#include "views/middlelistview.h"

#include "data/adorecordset.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/listicons.h"
#include "views/recordcategory.h"
#include "views/recordfields.h"
#include "views/totalsrow.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

using namespace Qt::StringLiterals;

namespace {

constexpr FieldSpec kPaymentFields[] = {
    {"paper", FieldKind::Int},   {"date", FieldKind::Day},    {"number", FieldKind::Double},
    {"sum", FieldKind::Double},  {"person", FieldKind::Text}, {"taster", FieldKind::Text},
    {"detail", FieldKind::Text}, {"remark", FieldKind::Text},
};

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

} // namespace

CMiddleListView::CMiddleListView(CVantrelDoc& doc, QWidget* parent) : CRecordListView(doc, parent)
{
    setObjectName(u"MiddleListView"_s);
    List().SetImageList(MiddleListIcons());
    doc.RegisterView(this);
}

int CMiddleListView::MainCategory() const
{
    const CVantrelView* main = Document().MainList();
    return main ? main->Category() : RecordCategory::kNone;
}

void CMiddleListView::Activate()
{
    CVantrelView* main = Document().MainList();
    if (!main)
        return;
    switch (main->Category()) {
    case RecordCategory::kClients:
        main->SetCaption(u"联系人列表"_s);
        break;
    case RecordCategory::kPurchases:
        main->SetCaption(u"采购明细"_s);
        break;
    case RecordCategory::kSales:
        main->SetCaption(u"销售明细"_s);
        break;
    default:
        break;
    }
    Document().SetInfoText(main->Caption());
}

void CMiddleListView::focusInEvent(QFocusEvent* event)
{
    CRecordListView::focusInEvent(event);
    Activate();
}

bool CMiddleListView::CanAdd() const
{
    switch (MainCategory()) {
    case RecordCategory::kClients:
        return Document().Dialogs().Has(RecordDialog::Contact);
    case RecordCategory::kPurchases:
        return Document().Dialogs().Has(RecordDialog::PurchaseDetail);
    case RecordCategory::kSales:
        return Document().Dialogs().Has(RecordDialog::SaleDetail);
    default:
        return false;
    }
}

bool CMiddleListView::CanEdit() const
{
    return CanAdd();
}

void CMiddleListView::RowDeleted()
{
    const int category = MainCategory();
    if ((category == RecordCategory::kPurchases || category == RecordCategory::kSales) &&
        HasTotalsRow(List()))
        UpdatePaymentTotals(List());
}

void CMiddleListView::OnRecordAdd()
{
    const CVantrelView* main = Document().MainList();
    if (!main)
        return;
    const int selected = main->SelectedRow();
    CRecordRequest request;
    switch (main->Category()) {
    case RecordCategory::kClients:
        request.dialog = RecordDialog::Contact;
        request.presetClient = true;
        request.client = main->List().GetItemText(selected, 0);
        break;
    case RecordCategory::kPurchases:
    case RecordCategory::kSales:
        request.sale = main->Category() == RecordCategory::kSales;
        request.dialog = request.sale ? RecordDialog::SaleDetail : RecordDialog::PurchaseDetail;
        request.preselect = true;
        request.order = main->List().GetItemText(selected, 1);
        break;
    default:
        return;
    }
    Document().Dialogs().Open(request, this);
}

void CMiddleListView::OnRecordEdit()
{
    const int row = CurrentRow();
    if (row < 0 || !CanEdit())
        return;
    int number = 0;
    List().RecordNumber(row, number);
    switch (MainCategory()) {
    case RecordCategory::kPurchases:
    case RecordCategory::kSales:
        if (row != List().GetItemCount() - 1)
            EditPayment(MainCategory() == RecordCategory::kSales, row, number);
        break;
    case RecordCategory::kClients:
        EditContact(row, number);
        break;
    default:
        break;
    }
}

void CMiddleListView::EditPayment(bool sale, int row, int number)
{
    CRecordRequest request;
    request.dialog = sale ? RecordDialog::SaleDetail : RecordDialog::PurchaseDetail;
    request.sale = sale;
    {
        CADORecordset recordset(Document().Database());
        const QString detailSql = sale ? u"SELECT * FROM outputdetail WHERE [no] = %1"_s
                                       : u"SELECT * FROM inputdetail WHERE [no] = %1"_s;
        if (!OpenFirstRow(recordset, detailSql.arg(number))) {
            Inform(this, u"单号不存在！"_s);
            return;
        }
        request.fields = ReadFields(recordset, kPaymentFields);
        const QString orderSql = sale ? u"SELECT * FROM outputdata WHERE [no] = %1"_s
                                      : u"SELECT * FROM inputdata WHERE [no] = %1"_s;
        if (!OpenFirstRow(recordset, orderSql.arg(request.fields.value(u"paper"_s).toInt()))) {
            Inform(this, u"未知单号！"_s);
            return;
        }
        recordset.GetFieldText(u"paper"_s, request.order);
    }
    request.modify = true;
    request.no = number;
    request.item = row;
    Document().Dialogs().Open(request, this);
}

void CMiddleListView::EditContact(int row, int number)
{
    CRecordRequest request;
    request.dialog = RecordDialog::Contact;
    {
        CADORecordset recordset(Document().Database());
        // A contact deleted elsewhere since the list was filled cannot be modified.
        if (!OpenFirstRow(recordset, u"SELECT * FROM linkman WHERE [no] = %1"_s.arg(number))) {
            Inform(this, u"联系人不存在！"_s);
            return;
        }
        request.fields = ReadFields(recordset, kContactFields);
        request.client = u"未知客户"_s;
        const int client = request.fields.value(u"client"_s).toInt();
        if (OpenFirstRow(recordset, u"SELECT * FROM client WHERE [no] = %1"_s.arg(client)))
            recordset.GetFieldText(u"name"_s, request.client);
    }
    request.modify = true;
    request.no = number;
    request.item = row;
    Document().Dialogs().Open(request, this);
}
