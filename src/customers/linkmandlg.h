#pragma once

#include "kit/autocompletecombo.h"
#include "views/nameentry.h"
#include "views/recorddlg.h"

#include <QDate>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <map>

class CADODatabase;
class CMiddleListView;
class QComboBox;
class QLineEdit;
class QRadioButton;

// "联系人管理": adds a contact person of a client or changes one (a row of table `linkman`).
// The owning client is chosen in a type-ahead client box; five combo boxes offer the values of
// their dictionaries and take free text, and a new value is added to its dictionary when the
// contact is saved. Names and numbers prompt before a duplicate within the same client is
// saved. In modify mode the dialog rewrites its row of the secondary list after the save; a
// contact added to the client whose contacts the secondary list shows is appended there.
//
// The opener sets the members before the dialog is shown; the dialog reads them when it first
// shows, as it fills its boxes.
class CLinkmanDlg : public CRecordDlg
{
    Q_OBJECT
public:
    // `list` is the secondary list (the contacts of a client); it may be null.
    CLinkmanDlg(CADODatabase* database, CMiddleListView* list, QWidget* parent = nullptr);

    int m_bPresetClient = 0; // 1: the client box starts on the client named m_strClient
    QString m_strClient;     // the owning client's name (modify and preset)
    int m_nYear = 1900;      // birthday
    int m_nMonth = 1;
    int m_nDay = 1;
    int m_nSex = 0; // 0 男, 1 女

    // Members from a record list's request: the mode, the client, and for a modify the stored
    // row (texts by column name of `linkman`, `sex` as 0 or 1, `birthday` as a date).
    void SetRequest(const CRecordRequest& request);
    // The initial texts of the edit fields and dictionary boxes, by column name.
    void SetFieldTexts(const QVariantMap& fields);

    // "添加": checks the input, asks about duplicates, saves and feeds the dictionaries.
    void OnOK() override;

    // The control of a text column of `linkman` (a QLineEdit or, for the five dictionary
    // columns, a QComboBox); "client" is the client box.
    QWidget* Control(const QString& field) const;
    QString FieldText(const QString& field) const;
    CAutoCompleteCombo& ClientBox() { return m_clientBox; }
    const CNameEntries& Clients() const { return m_clients; }
    QLineEdit* YearEdit() const { return m_yearEdit; }
    QLineEdit* MonthEdit() const { return m_monthEdit; }
    QLineEdit* DayEdit() const { return m_dayEdit; }

    // The date a birthday is stored as. The range checks let a day through that its month
    // lacks (31 February); such a day becomes the month's last day.
    static QDate BirthdayDate(int year, int month, int day);

protected:
    // Fills the boxes and moves the members into the controls.
    void OnInitDialog() override;

private:
    void BuildControls();
    void LoadClients();
    void SelectClient(const QString& name);
    void ApplyMembers();
    // The number of the client the opener meant (a modified contact's own client, the client
    // selected in the main list for a preset add); -1 when none.
    int IntendedClient() const;
    // The number of the client the box names; -1 when no client has that name.
    int OwningClient(const QString& name) const;
    // Reads a birthday edit as a whole number within the range; false when it is none.
    static bool ReadNumber(const QLineEdit* edit, int low, int high, int& value);
    bool ReadBirthday();
    // Writes the contact; false (after its message) when it could not be saved.
    bool Save(int client, const QDate& birthday, int& number);
    void FeedDictionaries();
    void AppendListRow(int client, const QVariantMap& values, int number);
    // The saved contact as the secondary list shows it: the controls' texts, the client's
    // name, the sex and the birthday.
    QVariantMap RowValues(const QString& clientName, const QDate& birthday) const;

    QPointer<CMiddleListView> m_list;
    QVariantMap m_fields;
    CNameEntries m_clients;
    CAutoCompleteCombo m_clientBox;
    std::map<QString, QWidget*> m_controls;
    QComboBox* m_clientCombo = nullptr;
    QLineEdit* m_yearEdit = nullptr;
    QLineEdit* m_monthEdit = nullptr;
    QLineEdit* m_dayEdit = nullptr;
    QRadioButton* m_male = nullptr;
    QRadioButton* m_female = nullptr;
};
