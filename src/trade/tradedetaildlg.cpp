#include "trade/tradedetaildlg.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "kit/datepicker.h"
#include "kit/longlistcombo.h"
#include "kit/messages.h"
#include "kit/numberfield.h"
#include "trade/modifiedpayment.h"
#include "trade/tradetwin.h"
#include "views/clientnames.h"
#include "views/middlelistview.h"
#include "views/recorddialogs.h"
#include "views/vantrelview.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t kHelpText[] =
    u"    如果只有一种货品进行交易，可以直接在数量、金额中填写本次交易的数额，如果货品种类较多，"
    u"请只填写金额项，然后把各个货品的交易情况写在交易详情里。";

// A counter that gives -1 is reported by the counter itself, with the trade's own message
// ("采购明细编号无法获取！" / "销售明细编号无法获取！").
constexpr RecordSaveTexts kSaveTexts{
    u"表不存在，无法增加记录", u"添加失败！",     nullptr,
    u"表不存在，无法修改记录", u"找不到此数据！", u"添加失败！",
};

// The 单号 list shows this many characters whatever its entries: measuring 100,000 of them
// would slow the dialog's opening.
constexpr int kOrderBoxLength = 24;

} // namespace

CTradeDetailDlg::CTradeDetailDlg(CADODatabase* database, const TradeTwin& trade,
                                 CMiddleListView* lower, CVantrelView* main, const CClock& clock,
                                 QWidget* parent)
    : CRecordDlg(database, QString::fromUtf16(trade.detailTable), trade.detailKind, kSaveTexts,
                 parent),
      m_bSale(trade.sale ? 1 : 0), m_trade(trade), m_clock(clock), m_lower(lower), m_main(main)
{
    setObjectName(u"IDD_TRADEDETAIL"_s);
    setWindowTitle(u"明细"_s);
    BuildControls();
}

void CTradeDetailDlg::BuildControls()
{
    m_help = new QPlainTextEdit(this);
    m_help->setObjectName(u"help"_s);
    m_help->setReadOnly(true);
    m_help->setFocusPolicy(Qt::NoFocus); // the dialog starts on the 单号 list
    m_help->setFixedHeight(m_help->fontMetrics().height() * 4 + 12);

    m_orderBox = new QComboBox(this);
    m_orderBox->setObjectName(u"paper"_s);
    m_orderBox->setEditable(false);
    PrepareLongList(m_orderBox, kOrderBoxLength);

    m_datePicker = NewDatePicker(u"date"_s, this);
    auto lineEdit = [this](const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        return edit;
    };
    m_numberEdit = lineEdit(u"number"_s);
    m_sumEdit = lineEdit(u"sum"_s);
    // Figures line up at the right, as in the lists.
    m_numberEdit->setAlignment(Qt::AlignRight);
    m_sumEdit->setAlignment(Qt::AlignRight);
    m_personEdit = lineEdit(u"person"_s);
    m_tasterEdit = lineEdit(u"taster"_s);
    m_detailEdit = new QPlainTextEdit(this);
    m_detailEdit->setObjectName(u"detail"_s);
    m_detailEdit->setTabChangesFocus(true);
    m_detailEdit->setFixedHeight(m_detailEdit->fontMetrics().height() * 5 + 12);
    m_remarkEdit = lineEdit(u"remark"_s);

    auto* grid = new QGridLayout;
    auto add = [this, grid](const QString& label, QWidget* control, int row, int column,
                            int span = 1) {
        auto* caption = new QLabel(label, this);
        caption->setBuddy(control);
        const bool tall = qobject_cast<QPlainTextEdit*>(control) != nullptr;
        grid->addWidget(caption, row, column,
                        Qt::AlignRight | (tall ? Qt::AlignTop : Qt::AlignVCenter));
        grid->addWidget(control, row, column + 1, 1, span);
    };
    add(u"单号："_s, m_orderBox, 0, 0);
    add(u"日期："_s, m_datePicker, 0, 2);
    add(u"数量："_s, m_numberEdit, 1, 0);
    add(u"金额："_s, m_sumEdit, 1, 2);
    add(u"经手人："_s, m_personEdit, 2, 0);
    add(u"审批人："_s, m_tasterEdit, 2, 2);
    add(u"交易详情："_s, m_detailEdit, 3, 0, 3);
    add(u"备注："_s, m_remarkEdit, 4, 0, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_help);
    layout->addLayout(grid);
    layout->addLayout(NewConfirmButtonRow());

    setTabOrder(m_orderBox, m_datePicker);
    setTabOrder(m_datePicker, m_numberEdit);
    setTabOrder(m_numberEdit, m_sumEdit);
    setTabOrder(m_sumEdit, m_personEdit);
    setTabOrder(m_personEdit, m_tasterEdit);
    setTabOrder(m_tasterEdit, m_detailEdit);
    setTabOrder(m_detailEdit, m_remarkEdit);
}

QWidget* CTradeDetailDlg::Control(const QString& field) const
{
    QWidget* const controls[] = {m_help,       m_orderBox,   m_datePicker, m_numberEdit, m_sumEdit,
                                 m_personEdit, m_tasterEdit, m_detailEdit, m_remarkEdit};
    for (QWidget* control : controls)
        if (control->objectName() == field)
            return control;
    return nullptr;
}

void CTradeDetailDlg::SetRequest(const CRecordRequest& request)
{
    SetRequestMembers(request);
    m_bPreselect = request.preselect ? 1 : 0;
    m_strOrder = request.order;
    const QVariantMap& fields = request.fields;
    bool known = false;
    const int order = fields.value(u"paper"_s).toInt(&known);
    m_nOrder = m_bModify && known ? order : -1;
    const QDate date = fields.value(u"date"_s).toDate();
    if (date.isValid())
        m_tmRecord = QDateTime(date, QTime(0, 0));
    m_fNumber = fields.value(u"number"_s).toDouble();
    m_fSum = fields.value(u"sum"_s).toDouble();
    m_strPerson = fields.value(u"person"_s).toString();
    m_strTaster = fields.value(u"taster"_s).toString();
    m_strDetail = fields.value(u"detail"_s).toString();
    m_strRemark = fields.value(u"remark"_s).toString();
}

