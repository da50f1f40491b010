#include "data/exceldays.h"
#include "data/formats.h"
#include "data/importfailures.h"
#include "data/importtable.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipfileinfo.h>

#include <cmath>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A part of the workbook larger than this unpacked is not a list of clients.
constexpr qint64 kMaxPartBytes = 1024LL * 1024 * 1024;
// A part goes to its XML reader in pieces of this size: a large part is never held whole, and
// the reading can stop at the first row too many.
constexpr qint64 kPieceBytes = 1024 * 1024;
// Excel's last column, XFD.
constexpr int kMaxColumns = 16384;

ImportTableResult DamagedFile()
{
    return ImportFailure(
        ImportTableStatus::Damaged,
        u"Excel 工作簿已损坏或不完整，无法读取。请在 Excel 中打开并重新保存后再导入。"_s);
}

ImportTableResult NotWorkbook(const QString& path)
{
    return ImportFailure(
        ImportTableStatus::NotWorkbook,
        u"文件“%1”不是 Excel 工作簿（.xlsx），无法导入。"_s.arg(QFileInfo(path).fileName()));
}

// The styles a worksheet's cells name by their s attribute: whether each shows a date, and
// whether it shows a time of day.
struct CellStyle
{
    bool date = false;
    bool time = false;
    bool day = true;
};

enum class PartStatus { Open, Missing, TooLarge, Damaged };

// One part of the workbook read as XML, unpacked as the reader asks for more. A part never
// unpacks beyond the size the zip's directory gives it, and that size is checked before any
// byte is read; the zip itself tells a part that breaks off, does not inflate or does not
// match its checksum.
class PartXml
{
public:
    explicit PartXml(QuaZip& zip) : m_file(std::make_unique<QuaZipFile>(&zip)) {}
    // XML already unpacked, in pieces; read without namespace processing.
    explicit PartXml(std::initializer_list<QByteArray> pieces)
    {
        m_xml.setNamespaceProcessing(false);
        for (const QByteArray& piece : pieces)
            m_xml.addData(piece);
    }

    // `namespaces`: the large parts are read without namespace processing, which costs a third
    // of the time; their elements are then told by Local().
    PartStatus Open(const QString& name, bool namespaces = true)
    {
        QuaZip& zip = *m_file->getZip();
        if (!zip.setCurrentFile(name, QuaZip::csInsensitive))
            return PartStatus::Missing;
        QuaZipFileInfo64 info;
        if (!zip.getCurrentFileInfo(&info))
            return PartStatus::Damaged;
        if (info.uncompressedSize > quint64(kMaxPartBytes))
            return PartStatus::TooLarge;
        if (!m_file->open(QIODevice::ReadOnly))
            return PartStatus::Damaged;
        m_xml.setNamespaceProcessing(namespaces);
        m_size = qint64(info.uncompressedSize);
        return PartStatus::Open;
    }
    // The size of the open part unpacked, as the zip gives it.
    qint64 Size() const { return m_size; }
    // All of the open part's bytes instead of its XML; false when they do not unpack, or not
    // to the size given, or do not match their checksum.
    bool ReadAll(QByteArray& bytes)
    {
        bytes = QByteArray(m_size, Qt::Uninitialized);
        qint64 got = 0;
        while (got < m_size) {
            const qint64 read = m_file->read(bytes.data() + got, m_size - got);
            if (read <= 0)
                break;
            got += read;
        }
        char more = 0;
        const bool whole = got == m_size && m_file->read(&more, 1) == 0;
        m_file->close();
        return whole && m_file->getZipError() == UNZ_OK;
    }

