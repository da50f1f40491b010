#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <span>

class CADODatabase;
class CADORecordset;

// How a list reads a column before handing it to a dialog.
enum class FieldKind {
    Text,     // QString, "" for NULL
    Int,      // int
    Double,   // double
    Day,      // QDate: the stored date reduced to its day
    DateTime, // QDateTime as stored
    Flag,     // int: 1 when the stored integer is non-zero, else 0
};

struct FieldSpec
{
    const char* name;
    FieldKind kind;
};

// The current row's columns, keyed by their names.
QVariantMap ReadFields(CADORecordset& recordset, std::span<const FieldSpec> fields);

// Every field of the current row as text, in the result's order: what a record was when it
// was read, to tell whether it is still so.
QStringList StoredRowTexts(CADORecordset& recordset);

// Runs a statement and moves to its first row; false when it does not open or returns no row.
bool OpenFirstRow(CADORecordset& recordset, const QString& sql);
