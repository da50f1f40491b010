#include "schedule/lookupdlg.h"

#include "data/sqltext.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"
#include "schedule/lookuplist.h"
#include "schedule/schedulelayouts.h"
#include "schedule/schedulerecords.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// The searched column of each field choice, in the choices' order.
constexpr const char16_t* kDomesticFields[] = {u"province", u"city", u"zip", u"sections"};
constexpr const char16_t* kDomesticChoices[] = {u"省份", u"城市", u"邮编", u"区号"};
constexpr const char16_t* kInternationalFields[] = {u"continent", u"country", u"sections"};
constexpr const char16_t* kInternationalChoices[] = {u"洲", u"国家及地区", u"区号"};

template <size_t N>
QString Statement(const char16_t* table, const char16_t* const (&fields)[N], int field,
                  const QString& text)
{
    if (field < 0 || field >= int(N))
        return {};
    return u"SELECT * FROM %1 WHERE %2 LIKE '%"_s.arg(QString::fromUtf16(table),
                                                      QString::fromUtf16(fields[field])) +
           SqlText(text) + u"%'"_s;
}

template <size_t N> QComboBox* NewFieldChoice(const char16_t* const (&choices)[N], QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    for (const char16_t* choice : choices)
        combo->addItem(QString::fromUtf16(choice));
    combo->setCurrentIndex(0);
    return combo;
}

// One part of the dialog: the field choice, the text and its search button.
QGroupBox* NewPart(const QString& title, QComboBox* field, QLineEdit* text, QPushButton* query,
                   QWidget* parent)
{
    auto* box = new QGroupBox(title, parent);
    auto* form = new QFormLayout;
    form->addRow(u"查询项目："_s, field);
    form->addRow(u"含有文字："_s, text);
    auto* row = new QHBoxLayout(box);
    row->addLayout(form, 1);
    row->addWidget(query, 0, Qt::AlignBottom);
    return box;
}

} // namespace

CZipQueryDlg::CZipQueryDlg(CADODatabase* reference, CVantrelDoc& doc, QWidget* parent)
    : QDialog(parent), m_pAreaDb(reference), m_doc(doc),
      m_domesticField(NewFieldChoice(kDomesticChoices, this)), m_domesticText(new QLineEdit(this)),
      m_domesticQuery(NewDialogButton(u"查询"_s, u"IDC_DOMESTICQUERY"_s, this)),
      m_internationalField(NewFieldChoice(kInternationalChoices, this)),
      m_internationalText(new QLineEdit(this)),
      m_internationalQuery(NewDialogButton(u"查询"_s, u"IDC_INTERNATIONALQUERY"_s, this))
{
    setObjectName(u"IDD_ZIPQUERY"_s);
    setWindowTitle(u"邮编、电话区号查询"_s);
    m_domesticField->setObjectName(u"IDC_DOMESTICFIELD"_s);
    m_domesticText->setObjectName(u"IDC_DOMESTICTEXT"_s);
    m_internationalField->setObjectName(u"IDC_INTERNATIONALFIELD"_s);
    m_internationalText->setObjectName(u"IDC_INTERNATIONALTEXT"_s);
    auto* close = NewDialogButton(u"关闭"_s, u"IDOK"_s, this);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        NewPart(u"国内部分"_s, m_domesticField, m_domesticText, m_domesticQuery, this));
    layout->addWidget(NewPart(u"国际部分"_s, m_internationalField, m_internationalText,
                              m_internationalQuery, this));
    layout->addLayout(buttons);
    setMinimumWidth(420);

    // Enter searches the part the user is typing in.
    for (QWidget* part :
         {static_cast<QWidget*>(m_domesticField), static_cast<QWidget*>(m_domesticText),
          static_cast<QWidget*>(m_internationalField), static_cast<QWidget*>(m_internationalText)})
        part->installEventFilter(this);
    m_domesticQuery->setDefault(true);
    m_domesticText->setFocus();

    connect(m_domesticQuery, &QPushButton::clicked, this, &CZipQueryDlg::OnDomesticQuery);
    connect(m_internationalQuery, &QPushButton::clicked, this, &CZipQueryDlg::OnInternationalQuery);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

bool CZipQueryDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const bool domestic = watched == m_domesticField || watched == m_domesticText;
        m_domesticQuery->setDefault(domestic);
        m_internationalQuery->setDefault(!domestic);
    }
    return QDialog::eventFilter(watched, event);
}

QString CZipQueryDlg::DomesticStatement(int field, const QString& text)
{
    return Statement(u"section1", kDomesticFields, field, text);
}

QString CZipQueryDlg::InternationalStatement(int field, const QString& text)
{
    return Statement(u"section2", kInternationalFields, field, text);
}

void CZipQueryDlg::OnDomesticQuery()
{
    Query(m_domesticText, ScheduleCategory::kDomesticCodes,
          DomesticStatement(m_domesticField->currentIndex(), m_domesticText->text()));
}

void CZipQueryDlg::OnInternationalQuery()
{
    Query(
        m_internationalText, ScheduleCategory::kInternationalCodes,
        InternationalStatement(m_internationalField->currentIndex(), m_internationalText->text()));
}

void CZipQueryDlg::Query(const QLineEdit* text, int category, const QString& sql)
{
    if (text->text().isEmpty()) {
        Warn(this, u"搜索内容必须填写！"_s);
        return;
    }
    const ListLayout& layout = category == ScheduleCategory::kDomesticCodes
                                   ? ListLayouts::kDomesticCodes
                                   : ListLayouts::kInternationalCodes;
    // With no field chosen there is no statement: the list keeps its new columns, empty.
    ShowReferenceList(m_doc, sql.isEmpty() ? nullptr : m_pAreaDb, category, layout, sql);
    accept();
}