    QXmlStreamReader& Xml() { return m_xml; }
    // Whether there is more to read: an error ends the reading as well as the end does.
    bool Reading() const { return !m_ended; }
    // The next token, with more of the part given to the reader when it needs it.
    QXmlStreamReader::TokenType Next()
    {
        for (;;) {
            const QXmlStreamReader::TokenType token = m_xml.readNext();
            if (token == QXmlStreamReader::Invalid &&
                m_xml.error() == QXmlStreamReader::PrematureEndOfDocumentError && Feed())
                continue;
            m_ended = token == QXmlStreamReader::Invalid || token == QXmlStreamReader::EndDocument;
            return token;
        }
    }
    // Whether the part's XML is wrong or breaks off, or its bytes do not unpack or match their
    // checksum, which the zip tests once the last byte is read.
    bool Failed()
    {
        bool failed = m_failed || m_xml.hasError();
        if (!m_file)
            return failed;
        if (!failed) {
            QByteArray rest(kPieceBytes, Qt::Uninitialized);
            qint64 got = 0;
            while ((got = m_file->read(rest.data(), rest.size())) > 0) {
            }
            failed = got < 0;
        }
        m_file->close();
        return failed || m_file->getZipError() != UNZ_OK;
    }

private:
    bool Feed()
    {
        if (m_failed || !m_file)
            return false;
        QByteArray piece(kPieceBytes, Qt::Uninitialized);
        const qint64 got = m_file->read(piece.data(), piece.size());
        if (got <= 0) {
            m_failed = got < 0;
            return false;
        }
        piece.truncate(got);
        m_xml.addData(piece);
        return true;
    }

    std::unique_ptr<QuaZipFile> m_file; // none for XML already unpacked
    QXmlStreamReader m_xml;
    qint64 m_size = 0;
    bool m_failed = false;
    bool m_ended = false;
};

// An element's name without its prefix: some writers prefix every element ("x:row").
QStringView Local(const QXmlStreamReader& xml)
{
    const QStringView name = xml.qualifiedName();
    const qsizetype colon = name.indexOf(u':');
    return colon < 0 ? name : name.sliced(colon + 1);
}

// Reads past the end of the current element.
void Skip(PartXml& part)
{
    int depth = 1;
    while (depth > 0 && part.Reading()) {
        const QXmlStreamReader::TokenType token = part.Next();
        if (token == QXmlStreamReader::StartElement)
            ++depth;
        else if (token == QXmlStreamReader::EndElement)
            --depth;
    }
}

// Resolves a relationship's target against the folder of the part that names it.
QString ResolveTarget(const QString& folder, const QString& target)
{
    if (target.startsWith(u'/'))
        return target.mid(1);
    QStringList parts = folder.isEmpty() ? QStringList() : folder.split(u'/');
    for (const QString& piece : target.split(u'/')) {
        if (piece == u".."_s) {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (piece != u"."_s && !piece.isEmpty()) {
            parts.append(piece);
        }
    }
    return parts.join(u'/');
}

// Id → target of the relationships in a .rels part, with each target's type.
struct Relationship
{
    QString id;
    QString type;
    QString target;
};

bool ReadRelationships(QuaZip& zip, const QString& name, const QString& folder,
                       std::vector<Relationship>& out)
{
    PartXml part(zip);
    if (part.Open(name) != PartStatus::Open)
        return false;
    QXmlStreamReader& xml = part.Xml();
    while (part.Reading()) {
        if (part.Next() == QXmlStreamReader::StartElement && xml.name() == u"Relationship") {
            const auto attributes = xml.attributes();
            out.push_back({attributes.value("Id"_L1).toString(),
                           attributes.value("Type"_L1).toString(),
                           ResolveTarget(folder, attributes.value("Target"_L1).toString())});
        }
    }
    return !part.Failed();
}

QString TargetOfType(const std::vector<Relationship>& relationships, QStringView typeEnd)
{
    for (const Relationship& relationship : relationships)
        if (relationship.type.endsWith(typeEnd))
            return relationship.target;
    return {};
}

QString FolderOf(const QString& part)
{
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash);
}

// Text of the current element and everything inside it, leaving out phonetic readings
// (<rPh>), kept to the cell limit.
QString ReadText(PartXml& part)
{
    QXmlStreamReader& xml = part.Xml();
    QString text;
    int depth = 1;
    int skipped = 0; // inside <rPh>
    bool inText = Local(xml) == u"t";
    while (depth > 0 && part.Reading()) {
        switch (part.Next()) {
        case QXmlStreamReader::StartElement: {
            ++depth;
            const QStringView name = Local(xml);
            if (name == u"rPh")
                skipped = depth;
            inText = name == u"t";
            break;
        }
        case QXmlStreamReader::EndElement:
            if (skipped == depth)
                skipped = 0;
            --depth;
            inText = false;
            break;
        case QXmlStreamReader::Characters:
            if (inText && skipped == 0 && text.size() <= kImportMaxCellLength)
                text += xml.text().left(kImportMaxCellLength + 1 - text.size());
            break;
        default:
            break;
        }
    }
    return text;
}

