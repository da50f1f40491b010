#pragma once

#include "data/dberror.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <memory>
#include <span>
#include <vector>

class CADODatabase;
class CStoredValues;

namespace vantrel::db {
class Connection;
class Statement;
} // namespace vantrel::db
namespace jetsql {
struct Translation;
} // namespace jetsql
namespace vantrel::detail {
struct Cell;
struct ResultSet;
} // namespace vantrel::detail

// One statement's result as a static client-side cursor: Open runs the statement and holds its
// rows; AddNew/Edit/Update/Delete change the current row in the file. Walk by count:
//   Open, GetRecordCount, MoveFirst when the count is at least 1, then read and MoveNext.
class CADORecordset
{
public:
    enum EditStatus { dbEditNone = 0, dbEditNew = 1, dbEdit = 2 };
    // GetLastErrorCode after an Update or Delete that found its row changed (of kind
    // vantrel::db::ErrorKind::RowChanged).
    static constexpr quint32 kRowChangedError = 4;

    explicit CADORecordset(CADODatabase* database);
    virtual ~CADORecordset();
    CADORecordset(const CADORecordset&) = delete;
    CADORecordset& operator=(const CADORecordset&) = delete;

    // Jet SQL as the dialogs write it (date literals #y-m-d h:m:s#, [names], LIKE '%x%').
    bool Open(const QString& sql = {});
    // Runs the statement to be walked once, forward: MoveNext reads the next row from the
    // statement and no row is kept, so a list of 100,000 rows holds its values once, in its
    // own store. Other statements may run during the walk. The rows cannot be changed, and
    // GetRecordCount is -1: the count is known only at the end.
    bool OpenForward(const QString& sql = {});
    bool IsForwardOnly() const { return m_forward != nullptr || m_bForwardWalk; }
    // False when a forward walk stopped at a failure (recorded as the last error) rather than
    // at the end of the rows.
    bool WalkSucceeded() const { return !m_bWalkFailed; }
    void Close();
    bool IsOpen() const;

    int GetRecordCount() const;
    void MoveFirst();
    void MoveNext();
    bool IsEOF() const;

    // A NULL field reads as "", 0, 0.0 or a null date and the read still succeeds. Field names
    // are matched without regard to case; in a join an ambiguous name is "table.column".
    bool GetFieldText(const QString& field, QString& value, const QString& dateFormat = {});
    bool GetFieldInt(const QString& field, int& value);
    bool GetFieldDouble(const QString& field, double& value);
    bool GetFieldDate(const QString& field, QDateTime& value);
    // The same by the field's place in the result, for loops that read many rows: the place of
    // a name is looked up once. -1 when the result has no such field.
    int GetFieldIndex(const QString& field) const;
    bool GetFieldText(int index, QString& value, const QString& dateFormat = {});
    bool GetFieldInt(int index, int& value);
    bool GetFieldDouble(int index, double& value);
    bool GetFieldDate(int index, QDateTime& value);
    // The day of a date field (null for NULL): no local time is made, which lists of many rows
    // notice.
    bool GetFieldDay(int index, QDate& day);
    // Copies the current row's field into a list's store as it was read: a number as the
    // number, a text as its UTF-8, a date as its day and time, a yes/no as -1 or 0.
    bool StoreField(int index, CStoredValues& values, int row, int column);
    // A field of the row and the column of a list's store it is copied into.
    struct StoredField
    {
        int field = -1;
        int column = 0;
    };
    // StoreField for several fields of the current row at once, as a list reads its rows.
    bool StoreFields(std::span<const StoredField> fields, CStoredValues& values, int row);

    // Only between AddNew/Edit and Update; an empty text is stored as NULL.
    bool SetFieldText(const QString& field, const QString& value);
    bool SetFieldInt(const QString& field, int value);
    bool SetFieldDouble(const QString& field, double value);
    bool SetFieldDate(const QString& field, const QDateTime& value);

