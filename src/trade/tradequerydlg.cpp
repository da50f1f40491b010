#include "trade/tradequerydlg.h"

#include "data/sqltext.h"
#include "kit/clock.h"
#include "kit/datepicker.h"
#include "kit/dialogbuttons.h"
#include "kit/focusdefaults.h"
#include "kit/messages.h"
#include "kit/numberfield.h"
#include "trade/orderlist.h"
#include "trade/tradetwin.h"
#include "views/vantreldoc.h"

#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <iterator>

using namespace Qt::StringLiterals;

const TradeQueryTwin kPurchaseQueryTwin{
    &kPurchaseTwin,               // trade
    u"采购查询",                  // title
    u"IDD_QUERYINPUT",            // dialogName
    u"是否已结帐",                // settledCaption
    u"采购详情",                  // detailEntry
    u"ORDER BY date DESC, paper", // settledOrder
    true,                         // sortedContacts
};

const TradeQueryTwin kSaleQueryTwin{
    &kSaleTwin,            // trade
    u"销售查询",           // title
    u"IDD_QUERYOUTPUT",    // dialogName
    u"是否结清",           // settledCaption
    u"销售详情",           // detailEntry
    u"ORDER BY date DESC", // settledOrder
    false,                 // sortedContacts
};

namespace {

const char16_t kHelp[] =
    u"    注意：在进行各种查询前，请先选择日期范围，它将作用于所有查询中。比如按数量查询实质是在"
    u"一定时间范围内的按数量查询...\n"
    u"    综合查询是根据日期、特殊关键字、客户及联系人四项来进行综合查询的，可以查询四项同时满足"
    u"的记录。";

// The fields the keyword list searches, by entry.
constexpr const char16_t* kKeywordFields[] = {u"paper", u"item",   u"bargain",
                                              u"goods", u"detail", u"principal"};

// The value a statement compares with: six decimals, as "%lf" writes them.
QString SqlNumber(double value)
{
    return QString::number(value, 'f', 6);
}

QLabel* NewLabel(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

} // namespace

CTradeQueryDlg::CTradeQueryDlg(const TradeQueryTwin& twin, CVantrelDoc& doc, const CClock& clock,
                               QWidget* parent)
    : QDialog(parent), m_twin(twin), m_doc(doc)
{
    setObjectName(QString::fromUtf16(twin.dialogName));
    setWindowTitle(QString::fromUtf16(twin.title));
    BuildControls();

    // Opening: both pickers at the current date and time, the start picker first.
    const QDateTime now = clock.Now();
    m_start->setDateTime(now);
    m_end->setDateTime(now);
    m_parties = new CClientContactBoxes(doc.Database(), m_clientCombo, m_contactBox,
                                        twin.sortedContacts, this);
    m_parties->Load();
    MakeDefault(kDateGroup);
    m_start->setFocus();
}

void CTradeQueryDlg::BuildControls()
{
    // Made before the controls, so it is also gone before them when the dialog is destroyed.
    auto* defaults = new CFocusDefaults(this);
    m_help = new QPlainTextEdit(this);
    m_help->setObjectName(u"IDC_HELP"_s);
    m_help->setReadOnly(true);
    m_help->setPlainText(QString::fromUtf16(kHelp));
    m_help->setFixedHeight(m_help->fontMetrics().height() * 5 + 12);

    auto queryButton = [this](Group group, const QString& name) {
        QPushButton* button = NewDialogButton(u"查询"_s, name, this);
        m_queryButtons[group] = button;
        return button;
    };
    auto belongs = [this, defaults](Group group, std::initializer_list<const QWidget*> controls) {
        for (const QWidget* control : controls)
            defaults->Add(control, m_queryButtons[group]);
    };

    // 按日期查询
    auto* dateBox = new QGroupBox(u"按日期查询"_s, this);
    m_start = NewDatePicker(u"IDC_STARTDATE"_s, dateBox);
    m_end = NewDatePicker(u"IDC_ENDDATE"_s, dateBox);
    auto* dateRow = new QHBoxLayout(dateBox);
    dateRow->addWidget(NewLabel(u"日期范围："_s, dateBox));
    dateRow->addWidget(m_start);
    dateRow->addWidget(NewLabel(u"——"_s, dateBox));
    dateRow->addWidget(m_end);
    dateRow->addStretch(1);
    dateRow->addWidget(queryButton(kDateGroup, u"IDC_QUERYDATE"_s));
    belongs(kDateGroup, {m_start, m_end});

    // 按数量、金额查询
    auto* rangeBox = new QGroupBox(u"按数量、金额查询"_s, this);
    m_rangeField = new QComboBox(rangeBox);
    m_rangeField->setObjectName(u"IDC_RANGEFIELD"_s);
    m_rangeField->addItems({u"数量"_s, u"金额"_s});
    m_rangeField->setCurrentIndex(0);
    m_first = new QLineEdit(NumberEditText(0.0), rangeBox);
    m_first->setObjectName(u"IDC_VALUE1"_s);
    m_second = new QLineEdit(NumberEditText(0.0), rangeBox);
    m_second->setObjectName(u"IDC_VALUE2"_s);
    m_first->setAlignment(Qt::AlignRight);
    m_second->setAlignment(Qt::AlignRight);
    auto* rangeRow = new QHBoxLayout(rangeBox);
    rangeRow->addWidget(m_rangeField);
    rangeRow->addWidget(m_first, 1);
    rangeRow->addWidget(NewLabel(u"——"_s, rangeBox));
    rangeRow->addWidget(m_second, 1);
    rangeRow->addWidget(queryButton(kRangeGroup, u"IDC_QUERYRANGE"_s));
    belongs(kRangeGroup, {m_rangeField, m_first, m_second});

    // 按特殊关键字
    auto* keywordBox = new QGroupBox(u"按特殊关键字"_s, this);
    m_keywordField = new QComboBox(keywordBox);
    m_keywordField->setObjectName(u"IDC_KEYFIELD"_s);
    m_keywordField->addItems({u"单号"_s, u"项目"_s, u"合同"_s, u"货品名称"_s,
                              QString::fromUtf16(m_twin.detailEntry), u"责任人"_s});
    m_keywordField->setCurrentIndex(0);
    m_keyword = new QLineEdit(keywordBox);
    m_keyword->setObjectName(u"IDC_KEYWORD"_s);
    m_keyword->setMaxLength(kKeywordMaxLength);
    auto* keywordRow = new QHBoxLayout(keywordBox);
    keywordRow->addWidget(m_keywordField);
    keywordRow->addWidget(NewLabel(u"含有文字："_s, keywordBox));
    keywordRow->addWidget(m_keyword, 1);
    keywordRow->addWidget(queryButton(kKeywordGroup, u"IDC_QUERYKEY"_s));
    belongs(kKeywordGroup, {m_keywordField, m_keyword});

    // 按客户、联系人查询
    auto* clientGroup = new QGroupBox(u"按客户、联系人查询"_s, this);
    m_clientCombo = new QComboBox(clientGroup);
    m_clientCombo->setObjectName(u"IDC_CLIENT"_s);
    m_contactBox = new QComboBox(clientGroup);
    m_contactBox->setObjectName(u"IDC_LINKMAN"_s);
    auto* clientGrid = new QGridLayout(clientGroup);
    clientGrid->addWidget(NewLabel(u"客户："_s, clientGroup), 0, 0);
    clientGrid->addWidget(m_clientCombo, 0, 1);
    clientGrid->addWidget(queryButton(kClientGroup, u"IDC_QUERYCLIENT"_s), 0, 2);
    clientGrid->addWidget(NewLabel(u"联系人："_s, clientGroup), 1, 0);
    clientGrid->addWidget(m_contactBox, 1, 1);
    clientGrid->addWidget(queryButton(kContactGroup, u"IDC_QUERYLINKMAN"_s), 1, 2);
    clientGrid->setColumnStretch(1, 1);
    belongs(kClientGroup, {m_clientCombo});
    belongs(kContactGroup, {m_contactBox});

    // 是否已结帐 / 是否结清
    auto* settledBox = new QGroupBox(QString::fromUtf16(m_twin.settledCaption), this);
    m_unsettled = new QRadioButton(u"未结清"_s, settledBox);
    m_unsettled->setObjectName(u"IDC_NOTSQUARE"_s);
    m_settled = new QRadioButton(u"已经结清"_s, settledBox);
    m_settled->setObjectName(u"IDC_SQUARE"_s);
    m_unsettled->setChecked(true);
    auto* settledRow = new QHBoxLayout(settledBox);
    settledRow->addWidget(m_unsettled);
    settledRow->addWidget(m_settled);
    settledRow->addStretch(1);
    settledRow->addWidget(queryButton(kSettledGroup, u"IDC_QUERYSQUARE"_s));
    belongs(kSettledGroup, {m_unsettled, m_settled});
    for (QRadioButton* radio : {m_unsettled, m_settled})
        connect(radio, &QRadioButton::clicked, this, [this] { MakeDefault(kSettledGroup); });

    auto* combined = NewDialogButton(u"综合查询"_s, u"IDC_QUERYMULTI"_s, this);
    auto* all = NewDialogButton(u"查询全部"_s, u"IDC_QUERYALL"_s, this);
    auto* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(combined);
    buttons->addWidget(all);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_help);
    layout->addWidget(dateBox);
    layout->addWidget(rangeBox);
    layout->addWidget(keywordBox);
    layout->addWidget(clientGroup);
    layout->addWidget(settledBox);
    layout->addLayout(buttons);
    setMinimumWidth(520);