bool ReadSharedStrings(QuaZip& zip, const QString& name, QStringList& strings, bool& tooLarge)
{
    PartXml part(zip);
    const PartStatus status = part.Open(name, false);
    tooLarge = status == PartStatus::TooLarge;
    if (status == PartStatus::Missing)
        return true; // a workbook without text has no such part
    if (status != PartStatus::Open)
        return false;
    QXmlStreamReader& xml = part.Xml();
    while (part.Reading()) {
        if (part.Next() != QXmlStreamReader::StartElement)
            continue;
        if (Local(xml) == u"si")
            strings.append(ReadText(part));
    }
    return !part.Failed();
}

bool ReadStyles(QuaZip& zip, const QString& name, std::vector<CellStyle>& styles)
{
    PartXml part(zip);
    const PartStatus status = part.Open(name);
    if (status == PartStatus::Missing)
        return true;
    if (status != PartStatus::Open)
        return false;
    QXmlStreamReader& xml = part.Xml();
    std::vector<std::pair<int, QString>> formats;
    bool inCellXfs = false;
    while (part.Reading()) {
        const QXmlStreamReader::TokenType token = part.Next();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == u"numFmt") {
                formats.emplace_back(xml.attributes().value("numFmtId"_L1).toInt(),
                                     xml.attributes().value("formatCode"_L1).toString());
            } else if (xml.name() == u"cellXfs") {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == u"xf") {
                const int id = xml.attributes().value("numFmtId"_L1).toInt();
                QString code;
                for (const auto& format : formats)
                    if (format.first == id)
                        code = format.second;
                CellStyle style;
                style.date = IsDateFormat(id, code);
                if (style.date) {
                    const QString lower = code.toLower();
                    const bool builtInTime = (id >= 18 && id <= 21) || id == 22 ||
                                             (id >= 45 && id <= 47) || id == 32 || id == 33;
                    const bool builtInDay =
                        !(id >= 18 && id <= 21) && !(id >= 45 && id <= 47) && id != 32 && id != 33;
                    style.time =
                        id < 164 ? builtInTime : lower.contains(u'h') || lower.contains(u's');
                    style.day =
                        id < 164 ? builtInDay : lower.contains(u'y') || lower.contains(u'd');
                }
                styles.push_back(style);
            }
        } else if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") {
            inCellXfs = false;
        }
    }
    return !part.Failed();
}

// "B12" → 1; -1 when the reference names no column within the sheet.
int ColumnOf(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size(); ++i) {
        char16_t c = reference[i].unicode();
        if (c >= u'a' && c <= u'z')
            c = char16_t(c - u'a' + u'A');
        if (c < u'A' || c > u'Z')
            break;
        column = column * 26 + (c - u'A' + 1);
        if (column > kMaxColumns)
            return -1;
    }
    // A letter of another alphabet names no column either.
    if (i == 0 || (i < reference.size() && reference[i].isLetter()))
        return -1;
    return column - 1;
}

// A number as a user typed it: whole numbers without a decimal point or exponent (telephone
// numbers are often kept as numbers), others as Excel wrote them.
QString NumberText(QStringView raw)
{
    bool ok = false;
    const double value = raw.toDouble(&ok);
    if (!ok)
        return raw.toString();
    if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    if (!raw.contains(u'E') && !raw.contains(u'e'))
        return raw.toString();
    return QString::number(value, 'g', 15);
}

QString DateText(QStringView raw, const CellStyle& style, bool from1904)
{
    bool ok = false;
    const double serial = raw.toDouble(&ok);
    const QDateTime moment = ok ? ExcelSerialDateTime(serial, from1904) : QDateTime();
    if (!moment.isValid())
        return NumberText(raw);
    if (!style.day)
        return moment.time().toString(u"H:m:s"_s);
    if (style.time)
        return FormatDateTime(moment);
    return FormatDate(moment.date());
}

// An ISO date or date and time of a cell of type d.
QString IsoDateText(const QString& raw)
{
    const QDateTime moment = QDateTime::fromString(raw, Qt::ISODate);
    if (moment.isValid())
        return moment.time() == QTime(0, 0) ? FormatDate(moment.date()) : FormatDateTime(moment);
    const QDate day = QDate::fromString(raw, Qt::ISODate);
    return day.isValid() ? FormatDate(day) : raw;
}

