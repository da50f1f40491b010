#include "customers/clientquerydlg.h"

#include "customers/attributekinds.h"
#include "customers/clientlist.h"
#include "customers/dictionarylist.h"
#include "customers/dictionaryvalues.h"
#include "data/pinyin.h"
#include "data/sqltext.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

const char16_t kHelp[] =
    u"    请先从左侧列表中选择一个分类属性，然后再从右侧列表中选择或直接输入一个属性值，之后点击"
    u"“查询”即可查询到所有和您所选定的属性值相同的客户记录。如果想查询全部客户记录，请点击"
    u"“查询全部”。“员工人数”和“年营业额”查询时，必须值相等才会查到，其他项目都支持模糊查询，"
    u"只要该字段中含有您输入的关键字就会显示。";

// Staff size and annual turnover find only equal values; every other kind finds the values
// that contain the text.
bool MatchesExactly(const AttributeKind& kind)
{
    return KindField(kind) == u"people"_s || KindField(kind) == u"turnover"_s;
}

} // namespace

CClientQueryDlg::CClientQueryDlg(CADODatabase* database, CVantrelDoc& doc, QWidget* parent)
    : QDialog(parent), m_db(database), m_doc(doc), m_kinds(NewReportList(u"分类属性"_s, 150, this)),
      m_valueEdit(new QLineEdit(this)), m_valueList(new QListWidget(this)),
      m_help(new QPlainTextEdit(this))
{
    setObjectName(u"IDD_CLIENTQUERY"_s);
    setWindowTitle(u"客户分类查询"_s);

    m_kinds->setObjectName(u"IDC_KINDLIST"_s);
    m_kinds->setFixedWidth(175);
    AppendReportRow(m_kinds, u"名称"_s, KindIcon(false));
    for (const AttributeKind& kind : AttributeKinds())
        AppendReportRow(m_kinds, KindLabel(kind), KindIcon(false));

    m_valueEdit->setObjectName(u"IDC_VALUE"_s);
    m_valueList->setObjectName(u"IDC_VALUELIST"_s);
    m_valueList->setMinimumSize(220, 200);
    m_help->setObjectName(u"IDC_HELP"_s);
    m_help->setReadOnly(true);
    m_help->setPlainText(QString::fromUtf16(kHelp));
    m_help->setMinimumHeight(80);
    m_help->setMaximumHeight(110);

    auto* query = NewDialogButton(u"查询"_s, u"IDC_QUERY"_s, this);
    auto* queryAll = NewDialogButton(u"查询全部"_s, u"IDC_QUERYALL"_s, this);
    auto* close = NewDialogButton(u"关闭"_s, u"IDOK"_s, this);
    query->setDefault(true);

    auto* valueBox = new QGroupBox(u"属性值列表"_s, this);
    auto* valueLayout = new QVBoxLayout(valueBox);
    valueLayout->addWidget(m_valueEdit);
    valueLayout->addWidget(m_valueList, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_kinds);
    top->addWidget(valueBox, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(query);
    buttons->addWidget(queryAll);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_help);
    layout->addLayout(buttons);

    setTabOrder(m_kinds, m_valueEdit);
    setTabOrder(m_valueEdit, m_valueList);
    setTabOrder(m_valueList, query);
    setTabOrder(query, queryAll);
    setTabOrder(queryAll, close);
    setTabOrder(close, m_help);

    connect(m_kinds, &QTableWidget::cellClicked, this, [this](int row, int) { SelectKind(row); });
    // Picking a suggestion puts it into the edit, as a simple combo box does.
    connect(m_valueList, &QListWidget::currentTextChanged, m_valueEdit, &QLineEdit::setText);
    connect(m_valueList, &QListWidget::itemClicked, m_valueEdit,
            [this](const QListWidgetItem* item) { m_valueEdit->setText(item->text()); });
    connect(m_valueList, &QListWidget::itemDoubleClicked, this, &CClientQueryDlg::OnQuery);
    connect(query, &QPushButton::clicked, this, &CClientQueryDlg::OnQuery);
    connect(queryAll, &QPushButton::clicked, this, &CClientQueryDlg::OnQueryAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

QString CClientQueryDlg::HelpText() const
{
    return m_help->toPlainText();
}

void CClientQueryDlg::SelectKind(int row)
{
    m_nKind = (row >= 0 && row <= kAttributeKindCount) ? row : -1;
    MarkChosenKind(m_kinds, m_nKind);
    if (m_nKind < 0)
        return;
    if (m_kinds->currentRow() != m_nKind)
        m_kinds->selectRow(m_nKind);
    // A value of the kind chosen before means nothing for this one.
    const QSignalBlocker blocker(m_valueList);
    m_valueList->clear();
    m_valueEdit->clear();
    if (m_nKind == kNameRow)
        return;
    const std::optional<QStringList> values =
        DictionaryValues(m_db, DictionaryStatement(AttributeKinds()[m_nKind - 1]));
    // Already in the users' sort order (the statement's ORDER BY).
    if (values)
        m_valueList->addItems(*values);
}

QString CClientQueryDlg::QueryStatement(int row, const QString& value)
{
    if (row == kNameRow) {
        QString condition = u"[name] LIKE '%"_s + SqlText(value) + u"%'"_s;
        // Letters alone may be the initials of a Chinese name.
        if (IsInitialsValue(value))
            condition += u" OR "_s + InitialsCondition(u"[name]"_s, value);
        return u"SELECT * FROM client WHERE "_s + condition + u" ORDER BY [name]"_s;
    }
    const AttributeKind& kind = AttributeKinds()[row - 1];
    if (MatchesExactly(kind))
        return u"SELECT * FROM client WHERE ["_s + KindField(kind) + u"] = '"_s + SqlText(value) +
               u"' ORDER BY [name]"_s;
    return u"SELECT * FROM client WHERE ["_s + KindField(kind) + u"] LIKE '%"_s + SqlText(value) +
           u"%' ORDER BY [name]"_s;
}

QString CClientQueryDlg::QueryAllStatement()
{
    return u"SELECT * FROM client ORDER BY [name]"_s;
}

void CClientQueryDlg::OnQuery()
{
    if (m_nKind < 0) {
        Warn(this, u"您还没有选择一个分类属性"_s);
        return;
    }
    const QString value = m_valueEdit->text();
    if (value.isEmpty()) {
        Warn(this, u"您还没有填写属性值！"_s);
        return;
    }
    Run(QueryStatement(m_nKind, value));
}

void CClientQueryDlg::OnQueryAll()
{
    Run(QueryAllStatement());
}

void CClientQueryDlg::Run(const QString& sql)
{
    if (ShowClientList(m_doc, m_db, sql))
        accept();
}
