#pragma once

#include "views/recorddlg.h"

#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <array>

class CADODatabase;
class CVantrelView;
class QComboBox;
class QLineEdit;
class QRadioButton;

// "通讯录": adds an entry of the private address book or changes one (a row of table
// `address`, numbered by the file). Entries are sorted into groups: the group combo offers the
// names of table `group`, and a group typed there is added to the table when the entry is
// saved. The same name twice in one group is only a question. In modify mode the dialog
// rewrites its row of the main list after the save.
//
// The opener sets the members before the dialog is shown (m_bModify, m_nNo, m_nItem and the
// field values); the dialog reads them when it first shows.
class CAddressDlg : public CRecordDlg
{
    Q_OBJECT
public:
    // The text fields of `address` after the group, in the dialog's order.
    static constexpr int kTextFieldCount = 20;

    // `list` is the main list whose row m_nItem a modify rewrites; it may be null.
    CAddressDlg(CADODatabase* database, CVantrelView* list, QWidget* parent = nullptr);

    // The initial values by column name of `address`: texts, and `sex` as 0 (男) or 1 (女). A
    // modify passes the stored row. Once the dialog is showing, the controls take them at once.
    void SetFieldValues(const QVariantMap& fields);

    // "添加": checks the name, stores a new group, asks about a duplicate and saves.
    void OnOK() override;

    // The control of a text column of `address`, "group" included; null for others.
    QWidget* Control(const QString& field) const;
    QString FieldText(const QString& field) const;
    QComboBox* GroupCombo() const { return m_group; }
    QRadioButton* MaleButton() const { return m_male; }
    QRadioButton* FemaleButton() const { return m_female; }

protected:
    // Fills the group combo and moves the members into the controls.
    void OnInitDialog() override;

private:
    int IndexOf(const QString& field) const;
    void TakeControlValues();
    bool Save();
    QVariantMap FieldValues() const;

    QPointer<CVantrelView> m_list;
    QString m_strGroup;
    std::array<QString, kTextFieldCount> m_strFields;
    int m_nSex = 0; // 0 男, 1 女
    QComboBox* m_group;
    std::array<QLineEdit*, kTextFieldCount> m_edits{};
    QRadioButton* m_male;
    QRadioButton* m_female;
};
