#pragma once

#include "customers/clientfields.h"
#include "views/recorddlg.h"

#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <array>

class CADODatabase;
class CVantrelView;

// "客户信息": adds a client or changes one (a row of table `client`). Eleven combo boxes offer
// the attribute dictionaries' values and take free text; a new value typed into one of the
// first nine is added to its dictionary when the client is saved. Names and numbers only
// prompt before a duplicate is saved. In modify mode the dialog rewrites its row of the main
// list after the save.
//
// The opener sets the members before the dialog is shown (m_bModify, m_nNo, m_nItem and the
// field texts); the dialog reads them when it first shows, as it fills its combo boxes.
class CClientDlg : public CRecordDlg
{
    Q_OBJECT
public:
    // `list` is the main list whose row m_nItem a modify rewrites; it may be null.
    CClientDlg(CADODatabase* database, CVantrelView* list, QWidget* parent = nullptr);

    // The initial texts of the controls, by column name of `client`; a modify passes the
    // stored row. Once the dialog is showing, the controls take them at once.
    void SetFieldTexts(const QVariantMap& fields);

    // "添加": checks the input, asks about duplicates, saves and feeds the dictionaries.
    void OnOK() override;

    // The control of a column of `client`: a QLineEdit, QComboBox or QPlainTextEdit.
    QWidget* Control(const QString& field) const;
    QString FieldText(const QString& field) const;

protected:
    // Fills the combo boxes and moves the members into the controls.
    void OnInitDialog() override;

private:
    int IndexOf(const QString& field) const;
    bool Save();
    void FeedDictionaries();
    QVariantMap FieldValues() const;

    QPointer<CVantrelView> m_list;
    std::array<QString, kClientFieldCount> m_strFields;
    std::array<QWidget*, kClientFieldCount> m_controls{};
};
