#pragma once

#include <QDate>
#include <QString>
#include <QTime>

// What the Jet-style statements of the program become in a backend's SQL. The translation
// (jetsql.h) and the recordsets (adorecordset.h) ask the dialect for every piece that differs
// between backends; feature code keeps writing Jet and never knows which backend runs.
namespace vantrel::db {

class Dialect
{
public:
    virtual ~Dialect() = default;

    // The expression that identifies a row of a table for as long as the row lives; the
    // recordsets select it, hidden, to find the row again on Update and Delete.
    virtual QString RowIdentity() const = 0;
    // Written after an INSERT or UPDATE so that the row comes back as stored: its identity
    // first, then every column.
    virtual QString ReturningRow() const = 0;
    // The condition that a column still holds the value bound to the next ?, NULL matching
    // NULL.
    virtual QString SameValue(const QString& column) const = 0;
    // The condition that a column holds bytes rather than a value (whose bytes a recordset
    // does not keep).
    virtual QString HoldsBytes(const QString& column) const = 0;

    // Written after the right operand of =, <> or LIKE (after the left one of IN) so that the
    // comparison ignores the case of ASCII letters, as Jet's does; "" where text compares so.
    virtual QString CaseBlind() const = 0;
    // Whether `column = 'text'` is also narrowed to the byte range between the text's upper-
    // and lower-case forms, which lets an index find the rows the case-blind test then checks.
    virtual bool NarrowsCaseBlindEquality() const = 0;
    // Written after the pattern of a LIKE that names no escape character of its own, so that
    // only % and _ are special in it, as in SQLite; "" where that is so already.
    virtual QString LikeEscape() const = 0;
    // An ORDER BY term of text that sorts in the users' code-page order (gbktext.h: digits,
    // Latin letters whatever their case, Chinese by pinyin, characters outside the code page
    // last).
    virtual QString TextOrder(const QString& expression) const = 0;
    // Written after an ORDER BY term and its direction so that NULL sorts first in ascending
    // order and last in descending order, as in Jet; "" where the backend sorts NULL so.
    virtual QString NullOrder(bool descending) const = 0;

    // A moment as a literal the backend compares with its stored dates.
    virtual QString DateLiteral(const QDate& date, const QTime& time) const = 0;
    // The pinyin initials of a text expression, in lower case (pinyin.h), as the program
    // writes pinyin_initials(expression).
    virtual QString InitialsOf(const QString& expression) const = 0;
    // Whether the initials of the columns the program searches by them (schema.h) are kept in
    // a column of their own, which every write of the recordsets fills, rather than worked out
    // by the statement.
    virtual bool StoresInitials() const = 0;
    // A join that asks for the tables in the order written, as the program writes CROSS JOIN;
    // it means the same rows as a comma.
    virtual QString OrderedJoin() const = 0;
    // Whether names written in brackets or double quotes become lower case, for a backend
    // whose quoted names keep their case while the schema's are all lower case.
    virtual bool FoldsNames() const = 0;
};

} // namespace vantrel::db
