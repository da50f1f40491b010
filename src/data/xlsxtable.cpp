#include "data/displayedvalues.h"
#include "data/tablewriters.h"

#include <QByteArray>
#include <QFile>

#include <xlsxwriter.h>

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// An Excel cell holds at most this many bytes of text.
constexpr qsizetype kMaxCellBytes = 32767;
// A worksheet holds at most this many rows, the title row among them.
constexpr int kMaxRows = 1048576;

struct WorkbookDeleter
{
    void operator()(lxw_workbook* workbook) const { lxw_workbook_free(workbook); }
};
using Workbook = std::unique_ptr<lxw_workbook, WorkbookDeleter>;

// The cell formats of the column kinds, in the order of TableCellKind.
struct KindFormats
{
    lxw_format* title = nullptr;
    std::array<lxw_format*, 5> kinds{};
};

KindFormats MakeFormats(lxw_workbook* workbook)
{
    KindFormats formats;
    formats.title = workbook_add_format(workbook);
    format_set_bold(formats.title);
    const std::array<const char*, 5> numberFormats = {nullptr, "0.00", "0.00%", "yyyy-m-d",
                                                      "yyyy-m-d h:mm:ss"};
    for (size_t kind = 1; kind < numberFormats.size(); ++kind) {
        formats.kinds[kind] = workbook_add_format(workbook);
        format_set_num_format(formats.kinds[kind], numberFormats[kind]);
    }
    return formats;
}

// Excel measures a column in widths of a digit of its default font, 7 pixels and 5 of
// padding.
double ColumnWidth(int pixels)
{
    return pixels <= 5 ? 1.0 : (pixels - 5) / 7.0;
}

// A worksheet's name has at most 31 characters and none of []:*?/\.
QByteArray SheetName(const QString& name)
{
    QString cleaned;
    for (const QChar c : name)
        if (!QStringView(u"[]:*?/\\").contains(c) && c.unicode() >= 32)
            cleaned += c;
    cleaned = cleaned.trimmed().left(31);
    while (cleaned.startsWith(u'\''))
        cleaned.remove(0, 1);
    while (cleaned.endsWith(u'\''))
        cleaned.chop(1);
    return cleaned.isEmpty() ? QByteArray("Sheet1") : cleaned.toUtf8();
}

QByteArray CellBytes(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > kMaxCellBytes) {
        // Cut on a character's first byte.
        qsizetype end = kMaxCellBytes;
        while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
        bytes.truncate(end);
    }
    return bytes;
}

lxw_datetime ExcelDateTime(const QDate& date, const QTime& time = QTime(0, 0))
{
    return {date.year(), date.month(),  date.day(),
            time.hour(), time.minute(), double(time.second())};
}

// Excel counts days from 1900.
bool InExcelRange(const QDate& date)
{
    return date.year() >= 1900 && date.year() <= 9999;
}

lxw_error WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QString& text,
                    TableCellKind kind, lxw_format* format)
{
    if (text.isEmpty())
        return LXW_NO_ERROR;
    switch (kind) {
    case TableCellKind::Text:
        break;
    case TableCellKind::Amount:
        if (const auto value = DisplayedAmount(text))
            return worksheet_write_number(sheet, row, column, *value, format);
        break;
    case TableCellKind::Percent:
        if (const auto value = DisplayedPercent(text))
            return worksheet_write_number(sheet, row, column, *value / 100.0, format);
        break;
    case TableCellKind::Date:
        if (const auto value = DisplayedDate(text); value && InExcelRange(*value)) {
            lxw_datetime when = ExcelDateTime(*value);
            return worksheet_write_datetime(sheet, row, column, &when, format);
        }
        break;
    case TableCellKind::DateTime:
        if (const auto value = DisplayedDateTime(text); value && InExcelRange(value->date())) {
            lxw_datetime when = ExcelDateTime(value->date(), value->time());
            return worksheet_write_datetime(sheet, row, column, &when, format);
        }
        break;
    }
    return worksheet_write_string(sheet, row, column, CellBytes(text).constData(), nullptr);
}

TableFileResult Failed(lxw_error error)
{
    return {TableFileStatus::WriteFailed, QString::fromUtf8(lxw_strerror(error))};
}

} // namespace

TableFileResult WriteXlsxTable(const QString& path, const TableFileContent& content,
                               const TableFileProgress& progress)
{
    if (content.rowCount >= kMaxRows)
        return {TableFileStatus::TooManyRows, QString::number(content.rowCount)};

    // Rows go to the file as they are written instead of being held until the end: a long
    // list takes little memory, and rows must be written in order.
    const QByteArray fileName = QFile::encodeName(path);
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    Workbook workbook(workbook_new_opt(fileName.constData(), &options));
    if (!workbook)
        return {TableFileStatus::WriteFailed, u"out of memory"_s};
    lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), SheetName(content.name));
    if (!sheet)
        return {TableFileStatus::WriteFailed, u"out of memory"_s};
    const KindFormats formats = MakeFormats(workbook.get());

    const auto columns = lxw_col_t(content.columns.size());
    for (lxw_col_t column = 0; column < columns; ++column) {
        const TableFileColumn& info = content.columns[column];
        worksheet_set_column(sheet, column, column, ColumnWidth(info.width), nullptr);
        if (const lxw_error error = worksheet_write_string(
                sheet, 0, column, CellBytes(info.title).constData(), formats.title))
            return Failed(error);
    }
    // The titles stay in sight while the rows scroll.
    worksheet_freeze_panes(sheet, 1, 0);

    for (int row = 0; row < content.rowCount; ++row) {
        if (progress && row % kTableProgressStep == 0 && !progress(row, content.rowCount))
            return {TableFileStatus::Cancelled, {}};
        for (lxw_col_t column = 0; column < columns; ++column) {
            const TableCellKind kind = content.columns[column].kind;
            if (const lxw_error error =
                    WriteCell(sheet, lxw_row_t(row) + 1, column, content.cell(row, int(column)),
                              kind, formats.kinds[size_t(kind)]))
                return Failed(error);
        }
    }
    if (progress && !progress(content.rowCount, content.rowCount))
        return {TableFileStatus::Cancelled, {}};
    // Closing writes the file and frees the workbook.
    const lxw_error error = workbook_close(workbook.release());
    if (error != LXW_NO_ERROR)
        return Failed(error);
    return {};
}
