#include "customers/addressquerydlg.h"

#include "customers/addressgroups.h"
#include "customers/addresslist.h"
#include "data/pinyin.h"
#include "data/sqltext.h"
#include "kit/dialogbuttons.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// "[field] LIKE '%value%'" for each field, joined by OR: the value anywhere in any of them.
QString AnyFieldContains(std::initializer_list<const char*> fields, const QString& value)
{
    QStringList tests;
    for (const char* field : fields)
        tests << u"["_s + QLatin1StringView(field) + u"] LIKE '%"_s + SqlText(value) + u"%'"_s;
    return tests.join(u" OR "_s);
}

} // namespace

CAddressQueryDlg::CAddressQueryDlg(CADODatabase* database, CVantrelDoc& doc, QWidget* parent)
    : QDialog(parent), m_db(database), m_doc(doc), m_group(new QComboBox(this)),
      m_name(new QLineEdit(this)), m_telephone(new QLineEdit(this)), m_address(new QLineEdit(this))
{
    setObjectName(u"IDD_ADDRESSQUERY"_s);
    setWindowTitle(u"通讯录查询"_s);

    m_group->setObjectName(u"IDC_GROUP"_s);
    m_group->setEditable(true);
    m_group->setCompleter(nullptr);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->setMaxVisibleItems(20);
    m_name->setObjectName(u"IDC_NAME"_s);
    m_telephone->setObjectName(u"IDC_TELEPHONE"_s);
    m_address->setObjectName(u"IDC_ADDRESS"_s);

    auto* layout = new QVBoxLayout(this);
    // One frame per query: its field and its own "查询", which Enter in the field presses too.
    auto addQuery = [&](const QString& frame, const QString& label, QWidget* field, QLineEdit* edit,
                        const QString& button, Query query) {
        auto* box = new QGroupBox(frame, this);
        auto* row = new QHBoxLayout(box);
        auto* caption = new QLabel(label, box);
        caption->setBuddy(field);
        caption->setMinimumWidth(70);
        caption->setAlignment(Qt::AlignVCenter | Qt::AlignRight);
        row->addWidget(caption);
        row->addWidget(field, 1);
        auto* run = NewDialogButton(u"查询"_s, button, this);
        row->addWidget(run);
        layout->addWidget(box);
        connect(run, &QPushButton::clicked, this, [this, query] { OnQuery(query); });
        connect(edit, &QLineEdit::returnPressed, this, [this, query] { OnQuery(query); });
    };
    addQuery(u"按分类查询"_s, u"分类名："_s, m_group, m_group->lineEdit(), u"IDC_QUERYGROUP"_s,
             Query::Group);
    addQuery(u"按姓名查询"_s, u"姓名："_s, m_name, m_name, u"IDC_QUERYNAME"_s, Query::Name);
    addQuery(u"按手机/小灵通/电话查询"_s, u"电话号码："_s, m_telephone, m_telephone,
             u"IDC_QUERYTELEPHONE"_s, Query::Telephone);
    addQuery(u"按工作地址/家庭住址查询"_s, u"地址："_s, m_address, m_address, u"IDC_QUERYADDRESS"_s,
             Query::Address);

    auto* queryAll = NewDialogButton(u"查询全部"_s, u"IDC_QUERYALL"_s, this);
    auto* close = NewDialogButton(u"关闭"_s, u"IDOK"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(queryAll);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(queryAll, &QPushButton::clicked, this, [this] { OnQuery(Query::All); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, sizeHint().height());
}

void CAddressQueryDlg::showEvent(QShowEvent* event)
{
    if (!m_bInitialised)
        InitDialog();
    QDialog::showEvent(event);
}

void CAddressQueryDlg::InitDialog()
{
    m_bInitialised = true;
    FillGroupCombo(m_group, m_db, this);
    if (m_group->count() > 0)
        m_group->setCurrentIndex(0);
    m_name->setFocus();
}

QString CAddressQueryDlg::QueryStatement(Query query, const QString& value)
{
    QString condition;
    switch (query) {
    case Query::All:
        break;
    case Query::Group:
        condition = AnyFieldContains({"group"}, value);
        break;
    case Query::Name:
        condition = AnyFieldContains({"user"}, value);
        // Letters alone may be the initials of a Chinese name.
        if (IsInitialsValue(value))
            condition += u" OR "_s + InitialsCondition(u"[user]"_s, value);
        break;
    case Query::Telephone:
        condition = AnyFieldContains({"mobile", "pas", "homephone", "officephone"}, value);
        break;
    case Query::Address:
        condition = AnyFieldContains({"companyaddr", "homeaddr"}, value);
        break;
    }
    QString sql = u"SELECT * FROM [address]"_s;
    if (!condition.isEmpty())
        sql += u" WHERE "_s + condition;
    return sql + u" ORDER BY group, user"_s;
}

void CAddressQueryDlg::OnQuery(Query query)
{
    QString value;
    switch (query) {
    case Query::All:
        break;
    case Query::Group:
        value = m_group->currentText();
        break;
    case Query::Name:
        value = m_name->text();
        break;
    case Query::Telephone:
        value = m_telephone->text();
        break;
    case Query::Address:
        value = m_address->text();
        break;
    }
    if (ShowAddressList(m_doc, m_db, QueryStatement(query, value)))
        accept();
}
