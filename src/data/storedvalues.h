#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <string>
#include <vector>

// How a list shows a stored value.
enum class CellFormat : quint8 {
    Text,     // as stored
    Amount,   // "%.02lf"
    Date,     // the day, "2024-3-5"; empty for no date
    Diary,    // the day and its weekday, "2009-1-1  星期四"; empty for no date
    DateTime, // "2024-3-5  9:7:0"
    Sex,      // 0 "男", otherwise "女"
    Percent,  // "%.02lf%"
    Settled,  // 0 "未完成", otherwise "已结清"
};

// Rows of values as they were read, kept as compactly as a statement returns them: numbers
// as numbers, texts as UTF-8 in one block, dates as their day and time, each with the format
// it shows in. A list of 100,000 rows keeps its values so and makes the texts only of the
// cells it shows (FormatCell).
class CStoredValues
{
public:
    enum class Kind : quint8 {
        Null,
        Integer,
        Real,     // the bits of a double
        Text,     // UTF-8 at `number` in the text blocks, `length` bytes
        Shown,    // a text to show as it is, whatever the column's format: index `number`
        DateTime, // the day's Julian number times a day's milliseconds, plus the time's
        YesNo,    // a yes/no column: -1 or 0, written "T" or "F" as text
    };
    struct Value
    {
        qint64 number = 0;
        quint32 length = 0;
        Kind kind = Kind::Null;
        // How the value shows, as the list layout that read it says.
        CellFormat format = CellFormat::Text;
    };

    explicit CStoredValues(int width = 0) : m_width(width < 0 ? 0 : width) {}

    int Width() const { return m_width; }
    int RowCount() const { return m_rows; }
    // Appends a row of NULLs; returns its index.
    int AddRow();
    // Appends a row of the given values (numbers, dates or NULLs with their formats, no
    // texts): a reader of many rows writes what its rows share once.
    int AddRow(const std::vector<Value>& prototype);
    // Makes every row `width` values wide (never narrower).
    void Widen(int width);
    // Appends the rows of another block, widening either to the wider of the two.
    void Append(CStoredValues&& other);

    // Writing past the width widens the rows. A value written keeps the format of its place.
    void SetFormat(int row, int column, CellFormat format);
    void SetNull(int row, int column);
    void SetInteger(int row, int column, qint64 value);
    void SetYesNo(int row, int column, bool value);
    void SetReal(int row, int column, double value);
    void SetUtf8(int row, int column, QByteArrayView text);
    void SetShown(int row, int column, const QString& text);
    // A text many cells show, kept once: its index for SetShown(row, column, index); -1 for an
    // empty text.
    int KeepShown(const QString& text);
    void SetShown(int row, int column, int kept);
    void SetDateTime(int row, int column, const QDate& date, const QTime& time);
    // A value as the dialogs hand it over: a number, a text, a QDate or a QDateTime.
    void SetVariant(int row, int column, const QVariant& value);

    // NULL outside the rows and columns.
    Value At(int row, int column) const;
    QString Text(const Value& value) const;
    double Real(const Value& value) const;
    // The value as a number: 0 for NULL and texts that are not numbers.
    double Number(const Value& value) const;
    bool IsTrue(const Value& value) const { return Number(value) != 0.0; }
    // The day and time as stored, in UTC so that no time zone is looked up (a list formats
    // 100,000 of them); invalid for a value that is no date.
    QDateTime DateTime(const Value& value) const;

private:
    // Rows are kept in blocks of kBlockRows and texts in blocks of about kTextBlock bytes, so
    // that a list read row by row never copies what it already holds to grow.
    static constexpr int kBlockRows = 4096;
    static constexpr size_t kTextBlock = size_t(1) << 20;
    // A text's place: its block in the high half, its offset in the block in the low half.
    static constexpr int kTextBlockShift = 32;
    static constexpr qint64 kTextOffsetMask = 0xffffffff;
    using Block = std::vector<Value>;

    Block& BlockForNewRow();
    const Value& Cell(int row, int column) const;
    Value& Slot(int row, int column);
    // Writes the value's kind and contents, keeping its format.
    void Put(int row, int column, Kind kind, qint64 number, quint32 length = 0);

    int m_width = 0;
    int m_rows = 0;
    std::vector<Block> m_blocks;
    std::vector<std::string> m_texts; // appended to for every text read: no checks of sharing
    std::vector<QString> m_shown;
};

// The text of a value in its format.
QString FormatCell(const CStoredValues& values, const CStoredValues::Value& value);

// An amount as its "%.02lf" text reads back: lists total what they show, not the digits beyond.
double ShownAmount(double amount);