void CTradeDetailDlg::OnInitDialog()
{
    const QDateTime now = m_clock.Now();
    m_datePicker->setDateTime(now);
    if (!m_bModify || !m_tmRecord.isValid())
        m_tmRecord = now;
    m_help->setPlainText(QString::fromUtf16(kHelpText));
    LoadOrders();
    if (m_bModify && m_nOrder < 0)
        if (const CNameEntry* entry = FindNameEntry(m_orders, m_strOrder))
            m_nOrder = entry->m_nNo;
    ApplyMembers();
}

void CTradeDetailDlg::LoadOrders()
{
    m_orders.clear();
    m_orderNames.clear();
    m_orderBox->clear();
    CADORecordset recordset(m_db);
    // Only the two columns the list needs: the same rows in the same order as the whole
    // table, without reading every order's long texts.
    if (!recordset.OpenForward(u"SELECT [no], [paper] FROM %1"_s.arg(m_trade.orderTable)))
        return;
    const int paper = recordset.GetFieldIndex(u"paper"_s);
    const int no = recordset.GetFieldIndex(u"no"_s);
    ForEachRow(recordset, [&] {
        CNameEntry entry;
        recordset.GetFieldText(paper, entry.m_strName);
        recordset.GetFieldInt(no, entry.m_nNo);
        m_orderNames << entry.m_strName;
        m_orders.push_back(std::move(entry));
    });
    SortNames(m_orderNames);
    SetLongListEntries(m_orderBox, m_orderNames);
}

void CTradeDetailDlg::ApplyMembers()
{
    // Nothing chosen unless the opener named an order that is listed.
    int index = -1;
    if (m_bPreselect || m_bModify) {
        m_datePicker->setDateTime(m_tmRecord);
        index = int(m_orderNames.indexOf(m_strOrder));
    }
    m_orderBox->setCurrentIndex(index);
    m_numberEdit->setText(NumberEditText(m_fNumber));
    m_sumEdit->setText(NumberEditText(m_fSum));
    m_personEdit->setText(m_strPerson);
    m_tasterEdit->setText(m_strTaster);
    m_detailEdit->setPlainText(m_strDetail);
    m_remarkEdit->setText(m_strRemark);
}

int CTradeDetailDlg::ChosenOrder(const QString& name) const
{
    // While the list still names the order the payment belongs to, it stays with that very
    // order, even should another order carry the same 单号.
    if (m_nOrder >= 0)
        for (const CNameEntry& entry : m_orders)
            if (entry.m_nNo == m_nOrder && entry.m_strName == name)
                return m_nOrder;
    const CNameEntry* entry = FindNameEntry(m_orders, name);
    return entry ? entry->m_nNo : -1;
}

void CTradeDetailDlg::OnOK()
{
    if (!Initialised())
        InitDialog();
    if (!ReadNumberField(this, m_numberEdit, u"数量"_s, m_fNumber) ||
        !ReadNumberField(this, m_sumEdit, u"金额"_s, m_fSum))
        return;
    m_strPerson = m_personEdit->text();
    m_strTaster = m_tasterEdit->text();
    m_strDetail = m_detailEdit->toPlainText();
    m_strRemark = m_remarkEdit->text();
    m_strOrder = m_orderBox->currentText();
    if (m_orderBox->currentIndex() < 0 || m_strOrder.isEmpty()) {
        Warn(this, u"单号还没有选择！"_s);
        return;
    }
    const int order = ChosenOrder(m_strOrder);
    if (order < 0) {
        Warn(this, u"没有找到您所选择的单号！"_s);
        return;
    }
    // The day picked, at the start of the day.
    m_tmRecord = QDateTime(m_datePicker->date(), QTime(0, 0));
    if (!Save(order, m_tmRecord))
        return;
    if (!m_bModify) {
        ShowAddedPayment(order, m_trade, m_lower, m_main, m_db);
    } else if (m_nItem != -1 && m_lower) {
        const ModifiedPayment payment{
            m_nNo,
            m_nItem,
            m_nOrder >= 0 ? m_nOrder : order,
            order,
            {{u"date"_s, m_tmRecord},
             {u"number"_s, m_fNumber},
             {u"sum"_s, m_fSum},
             {u"person"_s, m_strPerson},
             {u"taster"_s, m_strTaster},
             {u"detail"_s, m_strDetail},
             {u"remark"_s, m_strRemark}},
        };
        ShowModifiedPayment(payment, m_trade, *m_lower, m_main, m_db);
    }
    Saved();
}

bool CTradeDetailDlg::Save(int order, const QDateTime& date)
{
    CADORecordset recordset(m_db);
    int number = m_nNo;
    if (!BeginSave(recordset, number))
        return false;
    const bool written = recordset.SetFieldInt(u"paper"_s, order) &&
                         recordset.SetFieldDate(u"date"_s, date) &&
                         recordset.SetFieldDouble(u"number"_s, m_fNumber) &&
                         recordset.SetFieldDouble(u"sum"_s, m_fSum) &&
                         recordset.SetFieldText(u"person"_s, m_strPerson) &&
                         recordset.SetFieldText(u"taster"_s, m_strTaster) &&
                         recordset.SetFieldText(u"detail"_s, m_strDetail) &&
                         recordset.SetFieldText(u"remark"_s, m_strRemark);
    return EndSave(recordset, written);
}