    bool AddNew();
    // From now on an Update after AddNew writes the row and keeps nothing of it, and no row is
    // current after it: adding many rows that are not read back then costs what writing them
    // costs.
    void KeepNoAddedRows();
    void Edit();
    // Edit for a change that must not cover another workstation's: Update then writes only
    // while every field of the row still holds the value read, and fails with
    // kRowChangedError when any of them changed meanwhile.
    void EditAsRead();
    // Update after Edit, and Delete, change the current row only while the file still holds it
    // as it was read: the same row by its number where the table numbers its rows, otherwise
    // with every value as read. A row another workstation deleted or replaced meanwhile is
    // left alone and the call fails with kRowChangedError.
    bool Update();
    void CancelUpdate();
    bool Delete();

    int GetFieldCount() const;
    QString GetFieldName(int index) const;
    CADODatabase* Database() const { return m_database; }
    int GetEditStatus() const { return m_editStatus; }
    QString GetQuery() const { return m_query; }
    QString GetLastError() const { return m_lastError; }
    // The last failure's own description, without the report around it.
    QString GetLastErrorDescription() const { return m_lastErrorDescription; }
    quint32 GetLastErrorCode() const { return m_lastErrorCode; }
    vantrel::db::ErrorKind GetLastErrorKind() const { return m_lastErrorKind; }

private:
    struct Value;
    // The field's value on the current row, or what was written to it since AddNew/Edit.
    bool ReadValue(int index, Value& value);
    // Whether there is a current row, neither past the end nor deleted.
    bool OnLiveRow() const;
    // The current row's field as read (a text's UTF-8 in `text`); false without a row.
    bool CurrentCell(int index, vantrel::detail::Cell& cell, QByteArrayView& text) const;
    // CurrentCell once the row is known to be live.
    vantrel::detail::Cell LiveCell(int index, QByteArrayView& text) const;
    // The field's place, or -1 after recording the error.
    int IndexOf(const QString& field);
    bool ReadDateTime(int index, QDate& date, QTime& time);
    bool PutValue(const QString& field, Value value);
    std::vector<size_t> PendingWithInitials() const;
    QString InitialsColumnOf(size_t column) const;
    bool BindPending(vantrel::db::Statement& statement, int& parameter,
                     const std::vector<size_t>& initials) const;
    bool InsertPending();
    bool UpdatePending();
    // `wholeRow`: every field as read, even where the table numbers its rows.
    QString CurrentRowCondition(bool wholeRow) const;
    bool BindCurrentRow(vantrel::db::Statement& statement, int& parameter, bool wholeRow) const;
    bool StoreWrittenRow(vantrel::db::Statement& statement, int row);
    // Closes what is open and prepares the statement of `sql` (the last query when empty),
    // lent for a forward walk; null after recording why not.
    vantrel::db::Statement* Prepare(const QString& sql, bool forward,
                                    jetsql::Translation& translation);
    // Reads the forward walk's next row, or ends the walk.
    void StepForward();
    void EndForward();
    void RecordError(vantrel::db::ErrorKind kind, const QString& description);
    void RecordError(const vantrel::db::Error& error);
    // The connection's last failure.
    void RecordConnectionError();

    CADODatabase* m_database;
    std::shared_ptr<vantrel::db::Connection> m_connection;
    std::unique_ptr<vantrel::detail::ResultSet> m_result;
    // The statement a forward walk steps, lent by the connection until the walk ends.
    std::shared_ptr<vantrel::db::Statement> m_forward;
    QString m_forwardSql;
    bool m_bForwardWalk = false;
    bool m_bOnRow = false; // a forward walk stands on a row of its statement
    bool m_bWalkFailed = false;
    std::vector<Value> m_pending;
    // The statement of the last row added and the columns it wrote: rows added one after
    // another mostly write the same columns. Forgotten when another result is opened.
    std::vector<bool> m_insertedColumns;
    QString m_insertSql;
    bool m_bKeepAdded = true;
    int m_current = 0;
    int m_editStatus = dbEditNone;
    bool m_bEditAsRead = false;
    QString m_query;
    QString m_lastError;
    QString m_lastErrorDescription;
    quint32 m_lastErrorCode = 0;
    vantrel::db::ErrorKind m_lastErrorKind = vantrel::db::ErrorKind::None;
};
