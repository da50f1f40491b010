#pragma once

#include "customers/clientfields.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include <array>

class CADODatabase;
class CVantrelView;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "客户信息": adds a client or changes one (a row of table `client`). Eleven combo boxes offer
// the attribute dictionaries' values and take free text; a new value typed into one of the
// first nine is added to its dictionary when the client is saved. Names and numbers only
// prompt before a duplicate is saved. In modify mode the dialog rewrites its row of the main
// list after the save.
//
// The opener sets the members before the dialog is shown (m_bModify, m_nNo, m_nItem and the
// field texts); the dialog reads them when it first shows, as it fills its combo boxes.
class CClientDlg : public QDialog
{
    Q_OBJECT
public:
    // `list` is the main list whose row m_nItem a modify rewrites; it may be null.
    CClientDlg(CADODatabase* database, CVantrelView* list, QWidget* parent = nullptr);

    int m_bModify = 0;          // 0 add, 1 modify
    int m_nNo = -1;             // the client's record number; -1 when adding
    int m_nItem = -1;           // the main list's row that shows the client; -1 when none
    bool m_bContinuous = false; // "连续添加": stay open after an add

    // The initial texts of the controls, by column name of `client`; a modify passes the
    // stored row. Once the dialog is showing, the controls take them at once.
    void SetFieldTexts(const QVariantMap& fields);

    // Fills the combo boxes and moves the members into the controls; runs when the dialog
    // first shows.
    void InitDialog();
    // "添加": checks the input, asks about duplicates, saves and feeds the dictionaries.
    void OnOK();

    // The control of a column of `client`: a QLineEdit, QComboBox or QPlainTextEdit.
    QWidget* Control(const QString& field) const;
    QString FieldText(const QString& field) const;
    QCheckBox* ContinuousBox() const { return m_continuous; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    int IndexOf(const QString& field) const;
    void SetControlText(int index, const QString& text);
    QString ControlText(int index) const;
    // True when the statement finds no row (or does not run) or the user still wants to save.
    bool ConfirmNoDuplicate(const QString& sql, const QString& question);
    bool Save();
    void FeedDictionaries();
    void RewriteListRow();

    CADODatabase* m_db;
    QPointer<CVantrelView> m_list;
    bool m_bInitialised = false;
    std::array<QString, kClientFieldCount> m_strFields;
    std::array<QWidget*, kClientFieldCount> m_controls{};
    QCheckBox* m_continuous;
    QPushButton* m_ok;
};
