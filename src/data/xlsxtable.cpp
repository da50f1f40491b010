#include "data/displayedvalues.h"
#include "data/exceldays.h"
#include "data/tablewriters.h"

#include <QDate>
#include <QFile>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <QStringEncoder>

#include <charconv>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

// A workbook of one worksheet, written as its XML parts straight into the zip file. Texts are
// inline strings, so rows go to the file as they are made and a long list takes little memory.

namespace {

// An Excel cell holds at most this many bytes of text.
constexpr qsizetype kMaxCellBytes = 32767;
// A worksheet holds at most this many rows, the title row among them.
constexpr int kMaxRows = 1048576;
// A zip member without the 64-bit extension holds at most this many bytes.
constexpr qint64 kMaxPartBytes = std::numeric_limits<quint32>::max();
// The fastest deflate: a list's XML repeats itself enough to shrink well even so, and the
// user waits for every millisecond of the export.
constexpr int kDeflateLevel = 1;
// The worksheet's XML goes to the zip in pieces of about this size.
constexpr qsizetype kFlushBytes = 1 << 20;

// The cell styles of styles.xml, by their place in cellXfs.
enum Style { kPlain, kTitle, kAmount, kPercent, kDate, kDateTime };

constexpr std::string_view kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
    R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
    R"(</Types>)";

constexpr std::string_view kPackageRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";

constexpr std::string_view kWorkbookRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

// Plain, the bold titles, then the number formats of the column kinds (see Style).
constexpr std::string_view kStyles =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<numFmts count="4"><numFmt numFmtId="164" formatCode="0.00"/>)"
    R"(<numFmt numFmtId="165" formatCode="0.00%"/><numFmt numFmtId="166" formatCode="yyyy-m-d"/>)"
    R"(<numFmt numFmtId="167" formatCode="yyyy-m-d h:mm:ss"/></numFmts>)"
    R"(<fonts count="2"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font>)"
    R"(<font><b/><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill>)"
    R"(<fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="6"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/>)"
    R"(<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="165" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="166" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="167" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(</cellXfs><cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
    R"(</styleSheet>)";

constexpr std::string_view kSheetStart =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
    R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)";

// The titles stay in sight while the rows scroll.
constexpr std::string_view kFrozenTitles =
    R"(<sheetViews><sheetView tabSelected="1" workbookViewId="0">)"
    R"(<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/>)"
    R"(<selection pane="bottomLeft" activeCell="A2" sqref="A2"/></sheetView></sheetViews>)"
    R"(<sheetFormatPr defaultRowHeight="15"/>)";

constexpr std::string_view kSheetEnd =
    R"(</sheetData><pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" )"
    R"(header="0.3" footer="0.3"/></worksheet>)";

// Excel measures a column in widths of a digit of its default font, 7 pixels and 5 of
// padding.
double ColumnWidth(int pixels)
{
    return pixels <= 5 ? 1.0 : (pixels - 5) / 7.0;
}

// A worksheet's name has at most 31 characters and none of []:*?/\.
QString SheetName(const QString& name)
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
    return cleaned.isEmpty() ? u"Sheet1"_s : cleaned;
}

// "A", "B", …, "Z", "AA", … for columns 0, 1, ….
std::string ColumnLetters(int column)
{
    std::string letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), char('A' + (n - 1) % 26));
    return letters;
}

