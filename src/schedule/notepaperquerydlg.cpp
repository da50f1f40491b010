#include "schedule/notepaperquerydlg.h"

#include "data/sqltext.h"
#include "kit/clock.h"
#include "kit/datepicker.h"
#include "kit/dialogbuttons.h"
#include "kit/focusdefaults.h"
#include "schedule/notelist.h"

#include <QDateTimeEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CNotepaperQueryDlg::CNotepaperQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent)
    : QDialog(parent), m_doc(doc)
{
    setObjectName(u"IDD_NOTEPAPERQUERY"_s);
    setWindowTitle(u"便笺分类查询"_s);
    BuildControls();
    const QDateTime now = clock.Now();
    m_start->setDateTime(now);
    m_end->setDateTime(now);
    m_queryButtons[kDateGroup]->setDefault(true);
    m_start->setFocus();
}

void CNotepaperQueryDlg::BuildControls()
{
    // Made before the controls, so it is also gone before them when the dialog is destroyed.
    auto* defaults = new CFocusDefaults(this);
    auto group = [this, defaults](Group group, const QString& title, const QString& button,
                                  std::initializer_list<QWidget*> controls,
                                  std::initializer_list<QWidget*> row) {
        auto* box = new QGroupBox(title, this);
        auto* layout = new QHBoxLayout(box);
        for (QWidget* widget : row)
            layout->addWidget(widget);
        QPushButton* query = NewDialogButton(u"查询"_s, button, box);
        layout->addWidget(query);
        m_queryButtons[group] = query;
        for (QWidget* control : controls)
            defaults->Add(control, query);
        return box;
    };
    auto label = [this](const QString& text) { return new QLabel(text, this); };
    auto search = [this](const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(kSearchMaxLength);
        edit->setMinimumWidth(240);
        return edit;
    };

    m_start = NewDatePicker(u"IDC_STARTDATE"_s, this);
    m_end = NewDatePicker(u"IDC_ENDDATE"_s, this);
    m_caption = search(u"IDC_CAPTION"_s);
    m_content = search(u"IDC_CONTENT"_s);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group(kDateGroup, u"按日期查询"_s, u"IDC_QUERYDATE"_s, {m_start, m_end},
                            {label(u"日期范围："_s), m_start, label(u"——"_s), m_end}));
    layout->addWidget(group(kCaptionGroup, u"按标题查询"_s, u"IDC_QUERYCAPTION"_s, {m_caption},
                            {label(u"标题中包含文字："_s), m_caption}));
    layout->addWidget(group(kContentGroup, u"按内容查询"_s, u"IDC_QUERYCONTENT"_s, {m_content},
                            {label(u"内容中包含文字："_s), m_content}));

    QPushButton* all = NewDialogButton(u"查询全部"_s, u"IDC_QUERYALL"_s, this);
    QPushButton* close = NewDialogButton(u"关闭"_s, u"IDCANCEL"_s, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(m_queryButtons[kDateGroup], &QPushButton::clicked, this,
            &CNotepaperQueryDlg::OnQueryDate);
    connect(m_queryButtons[kCaptionGroup], &QPushButton::clicked, this,
            &CNotepaperQueryDlg::OnQueryCaption);
    connect(m_queryButtons[kContentGroup], &QPushButton::clicked, this,
            &CNotepaperQueryDlg::OnQueryContent);
    connect(all, &QPushButton::clicked, this, &CNotepaperQueryDlg::OnQueryAll);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void CNotepaperQueryDlg::OnQueryDate()
{
    // Whole days: from the start day's first second to the end day's last one.
    const QDate start = m_start->date();
    const QDate end = m_end->date();
    Run(u"SELECT * FROM notepaper WHERE [time] <= %1 AND [time] >= %2 ORDER BY time DESC"_s.arg(
        SqlDayEnd(end.year(), end.month(), end.day()),
        SqlDayStart(start.year(), start.month(), start.day())));
}

void CNotepaperQueryDlg::OnQueryCaption()
{
    Run(u"SELECT * FROM notepaper WHERE [caption] LIKE '%"_s + SqlText(m_caption->text()) +
        u"%' ORDER BY time DESC"_s);
}

void CNotepaperQueryDlg::OnQueryContent()
{
    Run(u"SELECT * FROM notepaper WHERE [content] LIKE '%"_s + SqlText(m_content->text()) +
        u"%' ORDER BY time DESC"_s);
}

void CNotepaperQueryDlg::OnQueryAll()
{
    Run(u"SELECT * FROM notepaper ORDER BY time DESC"_s);
}

void CNotepaperQueryDlg::Run(const QString& sql)
{
    ShowNoteList(m_doc, sql);
    accept();
}