struct SheetContext
{
    const QStringList& strings;
    const std::vector<CellStyle>& styles;
    bool from1904 = false;
    // The characters of the last <v>, kept from cell to cell so that its room is made once.
    QString value;
};

// The value of <v>: its characters directly, not inside a <t>.
void ReadValue(PartXml& part, QString& text)
{
    QXmlStreamReader& xml = part.Xml();
    text.resize(0);
    while (part.Reading()) {
        const QXmlStreamReader::TokenType token = part.Next();
        if (token == QXmlStreamReader::EndElement)
            break;
        if (token == QXmlStreamReader::Characters && text.size() <= kImportMaxCellLength)
            text += xml.text().left(kImportMaxCellLength + 1 - text.size());
    }
}

QString CellText(PartXml& part, const QXmlStreamAttributes& attributes, SheetContext& context)
{
    QXmlStreamReader& xml = part.Xml();
    const QStringView type = attributes.value("t"_L1);
    const int styleIndex = attributes.value("s"_L1).toInt();
    QString& value = context.value;
    value.resize(0);
    QString inlineText;
    bool hasInline = false;
    while (part.Reading()) {
        const QXmlStreamReader::TokenType token = part.Next();
        if (token == QXmlStreamReader::EndElement && Local(xml) == u"c")
            break;
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = Local(xml);
        if (name == u"v") {
            ReadValue(part, value);
        } else if (name == u"is") {
            inlineText = ReadText(part);
            hasInline = true;
        } else {
            Skip(part); // a formula: its cached value is what shows
        }
    }
    // <v> holds no <t>: its own characters are the value.
    if (type == u"inlineStr" || hasInline)
        return inlineText;
    if (type == u"s") {
        bool ok = false;
        const int index = QStringView(value).toInt(&ok);
        return ok && index >= 0 && index < context.strings.size() ? context.strings[index]
                                                                  : QString();
    }
    if (type == u"str" || type == u"e")
        return value;
    if (type == u"b")
        return value == u"1" ? u"TRUE"_s : u"FALSE"_s;
    if (type == u"d")
        return IsoDateText(value);
    if (value.isEmpty())
        return {};
    if (styleIndex >= 0 && size_t(styleIndex) < context.styles.size() &&
        context.styles[size_t(styleIndex)].date)
        return DateText(value, context.styles[size_t(styleIndex)], context.from1904);
    return NumberText(value);
}

// How reading a sheet's rows ended.
enum class RowsEnd {
    End,         // the rows ended: the part's XML says whether well
    Damaged,     // a cell names no column of a sheet
    TooManyRows, // more rows than one import takes
};

// Reads the rows of a sheet's XML into `rows`, up to the end of the XML, or up to the end of
// <sheetData> when `toDataEnd`.
RowsEnd ReadRows(PartXml& part, SheetContext& context, int maxRows, std::vector<QStringList>& rows,
                 bool toDataEnd = false)
{
    QXmlStreamReader& xml = part.Xml();
    QStringList row;
    bool inRow = false;
    int nextColumn = 0;
    qsizetype rowWidth = 0; // cells of the last row, room made for as many in the next
    while (part.Reading()) {
        const QXmlStreamReader::TokenType token = part.Next();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = Local(xml);
            if (name == u"row") {
                inRow = true;
                row.clear();
                row.reserve(rowWidth);
                nextColumn = 0;
            } else if (inRow && name == u"c") {
                const QXmlStreamAttributes attributes = xml.attributes();
                const QStringView reference = attributes.value("r"_L1);
                const int column = reference.isEmpty() ? nextColumn : ColumnOf(reference);
                if (column < 0 || column >= kMaxColumns)
                    return RowsEnd::Damaged;
                QString text = CellText(part, attributes, context);
                nextColumn = column + 1;
                if (text.isEmpty())
                    continue;
                while (row.size() < column)
                    row.append(QString());
                if (row.size() == column)
                    row.append(std::move(text));
                else
                    row[column] = std::move(text);
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = Local(xml);
            if (name == u"row") {
                inRow = false;
                if (row.isEmpty())
                    continue;
                if (int(rows.size()) > maxRows)
                    return RowsEnd::TooManyRows;
                rowWidth = row.size();
                rows.push_back(std::move(row));
                row = QStringList();
            } else if (toDataEnd && name == u"sheetData") {
                break;
            }
        }
    }
    return RowsEnd::End;
}

