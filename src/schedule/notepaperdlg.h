#pragma once

#include "kit/clock.h"
#include "schedule/textrecorddlg.h"

#include <QDateTime>
#include <QString>

class CNoteView;
class CVantrelView;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
struct CRecordRequest;

// "便笺": writes one diary note (table notepaper), a new one or an existing one: its day, the
// weather, a caption of at most 250 characters and a text. The label beside the date shows the
// picked day's weekday. A modify rewrites the note's row of the main list and shows the new
// text in the text view; an add touches no list. The database numbers new notes.
class CNotepaperDlg : public CTextRecordDlg
{
    Q_OBJECT
public:
    static constexpr int kCaptionMaxLength = 250;
    // A text column of the data file holds no more.
    static constexpr int kWeatherMaxLength = 255;

    // `list` and `text` are the main list and the text view a modify updates; either may be
    // null. A new note is for `clock`'s today.
    CNotepaperDlg(CADODatabase* database, CVantrelView* list, CNoteView* text, const CClock& clock,
                  QWidget* parent = nullptr);

    QDateTime m_tmDate; // the note's day (modify); invalid: today
    QString m_strWeather;
    QString m_strCaption;
    QString m_strContent;

    // Members from a record list's request: the mode and, for a modify, the stored note (time
    // as QDateTime, weather, caption and content as texts).
    void SetRequest(const CRecordRequest& request);

    // "保存": checks the caption and the text, then saves.
    void OnOK() override;

    // Control(): a column of notepaper ("time" is the date picker); "weekday" is the label
    // beside it.
    QDateTimeEdit* DatePicker() const { return m_datePicker; }
    QString WeekdayText() const;

protected:
    void OnInitDialog() override;

private:
    void UpdateWeekday();

    CClock m_clock;
    QDateTimeEdit* m_datePicker;
    QLabel* m_weekday;
    QLineEdit* m_weatherEdit;
    QLineEdit* m_captionEdit;
    QPlainTextEdit* m_contentEdit;
};
