#include "data/exceldays.h"
#include "data/formats.h"
#include "data/importtable.h"
#include "data/zipreader.h"

#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <cmath>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A part of the workbook larger than this unpacked is not a list of clients.
constexpr qint64 kMaxPartBytes = 1024LL * 1024 * 1024;
// What is left of a part after its XML is skipped in steps of this size.
constexpr qint64 kChunkBytes = 64 * 1024;
// Excel's last column, XFD.
constexpr int kMaxColumns = 16384;

ImportTableResult Failure(ImportTableStatus status, const QString& message)
{
    return {status, message};
}

ImportTableResult DamagedFile()
{
    return Failure(
        ImportTableStatus::Damaged,
        u"Excel 工作簿已损坏或不完整，无法读取。请在 Excel 中打开并重新保存后再导入。"_s);
}

// The styles a worksheet's cells name by their s attribute: whether each shows a date, and
// whether it shows a time of day.
struct CellStyle
{
    bool date = false;
    bool time = false;
    bool day = true;
};

class Workbook
{
public:
    explicit Workbook(const QString& path) : m_zip(path) {}

    bool Open() { return m_zip.Open(); }

    // The part's reader, or null when the workbook lacks it or it is too large.
    std::unique_ptr<QIODevice> Part(const QString& name, bool& tooLarge)
    {
        tooLarge = false;
        const CZipReader::Entry* entry = m_zip.Find(name);
        if (!entry)
            return nullptr;
        if (entry->size > quint64(kMaxPartBytes)) {
            tooLarge = true;
            return nullptr;
        }
        return m_zip.OpenEntry(*entry);
    }

private:
    CZipReader m_zip;
};

// An element's name without its prefix: the large parts are read without namespace processing,
// which costs a third of the time, and some writers prefix every element ("x:row").
QStringView Local(const QXmlStreamReader& xml)
{
    const QStringView name = xml.qualifiedName();
    const qsizetype colon = name.indexOf(u':');
    return colon < 0 ? name : name.sliced(colon + 1);
}

// Whether there is more to read. A part that breaks off leaves the reader waiting for more data
// that never comes: an error ends the reading as well as the end does.
bool Reading(const QXmlStreamReader& xml)
{
    return !xml.atEnd() && !xml.hasError();
}

// A reader failed when its part broke off, its XML is wrong, or its checksum does not match.
bool ReadFailed(const QXmlStreamReader& xml, QIODevice& file)
{
    if (xml.hasError())
        return true;
    // The checksum is tested once the last byte is read.
    while (file.skip(kChunkBytes) > 0) {
    }
    return ZipEntryFailed(file);
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

bool ReadRelationships(Workbook& book, const QString& name, const QString& folder,
                       std::vector<Relationship>& out)
{
    bool tooLarge = false;
    auto file = book.Part(name, tooLarge);
    if (!file)
        return false;
    QXmlStreamReader xml(file.get());
    while (Reading(xml)) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == u"Relationship") {
            const auto attributes = xml.attributes();
            out.push_back({attributes.value("Id"_L1).toString(),
                           attributes.value("Type"_L1).toString(),
                           ResolveTarget(folder, attributes.value("Target"_L1).toString())});
        }
    }
    return !ReadFailed(xml, *file);
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
QString ReadText(QXmlStreamReader& xml)
{
    QString text;
    int depth = 1;
    int skipped = 0; // inside <rPh>
    bool inText = Local(xml) == u"t";
    while (depth > 0 && Reading(xml)) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
            if (Local(xml) == u"rPh")
                skipped = depth;
            inText = Local(xml) == u"t";
        } else if (xml.isEndElement()) {
            if (skipped == depth)
                skipped = 0;
            --depth;
            inText = false;
        } else if (xml.isCharacters() && inText && skipped == 0 &&
                   text.size() <= kImportMaxCellLength) {
            text += xml.text().left(kImportMaxCellLength + 1 - text.size());
        }
    }
    return text;
}

bool ReadSharedStrings(Workbook& book, const QString& name, QStringList& strings, bool& tooLarge)
{
    auto file = book.Part(name, tooLarge);
    if (!file)
        return !tooLarge; // a workbook without text has no such part
    QXmlStreamReader xml(file.get());
    xml.setNamespaceProcessing(false);
    while (Reading(xml)) {
        xml.readNext();
        if (xml.isStartElement() && Local(xml) == u"si")
            strings.append(ReadText(xml));
    }
    return !ReadFailed(xml, *file);
}