// A sheet at least this large unpacked is read by two readers at once, each taking half of
// its rows, as far as it is no larger than kMaxWholeSheetBytes: Qt's XML reader is what the
// reading of a large sheet costs.
constexpr qint64 kMinSplitSheetBytes = 4 * 1024 * 1024;
// A larger sheet is read in pieces by one reader, so that it is never held whole.
constexpr qint64 kMaxWholeSheetBytes = 256 * 1024 * 1024;

// Where the second half of a sheet's rows begins: a row's start tag from the middle on, with
// no comment, CDATA section or processing instruction before it within <sheetData> that could
// hold the tag's text. -1 when there is no such place. `dataName` receives the <sheetData>
// start tag's name with its prefix.
qsizetype SplitPoint(const QByteArray& xml, QByteArray& dataName)
{
    const qsizetype data = xml.indexOf("sheetData");
    const qsizetype open = data > 0 ? xml.lastIndexOf('<', data) : -1;
    if (open < 0)
        return -1;
    const QByteArray prefix = xml.mid(open + 1, data - open - 1);
    if (!prefix.isEmpty() && !prefix.endsWith(':'))
        return -1;
    dataName = prefix + "sheetData";
    const QByteArray rowTag = '<' + prefix + "row";
    for (qsizetype at = xml.indexOf(rowTag, xml.size() / 2); at >= 0;
         at = xml.indexOf(rowTag, at + 1)) {
        const qsizetype next = at + rowTag.size();
        if (next >= xml.size())
            return -1;
        const char c = xml[next];
        if (c != ' ' && c != '>' && c != '/' && c != '\t' && c != '\r' && c != '\n')
            continue;
        const QByteArrayView before = QByteArrayView(xml).sliced(data, at - data);
        if (before.contains("<!") || before.contains("<?"))
            return -1;
        return at;
    }
    return -1;
}

// Reads all of a sheet's rows with one reader: rows that end well in a part that does not
// unpack or read to its end are a damaged sheet.
RowsEnd ReadAllRows(PartXml& part, SheetContext context, int maxRows,
                    std::vector<QStringList>& rows)
{
    const RowsEnd end = ReadRows(part, context, maxRows, rows);
    return end == RowsEnd::End && part.Failed() ? RowsEnd::Damaged : end;
}

// Reads a sheet's rows into `rows`: a large one by two readers at once.
RowsEnd ReadSheetRows(PartXml& part, const SheetContext& context, int maxRows,
                      std::vector<QStringList>& rows)
{
    if (part.Size() < kMinSplitSheetBytes || part.Size() > kMaxWholeSheetBytes)
        return ReadAllRows(part, context, maxRows, rows);
    QByteArray xml;
    if (!part.ReadAll(xml))
        return RowsEnd::Damaged;
    QByteArray dataName;
    const qsizetype split = SplitPoint(xml, dataName);
    if (split < 0) {
        PartXml whole{xml};
        return ReadAllRows(whole, context, maxRows, rows);
    }
    // The second half, its rows inside a <sheetData> of its own, read to that element's end.
    std::vector<QStringList> later;
    RowsEnd laterEnd = RowsEnd::End;
    bool laterFailed = false;
    std::thread second([&] {
        PartXml half{'<' + dataName + '>',
                     QByteArray::fromRawData(xml.constData() + split, xml.size() - split)};
        SheetContext own = context;
        laterEnd = ReadRows(half, own, maxRows, later, true);
        laterFailed = half.Xml().hasError();
    });
    // The first half ends between two rows, where its XML breaks off.
    PartXml first{QByteArray::fromRawData(xml.constData(), split)};
    SheetContext own = context;
    RowsEnd end = ReadRows(first, own, maxRows, rows);
    second.join();
    if (end == RowsEnd::End && first.Xml().error() != QXmlStreamReader::PrematureEndOfDocumentError)
        end = RowsEnd::Damaged;
    if (end != RowsEnd::End)
        return end;
    // As one reader would have seen it: too many rows before the second half's failure.
    if (rows.size() + later.size() > size_t(maxRows) + 1)
        return RowsEnd::TooManyRows;
    if (laterEnd != RowsEnd::End || laterFailed)
        return laterEnd == RowsEnd::End ? RowsEnd::Damaged : laterEnd;
    rows.insert(rows.end(), std::make_move_iterator(later.begin()),
                std::make_move_iterator(later.end()));
    return RowsEnd::End;
}

} // namespace

