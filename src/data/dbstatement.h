#pragma once

#include <QByteArrayView>
#include <QString>

#include <bit>
#include <memory>

namespace vantrel::detail {
class Layout;
}

// One prepared statement of a backend. Parameters count from 1, in the order of the ? marks;
// every value is bound, never pasted into the text. Values are read by column from 0, on the
// row the last Step reached. A failed call leaves its error with the connection (LastError).
namespace vantrel::db {

enum class StepResult { Row, Done, Failed };
enum class ValueType : quint8 { Null, Integer, Real, Text, Blob };
// How the schema declares a column decides how its values read: a yes/no column holds 0 or
// -1, a date column the stored date text (jetsql.h).
enum class ColumnRole : quint8 { Plain, YesNo, DateTime };

class Statement
{
public:
    virtual ~Statement() = default;

    virtual bool BindNull(int parameter) = 0;
    virtual bool BindInteger(int parameter, qint64 value) = 0;
    virtual bool BindReal(int parameter, double value) = 0;
    virtual bool BindText(int parameter, QByteArrayView utf8) = 0;

    // The next row of the result, or the end. A backend whose tables changed since it
    // prepared the statement prepares it again here, before the first row.
    virtual StepResult Step() = 0;
    // Ends the run (a statement left running may keep others from writing) and forgets the
    // bound values, ready to run again.
    virtual void Reset() = 0;

    virtual int ColumnCount() const = 0;
    virtual QString ColumnName(int column) const = 0;
    // The table a column of the result comes from, "" for an expression.
    virtual QString ColumnTable(int column) const = 0;
    virtual ColumnRole Role(int column) const = 0;
    // Counts the times the statement was prepared: the columns stay as they are while it
    // stays the same.
    virtual int Preparation() const = 0;

    virtual ValueType Type(int column) const = 0;
    virtual qint64 Integer(int column) const = 0;
    virtual double Real(int column) const = 0;
    // Valid until the next Step or Reset.
    virtual QByteArrayView Text(int column) const = 0;
    // The column's type and value in one call, for readers of many rows: an integer in
    // `number`, a double's bits in `number`, a text (valid as Text's) in `text`.
    virtual ValueType Read(int column, qint64& number, QByteArrayView& text) const
    {
        const ValueType type = Type(column);
        if (type == ValueType::Integer)
            number = Integer(column);
        else if (type == ValueType::Real)
            number = std::bit_cast<qint64>(Real(column));
        else if (type == ValueType::Text)
            text = Text(column);
        return type;
    }

    // What the access layer learnt of the result's columns, kept while the statement stays
    // as prepared (Preparation) so that running it again needs no new look.
    std::shared_ptr<const detail::Layout> layout;
    int layoutPreparation = -1;
};

} // namespace vantrel::db
