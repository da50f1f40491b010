#pragma once

#include "schedule/appointlist.h"
#include "views/clientcontactboxes.h"

#include <QDialog>
#include <QString>

class CClock;
class CVantrelDoc;
class QComboBox;
class QDateTimeEdit;
class QPlainTextEdit;
class QPushButton;

// "约会记录分类查询": lists appointments in the main window by a range of days, and within it by
// client or by contact. A query that runs fills the main list (the text view below shows a
// clicked appointment's text) and closes the dialog, also when it finds nothing; only the date
// order check of "按时间查询" refuses and leaves it open.
//
// Enter presses "按联系人查询" after the contact box took the focus, "按时间查询" after a date
// picker did.
class CAppointQueryDlg : public QDialog
{
    Q_OBJECT
public:
    // The time pickers start at `clock`'s now.
    CAppointQueryDlg(CVantrelDoc& doc, const CClock& clock, QWidget* parent = nullptr);

    void OnQueryTime();
    void OnQueryClient();
    void OnQueryContact();

    QDateTimeEdit* StartPicker() const { return m_start; }
    QDateTimeEdit* EndPicker() const { return m_end; }
    QComboBox* ClientCombo() const { return m_clientCombo; }
    QComboBox* ContactBox() const { return m_contactBox; }
    CAutoCompleteCombo& ClientBox() { return m_parties->ClientBox(); }
    const CNameEntries& Clients() const { return m_parties->Clients(); }
    const CNameEntries& Contacts() const { return m_parties->Contacts(); }
    QPushButton* TimeButton() const { return m_timeButton; }
    QPushButton* ClientButton() const { return m_clientButton; }
    QPushButton* ContactButton() const { return m_contactButton; }
    QString HelpText() const;

private:
    void BuildControls();
    // "SELECT * FROM appoint WHERE [time] >= <start> AND [time] <= <end>": whole days.
    QString RangeStatement() const;
    void Run(const QString& sql, const AppointPartiesOf& parties);

    CVantrelDoc& m_doc;
    QPlainTextEdit* m_help = nullptr;
    QDateTimeEdit* m_start = nullptr;
    QDateTimeEdit* m_end = nullptr;
    QComboBox* m_clientCombo = nullptr;
    QComboBox* m_contactBox = nullptr;
    QPushButton* m_timeButton = nullptr;
    QPushButton* m_clientButton = nullptr;
    QPushButton* m_contactButton = nullptr;
    CClientContactBoxes* m_parties = nullptr;
};
