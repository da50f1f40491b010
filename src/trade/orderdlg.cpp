#include "trade/orderdlg.h"

#include "data/adorecordset.h"
#include "data/formats.h"
#include "data/sqltext.h"
#include "kit/controltext.h"
#include "kit/datepicker.h"
#include "kit/messages.h"
#include "kit/numberfield.h"
#include "kit/recordlistmodel.h"
#include "trade/orderclient.h"
#include "trade/tradetwin.h"
#include "views/recorddialogs.h"
#include "views/totalsrow.h"
#include "views/vantrelview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

const OrderDialogKind kPurchaseOrderKind{
    kPurchaseTwin,
    u"IDD_PURCHASE",
    u"采购",
    u"供应商：",
    u"采购详情：",
    u"    如果您的每笔单子只有一个货品，那么可以直接在货品名称，数量，金额中填入其资料；如果您的每"
    u"笔单子中货品种类较多，请空出货品名称和数量，把总金额写在金额栏，在采购详情中填写详细的货品资"
    u"料。",
    {u"采购表无法打开，增加记录失败！", nullptr, u"采购编号获取错误，无法保存！",
     u"采购表无法打开，修改记录失败！", u"没有找到要修改的记录编号，修改失败！", u"数据无法保存！"},
};

const OrderDialogKind kSaleOrderKind{
    kSaleTwin,
    u"IDD_SALE",
    u"销售",
    u"客户：",
    u"销售详情：",
    u"    如果您的每笔单子只有一个货品，那么可以直接在货品名称，数量，金额中填入其资料；如果您的每"
    u"笔单子中货品种类较多，请空出货品名称和数量，把总金额写在金额栏，在销售详情中填写详细的货品资"
    u"料。",
    {u"销售表无法打开，增加记录失败！", nullptr, u"销售编号获取错误，无法保存！",
     u"销售表无法打开，修改记录失败！", u"没有找到要修改的记录编号，修改失败！", u"数据无法保存！"},
};

namespace {

// The text columns of an order, in the order they are written after the date.
constexpr const char* kTextsBeforeNumbers[] = {"paper",   "item",      "client", "linkman",
                                               "bargain", "principal", "goods",  "unit"};
constexpr const char* kTextsAfterNumbers[] = {"detail", "warehouse"};

QString Latin(const char* text)
{
    return QString::fromLatin1(text);
}

} // namespace

COrderDlg::COrderDlg(const OrderDialogKind& kind, CADODatabase* database, CVantrelView* list,
                     const CClock& clock, QWidget* parent)
    : CRecordDlg(database, QString::fromUtf16(kind.trade.orderTable), kind.trade.orderKind,
                 kind.saveTexts, parent),
      m_kind(kind), m_clock(clock), m_list(list)
{
    setObjectName(QString::fromUtf16(kind.objectName));
    setWindowTitle(QString::fromUtf16(kind.title));
    BuildControls();
    m_parties = new CClientContactBoxes(database, m_clientCombo, m_contactBox, true, this);
}

QLineEdit* COrderDlg::AddEdit(const char* field)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(Latin(field));
    m_controls[Latin(field)] = edit;
    return edit;
}

