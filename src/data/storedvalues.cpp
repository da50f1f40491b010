#include "data/storedvalues.h"

#include "data/datevalue.h"
#include "data/formats.h"
#include "data/jetsql.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kDayMilliseconds = 24 * 60 * 60 * 1000;

} // namespace

int CStoredValues::AddRow()
{
    Block& block = BlockForNewRow();
    block.resize(block.size() + size_t(m_width));
    return m_rows++;
}

int CStoredValues::AddRow(const std::vector<Value>& prototype)
{
    Widen(int(prototype.size()));
    Block& block = BlockForNewRow();
    block.insert(block.end(), prototype.begin(), prototype.end());
    block.resize(block.size() + size_t(m_width) - prototype.size());
    return m_rows++;
}

CStoredValues::Block& CStoredValues::BlockForNewRow()
{
    if (m_rows % kBlockRows == 0) {
        m_blocks.emplace_back();
        // The first block grows as rows come, so that a short list stays small; the blocks
        // after it are taken whole.
        if (m_blocks.size() > 1)
            m_blocks.back().reserve(size_t(kBlockRows) * size_t(m_width));
    }
    return m_blocks.back();
}

void CStoredValues::Widen(int width)
{
    if (width <= m_width)
        return;
    for (size_t index = 0; index < m_blocks.size(); ++index) {
        Block& block = m_blocks[index];
        const size_t rows = std::min(size_t(kBlockRows), size_t(m_rows) - index * kBlockRows);
        Block wider;
        wider.reserve((index > 0 ? size_t(kBlockRows) : rows) * size_t(width));
        wider.resize(rows * size_t(width));
        for (size_t row = 0; row < rows; ++row)
            std::copy_n(block.begin() + qsizetype(row * size_t(m_width)), m_width,
                        wider.begin() + qsizetype(row * size_t(width)));
        block = std::move(wider);
    }
    m_width = width;
}

void CStoredValues::Append(CStoredValues&& other)
{
    if (m_rows == 0 && other.m_width >= m_width) {
        *this = std::move(other);
        return;
    }
    Widen(other.m_width);
    const qint64 textBase = qint64(m_texts.size()) << kTextBlockShift;
    const qint64 shownBase = qint64(m_shown.size());
    m_texts.insert(m_texts.end(), std::make_move_iterator(other.m_texts.begin()),
                   std::make_move_iterator(other.m_texts.end()));
    m_shown.insert(m_shown.end(), std::make_move_iterator(other.m_shown.begin()),
                   std::make_move_iterator(other.m_shown.end()));
    for (int row = 0; row < other.m_rows; ++row) {
        const int to = AddRow();
        for (int column = 0; column < other.m_width; ++column) {
            Value value = other.Cell(row, column);
            if (value.kind == Kind::Text)
                value.number += textBase;
            else if (value.kind == Kind::Shown && value.number >= 0)
                value.number += shownBase;
            Slot(to, column) = value;
        }
    }
    other = CStoredValues();
}

const CStoredValues::Value& CStoredValues::Cell(int row, int column) const
{
    return m_blocks[size_t(row / kBlockRows)]
                   [size_t(row % kBlockRows) * size_t(m_width) + size_t(column)];
}

CStoredValues::Value& CStoredValues::Slot(int row, int column)
{
    if (column >= m_width)
        Widen(column + 1);
    return m_blocks[size_t(row / kBlockRows)]
                   [size_t(row % kBlockRows) * size_t(m_width) + size_t(column)];
}

void CStoredValues::Put(int row, int column, Kind kind, qint64 number, quint32 length)
{
    Value& value = Slot(row, column);
    value.number = number;
    value.length = length;
    value.kind = kind;
}

void CStoredValues::SetFormat(int row, int column, CellFormat format)
{
    Slot(row, column).format = format;
}

void CStoredValues::SetNull(int row, int column)
{
    Put(row, column, Kind::Null, 0);
}

void CStoredValues::SetInteger(int row, int column, qint64 value)
{
    Put(row, column, Kind::Integer, value);
}

void CStoredValues::SetYesNo(int row, int column, bool value)
{
    Put(row, column, Kind::YesNo, value ? -1 : 0);
}

void CStoredValues::SetReal(int row, int column, double value)
{
    Put(row, column, Kind::Real, std::bit_cast<qint64>(value));
}

void CStoredValues::SetUtf8(int row, int column, QByteArrayView text)
{
    const size_t size = size_t(text.size());
    if (m_texts.empty() || (!m_texts.back().empty() && m_texts.back().size() + size > kTextBlock)) {
        m_texts.emplace_back();
        if (m_texts.size() > 1)
            m_texts.back().reserve(std::max(kTextBlock, size));
    }
    std::string& block = m_texts.back();
    Put(row, column, Kind::Text,
        (qint64(m_texts.size() - 1) << kTextBlockShift) | qint64(block.size()), quint32(size));
    block.append(text.data(), size);
}

void CStoredValues::SetShown(int row, int column, const QString& text)
{
    SetShown(row, column, KeepShown(text));
}

