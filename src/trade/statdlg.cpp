#include "trade/statdlg.h"

#include "data/eachrow.h"
#include "kit/clock.h"
#include "kit/dialogbuttons.h"
#include "kit/focusdefaults.h"
#include "kit/longlistcombo.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "trade/statfigures.h"
#include "trade/traderecords.h"
#include "trade/tradetwin.h"
#include "views/clientnames.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 9999;
// The client list is as wide as this many characters, whatever its longest name.
constexpr int kClientListWidth = 24;

QLineEdit* NewNumberEdit(const QString& name, int value, QWidget* parent)
{
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(name);
    edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(u"00000000"_s));
    return edit;
}

} // namespace

CStatDlg::CStatDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent)
    : QDialog(parent), m_doc(doc)
{
    setObjectName(u"IDD_STAT"_s);
    setWindowTitle(u"统计"_s);
    BuildControls(clock.Today());
    LoadClients();
}

void CStatDlg::BuildControls(const QDate& today)
{
    auto* defaults = new CFocusDefaults(this);

    auto* tradeBox = new QGroupBox(u"模式"_s, this);
    auto* basisBox = new QGroupBox(u"统计方式"_s, this);
    const struct
    {
        QGroupBox* box;
        QRadioButton** buttons;
        QString texts[2];
        QString names[2];
    } choices[] = {
        {tradeBox, m_trade, {u"采购"_s, u"销售"_s}, {u"IDC_INPUT"_s, u"IDC_OUTPUT"_s}},
        {basisBox, m_basis, {u"按签单时间"_s, u"按到帐时间"_s}, {u"IDC_SIGN"_s, u"IDC_ARRIVE"_s}},
    };
    for (const auto& choice : choices) {
        auto* row = new QHBoxLayout(choice.box);
        auto* group = new QButtonGroup(choice.box);
        for (int i = 0; i < 2; ++i) {
            choice.buttons[i] = new QRadioButton(choice.texts[i], choice.box);
            choice.buttons[i]->setObjectName(choice.names[i]);
            group->addButton(choice.buttons[i], i);
            row->addWidget(choice.buttons[i]);
        }
        row->addStretch(1);
        choice.buttons[0]->setChecked(true);
    }

    // 某客户各月对比
    auto* clientBox = new QGroupBox(u"某客户各月对比"_s, this);
    m_fromYear = NewNumberEdit(u"IDC_YEAR1"_s, today.year(), clientBox);
    m_fromMonth = NewNumberEdit(u"IDC_MONTH1"_s, today.month(), clientBox);
    m_toYear = NewNumberEdit(u"IDC_YEAR2"_s, today.year(), clientBox);
    m_toMonth = NewNumberEdit(u"IDC_MONTH2"_s, today.month(), clientBox);
    m_client = new QComboBox(clientBox);
    m_client->setObjectName(u"IDC_CLIENT"_s);
    PrepareLongList(m_client, kClientListWidth);
    m_clientButton = NewDialogButton(u"统计"_s, u"IDC_STAT1"_s, clientBox);
    auto* span = new QHBoxLayout;
    span->addWidget(m_fromYear);
    span->addWidget(new QLabel(u"年"_s, clientBox));
    span->addWidget(m_fromMonth);
    span->addWidget(new QLabel(u"月"_s, clientBox));
    span->addWidget(new QLabel(u"——"_s, clientBox));
    span->addWidget(m_toYear);
    span->addWidget(new QLabel(u"年"_s, clientBox));
    span->addWidget(m_toMonth);
    span->addWidget(new QLabel(u"月"_s, clientBox));
    span->addStretch(1);
    auto* clientGrid = new QGridLayout(clientBox);
    clientGrid->addLayout(span, 0, 0, 1, 2);
    clientGrid->addWidget(new QLabel(u"客户："_s, clientBox), 1, 0);
    clientGrid->addWidget(m_client, 1, 1);
    clientGrid->addWidget(m_clientButton, 1, 2);
    clientGrid->setColumnStretch(1, 1);
    defaults->Add(clientBox, m_clientButton);

    // 某月各个客户对比
    auto* monthBox = new QGroupBox(u"某月各个客户对比"_s, this);
    m_year = NewNumberEdit(u"IDC_YEAR"_s, today.year(), monthBox);
    m_month = NewNumberEdit(u"IDC_MONTH"_s, today.month(), monthBox);
    m_monthButton = NewDialogButton(u"统计"_s, u"IDC_STAT2"_s, monthBox);
    auto* monthRow = new QHBoxLayout(monthBox);
    monthRow->addWidget(m_year);
    monthRow->addWidget(new QLabel(u"年"_s, monthBox));
    monthRow->addWidget(m_month);
    monthRow->addWidget(new QLabel(u"月"_s, monthBox));
    monthRow->addStretch(1);
    monthRow->addWidget(m_monthButton);
    defaults->Add(monthBox, m_monthButton);

    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);

    auto* switches = new QHBoxLayout;
    switches->addWidget(tradeBox);
    switches->addWidget(basisBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(switches);
    layout->addWidget(clientBox);
    layout->addWidget(monthBox);
    layout->addLayout(bottom);

    connect(m_clientButton, &QPushButton::clicked, this, &CStatDlg::OnStatClient);
    connect(m_monthButton, &QPushButton::clicked, this, &CStatDlg::OnStatMonth);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CStatDlg::LoadClients()
{
    // One entry per client row, sorted as the users look names up.
    CADORecordset recordset(m_doc.Database());
    QStringList names;
    if (recordset.Open(u"SELECT [name] FROM client"_s)) {
        names.reserve(std::max(recordset.GetRecordCount(), 0));
        const int nameField = recordset.GetFieldIndex(u"name"_s);
        QString name;
        ForEachRow(recordset, [&] {
            recordset.GetFieldText(nameField, name);
            names << name;
        });
    }
    SortNames(names);
    m_client->addItems(names);
    if (m_client->count() > 0)
        m_client->setCurrentIndex(0);
}

const TradeTwin& CStatDlg::Trade() const
{
    return m_trade[1]->isChecked() ? kSaleTwin : kPurchaseTwin;
}

StatBasis CStatDlg::Basis() const
{
    return m_basis[1]->isChecked() ? StatBasis::kPaid : StatBasis::kSigned;
}

bool CStatDlg::Refuse(QLineEdit* edit, const QString& message)
{
    Warn(this, message);
    edit->setFocus();
    edit->selectAll();
    return false;
}

bool CStatDlg::ReadWhole(QLineEdit* edit, int& value)
{
    bool ok = false;
    value = edit->text().trimmed().toInt(&ok);
    return ok || Refuse(edit, u"请输入一个整数。"_s);
}

bool CStatDlg::ReadMonth(QLineEdit* yearEdit, QLineEdit* monthEdit, int& year, int& month)
{
    if (!ReadWhole(yearEdit, year) || !ReadWhole(monthEdit, month))
        return false;
    if (year < kFirstYear || year > kLastYear)
        return Refuse(yearEdit, u"年份必须在%1到%2之间！"_s.arg(kFirstYear).arg(kLastYear));
    if (month < 1 || month > 12)
        return Refuse(monthEdit, u"月份必须在1到12之间！"_s);
    return true;
}

void CStatDlg::OnStatClient()
{
    int fromYear = 0, fromMonth = 0, toYear = 0, toMonth = 0;
    if (!ReadMonth(m_fromYear, m_fromMonth, fromYear, fromMonth) ||
        !ReadMonth(m_toYear, m_toMonth, toYear, toMonth))
        return;
    const QString client = m_client->currentText();
    m_entries = MonthEntries(fromYear, fromMonth, toYear, toMonth);
    SumClientMonths(m_doc.Database(), Trade(), Basis(), client, m_entries);
    ShowTable(ClientMonthsTitle(Trade(), Basis(), client), true);
}

void CStatDlg::OnStatMonth()
{
    int year = 0, month = 0;
    if (!ReadMonth(m_year, m_month, year, month))
        return;
    QStringList clients;
    clients.reserve(m_client->count());
    for (int i = 0; i < m_client->count(); ++i)
        clients << m_client->itemText(i);
    m_entries = ClientEntries(clients);
    SumMonthClients(m_doc.Database(), Trade(), Basis(), year, month, m_entries);
    ShowTable(MonthClientsTitle(Trade(), Basis(), year, month), false);
}

void CStatDlg::ShowTable(const QString& title, bool months)
{
    CVantrelView* view = m_doc.MainList();
    if (!view)
        return;
    view->SetCategory(TradeCategory::kStatistics);
    view->SetCurrentQuery(QString());
    view->SetCaption(title);
    CRecordListModel& list = view->List();
    list.Clear();
    if (months) {
        list.InsertColumn(-1, u"月份"_s, Qt::AlignLeft, 200);
    } else {
        list.InsertColumn(-1, u"客户名称"_s, Qt::AlignLeft, 300);
    }
    list.InsertColumn(-1, u"金额"_s, Qt::AlignRight, 100);
    CListRows rows;
    for (const CStatEntry& entry : m_entries) {
        const int row = rows.Add(CRecordListModel::kNoImage);
        rows.values.SetShown(row, 0, months ? MonthLabel(entry) : entry.m_strClient);
        rows.values.SetReal(row, 1, entry.m_dSum);
        rows.values.SetFormat(row, 1, CellFormat::Amount);
    }
    list.AppendRows(std::move(rows));
    // The secondary list stays empty, without columns, behind the chart.
    if (CMiddleListView* lower = m_doc.MiddleList())
        lower->Reset();
    m_doc.ShowStatChart(months ? MonthChartFigures(title, m_entries)
                               : ClientChartFigures(title, m_entries));
    m_doc.SetInfoText(title);
}
