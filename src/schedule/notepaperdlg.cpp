#include "schedule/notepaperdlg.h"

#include "data/formats.h"
#include "kit/datepicker.h"
#include "kit/messages.h"
#include "schedule/schedulelayouts.h"
#include "views/recorddialogs.h"

#include <QDateTimeEdit>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CNotepaperDlg::CNotepaperDlg(CADODatabase* database, CVantrelView* list, CNoteView* text,
                             const CClock& clock, QWidget* parent)
    : CTextRecordDlg(database, u"notepaper"_s, ListLayouts::kNotes, list, text, parent),
      m_clock(clock), m_datePicker(NewDatePicker(u"time"_s, this)), m_weekday(new QLabel(this)),
      m_weatherEdit(new QLineEdit(this)), m_captionEdit(new QLineEdit(this)),
      m_contentEdit(new QPlainTextEdit(this))
{
    setObjectName(u"IDD_NOTEPAPER"_s);
    setWindowTitle(u"便笺"_s);
    m_weekday->setObjectName(u"weekday"_s);
    m_weekday->setMinimumWidth(m_weekday->fontMetrics().horizontalAdvance(u"星期三"_s) + 8);
    m_weatherEdit->setObjectName(u"weather"_s);
    m_weatherEdit->setMaxLength(kWeatherMaxLength);
    m_captionEdit->setObjectName(u"caption"_s);
    m_captionEdit->setMaxLength(kCaptionMaxLength);
    m_contentEdit->setObjectName(u"content"_s);
    m_contentEdit->setTabChangesFocus(true);
    m_contentEdit->setMinimumSize(420, 220);

    auto* grid = new QGridLayout;
    auto label = [this, grid](const QString& text, QWidget* control, int row, int column) {
        auto* caption = new QLabel(text, this);
        caption->setBuddy(control);
        grid->addWidget(caption, row, column, Qt::AlignRight | Qt::AlignVCenter);
    };
    label(u"日期："_s, m_datePicker, 0, 0);
    grid->addWidget(m_datePicker, 0, 1);
    grid->addWidget(m_weekday, 0, 2);
    label(u"天气："_s, m_weatherEdit, 0, 3);
    grid->addWidget(m_weatherEdit, 0, 4);
    label(u"标题："_s, m_captionEdit, 1, 0);
    grid->addWidget(m_captionEdit, 1, 1, 1, 4);
    auto* contentLabel = new QLabel(u"内容："_s, this);
    contentLabel->setBuddy(m_contentEdit);
    grid->addWidget(contentLabel, 2, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(m_contentEdit, 2, 1, 1, 4);
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(2, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(NewCloseButtonRow(u"保存"_s));

    connect(m_datePicker, &QDateTimeEdit::dateChanged, this, [this] { UpdateWeekday(); });
}

void CNotepaperDlg::SetRequest(const CRecordRequest& request)
{
    SetRequestMembers(request);
    const QVariantMap& fields = request.fields;
    m_tmDate = fields.value(u"time"_s).toDateTime();
    m_strWeather = fields.value(u"weather"_s).toString();
    m_strCaption = fields.value(u"caption"_s).toString();
    m_strContent = fields.value(u"content"_s).toString();
}

QString CNotepaperDlg::WeekdayText() const
{
    return m_weekday->text();
}

void CNotepaperDlg::OnInitDialog()
{
    const bool preset = m_bModify && m_tmDate.isValid();
    m_datePicker->setDate(preset ? m_tmDate.date() : m_clock.Today());
    m_weatherEdit->setText(m_strWeather);
    m_captionEdit->setText(m_strCaption);
    m_contentEdit->setPlainText(m_strContent);
    UpdateWeekday();
}

void CNotepaperDlg::UpdateWeekday()
{
    m_weekday->setText(WeekdayName(m_datePicker->date()));
}

void CNotepaperDlg::OnOK()
{
    if (!Initialised())
        InitDialog();
    m_strWeather = m_weatherEdit->text();
    m_strCaption = m_captionEdit->text();
    m_strContent = m_contentEdit->toPlainText();
    if (m_strCaption.isEmpty()) {
        Warn(this, u"您还没有填写标题！"_s);
        return;
    }
    if (m_strContent.isEmpty()) {
        Warn(this, u"您还没有填写内容！"_s);
        return;
    }
    // A note belongs to a day: it is stored at the day's start.
    m_tmDate = QDateTime(m_datePicker->date(), QTime(0, 0));

    SaveRecord({{u"time"_s, m_tmDate},
                {u"weather"_s, m_strWeather},
                {u"caption"_s, m_strCaption},
                {u"content"_s, m_strContent}});
}
