#pragma once

#include "data/recordnumber.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

class CADODatabase;
class CADORecordset;
class CRecordListModel;
class QCheckBox;
class QHBoxLayout;
class QPushButton;
struct CRecordRequest;
struct ListLayout;

// What a record dialog says when its record cannot be saved.
struct RecordSaveTexts
{
    const char16_t* addOpenFailed;    // the table does not open for an add
    const char16_t* addNewFailed;     // no new row can be started; null: the write reports it
    const char16_t* noNumber;         // the counter gave -1 without a failure; null: saveFailed
    const char16_t* modifyOpenFailed; // the table does not open for a modify
    const char16_t* modifyNotFound;   // the record to modify is gone
    const char16_t* saveFailed;       // the row cannot be written
};

// The base of the dialogs that add or modify one record of a table. The opener sets the
// members (m_bModify, m_nNo, m_nItem) before the modal run; the dialog settles its controls
// when it first shows. "添加" checks and saves; after an add with "连续添加" ticked the dialog
// stays open for the next record, otherwise it closes. Dialogs that save one record and close
// have "确定" and "取消" instead, and no "连续添加".
class CRecordDlg : public QDialog
{
    Q_OBJECT
public:
    int m_bModify = 0;          // 0 add, 1 modify
    int m_nNo = -1;             // the record's number; -1 when adding
    int m_nItem = -1;           // the list row that shows the record; -1 when none
    bool m_bContinuous = false; // "连续添加": stay open after an add

    // The mode members from a record list's request.
    void SetRequestMembers(const CRecordRequest& request);

    // Fills the controls from the members; runs once, when the dialog first shows.
    void InitDialog();
    // "添加": checks the input, asks about duplicates and saves.
    virtual void OnOK() = 0;

    // Null in a dialog without "连续添加".
    QCheckBox* ContinuousBox() const { return m_continuous; }
    QPushButton* OkButton() const { return m_ok; }

protected:
    // `table` is the table the records live in, `kind` its number counter; without one the
    // file numbers the rows of the table itself and an add writes no number.
    CRecordDlg(CADODatabase* database, const QString& table, std::optional<RecordKind> kind,
               const RecordSaveTexts& texts, QWidget* parent);

    // The dialog's own part of InitDialog: fill the lists, move the members into the controls.
    virtual void OnInitDialog() = 0;
    bool Initialised() const { return m_bInitialised; }

    // "连续添加", then "添加" (the default) and "关闭" at the right.
    QHBoxLayout* NewButtonRow();
    // "确定" (the default) and "取消" at the right: the dialog saves one record and closes.
    QHBoxLayout* NewConfirmButtonRow();

    // True when the statement finds no row (or does not run) or the user still wants to save:
    // asks `question` under "重复".
    bool ConfirmNoDuplicate(const QString& sql, const QString& question);

    // Takes the next number of the table's counter; false after the counter's message. The
    // number is spent even when the record is then not saved.
    bool TakeNumber(int& number);
    // Puts the recordset on the row to write: a new row that already carries a newly taken
    // number (given back in `number`), or the record m_nNo. False, after the kind's message,
    // when there is no such row, and after "此记录已被其他用户修改，请关闭后重新打开。" when
    // another workstation changed the record since this dialog read it: a modify writes over
    // nobody's change.
    bool BeginSave(CADORecordset& recordset, int& number);
    // The same for dialogs that take the number before their checks: an add writes `number`.
    bool BeginSaveAs(CADORecordset& recordset, int& number);
    // Writes the row; `written` says whether every field was taken. False after the kind's
    // message (or the one above, when the record changed between BeginSave and the write).
    bool EndSave(CADORecordset& recordset, bool written);
    // After a save: "记录修改成功！" or "新数据添加成功！", then the dialog closes unless it adds
    // continuously.
    void Saved();
    // The same with the dialog's own words for an add and a modify.
    void Saved(const QString& added, const QString& modified);

    // Rewrites row m_nItem of the list from the saved values, when it still shows this record.
    void RewriteListRow(CRecordListModel& list, const ListLayout& layout,
                        const QVariantMap& values) const;

    void showEvent(QShowEvent* event) override;

    CADODatabase* m_db;

private:
    // "SELECT * FROM <table> WHERE [no] = <m_nNo>"
    QString RecordSql() const;
    // Says the kind's own failure text, or, when the server could not be reached, that and
    // why: the input stays for another try once it can be.
    void WarnFailure(const CADORecordset& recordset, const char16_t* own);
    void ReadStoredRow();

    QString m_strTable;
    std::optional<RecordKind> m_kind;
    RecordSaveTexts m_texts;
    bool m_bInitialised = false;
    // A modify: the record as the dialog was opened on it (StoredRowTexts); none when it could
    // not be read.
    std::optional<QStringList> m_storedRow;
    QCheckBox* m_continuous = nullptr; // made by NewButtonRow
    QPushButton* m_ok;
};
