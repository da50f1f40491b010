#pragma once

#include <QDateTime>
#include <QString>

// The one way a text value goes into a statement: between the statement's own single quotes,
// with every apostrophe doubled, so a value can never end the literal early.
//   QString(u"SELECT * FROM client WHERE [name] = '%1'"_s).arg(SqlText(name))
QString SqlText(const QString& value);

// The one way a table or column name goes into a statement: between double quotes, with
// every double quote doubled, so a name can never end early.
QString SqlIdentifier(const QString& name);

// Whether a text holds an apostrophe, a quotation mark or a square bracket: the characters the
// dialogs refuse in names and numbers that statements look records up by.
bool HasQuoteOrBracket(const QString& text);

// Jet date literals as the statements write them.
QString SqlDayStart(int year, int month, int day); // #y-m-d 0:0:0#
QString SqlDayEnd(int year, int month, int day);   // #y-m-d 23:59:59#
QString SqlMonthStart(int year, int month);        // #y-m-1#
QString SqlDateTime(const QDateTime& moment);      // #y-m-d h:m:s#