void COrderDlg::BuildControls()
{
    m_help = new QPlainTextEdit(this);
    m_help->setObjectName(u"help"_s);
    m_help->setReadOnly(true);
    m_help->setFocusPolicy(Qt::NoFocus);
    m_help->setFixedHeight(m_help->fontMetrics().height() * 4 + 14);

    m_date = NewDatePicker(u"date"_s, this);
    m_controls[u"date"_s] = m_date;
    m_clientCombo = new QComboBox(this);
    m_clientCombo->setObjectName(u"client"_s);
    m_clientCombo->setMinimumWidth(180);
    m_controls[u"client"_s] = m_clientCombo;
    m_contactBox = new QComboBox(this);
    m_contactBox->setObjectName(u"linkman"_s);
    m_controls[u"linkman"_s] = m_contactBox;
    m_square = new QCheckBox(u"结清标志"_s, this);
    m_square->setObjectName(u"square"_s);
    m_controls[u"square"_s] = m_square;
    auto* detail = new QPlainTextEdit(this);
    detail->setObjectName(u"detail"_s);
    detail->setTabChangesFocus(true);
    detail->setMinimumHeight(detail->fontMetrics().height() * 5 + 12);
    m_controls[u"detail"_s] = detail;

    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    auto place = [this, grid](const QString& label, QWidget* control, int row, int column,
                              int span = 1) {
        auto* caption = new QLabel(label, this);
        caption->setBuddy(control);
        grid->addWidget(caption, row, column,
                        (span > 1 ? Qt::AlignTop : Qt::AlignVCenter) | Qt::AlignRight);
        grid->addWidget(control, row, column + 1, 1, span);
    };
    place(u"日期："_s, m_date, 0, 0);
    place(u"单号："_s, AddEdit("paper"), 0, 2);
    place(u"项目："_s, AddEdit("item"), 1, 0);
    place(u"合同："_s, AddEdit("bargain"), 1, 2);
    place(QString::fromUtf16(m_kind.clientLabel), m_clientCombo, 2, 0);
    place(u"对方签约人："_s, m_contactBox, 2, 2);
    place(u"货品名称："_s, AddEdit("goods"), 3, 0);
    place(u"单位："_s, AddEdit("unit"), 3, 2);
    place(u"数量："_s, AddEdit("number"), 4, 0);
    place(u"仓库："_s, AddEdit("warehouse"), 4, 2);
    place(u"金额："_s, AddEdit("sum"), 5, 0);
    place(u"责任人："_s, AddEdit("principal"), 5, 2);
    place(QString::fromUtf16(m_kind.detailLabel), detail, 6, 0, 3);
    place(u"备注："_s, AddEdit("remark"), 7, 0, 3);
    grid->addWidget(m_square, 8, 1);
    for (const char* field : {"number", "sum"})
        static_cast<QLineEdit*>(m_controls[Latin(field)])->setAlignment(Qt::AlignRight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_help);
    layout->addLayout(grid, 1);
    layout->addLayout(NewButtonRow());
    resize(600, 520);
}

void COrderDlg::SetRequest(const CRecordRequest& request)
{
    SetRequestMembers(request);
    m_fields = request.fields;
    const QDate day = m_fields.value(u"date"_s).toDate();
    if (day.isValid())
        m_tmRecord = QDateTime(day, QTime(0, 0));
    m_strClient = m_fields.value(u"client"_s).toString();
    m_strLinkman = m_fields.value(u"linkman"_s).toString();
}

QWidget* COrderDlg::Control(const QString& field) const
{
    const auto it = m_controls.find(field);
    return it == m_controls.end() ? nullptr : it->second;
}

QString COrderDlg::HelpText() const
{
    return m_help->toPlainText();
}

void COrderDlg::OnInitDialog()
{
    m_date->setDateTime(m_clock.Now());
    m_help->setPlainText(QString::fromUtf16(m_kind.help));
    for (const auto& [field, control] : m_controls) {
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QPlainTextEdit*>(control))
            SetControlText(control, m_fields.value(field).toString());
    }
    for (const char* field : {"number", "sum"})
        SetControlText(m_controls[Latin(field)],
                       NumberEditText(m_fields.value(Latin(field)).toDouble()));
    m_square->setChecked(m_fields.value(u"square"_s).toInt() != 0);

    m_parties->Load();
    if (m_bModify) {
        if (m_tmRecord.isValid())
            m_date->setDateTime(m_tmRecord);
        SelectStoredParties();
    }
    Control(u"paper"_s)->setFocus();
}