    connect(m_queryButtons[kDateGroup], &QPushButton::clicked, this, &CTradeQueryDlg::OnQueryDate);
    connect(m_queryButtons[kRangeGroup], &QPushButton::clicked, this,
            &CTradeQueryDlg::OnQueryRange);
    connect(m_queryButtons[kKeywordGroup], &QPushButton::clicked, this,
            &CTradeQueryDlg::OnQueryKeyword);
    connect(m_queryButtons[kClientGroup], &QPushButton::clicked, this,
            &CTradeQueryDlg::OnQueryClient);
    connect(m_queryButtons[kContactGroup], &QPushButton::clicked, this,
            &CTradeQueryDlg::OnQueryContact);
    connect(m_queryButtons[kSettledGroup], &QPushButton::clicked, this,
            &CTradeQueryDlg::OnQuerySettled);
    connect(combined, &QPushButton::clicked, this, &CTradeQueryDlg::OnQueryCombined);
    connect(all, &QPushButton::clicked, this, &CTradeQueryDlg::OnQueryAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QString CTradeQueryDlg::HelpText() const
{
    return m_help->toPlainText();
}

void CTradeQueryDlg::MakeDefault(Group group)
{
    // One default at a time: the dialog takes it from every other button.
    m_queryButtons[group]->setDefault(true);
}

QString CTradeQueryDlg::DateRangeStatement() const
{
    const QDate start = m_start->date();
    const QDate end = m_end->date();
    return u"SELECT * FROM %1 WHERE [date] >= %2 AND [date] <= %3"_s.arg(
        QString::fromUtf16(m_twin.trade->orderTable),
        SqlDayStart(start.year(), start.month(), start.day()),
        SqlDayEnd(end.year(), end.month(), end.day()));
}

QString CTradeQueryDlg::KeywordClause() const
{
    const int index = m_keywordField->currentIndex();
    if (index < 0 || index >= int(std::size(kKeywordFields)))
        return {};
    return u" AND ["_s + QString::fromUtf16(kKeywordFields[index]) + u"] LIKE '%"_s +
           SqlText(m_keyword->text()) + u"%'"_s;
}

void CTradeQueryDlg::OnQueryDate()
{
    // The statement takes whole days, so only the days are compared: a same-day range is
    // never refused for a time of day the pickers do not show.
    if (m_start->date() > m_end->date()) {
        Warn(this, u"起始时间必须小于终止时间！"_s);
        return;
    }
    Run(DateRangeStatement() + u" ORDER BY date DESC"_s);
}

void CTradeQueryDlg::OnQueryRange()
{
    double first = 0.0;
    double second = 0.0;
    if (!ReadNumberField(this, m_first, u"第一个值"_s, first) ||
        !ReadNumberField(this, m_second, u"第二个值"_s, second))
        return;
    if (first > second) {
        Warn(this, u"数量、金额中第一个值必须小于第二个值！"_s);
        return;
    }
    const QString field = m_rangeField->currentText() == u"金额"_s ? u"sum"_s : u"number"_s;
    Run(DateRangeStatement() + u" AND [%1] >= %2 AND [%1] <= %3 ORDER BY date DESC"_s.arg(
                                   field, SqlNumber(first), SqlNumber(second)));
}

void CTradeQueryDlg::OnQueryKeyword()
{
    Run(DateRangeStatement() + KeywordClause() + u" ORDER BY date DESC"_s);
}

void CTradeQueryDlg::OnQueryClient()
{
    Run(DateRangeStatement() + u" AND [client] = '"_s + SqlText(ClientBox().Text()) +
        u"' ORDER BY date DESC"_s);
}

void CTradeQueryDlg::OnQueryContact()
{
    Run(DateRangeStatement() + u" AND [linkman] = '"_s + SqlText(m_contactBox->currentText()) +
        u"' ORDER BY date DESC"_s);
}

void CTradeQueryDlg::OnQuerySettled()
{
    const QString condition =
        m_settled->isChecked() ? u" AND [square] <> 0 "_s : u" AND [square] = 0 "_s;
    Run(DateRangeStatement() + condition + QString::fromUtf16(m_twin.settledOrder));
}

void CTradeQueryDlg::OnQueryCombined()
{
    Run(DateRangeStatement() + KeywordClause() + u" AND [client] = '"_s +
        SqlText(ClientBox().Text()) + u"' AND [linkman] = '"_s +
        SqlText(m_contactBox->currentText()) + u"' ORDER BY [date] DESC"_s);
}

void CTradeQueryDlg::OnQueryAll()
{
    Run(u"SELECT * FROM "_s + QString::fromUtf16(m_twin.trade->orderTable) + u' ' +
        QString::fromUtf16(m_twin.settledOrder));
}

void CTradeQueryDlg::Run(const QString& sql)
{
    ShowOrderList(m_doc, *m_twin.trade, sql);
    accept();
}

CPurchaseQueryDlg::CPurchaseQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent)
    : CTradeQueryDlg(kPurchaseQueryTwin, doc, clock, parent)
{
}

CSaleQueryDlg::CSaleQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent)
    : CTradeQueryDlg(kSaleQueryTwin, doc, clock, parent)
{
}