bool ReadStyles(Workbook& book, const QString& name, std::vector<CellStyle>& styles)
{
    bool tooLarge = false;
    auto file = book.Part(name, tooLarge);
    if (!file)
        return !tooLarge;
    QXmlStreamReader xml(file.get());
    std::vector<std::pair<int, QString>> formats;
    bool inCellXfs = false;
    while (Reading(xml)) {
        xml.readNext();
        if (xml.isStartElement()) {
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
        } else if (xml.isEndElement() && xml.name() == u"cellXfs") {
            inCellXfs = false;
        }
    }
    return !ReadFailed(xml, *file);
}

// "B12" → 1; -1 when the reference names no column within the sheet.
int ColumnOf(QStringView reference)
{
    int column = 0;
    qsizetype i = 0;
    for (; i < reference.size() && reference[i].isLetter(); ++i) {
        const char16_t c = reference[i].toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return -1;
        column = column * 26 + (c - u'A' + 1);
        if (column > kMaxColumns)
            return -1;
    }
    return i == 0 ? -1 : column - 1;
}

// A number as a user typed it: whole numbers without a decimal point or exponent (telephone
// numbers are often kept as numbers), others as Excel wrote them.
QString NumberText(const QString& raw)
{
    bool ok = false;
    const double value = raw.toDouble(&ok);
    if (!ok)
        return raw;
    if (std::isfinite(value) && std::floor(value) == value && std::fabs(value) < 1e15)
        return QString::number(qint64(value));
    if (!raw.contains(u'E') && !raw.contains(u'e'))
        return raw;
    return QString::number(value, 'g', 15);
}

QString DateText(const QString& raw, const CellStyle& style, bool from1904)
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
};

// The value of <v>: its characters directly, not inside a <t>.
QString ReadValue(QXmlStreamReader& xml)
{
    QString text;
    while (Reading(xml)) {
        xml.readNext();
        if (xml.isEndElement())
            break;
        if (xml.isCharacters() && text.size() <= kImportMaxCellLength)
            text += xml.text().left(kImportMaxCellLength + 1 - text.size());
    }
    return text;
}

QString CellText(QXmlStreamReader& xml, const QXmlStreamAttributes& attributes,
                 const SheetContext& context)
{
    const QString type = attributes.value("t"_L1).toString();
    const int styleIndex = attributes.value("s"_L1).toInt();
    QString value;
    QString inlineText;
    bool hasInline = false;
    while (Reading(xml)) {
        xml.readNext();
        if (xml.isEndElement() && Local(xml) == u"c")
            break;
        if (!xml.isStartElement())
            continue;
        if (Local(xml) == u"v") {
            value = ReadValue(xml);
        } else if (Local(xml) == u"is") {
            inlineText = ReadText(xml);
            hasInline = true;
        } else {
            xml.skipCurrentElement(); // a formula: its cached value is what shows
        }
    }
    // <v> holds no <t>: its own characters are the value.
    if (type == u"inlineStr"_s || hasInline)
        return inlineText;
    if (type == u"s"_s) {
        bool ok = false;
        const int index = value.toInt(&ok);
        return ok && index >= 0 && index < context.strings.size() ? context.strings[index]
                                                                  : QString();
    }
    if (type == u"str"_s || type == u"e"_s)
        return value;
    if (type == u"b"_s)
        return value == u"1"_s ? u"TRUE"_s : u"FALSE"_s;
    if (type == u"d"_s)
        return IsoDateText(value);
    if (value.isEmpty())
        return value;
    if (styleIndex >= 0 && size_t(styleIndex) < context.styles.size() &&
        context.styles[size_t(styleIndex)].date)
        return DateText(value, context.styles[size_t(styleIndex)], context.from1904);
    return NumberText(value);
}

} // namespace

