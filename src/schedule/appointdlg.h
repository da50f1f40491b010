#pragma once

#include "views/clientcontactboxes.h"

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <set>

class CADODatabase;
class CADORecordset;
class CClock;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class QTimeEdit;

// "约会记录": the appointments with one contact person of one client. The user picks a client
// (type-ahead box), then one of its contacts, sees all appointments with that contact, newest
// first, and adds, modifies or deletes them. A click on a row loads the appointment into the
// controls; 修改 and 删除 act on the row last clicked. 修改 writes the contact now chosen, so an
// appointment can be moved to another contact.
class CAppointDlg : public QDialog
{
    Q_OBJECT
public:
    // The longest content, in code-page bytes (a Chinese character counts two), and the
    // longest place and length, in characters.
    static constexpr int kMaxContentBytes = 64000;
    static constexpr int kMaxTextLength = 64000;

    // The list's columns; the last holds the appointment number.
    enum Column { kTime, kPlace, kLength, kContent, kNotice, kNumber, kColumnCount };

    // A new appointment starts at `clock`'s now.
    CAppointDlg(CADODatabase* database, const CClock& clock, QWidget* parent = nullptr);

    // Chooses the client and contact of appointment `no` and clicks its row, so that 修改 and
    // 删除 act on it. False, changing nothing, when the appointment or its contact is gone.
    bool SelectAppointment(int no);

    void OnAdd();
    void OnModify();
    void OnDelete();
    // A click on the list: the clicked row is remembered and its appointment loaded.
    void OnClickRow();

    // The row 修改 and 删除 act on; -1 for none.
    int RememberedRow() const { return m_nRemembered; }
    // Appointments changed and deleted during the run, for lists that show them elsewhere.
    const std::set<int>& Modified() const { return m_modified; }
    const std::set<int>& Deleted() const { return m_deleted; }

    CAutoCompleteCombo& ClientBox() { return m_parties->ClientBox(); }
    const CNameEntries& Clients() const { return m_parties->Clients(); }
    const CNameEntries& Contacts() const { return m_parties->Contacts(); }
    QComboBox* ClientCombo() const { return m_clientCombo; }
    QComboBox* ContactBox() const { return m_contactBox; }
    QTableWidget* List() const { return m_list; }
    QDateTimeEdit* DatePicker() const { return m_date; }
    QTimeEdit* TimePicker() const { return m_time; }
    QLineEdit* LengthEdit() const { return m_length; }
    QLineEdit* PlaceEdit() const { return m_place; }
    QPlainTextEdit* ContentEdit() const { return m_content; }
    QCheckBox* NoticeBox() const { return m_notice; }
    QString HelpText() const;

private:
    void BuildControls();
    // The contact box names another contact: its appointments fill the list.
    void OnContactChanged();
    // The number of the chosen contact, after the message when there is none.
    bool ChosenContact(int& linkman);
    // The number of the remembered row, after `none` when no row is remembered.
    bool RememberedNumber(int& no, const QString& none);
    // The time the two pickers give, to the second.
    QDateTime ChosenTime() const;
    bool WriteFields(CADORecordset& recordset, int linkman) const;
    // The first five columns as the controls would store the appointment.
    QStringList ControlTexts() const;
    // Writes the row's first texts.size() columns.
    void SetRowTexts(int row, const QStringList& texts);
    int RowNumber(int row) const;
    // The stored appointment into the controls; false, changing nothing, when it is gone.
    bool LoadAppointment(int no);

    CADODatabase* m_db;
    QPlainTextEdit* m_help = nullptr;
    QComboBox* m_clientCombo = nullptr;
    QComboBox* m_contactBox = nullptr;
    QTableWidget* m_list = nullptr;
    QDateTimeEdit* m_date = nullptr;
    QTimeEdit* m_time = nullptr;
    QLineEdit* m_length = nullptr;
    QLineEdit* m_place = nullptr;
    QPlainTextEdit* m_content = nullptr;
    QCheckBox* m_notice = nullptr;
    CClientContactBoxes* m_parties = nullptr;
    int m_nRemembered = -1; // the row last clicked
    std::set<int> m_modified;
    std::set<int> m_deleted;
};