ImportTableResult ReadXlsxTable(const QString& path, ImportTable& table, int maxRows)
{
    table.rows.clear();
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return CannotOpenFailure(path, file.errorString());
        const QByteArray start = file.read(8);
        if (start.startsWith("\xD0\xCF\x11\xE0"))
            return ImportFailure(
                ImportTableStatus::OldWorkbook,
                u"这是 Excel 97-2003 格式（.xls）的工作簿，无法直接导入。请在 Excel "
                "中“另存为”Excel 工作簿（.xlsx）或 CSV 文件后再导入。"_s);
        if (!start.startsWith("PK"))
            return NotWorkbook(path);
    }
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return DamagedFile();

    // The workbook part, its first sheet, and the parts the sheet's cells refer to.
    std::vector<Relationship> packageRels;
    if (!ReadRelationships(zip, u"_rels/.rels"_s, QString(), packageRels))
        packageRels.clear();
    QString workbookPart = TargetOfType(packageRels, u"/officeDocument");
    if (workbookPart.isEmpty())
        workbookPart = u"xl/workbook.xml"_s;
    const QString folder = FolderOf(workbookPart);
    std::vector<Relationship> bookRels;
    const QString relsName = (folder.isEmpty() ? QString() : folder + u'/') + u"_rels/"_s +
                             workbookPart.mid(folder.isEmpty() ? 0 : folder.size() + 1) +
                             u".rels"_s;
    if (!ReadRelationships(zip, relsName, folder, bookRels))
        return NotWorkbook(path);

    QString firstSheetId;
    bool from1904 = false;
    {
        PartXml part(zip);
        if (part.Open(workbookPart) != PartStatus::Open)
            return DamagedFile();
        QXmlStreamReader& xml = part.Xml();
        while (part.Reading()) {
            if (part.Next() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"workbookPr") {
                const auto value = xml.attributes().value("date1904"_L1);
                from1904 = value == u"1" || value == u"true";
            } else if (xml.name() == u"sheet" && firstSheetId.isEmpty()) {
                for (const QXmlStreamAttribute& attribute : xml.attributes())
                    if (attribute.name() == u"id")
                        firstSheetId = attribute.value().toString();
            }
        }
        if (part.Failed())
            return DamagedFile();
    }
    QString sheetPart;
    for (const Relationship& relationship : bookRels)
        if (relationship.id == firstSheetId)
            sheetPart = relationship.target;
    if (sheetPart.isEmpty())
        return ImportFailure(ImportTableStatus::Empty, u"工作簿中没有工作表。"_s);

    QStringList strings;
    std::vector<CellStyle> styles;
    bool tooLarge = false;
    QString stringsPart = TargetOfType(bookRels, u"/sharedStrings");
    if (!stringsPart.isEmpty() && !ReadSharedStrings(zip, stringsPart, strings, tooLarge))
        return tooLarge ? TooLargeFailure() : DamagedFile();
    const QString stylesPart = TargetOfType(bookRels, u"/styles");
    if (!stylesPart.isEmpty() && !ReadStyles(zip, stylesPart, styles))
        return DamagedFile();

    PartXml part(zip);
    const PartStatus status = part.Open(sheetPart, false);
    if (status != PartStatus::Open)
        return status == PartStatus::TooLarge ? TooLargeFailure() : DamagedFile();
    const SheetContext context{strings, styles, from1904, {}};
    const RowsEnd end = ReadSheetRows(part, context, maxRows, table.rows);
    if (end == RowsEnd::TooManyRows) {
        table.rows.clear();
        return TooManyRowsFailure(maxRows);
    }
    if (end == RowsEnd::Damaged) {
        table.rows.clear();
        return DamagedFile();
    }
    if (table.rows.empty())
        return NoDataFailure();
    return {};
}
