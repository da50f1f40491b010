#include "schedule/noticedlg.h"

#include "kit/datepicker.h"
#include "schedule/schedulelayouts.h"
#include "views/recorddialogs.h"

#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr char16_t kHelpText[] =
    u"    此处的时间段并不代表您准备安排的工作时间，而是软件如果在这段时间内处于运行状态，"
    u"那么将会给出提醒。反之未到开始时间，或已经超过终止时间，将不再给出提醒。";

// The day of one picker at the time of day of another, to the second the pickers show.
QDateTime Combined(const QDateTimeEdit* day, const QDateTimeEdit* timeOfDay)
{
    const QTime time = timeOfDay->time();
    return QDateTime(day->date(), QTime(time.hour(), time.minute(), time.second()));
}

} // namespace

CNoticeDlg::CNoticeDlg(CADODatabase* database, CVantrelView* list, CNoteView* text,
                       const CClock& clock, QWidget* parent)
    : CTextRecordDlg(database, u"notice"_s, ListLayouts::kReminders, list, text, parent),
      m_clock(clock), m_startDate(NewDatePicker(u"startdate"_s, this)),
      m_startTime(NewTimePicker(u"starttime"_s, this)),
      m_endDate(NewDatePicker(u"enddate"_s, this)), m_endTime(NewTimePicker(u"endtime"_s, this)),
      m_contentEdit(new QPlainTextEdit(this)), m_help(new QPlainTextEdit(this))
{
    setObjectName(u"IDD_NOTICE"_s);
    setWindowTitle(u"提醒"_s);
    m_contentEdit->setObjectName(u"content"_s);
    m_contentEdit->setTabChangesFocus(true);
    m_contentEdit->setMinimumSize(380, 160);
    m_help->setObjectName(u"help"_s);
    m_help->setReadOnly(true);
    m_help->setFocusPolicy(Qt::NoFocus);
    m_help->setFixedHeight(m_help->fontMetrics().height() * 4 + 12);

    auto* grid = new QGridLayout;
    auto row = [this, grid](const QString& text, QDateTimeEdit* day, QDateTimeEdit* time, int at) {
        auto* label = new QLabel(text, this);
        label->setBuddy(day);
        grid->addWidget(label, at, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(day, at, 1);
        grid->addWidget(time, at, 2);
    };
    row(u"开始时间："_s, m_startDate, m_startTime, 0);
    row(u"终止时间："_s, m_endDate, m_endTime, 1);
    grid->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_contentEdit, 1);
    layout->addWidget(m_help);
    layout->addLayout(NewCloseButtonRow(u"添加"_s));
}

void CNoticeDlg::SetRequest(const CRecordRequest& request)
{
    SetRequestMembers(request);
    const QVariantMap& fields = request.fields;
    m_tmStart = fields.value(u"time"_s).toDateTime();
    m_tmEnd = fields.value(u"endtime"_s).toDateTime();
    m_strContent = fields.value(u"content"_s).toString();
}

void CNoticeDlg::OnInitDialog()
{
    const QDateTime now = m_clock.Now();
    const QDateTime start = m_bModify && m_tmStart.isValid() ? m_tmStart : now;
    const QDateTime end = m_bModify && m_tmEnd.isValid() ? m_tmEnd : now;
    m_startDate->setDateTime(start);
    m_startTime->setDateTime(start);
    m_endDate->setDateTime(end);
    m_endTime->setDateTime(end);
    m_help->setPlainText(QString::fromUtf16(kHelpText));
    m_contentEdit->setPlainText(m_strContent);
}

void CNoticeDlg::OnOK()
{
    if (!Initialised())
        InitDialog();
    m_tmStart = Combined(m_startDate, m_startTime);
    m_tmEnd = Combined(m_endDate, m_endTime);
    m_strContent = m_contentEdit->toPlainText();

    SaveRecord({{u"time"_s, m_tmStart}, {u"endtime"_s, m_tmEnd}, {u"content"_s, m_strContent}});
}