bool InExcelRange(const QDate& date)
{
    return date.year() >= 1900 && date.year() <= 9999;
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Whether the text at `at` reads as Excel's escape of a character, "_xHHHH_".
bool IsExcelEscape(std::string_view text, size_t at)
{
    if (at + 7 > text.size() || text[at] != '_' || (text[at + 1] != 'x' && text[at + 1] != 'X') ||
        text[at + 6] != '_')
        return false;
    return IsHexDigit(text[at + 2]) && IsHexDigit(text[at + 3]) && IsHexDigit(text[at + 4]) &&
           IsHexDigit(text[at + 5]);
}

// Text as XML character data: the markup characters escaped, and written as Excel's _xHHHH_
// the control characters XML cannot hold, a carriage return (which an XML reader would turn
// into a line feed) and the '_' of a text that would read as such an escape.
void AppendEscaped(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    size_t plain = 0; // start of the bytes not yet copied
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool markup = c == '&' || c == '<' || c == '>' || c == '"';
        if (!markup && (c >= 0x20 || c == '\t' || c == '\n') &&
            (c != '_' || !IsExcelEscape(text, i)))
            continue;
        out.append(text.substr(plain, i - plain));
        plain = i + 1;
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '"':
            out.append("&quot;");
            break;
        default: {
            const char code[] = {'_', 'x', '0', '0', kHex[c >> 4], kHex[c & 15], '_'};
            out.append(code, sizeof code);
            break;
        }
        }
    }
    out.append(text.substr(plain));
}

bool IsXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Hands the pieces of one zip member's data to a thread of its own that deflates and writes
// them, while the next piece is made: on two cores the export takes the longer of the two
// rather than their sum.
class MemberWriter
{
public:
    explicit MemberWriter(QuaZipFile& member) : m_member(member), m_thread([this] { Run(); }) {}
    MemberWriter(const MemberWriter&) = delete;
    MemberWriter& operator=(const MemberWriter&) = delete;
    ~MemberWriter() { Finish(); }

    // False once a piece could not be written.
    bool Write(std::string&& piece)
    {
        std::unique_lock lock(m_mutex);
        // At most two pieces wait: memory stays small however long the list.
        m_changed.wait(lock, [this] { return m_pieces.size() < 2 || m_failed; });
        if (m_failed)
            return false;
        m_pieces.push_back(std::move(piece));
        m_changed.notify_all();
        return true;
    }

    // Waits until every piece is written; false when one was not.
    bool Finish()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_ended = true;
            m_changed.notify_all();
        }
        if (m_thread.joinable())
            m_thread.join();
        return !m_failed;
    }

    QString Error() const { return m_error; }

private:
    void Run()
    {
        for (;;) {
            std::string piece;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [this] { return !m_pieces.empty() || m_ended; });
                if (m_pieces.empty())
                    return;
                piece = std::move(m_pieces.front());
                m_pieces.pop_front();
                m_changed.notify_all();
            }
            const auto size = qint64(piece.size());
            m_written += size;
            const bool written =
                m_written <= kMaxPartBytes && m_member.write(piece.data(), size) == size;
            if (!written) {
                const std::lock_guard lock(m_mutex);
                m_error = m_written > kMaxPartBytes ? u"the worksheet is larger than 4 GB"_s
                                                    : m_member.errorString();
                m_failed = true;
                m_pieces.clear();
                m_changed.notify_all();
                return;
            }
        }
    }

    QuaZipFile& m_member;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_pieces;
    qint64 m_written = 0;
    bool m_ended = false;
    bool m_failed = false;
    QString m_error;
    std::thread m_thread; // last: it starts once the members above are made
};

// The worksheet's XML, made in memory and handed on piece by piece.
class SheetWriter
{
public:
    SheetWriter(MemberWriter& writer, int columns) : m_writer(writer)
    {
        m_xml.reserve(kFlushBytes + kMaxCellBytes * 8);
        for (int column = 0; column < columns; ++column)
            m_letters.push_back(ColumnLetters(column));
    }

    void Append(std::string_view text) { m_xml.append(text); }

    void AppendNumber(double value)
    {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_xml.append(digits, size_t(end - digits));
    }

