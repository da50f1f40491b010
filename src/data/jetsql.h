#pragma once

#include "data/sqldialect.h"

#include <QDateTime>
#include <QSet>
#include <QString>

#include <vector>

// Makes the Jet SQL the dialogs write run on a backend, in one pass over its tokens, asking
// the backend's dialect (sqldialect.h) for what differs:
// - #y-m-d h:m:s# date literals become the dialect's date literals;
// - [name] and [table.column] become quoted identifiers;
// - ORDER BY terms sort text in the users' code-page order, and NULL before every value going
//   up; bare names there that the databases reserve (group, user) are quoted;
// - the values of the WHERE clause become parameters, so statements that differ only in their
//   values share one prepared statement;
// - =, <> and IN compare text without regard to the case of ASCII letters, as Jet does;
//   comparisons of numbers, dates and columns that hold no text stay as written and keep their
//   indexes (see MarkTextComparisons);
// - a LIKE pattern takes the dialect's escape, so that only % and _ are special in it;
// - pinyin_initials(x) and CROSS JOIN become the dialect's initials and ordered join.
// Text inside string literals is never touched.
namespace jetsql {

// The hidden first column that identifies each row of an updatable statement.
inline constexpr char kRowIdColumn[] = "vantrel_rowid";
// Where a backend keeps the pinyin initials of a column searched by them (the dialect's
// StoresInitials), they are in the column of that name with this ending, which the recordsets
// hide as they hide the row identity.
inline constexpr char kInitialsSuffix[] = "_initials";

struct Parameter
{
    enum Kind { Integer, Real, Text } kind = Integer;
    qint64 integer = 0;
    double real = 0.0;
    QString text;
};

struct Translation
{
    QString sql;
    std::vector<Parameter> parameters; // for the ? of `sql`, in order
    // For "SELECT * FROM <table> [WHERE ...] [ORDER BY ...]": the table, whose rows can then be
    // changed (the statement also selects each row's identity as its first column).
    QString updatableTable;
};

// `nonTextColumns`: lower-case names of columns that hold no text in any table, and
// "table.column" for each column of a table that holds none there. Ordering by them needs no
// code-page collation, and comparing them no case-blind one, so both can use their indexes.
Translation Translate(const QString& jetSql, const vantrel::db::Dialect& dialect,
                      const QSet<QString>& nonTextColumns = {});

// Dates are stored as zero-padded text, so comparing texts compares dates.
QString StoredDateTime(const QDate& date, const QTime& time);
// Reads "YYYY-MM-DD HH:MM:SS" or "YYYY-MM-DD"; false for anything else.
bool ParseStoredDateTime(QStringView text, QDate& date, QTime& time);
// The same of the text as UTF-8 (or Latin-1) bytes.
bool ParseStoredDateTime(QByteArrayView text, QDate& date, QTime& time);

} // namespace jetsql