int CStoredValues::KeepShown(const QString& text)
{
    // An empty text needs no place of its own. A kept text is never written over, so cells
    // may share it.
    if (text.isEmpty())
        return -1;
    m_shown.push_back(text);
    return int(m_shown.size() - 1);
}

void CStoredValues::SetShown(int row, int column, int kept)
{
    Put(row, column, Kind::Shown, kept < 0 ? -1 : kept);
}

void CStoredValues::SetDateTime(int row, int column, const QDate& date, const QTime& time)
{
    if (!date.isValid()) {
        SetNull(row, column);
        return;
    }
    const qint64 ms =
        date.toJulianDay() * kDayMilliseconds + (time.isValid() ? time.msecsSinceStartOfDay() : 0);
    Put(row, column, Kind::DateTime, ms);
}

void CStoredValues::SetVariant(int row, int column, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        SetNull(row, column);
        break;
    case QMetaType::Bool:
        SetYesNo(row, column, value.toBool());
        break;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        SetInteger(row, column, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        SetReal(row, column, value.toDouble());
        break;
    case QMetaType::QDate:
        SetDateTime(row, column, value.toDate(), QTime(0, 0));
        break;
    case QMetaType::QDateTime: {
        const QDateTime stamp = value.toDateTime();
        SetDateTime(row, column, stamp.date(), stamp.time());
        break;
    }
    default:
        SetUtf8(row, column, value.toString().toUtf8());
        break;
    }
}

CStoredValues::Value CStoredValues::At(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 0 || column >= m_width)
        return {};
    return Cell(row, column);
}

QString CStoredValues::Text(const Value& value) const
{
    switch (value.kind) {
    case Kind::Text:
        return QString::fromUtf8(m_texts[size_t(value.number >> kTextBlockShift)].data() +
                                     (value.number & kTextOffsetMask),
                                 value.length);
    case Kind::Shown:
        return value.number < 0 ? QString() : m_shown[size_t(value.number)];
    case Kind::Integer:
        return QString::number(value.number);
    case Kind::Real:
        return QString::number(Real(value), 'g', QLocale::FloatingPointShortest);
    case Kind::YesNo:
        return value.number != 0 ? u"T"_s : u"F"_s;
    case Kind::DateTime: {
        const QDateTime stamp = DateTime(value);
        return vantrel::detail::FormatWith(u"%Y-%m-%d %H:%M:%S"_s, stamp.date(), stamp.time());
    }
    case Kind::Null:
        break;
    }
    return {};
}

double CStoredValues::Real(const Value& value) const
{
    return std::bit_cast<double>(value.number);
}

double CStoredValues::Number(const Value& value) const
{
    switch (value.kind) {
    case Kind::Integer:
    case Kind::YesNo:
        return double(value.number);
    case Kind::Real:
        return Real(value);
    case Kind::Text:
    case Kind::Shown:
        return ParseAmount(Text(value));
    case Kind::DateTime: {
        const QDateTime stamp = DateTime(value);
        return vantrel::detail::DayNumber(stamp.date(), stamp.time());
    }
    case Kind::Null:
        break;
    }
    return 0.0;
}

QDateTime CStoredValues::DateTime(const Value& value) const
{
    if (value.kind == Kind::DateTime) {
        const qint64 day = value.number / kDayMilliseconds;
        const int ms = int(value.number % kDayMilliseconds);
        return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(ms), Qt::UTC);
    }
    if (value.kind == Kind::Text || value.kind == Kind::Shown) {
        QDate date;
        QTime time;
        if (jetsql::ParseStoredDateTime(Text(value), date, time))
            return QDateTime(date, time, Qt::UTC);
    }
    return {};
}

QString FormatCell(const CStoredValues& values, const CStoredValues::Value& value)
{
    using Kind = CStoredValues::Kind;
    const CellFormat format = value.format;
    // A text written to show stays as written; a missing value shows as nothing but in the
    // formats that read it as 0.
    if (value.kind == Kind::Shown)
        return values.Text(value);
    switch (format) {
    case CellFormat::Text:
        return values.Text(value);
    case CellFormat::Amount:
        return FormatAmount(values.Number(value));
    case CellFormat::Percent:
        return FormatPercent(values.Number(value));
    case CellFormat::Date:
    case CellFormat::Diary: {
        const QDate day = values.DateTime(value).date();
        if (!day.isValid())
            return {};
        return format == CellFormat::Date ? FormatDate(day) : FormatDayWithWeekday(day);
    }
    case CellFormat::DateTime:
        return FormatDateTime(values.DateTime(value));
    case CellFormat::Sex:
        return values.IsTrue(value) ? u"女"_s : u"男"_s;
    case CellFormat::Settled:
        return values.IsTrue(value) ? u"已结清"_s : u"未完成"_s;
    }
    return {};
}

double ShownAmount(double amount)
{
    // Most amounts have at most two decimals: their text reads back as the nearest double to
    // cents / 100, which the division gives exactly. Others go through the text.
    const double cents = amount * 100.0;
    const double whole = std::nearbyint(cents);
    if (std::abs(cents) < 1e15 && std::abs(cents - whole) < 1e-6)
        return whole / 100.0;
    return ParseAmount(FormatAmount(amount));
}
