#pragma once

#include "kit/clock.h"
#include "schedule/textrecorddlg.h"

#include <QDateTime>
#include <QString>

class CNoteView;
class CVantrelView;
class QDateTimeEdit;
class QPlainTextEdit;
struct CRecordRequest;

// "提醒": writes one reminder (table notice), new or existing: a text and the window of time
// in which the running program reminds of it, from a start day and time to an end day and
// time. Nothing is checked: an empty text and an end before the start are stored as they are
// (such a reminder is simply never due). A modify rewrites the reminder's row of the main list
// and shows its text in the text view; an add touches no list. The database numbers new
// reminders.
class CNoticeDlg : public CTextRecordDlg
{
    Q_OBJECT
public:
    // `list` and `text` are the main list and the text view a modify updates; either may be
    // null. A new reminder's window starts at `clock`'s now.
    CNoticeDlg(CADODatabase* database, CVantrelView* list, CNoteView* text, const CClock& clock,
               QWidget* parent = nullptr);

    // Modify: the stored window (the opener gives each value to both of its pickers) and text.
    QDateTime m_tmStart;
    QDateTime m_tmEnd;
    QString m_strContent;

    // Members from a record list's request: the mode and, for a modify, the stored reminder
    // (time and endtime as QDateTime, content as text).
    void SetRequest(const CRecordRequest& request);

    // "添加": saves, also in modify mode.
    void OnOK() override;

    // Control(): "startdate", "starttime", "enddate", "endtime" are the pickers, "content" the
    // text and "help" the help text.

protected:
    void OnInitDialog() override;

private:
    CClock m_clock;
    QDateTimeEdit* m_startDate;
    QDateTimeEdit* m_startTime;
    QDateTimeEdit* m_endDate;
    QDateTimeEdit* m_endTime;
    QPlainTextEdit* m_contentEdit;
    QPlainTextEdit* m_help;
};
