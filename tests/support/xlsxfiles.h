#pragma once

// Excel workbooks made by the tests themselves, part by part, so that each test says exactly
// what a file holds: shared or inline strings, styles, a sheet that is not the first part. The
// test program links QuaZip for it.

#include <QByteArray>
#include <QString>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include <utility>
#include <vector>

namespace xlsxfiles {

using Parts = std::vector<std::pair<QString, QByteArray>>;

inline bool WriteZip(const QString& path, const Parts& parts)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto& [name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)))
            return false;
        if (file.write(bytes) != bytes.size())
            return false;
        file.close();
        if (file.getZipError() != 0)
            return false;
    }
    zip.close();
    return zip.getZipError() == 0;
}

inline QByteArray Escaped(const QString& text)
{
    return text.toHtmlEscaped().toUtf8();
}

// A shared-strings part of plain strings.
inline QByteArray SharedStrings(const QStringList& strings)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst "
                     "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    for (const QString& text : strings)
        xml += "<si><t>" + Escaped(text) + "</t></si>";
    return xml + "</sst>";
}

// A worksheet whose sheetData is `rows` (each "<row>…</row>" as the test writes it).
inline QByteArray Sheet(const QByteArray& rows)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet "
           "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>" +
           rows + "</sheetData></worksheet>";
}

// An inline-string cell.
inline QByteArray Inline(const char* reference, const QString& text)
{
    return QByteArray("<c r=\"") + reference + "\" t=\"inlineStr\"><is><t>" + Escaped(text) +
           "</t></is></c>";
}

// A row of inline strings from column A on.
inline QByteArray InlineRow(int line, const QStringList& cells)
{
    QByteArray row = "<row r=\"" + QByteArray::number(line) + "\">";
    for (qsizetype column = 0; column < cells.size(); ++column) {
        const QByteArray reference = QByteArray(1, char('A' + column)) + QByteArray::number(line);
        row += Inline(reference.constData(), cells[column]);
    }
    return row + "</row>";
}

// A workbook of one sheet, stored as the part `sheetPart` and named by relationship rId3,
// with shared strings and styles when given.
inline bool WriteWorkbook(const QString& path, const QByteArray& sheet,
                          const QByteArray& sharedStrings = {}, const QByteArray& styles = {},
                          const QByteArray& workbookPr = {},
                          const QString& sheetPart = QStringLiteral("worksheets/sheet1.xml"))
{
    const QByteArray main = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
    const QByteArray rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
    QByteArray rels = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
                      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                      "<Relationship Id=\"rId3\" Type=\"" +
                      rel + "/worksheet\" Target=\"" + sheetPart.toUtf8() + "\"/>";
    if (!sharedStrings.isEmpty())
        rels += "<Relationship Id=\"rId1\" Type=\"" + rel +
                "/sharedStrings\" Target=\"sharedStrings.xml\"/>";
    if (!styles.isEmpty())
        rels += "<Relationship Id=\"rId2\" Type=\"" + rel + "/styles\" Target=\"styles.xml\"/>";
    rels += "</Relationships>";
    Parts parts = {
        {QStringLiteral("[Content_Types].xml"),
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {QStringLiteral("_rels/.rels"),
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship "
         "Id=\"rId1\" Type=\"" +
             rel + "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
        {QStringLiteral("xl/workbook.xml"),
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook xmlns=\"" + main + "\" xmlns:r=\"" +
             rel + "\">" + workbookPr +
             "<sheets><sheet name=\"客户\" sheetId=\"1\" r:id=\"rId3\"/></sheets></workbook>"},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), rels},
        {QStringLiteral("xl/") + sheetPart, sheet},
    };
    if (!sharedStrings.isEmpty())
        parts.emplace_back(QStringLiteral("xl/sharedStrings.xml"), sharedStrings);
    if (!styles.isEmpty())
        parts.emplace_back(QStringLiteral("xl/styles.xml"), styles);
    return WriteZip(path, parts);
}

} // namespace xlsxfiles
