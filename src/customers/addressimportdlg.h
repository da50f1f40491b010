#pragma once

#include "customers/addressvcard.h"

#include <QDialog>
#include <QString>

class CADODatabase;
class QCheckBox;
class QComboBox;
class QLabel;

// "导入通讯录": puts the cards of a vCard file into the address book. The user picks the group
// the entries go into (an existing one or a new name) and whether a card's own category
// (CATEGORIES) wins over it. Names a group already has are one question per group, as the
// address dialog asks it; then every entry is added in one transaction, or none, and a report
// says what was added, what was skipped and why.
class CAddressImportDlg : public QDialog
{
    Q_OBJECT
public:
    CAddressImportDlg(CADODatabase* database, AddressCardsRead read, const QString& path,
                      QWidget* parent = nullptr);

    // "导入". Closes the dialog when the entries are stored (or none was to be).
    void OnImport();

    QComboBox* GroupCombo() const { return m_group; }
    QCheckBox* CardGroupsBox() const { return m_cardGroups; }
    // The numbers of the entries added, for listing them; -1 before an import.
    int FirstNo() const { return m_firstNo; }
    int LastNo() const { return m_lastNo; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CADODatabase* m_db;
    AddressCardsRead m_read;
    bool m_bInitialised = false;
    QComboBox* m_group;
    QCheckBox* m_cardGroups;
    int m_firstNo = -1;
    int m_lastNo = -1;
};