ImportTableResult ReadXlsxTable(const QString& path, ImportTable& table, int maxRows)
{
    table.rows.clear();
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return Failure(ImportTableStatus::CannotOpen,
                           u"无法打开文件“%1”：%2"_s.arg(path, file.errorString()));
        const QByteArray start = file.read(8);
        if (start.startsWith("\xD0\xCF\x11\xE0"))
            return Failure(ImportTableStatus::OldWorkbook,
                           u"这是 Excel 97-2003 格式（.xls）的工作簿，无法直接导入。请在 Excel "
                           "中“另存为”Excel 工作簿（.xlsx）或 CSV 文件后再导入。"_s);
        if (!start.startsWith("PK"))
            return Failure(ImportTableStatus::NotWorkbook,
                           u"文件“%1”不是 Excel 工作簿（.xlsx），无法导入。"_s.arg(
                               QFileInfo(path).fileName()));
    }
    Workbook book(path);
    if (!book.Open())
        return DamagedFile();

    // The workbook part, its first sheet, and the parts the sheet's cells refer to.
    std::vector<Relationship> packageRels;
    if (!ReadRelationships(book, u"_rels/.rels"_s, QString(), packageRels))
        packageRels.clear();
    QString workbookPart = TargetOfType(packageRels, u"/officeDocument");
    if (workbookPart.isEmpty())
        workbookPart = u"xl/workbook.xml"_s;
    const QString folder = FolderOf(workbookPart);
    std::vector<Relationship> bookRels;
    const QString relsName = (folder.isEmpty() ? QString() : folder + u'/') + u"_rels/"_s +
                             workbookPart.mid(folder.isEmpty() ? 0 : folder.size() + 1) +
                             u".rels"_s;
    if (!ReadRelationships(book, relsName, folder, bookRels))
        return Failure(
            ImportTableStatus::NotWorkbook,
            u"文件“%1”不是 Excel 工作簿（.xlsx），无法导入。"_s.arg(QFileInfo(path).fileName()));

    QString firstSheetId;
    bool from1904 = false;
    {
        bool tooLarge = false;
        auto file = book.Part(workbookPart, tooLarge);
        if (!file)
            return DamagedFile();
        QXmlStreamReader xml(file.get());
        while (Reading(xml)) {
            xml.readNext();
            if (!xml.isStartElement())
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
        if (ReadFailed(xml, *file))
            return DamagedFile();
    }
    QString sheetPart;
    for (const Relationship& relationship : bookRels)
        if (relationship.id == firstSheetId)
            sheetPart = relationship.target;
    if (sheetPart.isEmpty())
        return Failure(ImportTableStatus::Empty, u"工作簿中没有工作表。"_s);

    QStringList strings;
    std::vector<CellStyle> styles;
    bool tooLarge = false;
    QString stringsPart = TargetOfType(bookRels, u"/sharedStrings");
    if (!stringsPart.isEmpty() && !ReadSharedStrings(book, stringsPart, strings, tooLarge))
        return tooLarge ? Failure(ImportTableStatus::TooLarge, u"文件太大，无法导入。"_s)
                        : DamagedFile();
    const QString stylesPart = TargetOfType(bookRels, u"/styles");
    if (!stylesPart.isEmpty() && !ReadStyles(book, stylesPart, styles))
        return DamagedFile();

    auto file = book.Part(sheetPart, tooLarge);
    if (!file)
        return tooLarge ? Failure(ImportTableStatus::TooLarge, u"文件太大，无法导入。"_s)
                        : DamagedFile();
    const SheetContext context{strings, styles, from1904};
    QXmlStreamReader xml(file.get());
    xml.setNamespaceProcessing(false);
    QStringList row;
    bool inRow = false;
    int nextColumn = 0;
    while (Reading(xml)) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (Local(xml) == u"row") {
                inRow = true;
                row.clear();
                nextColumn = 0;
            } else if (inRow && Local(xml) == u"c") {
                const QXmlStreamAttributes attributes = xml.attributes();
                const auto reference = attributes.value("r"_L1);
                int column = reference.isEmpty() ? nextColumn : ColumnOf(reference);
                if (column < 0 || column >= kMaxColumns) {
                    table.rows.clear();
                    return DamagedFile();
                }
                const QString text = CellText(xml, attributes, context);
                nextColumn = column + 1;
                if (text.isEmpty())
                    continue;
                while (row.size() < column)
                    row.append(QString());
                if (row.size() == column)
                    row.append(text);
                else
                    row[column] = text;
            }
        } else if (xml.isEndElement() && Local(xml) == u"row") {
            inRow = false;
            if (row.isEmpty())
                continue;
            if (int(table.rows.size()) > maxRows) {
                table.rows.clear();
                return Failure(
                    ImportTableStatus::TooManyRows,
                    u"文件中的数据超过 %1 行，一次导入不了这么多，请分成几个文件导入。"_s.arg(
                        maxRows));
            }
            table.rows.push_back(std::move(row));
            row = QStringList();
        }
    }
    if (ReadFailed(xml, *file)) {
        table.rows.clear();
        return DamagedFile();
    }
    if (table.rows.empty())
        return Failure(ImportTableStatus::Empty, u"文件中没有数据。"_s);
    return {};
}