void COrderDlg::SelectStoredParties()
{
    if (!m_parties->SelectClient(m_strClient)) {
        // The order names a client no entry has (renamed since, or stored by an older version
        // as the beginning of a name): the box shows the stored text, and a save stores the
        // client it names, if it names one.
        m_parties->ShowContactsOf(m_strClient);
        ClientBox().SetText(m_strClient);
    }
    if (m_strLinkman.isEmpty())
        return;
    int contact = m_contactBox->findText(m_strLinkman, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (contact < 0) {
        // Likewise a contact that is no longer the client's stays the order's contact.
        m_contactBox->insertItem(0, m_strLinkman);
        contact = 0;
    }
    m_contactBox->setCurrentIndex(contact);
}

bool COrderDlg::ReadNumbers(double& number, double& sum)
{
    return ReadNumberField(this, static_cast<QLineEdit*>(Control(u"number"_s)), u"数量"_s,
                           number) &&
           ReadNumberField(this, static_cast<QLineEdit*>(Control(u"sum"_s)), u"金额"_s, sum);
}

bool COrderDlg::CheckPaper(const QString& paper)
{
    if (paper.isEmpty()) {
        Warn(this, u"单号必须填写！"_s);
        return false;
    }
    if (HasQuoteOrBracket(paper)) {
        Warn(this, u"单号不能含有',\",[,]等符号！"_s);
        return false;
    }
    return true;
}

bool COrderDlg::IsDuplicatePaper(const QString& paper) const
{
    CADORecordset recordset(m_db);
    const QString sql = u"SELECT * FROM %1 WHERE [paper] = '%2' AND [no] <> %3"_s.arg(
        QString::fromUtf16(m_kind.trade.orderTable), SqlText(paper), QString::number(m_nNo));
    // A check that cannot run lets the save go on.
    return recordset.Open(sql) && recordset.GetRecordCount() > 0;
}

void COrderDlg::OnOK()
{
    if (!Initialised())
        InitDialog();
    double number = 0.0;
    double sum = 0.0;
    if (!ReadNumbers(number, sum))
        return;
    const QString paper = ControlText(Control(u"paper"_s));
    if (!CheckPaper(paper))
        return;
    // The number is taken before the checks, so a refused order leaves a gap in the numbering.
    int no = -1;
    if (!m_bModify && !TakeNumber(no))
        return;
    if (IsDuplicatePaper(paper)) {
        Warn(this, u"此单号已经存在，单号不能重复！"_s);
        return;
    }
    // The order is stored for a client of the file, by the client's full name, so that the
    // client's statistics and find see it.
    const QString client = OrderClientName(Clients(), ClientBox().Text());
    if (client.isEmpty()) {
        Warn(this, u"客户名称不存在，单据无法记录！"_s);
        return;
    }
    QVariantMap values = Values(number, sum, client);
    if (!Save(no, values))
        return;
    ClientBox().SetText(client);
    if (m_bModify && m_nItem != -1)
        RewriteOrderRow(std::move(values));
    Saved();
}

QVariantMap COrderDlg::Values(double number, double sum, const QString& client) const
{
    QVariantMap values;
    for (const auto& [field, control] : m_controls)
        values.insert(field, ControlText(control));
    values.insert(u"client"_s, client);
    values.insert(u"linkman"_s, m_contactBox->currentText());
    values.insert(u"date"_s, QDateTime(m_date->date(), QTime(0, 0)));
    values.insert(u"number"_s, number);
    values.insert(u"sum"_s, sum);
    values.insert(u"square"_s, m_square->isChecked() ? 1 : 0);
    return values;
}

bool COrderDlg::Save(int number, const QVariantMap& values)
{
    CADORecordset recordset(m_db);
    if (!BeginSaveAs(recordset, number))
        return false;
    bool written = recordset.SetFieldDate(u"date"_s, values.value(u"date"_s).toDateTime());
    for (const char* field : kTextsBeforeNumbers)
        written =
            recordset.SetFieldText(Latin(field), values.value(Latin(field)).toString()) && written;
    for (const char* field : {"number", "sum"})
        written = recordset.SetFieldDouble(Latin(field), values.value(Latin(field)).toDouble()) &&
                  written;
    for (const char* field : kTextsAfterNumbers)
        written =
            recordset.SetFieldText(Latin(field), values.value(Latin(field)).toString()) && written;
    written = recordset.SetFieldInt(u"square"_s, values.value(u"square"_s).toInt()) && written;
    written = recordset.SetFieldText(u"remark"_s, values.value(u"remark"_s).toString()) && written;
    return EndSave(recordset, written);
}

void COrderDlg::RewriteOrderRow(QVariantMap values)
{
    if (!m_list)
        return;
    CRecordListModel& list = m_list->List();
    // What has been paid is not the dialog's business: the row keeps its paid amount, and the
    // percentage follows the new 金额.
    const double paid = ParseAmount(list.GetItemText(m_nItem, OrderColumn::kPaid));
    values.insert(u"paid"_s, paid);
    values.insert(u"percent"_s, PaidPercent(paid, values.value(u"sum"_s).toDouble()));
    RewriteListRow(list, *m_kind.trade.orderLayout, values);
    if (HasTotalsRow(list))
        UpdateOrderTotals(list);
}
