#include "schedule/phonebookdlg.h"

#include "data/sqltext.h"
#include "kit/dialogbuttons.h"
#include "schedule/lookuplist.h"
#include "schedule/schedulelayouts.h"
#include "schedule/schedulerecords.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CPhoneBookDlg::CPhoneBookDlg(CADODatabase* reference, CVantrelDoc& doc, QWidget* parent)
    : QDialog(parent), m_pAreaDb(reference), m_doc(doc), m_text(new QLineEdit(this))
{
    setObjectName(u"IDD_PHONEBOOK"_s);
    setWindowTitle(u"常用电话查询"_s);
    m_text->setObjectName(u"IDC_PHONETEXT"_s);
    m_text->setPlaceholderText(u"名称、号码或说明，不填则列出全部"_s);
    auto* query = NewDialogButton(u"查询"_s, u"IDC_PHONEQUERY"_s, this);
    auto* close = NewDialogButton(u"关闭"_s, u"IDOK"_s, this);
    query->setDefault(true);

    auto* box = new QGroupBox(u"常用电话"_s, this);
    auto* form = new QFormLayout;
    form->addRow(u"含有文字："_s, m_text);
    auto* row = new QHBoxLayout(box);
    row->addLayout(form, 1);
    row->addWidget(query, 0, Qt::AlignBottom);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    m_text->setFocus();

    connect(query, &QPushButton::clicked, this, &CPhoneBookDlg::OnQuery);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

QString CPhoneBookDlg::QueryStatement(const QString& text)
{
    if (text.isEmpty())
        return u"SELECT * FROM service"_s;
    const QString pattern = u"'%"_s + SqlText(text) + u"%'"_s;
    return u"SELECT * FROM service WHERE [name] LIKE %1 OR [number] LIKE %1 OR remark LIKE %1"_s
        .arg(pattern);
}

void CPhoneBookDlg::OnQuery()
{
    ShowReferenceList(m_doc, m_pAreaDb, ScheduleCategory::kPhoneNumbers, ListLayouts::kPhoneNumbers,
                      QueryStatement(m_text->text()));
    accept();
}