    void AppendInteger(qint64 value)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_xml.append(digits, size_t(end - digits));
    }

    void Column(int column, int pixels)
    {
        Append(R"(<col min=")");
        AppendInteger(column + 1);
        Append(R"(" max=")");
        AppendInteger(column + 1);
        Append(R"(" width=")");
        AppendNumber(ColumnWidth(pixels));
        Append(R"(" customWidth="1"/>)");
    }

    // A row is written only when it has a cell.
    void BeginRow(int row)
    {
        m_row = row;
        m_rowOpen = false;
    }

    void EndRow()
    {
        if (m_rowOpen)
            Append("</row>");
    }

    void Text(int column, const QString& text, Style style)
    {
        const std::string_view bytes = CellBytes(text);
        StartCell(column, style);
        const bool keepSpaces =
            !bytes.empty() && (IsXmlSpace(bytes.front()) || IsXmlSpace(bytes.back()));
        Append(keepSpaces ? R"( t="inlineStr"><is><t xml:space="preserve">)"
                          : R"( t="inlineStr"><is><t>)");
        AppendEscaped(m_xml, bytes);
        Append("</t></is></c>");
    }

    void Number(int column, double value, Style style)
    {
        StartCell(column, style);
        Append("><v>");
        AppendNumber(value);
        Append("</v></c>");
    }

    // Hands the XML made so far on when there is enough of it, or all of it when `all`;
    // false when the file takes no more.
    bool Flush(bool all = false)
    {
        if (m_xml.size() < size_t(kFlushBytes) && !all)
            return true;
        std::string next;
        next.reserve(m_xml.capacity());
        return m_writer.Write(std::exchange(m_xml, std::move(next)));
    }

private:
    // The text in UTF-8, at most the bytes a cell holds, cut before a character's first byte.
    std::string_view CellBytes(const QString& text)
    {
        m_utf8.resize(size_t(m_encoder.requiredSpace(text.size())));
        const char* end = m_encoder.appendToBuffer(m_utf8.data(), text);
        auto size = qsizetype(end - m_utf8.data());
        if (size > kMaxCellBytes) {
            size = kMaxCellBytes;
            while (size > 0 && (static_cast<unsigned char>(m_utf8[size_t(size)]) & 0xC0) == 0x80)
                --size;
        }
        return {m_utf8.data(), size_t(size)};
    }

    void StartCell(int column, Style style)
    {
        if (!m_rowOpen) {
            Append(R"(<row r=")");
            AppendInteger(m_row + 1);
            Append(R"(">)");
            m_rowOpen = true;
        }
        Append(R"(<c r=")");
        m_xml.append(m_letters[size_t(column)]);
        AppendInteger(m_row + 1);
        Append("\"");
        if (style != kPlain) {
            Append(R"( s=")");
            AppendInteger(style);
            Append("\"");
        }
    }

    MemberWriter& m_writer;
    std::string m_xml;
    std::string m_utf8;
    QStringEncoder m_encoder{QStringEncoder::Utf8, QStringConverter::Flag::Stateless};
    std::vector<std::string> m_letters;
    int m_row = 0;
    bool m_rowOpen = false;
};

// One cell as its column's kind asks, or as text where the text reads as none.
void WriteCell(SheetWriter& sheet, int column, const QString& text, TableCellKind kind)
{
    if (text.isEmpty())
        return; // an empty cell is no cell
    switch (kind) {
    case TableCellKind::Text:
        break;
    case TableCellKind::Amount:
        if (const auto value = DisplayedAmount(text))
            return sheet.Number(column, *value, kAmount);
        break;
    case TableCellKind::Percent:
        if (const auto value = DisplayedPercent(text))
            return sheet.Number(column, *value / 100.0, kPercent);
        break;
    case TableCellKind::Date:
        if (const auto value = DisplayedDate(text); value && InExcelRange(*value))
            return sheet.Number(column, ExcelDayNumber(*value), kDate);
        break;
    case TableCellKind::DateTime:
        if (const auto value = DisplayedDateTime(text); value && InExcelRange(value->date()))
            return sheet.Number(column,
                                ExcelDayNumber(value->date()) +
                                    value->time().msecsSinceStartOfDay() / 86400000.0,
                                kDateTime);
        break;
    }
    sheet.Text(column, text, kPlain);
}

TableFileResult Failed(const QString& detail)
{
    return {TableFileStatus::WriteFailed, detail};
}

// A member of the zip holding `bytes`.
bool WritePart(QuaZip& zip, const QString& name, std::string_view bytes)
{
    QuaZipFile member(&zip);
    if (!member.open(QIODevice::WriteOnly, QuaZipNewInfo(name), nullptr, 0, Z_DEFLATED,
                     kDeflateLevel))
        return false;
    const auto size = qint64(bytes.size());
    const bool written = member.write(bytes.data(), size) == size;
    member.close();
    return written && member.getZipError() == ZIP_OK;
}

