#include "views/paymentdependants.h"

#include "data/adorecordset.h"
#include "kit/recordlistmodel.h"
#include "views/listlayouts.h"
#include "views/middlelistview.h"
#include "views/recordfields.h"
#include "views/totalsrow.h"
#include "views/tradetwin.h"
#include "views/vantreldoc.h"

using namespace Qt::StringLiterals;

namespace {

constexpr FieldSpec kPaymentFields[] = {
    {"paper", FieldKind::Int},   {"date", FieldKind::Day},    {"number", FieldKind::Double},
    {"sum", FieldKind::Double},  {"person", FieldKind::Text}, {"taster", FieldKind::Text},
    {"detail", FieldKind::Text}, {"remark", FieldKind::Text},
};

// "SELECT * FROM <table> WHERE [<column>] = <number>"
QString ByNumber(const char16_t* table, const QString& column, int number)
{
    return u"SELECT * FROM %1 WHERE [%2] = %3"_s.arg(QString::fromUtf16(table), column,
                                                     QString::number(number));
}

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
    const QString sql = ByNumber(m_trade.detailTable, u"paper"_s, number) + u" ORDER BY date"_s;
    if (AppendLayoutRows(list, Layout(), doc.Database(), sql))
        lower->SetCurrentQuery(sql);
    AppendPaymentTotals(list);
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
