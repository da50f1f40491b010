#include "data/adorecordset.h"

#include "data/adodatabase.h"
#include "data/datevalue.h"
#include "data/dbcatalogue.h"
#include "data/dbconnection.h"
#include "data/dbstatement.h"
#include "data/jetsql.h"
#include "data/pinyin.h"
#include "data/resultset.h"
#include "data/schema.h"
#include "data/sqldialect.h"
#include "data/sqltext.h"
#include "data/storedvalues.h"

#include <QStringList>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

using namespace Qt::StringLiterals;
using vantrel::db::ErrorKind;
using vantrel::detail::Cell;
using vantrel::detail::CellKind;
using vantrel::detail::ColumnRole;
using vantrel::detail::ResultSet;
namespace db = vantrel::db;

// A field's value as read, or as written between AddNew/Edit and Update (`set`).
struct CADORecordset::Value
{
    bool set = false;
    CellKind kind = CellKind::Null;
    qint64 integer = 0;
    double real = 0.0;
    QString text;
    ColumnRole role = ColumnRole::Plain;
};

namespace {

int ClampToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp<double>(std::trunc(value), std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

// The provider's descriptions of the layer's own failures.
const QString kNoSuchField =
    u"Item cannot be found in the collection corresponding to the requested name: "_s;
const QString kNoCurrentRow =
    u"Either BOF or EOF is True, or the current record has been deleted."_s;
const QString kNotUpdatable = u"Current Recordset does not support updating."_s;
const QString kEmptyStatement = u"Command text was not set for the command object."_s;
const QString kRowChanged = u"Row cannot be located for updating. Some values may have been "
                            "changed since it was last read."_s;

// The column that numbers the rows of every record table.
const QString kNumberColumn = u"no"_s;

// The layout of a statement's result, learnt once while the statement stays as prepared.
std::shared_ptr<const vantrel::detail::Layout> LayoutOf(db::Statement& statement, bool hasRowId)
{
    const int preparation = statement.Preparation();
    if (!statement.layout || statement.layoutPreparation != preparation) {
        statement.layout = std::make_shared<const vantrel::detail::Layout>(statement, hasRowId);
        statement.layoutPreparation = preparation;
    }
    return statement.layout;
}

// Binds the values the translation took out of the statement's text.
bool BindParameters(db::Statement& statement, const jetsql::Translation& translation)
{
    int index = 0;
    for (const jetsql::Parameter& parameter : translation.parameters) {
        ++index;
        bool bound = false;
        if (parameter.kind == jetsql::Parameter::Integer)
            bound = statement.BindInteger(index, parameter.integer);
        else if (parameter.kind == jetsql::Parameter::Real)
            bound = statement.BindReal(index, parameter.real);
        else
            bound = statement.BindText(index, parameter.text.toUtf8());
        if (!bound)
            return false;
    }
    return true;
}

} // namespace

CADORecordset::CADORecordset(CADODatabase* database) : m_database(database) {}

CADORecordset::~CADORecordset()
{
    Close();
}

db::Statement* CADORecordset::Prepare(const QString& sql, bool forward,
                                      jetsql::Translation& translation)
{
    Close();
    if (!sql.isEmpty())
        m_query = sql;
    m_connection = m_database ? m_database->GetActiveConnection() : nullptr;
    if (!m_connection) {
        RecordError(ErrorKind::Misuse, u"The connection is closed."_s);
        return nullptr;
    }
    translation = jetsql::Translate(m_query, m_connection->SqlDialect(),
                                    m_connection->Schema().NonTextColumns());
    const QString& text = translation.sql;
    db::Statement* statement = nullptr;
    if (forward) {
        m_forward = m_connection->Borrow(text);
        m_forwardSql = text;
        statement = m_forward.get();
    } else {
        statement = m_connection->Prepared(text);
    }
    if (!statement) {
        if (m_connection->LastError().kind == ErrorKind::Misuse)
            RecordError(ErrorKind::Misuse, kEmptyStatement);
        else
            RecordConnectionError();
    }
    return statement;
}

bool CADORecordset::Open(const QString& sql)
{
    jetsql::Translation translation;
    db::Statement* statement = Prepare(sql, false, translation);
    if (!statement)
        return false;
    const bool bound = BindParameters(*statement, translation);
    // The layout is read after the first step: a statement prepared before another program
    // changed the tables is prepared again there.
    db::StepResult step = bound ? statement->Step() : db::StepResult::Failed;
    auto result = std::make_unique<ResultSet>(
        LayoutOf(*statement, !translation.updatableTable.isEmpty()), translation.updatableTable);
    for (; step == db::StepResult::Row; step = statement->Step())
        result->StoreRow(*statement);
    if (step != db::StepResult::Done)
        RecordConnectionError();
    // A statement left unfinished would keep other programs from writing.
    statement->Reset();
    if (step != db::StepResult::Done)
        return false;
    m_result = std::move(result);
    m_pending.assign(m_result->Columns().size(), Value());
    m_insertSql.clear();
    MoveFirst();
    return true;
}

bool CADORecordset::OpenForward(const QString& sql)
{
    jetsql::Translation translation;
    db::Statement* statement = Prepare(sql, true, translation);
    if (!statement)
        return false;
    m_bForwardWalk = true;
    const bool bound = BindParameters(*statement, translation);
    const db::StepResult step = bound ? statement->Step() : db::StepResult::Failed;
    if (step == db::StepResult::Failed) {
        RecordConnectionError();
        EndForward();
        return false;
    }
    // Nothing of the result may be changed through a forward walk: it names no table.
    m_result = std::make_unique<ResultSet>(
        LayoutOf(*statement, !translation.updatableTable.isEmpty()), QString());
    m_pending.assign(m_result->Columns().size(), Value());
    m_insertSql.clear();
    m_current = 0;
    m_bOnRow = step == db::StepResult::Row;
    if (!m_bOnRow)
        EndForward();
    return true;
}

void CADORecordset::StepForward()
{
    const db::StepResult step = m_forward->Step();
    if (step == db::StepResult::Row)
        return;
    if (step == db::StepResult::Failed) {
        RecordConnectionError();
        m_bWalkFailed = true;
    }
    m_bOnRow = false;
    EndForward();
}

void CADORecordset::EndForward()
{
    if (!m_forward)
        return;
    m_forward->Reset();
    m_connection->GiveBack(m_forwardSql, std::move(m_forward));
    m_forward.reset();
}

void CADORecordset::Close()
{
    if (IsOpen() && m_editStatus != dbEditNone)
        CancelUpdate();
    EndForward();
    m_result.reset();
    m_pending.clear();
    m_insertSql.clear();
    m_editStatus = dbEditNone;
    m_bEditAsRead = false;
    m_bForwardWalk = false;
    m_bOnRow = false;
    m_bWalkFailed = false;
    m_current = 0;
}

bool CADORecordset::IsOpen() const
{
    return m_result != nullptr && m_connection != nullptr;
}

int CADORecordset::GetRecordCount() const
{
    if (m_bForwardWalk)
        return -1;
    return m_result ? m_result->liveRows : 0;
}

void CADORecordset::MoveFirst()
{
    if (m_bForwardWalk)
        return; // a forward walk starts on its first row and cannot go back
    m_current = 0;
    while (m_result && m_current < m_result->RowCount() && m_result->deleted[m_current])
        ++m_current;
}

void CADORecordset::MoveNext()
{
    if (m_bForwardWalk) {
        if (m_bOnRow)
            StepForward();
        return;
    }
    if (!m_result || m_current >= m_result->RowCount())
        return;
    do
        ++m_current;
    while (m_current < m_result->RowCount() && m_result->deleted[m_current]);
}

bool CADORecordset::IsEOF() const
{
    if (m_bForwardWalk)
        return !m_bOnRow;
    return !m_result || m_current >= m_result->RowCount();
}

int CADORecordset::GetFieldCount() const
{
    return m_result ? m_result->ColumnCount() : 0;
}

QString CADORecordset::GetFieldName(int index) const
{
    if (!m_result || index < 0 || index >= m_result->ColumnCount())
        return {};
    return m_result->Columns()[index].name;
}

int CADORecordset::GetFieldIndex(const QString& field) const
{
    return m_result ? m_result->layout->Find(field) : -1;
}

int CADORecordset::IndexOf(const QString& field)
{
    const int index = GetFieldIndex(field);
    if (index < 0)
        RecordError(ErrorKind::Failed, kNoSuchField + field);
    return index;
}

bool CADORecordset::OnLiveRow() const
{
    if (m_bForwardWalk)
        return m_bOnRow;
    return !IsEOF() && !m_result->deleted[m_current];
}

bool CADORecordset::CurrentCell(int index, Cell& cell, QByteArrayView& text) const
{
    if (!OnLiveRow())
        return false;
    cell = LiveCell(index, text);
    return true;
}

Cell CADORecordset::LiveCell(int index, QByteArrayView& text) const
{
    if (!m_bForwardWalk) {
        const Cell cell = m_result->At(m_current, index);
        if (cell.kind == CellKind::Text)
            text = QByteArrayView(m_result->arena.constData() + cell.number, cell.length);
        return cell;
    }
    // A forward walk reads the statement's row where it stands.
    return vantrel::detail::ReadCell(*m_forward, m_result->Columns()[size_t(index)].source, text);
}

bool CADORecordset::ReadValue(int index, Value& value)
{
    if (!m_result || index < 0 || index >= m_result->ColumnCount()) {
        RecordError(ErrorKind::Failed, kNoSuchField + QString::number(index));
        return false;
    }
    value.role = m_result->Columns()[index].role;
    if (m_editStatus != dbEditNone && m_pending[index].set) {
        const ColumnRole role = value.role;
        value = m_pending[index];
        value.role = role;
        return true;
    }
    if (m_editStatus == dbEditNew)
        return true; // a new row's unwritten fields are NULL
    Cell cell;
    QByteArrayView text;
    if (!CurrentCell(index, cell, text)) {
        RecordError(ErrorKind::Failed, kNoCurrentRow);
        return false;
    }
    value.kind = cell.kind;
    if (cell.kind == CellKind::Integer)
        value.integer = cell.number;
    else if (cell.kind == CellKind::Real)
        value.real = std::bit_cast<double>(cell.number);
    else if (cell.kind == CellKind::Text)
        value.text = QString::fromUtf8(text);
    return true;
}

bool CADORecordset::GetFieldText(const QString& field, QString& text, const QString& dateFormat)
{
    const int index = IndexOf(field);
    return index >= 0 && GetFieldText(index, text, dateFormat);
}

bool CADORecordset::GetFieldText(int index, QString& text, const QString& dateFormat)
{
    Value value;
    if (!ReadValue(index, value))
        return false;
    switch (value.kind) {
    case CellKind::Null:
        text.clear();
        return true;
    case CellKind::Integer:
        if (value.role == ColumnRole::YesNo)
            text = value.integer != 0 ? u"T"_s : u"F"_s;
        else
            text = QString::number(value.integer);
        return true;
    case CellKind::Real:
        text = QString::number(value.real, 'g', QLocale::FloatingPointShortest);
        return true;
    case CellKind::Text: {
        QDate date;
        QTime time;
        if (value.role == ColumnRole::DateTime &&
            jetsql::ParseStoredDateTime(value.text, date, time)) {
            text = vantrel::detail::FormatWith(
                dateFormat.isEmpty() ? u"%Y-%m-%d %H:%M:%S"_s : dateFormat, date, time);
        } else {
            text = std::move(value.text);
        }
        return true;
    }
    case CellKind::Blob:
        break;
    }
    return false;
}

bool CADORecordset::GetFieldInt(const QString& field, int& number)
{
    const int index = IndexOf(field);
    return index >= 0 && GetFieldInt(index, number);
}

bool CADORecordset::GetFieldInt(int index, int& number)
{
    Value value;
    if (!ReadValue(index, value))
        return false;
    switch (value.kind) {
    case CellKind::Null:
        number = 0;
        return true;
    case CellKind::Integer:
        if (value.role == ColumnRole::YesNo)
            number = value.integer != 0 ? -1 : 0;
        else
            number = static_cast<int>(std::clamp<qint64>(
                value.integer, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
        return true;
    case CellKind::Real:
        number = ClampToInt(value.real);
        return true;
    default:
        return false;
    }
}

bool CADORecordset::GetFieldDouble(const QString& field, double& number)
{
    const int index = IndexOf(field);
    return index >= 0 && GetFieldDouble(index, number);
}

bool CADORecordset::GetFieldDouble(int index, double& number)
{
    Value value;
    if (!ReadValue(index, value))
        return false;
    QDate date;
    QTime time;
    switch (value.kind) {
    case CellKind::Null:
        number = 0.0;
        return true;
    case CellKind::Integer:
        number = static_cast<double>(value.integer);
        return true;
    case CellKind::Real:
        number = value.real;
        return true;
    case CellKind::Text:
        if (value.role == ColumnRole::DateTime &&
            jetsql::ParseStoredDateTime(value.text, date, time)) {
            number = vantrel::detail::DayNumber(date, time);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool CADORecordset::GetFieldDate(const QString& field, QDateTime& dateTime)
{
    const int index = IndexOf(field);
    return index >= 0 && GetFieldDate(index, dateTime);
}

bool CADORecordset::GetFieldDate(int index, QDateTime& dateTime)
{
    QDate date;
    QTime time;
    if (!ReadDateTime(index, date, time))
        return false;
    dateTime = date.isValid() ? QDateTime(date, time) : QDateTime();
    return true;
}

bool CADORecordset::GetFieldDay(int index, QDate& day)
{
    QTime time;
    return ReadDateTime(index, day, time);
}

namespace {

void StoreCell(const Cell& cell, QByteArrayView text, ColumnRole role, CStoredValues& values,
               int row, int column)
{
    switch (cell.kind) {
    case CellKind::Integer:
        if (role == ColumnRole::YesNo)
            values.SetYesNo(row, column, cell.number != 0);
        else
            values.SetInteger(row, column, cell.number);
        return;
    case CellKind::Real:
        values.SetReal(row, column, std::bit_cast<double>(cell.number));
        return;
    case CellKind::Text: {
        QDate date;
        QTime time;
        if (role == ColumnRole::DateTime && jetsql::ParseStoredDateTime(text, date, time))
            values.SetDateTime(row, column, date, time);
        else
            values.SetUtf8(row, column, text);
        return;
    }
    case CellKind::Null:
    case CellKind::Blob:
        values.SetNull(row, column);
        return;
    }
}

} // namespace

bool CADORecordset::StoreField(int index, CStoredValues& values, int row, int column)
{
    const StoredField field{index, column};
    return StoreFields(std::span(&field, 1), values, row);
}

bool CADORecordset::StoreFields(std::span<const StoredField> fields, CStoredValues& values, int row)
{
    if (!m_result || !OnLiveRow()) {
        RecordError(ErrorKind::Failed, kNoCurrentRow);
        return false;
    }
    const int count = m_result->ColumnCount();
    for (const StoredField& stored : fields) {
        if (stored.field < 0 || stored.field >= count) {
            RecordError(ErrorKind::Failed, kNoSuchField + QString::number(stored.field));
            return false;
        }
        QByteArrayView text;
        const Cell cell = LiveCell(stored.field, text);
        StoreCell(cell, text, m_result->Columns()[size_t(stored.field)].role, values, row,
                  stored.column);
    }
    return true;
}

bool CADORecordset::ReadDateTime(int index, QDate& date, QTime& time)
{
    Value value;
    if (!ReadValue(index, value))
        return false;
    if (value.kind == CellKind::Null) {
        date = QDate();
        time = QTime();
        return true;
    }
    return value.kind == CellKind::Text && jetsql::ParseStoredDateTime(value.text, date, time);
}

bool CADORecordset::PutValue(const QString& field, Value value)
{
    if (m_editStatus == dbEditNone || !m_result)
        return false;
    const int index = m_result->layout->Find(field);
    if (index < 0) {
        RecordError(ErrorKind::Failed, kNoSuchField + field);
        return false;
    }
    if (m_result->Columns()[index].role == ColumnRole::YesNo && value.kind == CellKind::Integer)
        value.integer = value.integer != 0 ? -1 : 0; // Jet's true
    value.set = true;
    m_pending[index] = std::move(value);
    return true;
}

bool CADORecordset::SetFieldText(const QString& field, const QString& text)
{
    Value value;
    if (!text.isEmpty()) {
        value.kind = CellKind::Text;
        value.text = text;
    }
    return PutValue(field, std::move(value));
}

bool CADORecordset::SetFieldInt(const QString& field, int number)
{
    Value value;
    value.kind = CellKind::Integer;
    value.integer = number;
    return PutValue(field, std::move(value));
}

bool CADORecordset::SetFieldDouble(const QString& field, double number)
{
    Value value;
    value.kind = CellKind::Real;
    value.real = number;
    return PutValue(field, std::move(value));
}

bool CADORecordset::SetFieldDate(const QString& field, const QDateTime& dateTime)
{
    // A null date is day number 0, as Jet stores it.
    static const QDate zeroDay(1899, 12, 30);
    Value value;
    value.kind = CellKind::Text;
    value.text = dateTime.isValid() ? jetsql::StoredDateTime(dateTime.date(), dateTime.time())
                                    : jetsql::StoredDateTime(zeroDay, QTime(0, 0));
    return PutValue(field, std::move(value));
}

bool CADORecordset::AddNew()
{
    m_editStatus = dbEditNone;
    m_bEditAsRead = false;
    if (!IsOpen() || m_result->table.isEmpty()) {
        RecordError(ErrorKind::ReadOnly, kNotUpdatable);
        return false;
    }
    std::fill(m_pending.begin(), m_pending.end(), Value());
    m_editStatus = dbEditNew;
    return true;
}

void CADORecordset::KeepNoAddedRows()
{
    m_bKeepAdded = false;
    m_insertSql.clear();
}

void CADORecordset::Edit()
{
    if (m_result)
        std::fill(m_pending.begin(), m_pending.end(), Value());
    m_editStatus = dbEdit;
    m_bEditAsRead = false;
}

void CADORecordset::EditAsRead()
{
    Edit();
    m_bEditAsRead = true;
}

bool CADORecordset::Update()
{
    if (m_editStatus == dbEditNone)
        return true;
    bool ok = false;
    if (!IsOpen() || m_result->table.isEmpty())
        RecordError(ErrorKind::ReadOnly, kNotUpdatable);
    else if (m_editStatus == dbEditNew)
        ok = InsertPending();
    else if (!OnLiveRow())
        RecordError(ErrorKind::Failed, kNoCurrentRow);
    else
        ok = UpdatePending();
    if (!ok)
        CancelUpdate();
    m_editStatus = dbEditNone;
    m_bEditAsRead = false;
    return ok;
}

void CADORecordset::CancelUpdate()
{
    std::fill(m_pending.begin(), m_pending.end(), Value());
    m_editStatus = dbEditNone;
    m_bEditAsRead = false;
}

namespace {

bool Bind(db::Statement& statement, int index, CellKind kind, qint64 integer, double real,
          const QString& text)
{
    switch (kind) {
    case CellKind::Integer:
        return statement.BindInteger(index, integer);
    case CellKind::Real:
        return statement.BindReal(index, real);
    case CellKind::Text:
        return statement.BindText(index, text.toUtf8());
    default:
        return statement.BindNull(index);
    }
}

} // namespace

// The written columns whose pinyin initials the backend keeps beside them (sqldialect.h):
// each write of such a column writes its initials too.
std::vector<size_t> CADORecordset::PendingWithInitials() const
{
    std::vector<size_t> columns;
    if (!m_connection->SqlDialect().StoresInitials())
        return columns;
    const std::span<const char* const> searched = schema::InitialsColumns(m_result->table);
    for (size_t c = 0; c < m_pending.size(); ++c)
        if (m_pending[c].set && std::ranges::any_of(searched, [&](const char* name) {
                return m_result->Columns()[c].name.compare(QLatin1StringView(name),
                                                           Qt::CaseInsensitive) == 0;
            }))
            columns.push_back(c);
    return columns;
}

QString CADORecordset::InitialsColumnOf(size_t column) const
{
    return SqlIdentifier(m_result->Columns()[column].name +
                         QLatin1StringView(jetsql::kInitialsSuffix));
}

// Binds the written values in column order from parameter 1, then the initials of `initials`
// (PendingWithInitials); `parameter` ends on the last.
bool CADORecordset::BindPending(db::Statement& statement, int& parameter,
                                const std::vector<size_t>& initials) const
{
    bool bound = true;
    for (const Value& value : m_pending)
        if (value.set && bound)
            bound = Bind(statement, ++parameter, value.kind, value.integer, value.real, value.text);
    for (size_t c : initials) {
        const Value& value = m_pending[c];
        if (!bound)
            break;
        bound = value.kind == CellKind::Text
                    ? statement.BindText(++parameter, PinyinInitials(value.text).toUtf8())
                    : statement.BindNull(++parameter);
    }
    return bound;
}

bool CADORecordset::InsertPending()
{
    std::vector<bool> written(m_pending.size());
    for (size_t c = 0; c < m_pending.size(); ++c)
        written[c] = m_pending[c].set;
    const std::vector<size_t> initials = PendingWithInitials();
    if (m_insertSql.isEmpty() || written != m_insertedColumns) {
        QStringList names;
        for (size_t c = 0; c < m_pending.size(); ++c)
            if (written[c])
                names << SqlIdentifier(m_result->Columns()[c].name);
        for (size_t c : initials)
            names << InitialsColumnOf(c);
        const QString table = SqlIdentifier(m_result->table);
        QStringList marks(names.size(), u"?"_s);
        m_insertSql = (names.isEmpty() ? u"INSERT INTO %1 DEFAULT VALUES"_s.arg(table)
                                       : u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(
                                             table, names.join(u", "_s), marks.join(u", "_s))) +
                      (m_bKeepAdded ? m_connection->SqlDialect().ReturningRow() : QString());
        m_insertedColumns = std::move(written);
    }
    db::Statement* statement = m_connection->Prepared(m_insertSql);
    int parameter = 0;
    if (!statement || !BindPending(*statement, parameter, initials)) {
        RecordConnectionError();
        return false;
    }
    if (m_bKeepAdded)
        return StoreWrittenRow(*statement, -1);
    const db::StepResult step = statement->Step();
    if (step != db::StepResult::Done)
        RecordConnectionError();
    statement->Reset();
    return step == db::StepResult::Done;
}

bool CADORecordset::UpdatePending()
{
    QStringList assignments;
    for (size_t c = 0; c < m_pending.size(); ++c)
        if (m_pending[c].set)
            assignments << SqlIdentifier(m_result->Columns()[c].name) + u" = ?"_s;
    if (assignments.isEmpty())
        return true;
    const std::vector<size_t> initials = PendingWithInitials();
    for (size_t c : initials)
        assignments << InitialsColumnOf(c) + u" = ?"_s;
    const QString sql = u"UPDATE %1 SET %2 WHERE "_s.arg(SqlIdentifier(m_result->table),
                                                         assignments.join(u", "_s)) +
                        CurrentRowCondition(m_bEditAsRead) +
                        m_connection->SqlDialect().ReturningRow();
    db::Statement* statement = m_connection->Prepared(sql);
    int parameter = 0;
    if (!statement || !BindPending(*statement, parameter, initials) ||
        !BindCurrentRow(*statement, parameter, m_bEditAsRead)) {
        RecordConnectionError();
        return false;
    }
    return StoreWrittenRow(*statement, m_current);
}

// A backend may give a deleted row's identity to the next row added (SQLite's rowid does), so
// an identity alone may name a row another workstation added since this one was read. Numbers
// are never given twice: where the table numbers its rows, the identity with the number is
// still the row that was read. Elsewhere every value has to be as it was read (NULL matching
// NULL), and so it has after EditAsRead.
QString CADORecordset::CurrentRowCondition(bool wholeRow) const
{
    const vantrel::db::Dialect& dialect = m_connection->SqlDialect();
    QString condition = dialect.RowIdentity() + u" = ?"_s;
    const int numbered = wholeRow ? -1 : m_result->layout->Find(kNumberColumn);
    for (int c = 0; c < m_result->ColumnCount(); ++c) {
        if (numbered >= 0 && c != numbered)
            continue;
        const QString column = SqlIdentifier(m_result->Columns()[c].name);
        // The cursor keeps no blob's bytes; the schema has no blob columns.
        if (m_result->At(m_current, c).kind == CellKind::Blob)
            condition += u" AND "_s + dialect.HoldsBytes(column);
        else
            condition += u" AND "_s + dialect.SameValue(column);
    }
    return condition;
}

// Binds the parameters of CurrentRowCondition after `parameter`, which ends on the last.
bool CADORecordset::BindCurrentRow(db::Statement& statement, int& parameter, bool wholeRow) const
{
    bool bound = statement.BindInteger(++parameter, m_result->rowIds[m_current]);
    const int numbered = wholeRow ? -1 : m_result->layout->Find(kNumberColumn);
    for (int c = 0; c < m_result->ColumnCount() && bound; ++c) {
        if (numbered >= 0 && c != numbered)
            continue;
        const Cell& cell = m_result->At(m_current, c);
        switch (cell.kind) {
        case CellKind::Integer:
            bound = statement.BindInteger(++parameter, cell.number);
            break;
        case CellKind::Real:
            bound = statement.BindReal(++parameter, m_result->Real(cell));
            break;
        case CellKind::Text:
            // The bytes as read, not a conversion of them (copied: storing the written row
            // may move them).
            bound = statement.BindText(++parameter,
                                       QByteArrayView(m_result->arena.constData() + cell.number,
                                                      static_cast<qsizetype>(cell.length)));
            break;
        case CellKind::Null:
            bound = statement.BindNull(++parameter);
            break;
        case CellKind::Blob:
            break;
        }
    }
    return bound;
}

// Runs an INSERT or UPDATE that ends in the dialect's ReturningRow and keeps the row the file
// stored (numbers the file gave it, values as the column keeps them) as row `row` of the cursor (-1
// appends it), the current row. A statement that wrote no row has found no row to write.
bool CADORecordset::StoreWrittenRow(db::Statement& statement, int row)
{
    db::StepResult step = statement.Step();
    if (step == db::StepResult::Done) {
        statement.Reset();
        RecordError(ErrorKind::RowChanged, kRowChanged);
        return false;
    }
    if (step == db::StepResult::Row) {
        m_result->StoreRow(statement, row);
        m_current = row < 0 ? m_result->RowCount() - 1 : row;
        step = statement.Step();
    }
    if (step != db::StepResult::Done)
        RecordConnectionError();
    statement.Reset();
    return step == db::StepResult::Done;
}

bool CADORecordset::Delete()
{
    if (!IsOpen() || m_result->table.isEmpty()) {
        RecordError(ErrorKind::ReadOnly, kNotUpdatable);
        return false;
    }
    if (!OnLiveRow()) {
        RecordError(ErrorKind::Failed, kNoCurrentRow);
        return false;
    }
    const QString sql =
        u"DELETE FROM %1 WHERE "_s.arg(SqlIdentifier(m_result->table)) + CurrentRowCondition(false);
    db::Statement* statement = m_connection->Prepared(sql);
    int parameter = 0;
    const bool deleted = statement && BindCurrentRow(*statement, parameter, false) &&
                         statement->Step() == db::StepResult::Done;
    if (!deleted)
        RecordConnectionError();
    const qint64 changes = deleted ? m_connection->Changes() : 0;
    if (statement)
        statement->Reset();
    if (!deleted)
        return false;
    if (changes == 0) {
        RecordError(ErrorKind::RowChanged, kRowChanged);
        return false;
    }
    // The cursor stays on the deleted row; MoveNext goes on to the next one.
    m_result->deleted[m_current] = true;
    --m_result->liveRows;
    CancelUpdate();
    return true;
}

void CADORecordset::RecordError(ErrorKind kind, const QString& description)
{
    RecordError(db::LayerError(kind, description));
}

void CADORecordset::RecordError(const db::Error& error)
{
    m_lastErrorCode = error.code;
    m_lastErrorKind = error.kind;
    m_lastErrorDescription = error.message;
    m_lastError = u"Query = "_s + m_query + u'\n' + db::ErrorReport("CADORecordset", error);
}

void CADORecordset::RecordConnectionError()
{
    RecordError(m_connection ? m_connection->LastError()
                             : db::LayerError(ErrorKind::Misuse, u"The connection is closed."_s));
}