std::string WorkbookXml(const QString& sheetName)
{
    std::string xml =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        "\n"
        R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<bookViews><workbookView/></bookViews><sheets><sheet name=")";
    AppendEscaped(xml, sheetName.toStdString());
    xml += R"(" sheetId="1" r:id="rId1"/></sheets></workbook>)";
    return xml;
}

TableFileResult WriteRows(SheetWriter& sheet, const TableFileContent& content,
                          const TableFileProgress& progress)
{
    const int columns = int(content.columns.size());
    sheet.Append(kSheetStart);
    sheet.Append(kFrozenTitles);
    if (columns > 0) {
        sheet.Append("<cols>");
        for (int column = 0; column < columns; ++column)
            sheet.Column(column, content.columns[size_t(column)].width);
        sheet.Append("</cols>");
    }
    sheet.Append("<sheetData>");
    sheet.BeginRow(0);
    for (int column = 0; column < columns; ++column)
        if (const QString& title = content.columns[size_t(column)].title; !title.isEmpty())
            sheet.Text(column, title, kTitle);
    sheet.EndRow();

    for (int row = 0; row < content.rowCount; ++row) {
        if (progress && row % kTableProgressStep == 0 && !progress(row, content.rowCount))
            return {TableFileStatus::Cancelled, {}};
        sheet.BeginRow(row + 1);
        for (int column = 0; column < columns; ++column)
            WriteCell(sheet, column, content.cell(row, column),
                      content.columns[size_t(column)].kind);
        sheet.EndRow();
        if (!sheet.Flush())
            return Failed({});
    }
    sheet.Append(kSheetEnd);
    if (!sheet.Flush(true))
        return Failed({});
    return {};
}

TableFileResult WriteSheet(QuaZip& zip, const TableFileContent& content,
                           const TableFileProgress& progress)
{
    QuaZipFile member(&zip);
    if (!member.open(QIODevice::WriteOnly, QuaZipNewInfo(u"xl/worksheets/sheet1.xml"_s), nullptr, 0,
                     Z_DEFLATED, kDeflateLevel))
        return Failed(member.errorString());
    MemberWriter writer(member);
    SheetWriter sheet(writer, int(content.columns.size()));
    TableFileResult result = WriteRows(sheet, content, progress);
    if (!writer.Finish() && result.status != TableFileStatus::Cancelled)
        return Failed(writer.Error());
    if (!result.Written())
        return result;
    member.close();
    if (member.getZipError() != ZIP_OK)
        return Failed(member.errorString());
    return {};
}

} // namespace

TableFileResult WriteXlsxTable(const QString& path, const TableFileContent& content,
                               const TableFileProgress& progress)
{
    if (content.rowCount >= kMaxRows)
        return {TableFileStatus::TooManyRows, QString::number(content.rowCount)};

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Failed(file.errorString());
    QuaZip zip(&file);
    if (!zip.open(QuaZip::mdCreate))
        return Failed(file.errorString());
    const bool parts = WritePart(zip, u"[Content_Types].xml"_s, kContentTypes) &&
                       WritePart(zip, u"_rels/.rels"_s, kPackageRelations) &&
                       WritePart(zip, u"xl/workbook.xml"_s, WorkbookXml(SheetName(content.name))) &&
                       WritePart(zip, u"xl/_rels/workbook.xml.rels"_s, kWorkbookRelations) &&
                       WritePart(zip, u"xl/styles.xml"_s, kStyles);
    if (!parts)
        return Failed(file.errorString());
    if (const TableFileResult sheet = WriteSheet(zip, content, progress); !sheet.Written())
        return sheet;
    if (progress && !progress(content.rowCount, content.rowCount))
        return {TableFileStatus::Cancelled, {}};
    // Closing writes the zip's table of contents.
    zip.close();
    if (zip.getZipError() != ZIP_OK || !file.flush())
        return Failed(file.errorString());
    return {};
}
