#include "trade/paymentdependants.h"

#include "data/adorecordset.h"
#include "kit/recordlistmodel.h"
#include "trade/tradelayouts.h"
#include "trade/tradetwin.h"
#include "views/middlelistview.h"
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

// "SELECT * FROM <table> WHERE [<column>] = " before the number.
QString ByNumberPrefix(const char16_t* table, const QString& column)
{
    return u"SELECT * FROM %1 WHERE [%2] = "_s.arg(QString::fromUtf16(table), column);
}

// "SELECT * FROM <table> WHERE [<column>] = <number>"
QString ByNumber(const char16_t* table, const QString& column, int number)
{
    return ByNumberPrefix(table, column) + QString::number(number);
}

constexpr char16_t kByDate[] = u" ORDER BY date";

} // namespace

QString CPaymentDependants::Caption() const
{
    return QString::fromUtf16(m_trade.detailWord);
}

RecordDialog CPaymentDependants::Dialog() const
{
    return m_trade.detailDialog;
}

int CPaymentDependants::ManageCommand() const
{
    return m_trade.detailCommand;
}

const ListLayout& CPaymentDependants::Layout() const
{
    return ListLayouts::kPayments;
}

void CPaymentDependants::Show(CVantrelDoc& doc, int number) const
{
    CMiddleListView* lower = doc.MiddleList();
    if (!lower)
        return;
    CRecordListModel& list = lower->List();
    list.DeleteAllItems();
    const QString sql = PaymentsQuery(number);
    // Without its statement the list shows no order's payments, and a delete finds nothing.
    lower->SetCurrentQuery(AppendLayoutRows(list, Layout(), doc.Database(), sql) ? sql : QString());
    AppendPaymentTotals(list);
}

QString CPaymentDependants::PaymentsQuery(int order) const
{
    return ByNumber(m_trade.detailTable, u"paper"_s, order) + QString::fromUtf16(kByDate);
}

int CPaymentDependants::ShownOrder(const CMiddleListView& lower) const
{
    const QString query = lower.CurrentQuery();
    const QString prefix = ByNumberPrefix(m_trade.detailTable, u"paper"_s);
    const QStringView byDate(kByDate);
    if (query.size() <= prefix.size() + byDate.size() || !query.startsWith(prefix) ||
        !query.endsWith(byDate))
        return -1;
    bool ok = false;
    const int order = QStringView(query)
                          .sliced(prefix.size(), query.size() - prefix.size() - byDate.size())
                          .toInt(&ok);
    return ok && PaymentsQuery(order) == query ? order : -1;
}

void CPaymentDependants::PaymentsChanged(CMiddleListView& lower, CVantrelView* main) const
{
    CRecordListModel& payments = lower.List();
    if (!::HasTotalsRow(payments))
        return;
    UpdatePaymentTotals(payments);
    const int order = ShownOrder(lower);
    if (order < 0 || !main || main->Category() != m_trade.category)
        return;
    CRecordListModel& orders = main->List();
    // The list shows the payments of the order selected above, unless the selection moved.
    const int row = RecordRow(orders, order, main->SelectedRow());
    if (row < 0)
        return;
    SetOrderPaid(orders, row, payments.SumColumn(PaymentColumn::kSum, payments.GetItemCount() - 1));
    if (::HasTotalsRow(orders))
        UpdateOrderTotals(orders);
}

void CPaymentDependants::RowDeleted(CMiddleListView& lower) const
{
    PaymentsChanged(lower, lower.Document().MainList());
}

CRecordRequest CPaymentDependants::AddRequest(const CRecordListModel& main, int row) const
{
    CRecordRequest request;
    request.dialog = Dialog();
    request.sale = m_trade.sale;
    request.preselect = true;
    request.order = main.GetItemText(row, 1);
    return request;
}

bool CPaymentDependants::ReadForModify(CADODatabase* database, int number, CRecordRequest& request,
                                       QString& failure) const
{
    request.sale = m_trade.sale;
    CADORecordset recordset(database);
    if (!OpenFirstRow(recordset, ByNumber(m_trade.detailTable, u"no"_s, number))) {
        failure = u"单号不存在！"_s;
        return false;
    }
    request.fields = ReadFields(recordset, kPaymentFields);
    request.storedRow = StoredRowTexts(recordset);
    const int order = request.fields.value(u"paper"_s).toInt();
    if (!OpenFirstRow(recordset, ByNumber(m_trade.orderTable, u"no"_s, order))) {
        failure = u"未知单号！"_s;
        return false;
    }
    recordset.GetFieldText(u"paper"_s, request.order);
    return true;
}
