// Spreadsheets read for an import: the cells of a workbook's first sheet as Excel shows them,
// CSV text in the encodings and dialects Excel and other programs write, and the files that are
// not what their names say.
#include "data/exceldays.h"
#include "data/gbktext.h"
#include "data/importtable.h"
#include "support/xlsxfiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class ImportTableTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    QString Write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    ImportTableResult ReadCsv(const QByteArray& bytes)
    {
        return ReadImportTable(Write(u"t.csv"_s, bytes), m_table);
    }

    QTemporaryDir m_dir;
    ImportTable m_table;
};

const QByteArray kStyles =
    "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
    "<numFmts count=\"3\"><numFmt numFmtId=\"164\" "
    "formatCode=\"yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;\"/>"
    "<numFmt numFmtId=\"165\" formatCode=\"[Red]0.00\"/>"
    "<numFmt numFmtId=\"166\" formatCode=\"&quot;d&quot;0\"/></numFmts>"
    "<cellXfs count=\"6\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/>"
    "<xf numFmtId=\"22\"/><xf numFmtId=\"165\"/><xf numFmtId=\"166\"/></cellXfs></styleSheet>";

} // namespace

TEST_F(ImportTableTest, AWorkbookReadsAsExcelShowsItsCells)
{
    // Shared strings with rich-text runs and a phonetic reading that is no part of the text.
    const QByteArray strings =
        "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<si><t>名称</t></si><si><t>电话</t></si>"
        "<si><r><t>上海</t></r><r><rPr><b/></rPr><t xml:space=\"preserve\">浦东 公司</t></r>"
        "<rPh sb=\"0\" eb=\"2\"><t>シャンハイ</t></rPh></si></sst>";
    const QByteArray sheet = xlsxfiles::Sheet(
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"C1\" t=\"inlineStr\"><is><t>日期</t></is></c></row>"
        "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>2</v></c><c r=\"B2\"><v>13800138000</v></c>"
        "<c r=\"C2\" s=\"1\"><v>45658</v></c><c r=\"D2\" s=\"2\"><v>45717</v></c>"
        "<c r=\"E2\" s=\"3\"><v>45658.75</v></c><c r=\"F2\" s=\"4\"><v>2.5</v></c>"
        "<c r=\"G2\" s=\"5\"><v>7</v></c><c r=\"H2\" t=\"b\"><v>1</v></c>"
        "<c r=\"I2\"><v>1.5E-3</v></c><c r=\"J2\" t=\"str\"><f>A1&amp;\"x\"</f><v>名称x</v></c>"
        "</row>"
        // An empty row is left out; a cell left out of a row leaves its column empty.
        "<row r=\"3\"><c r=\"B3\" t=\"s\"><v>1</v></c></row>"
        "<row r=\"4\"/>"
        "<row r=\"5\"><c r=\"A5\" t=\"inlineStr\"><is><t>乙</t></is></c><c r=\"C5\" t=\"b\">"
        "<v>0</v></c><c r=\"D5\" t=\"e\"><v>#N/A</v></c></row>");
    const QString path = Path(u"clients.xlsx"_s);
    ASSERT_TRUE(
        xlsxfiles::WriteWorkbook(path, sheet, strings, kStyles, {}, u"worksheets/data.xml"_s));
    const ImportTableResult result = ReadImportTable(path, m_table);
    ASSERT_TRUE(result.Read()) << result.message.toStdString();
    ASSERT_EQ(m_table.rows.size(), 4u);
    EXPECT_EQ(m_table.rows[0], QStringList({u"名称"_s, u"电话"_s, u"日期"_s}));
    EXPECT_EQ(m_table.rows[1], QStringList({u"上海浦东 公司"_s, u"13800138000"_s, u"2025-1-1"_s,
                                            u"2025-3-1"_s, u"2025-1-1  18:0:0"_s, u"2.5"_s, u"7"_s,
                                            u"TRUE"_s, u"0.0015"_s, u"名称x"_s}));
    EXPECT_EQ(m_table.rows[2], QStringList({QString(), u"电话"_s}));
    EXPECT_EQ(m_table.rows[3], QStringList({u"乙"_s, QString(), u"FALSE"_s, u"#N/A"_s}));

    // Some writers prefix every element.
    ASSERT_TRUE(xlsxfiles::WriteWorkbook(
        path, "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
              "<x:sheetData><x:row r=\"1\"><x:c r=\"B1\" t=\"inlineStr\"><x:is><x:t>甲</x:t>"
              "</x:is></x:c><x:c r=\"C1\"><x:v>12</x:v></x:c></x:row></x:sheetData>"
              "</x:worksheet>"));
    ASSERT_TRUE(ReadImportTable(path, m_table).Read());
    EXPECT_EQ(m_table.rows[0], QStringList({QString(), u"甲"_s, u"12"_s}));

    // A workbook that counts its days from 1904.
    ASSERT_TRUE(xlsxfiles::WriteWorkbook(
        path, xlsxfiles::Sheet("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>0</v></c></row>"), {}, kStyles,
        "<workbookPr date1904=\"1\"/>"));
    ASSERT_TRUE(ReadImportTable(path, m_table).Read());
    EXPECT_EQ(m_table.rows[0], QStringList({u"1904-1-1"_s}));
}

TEST_F(ImportTableTest, ExcelDayNumbersAndDateFormats)
{
    EXPECT_EQ(ExcelSerialDateTime(1).date(), QDate(1900, 1, 1));
    EXPECT_EQ(ExcelSerialDateTime(59).date(), QDate(1900, 2, 28));
    EXPECT_EQ(ExcelSerialDateTime(61).date(), QDate(1900, 3, 1));
    EXPECT_EQ(ExcelSerialDateTime(45658.5), QDateTime(QDate(2025, 1, 1), QTime(12, 0)));
    EXPECT_EQ(ExcelSerialDateTime(0.99999999), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_FALSE(ExcelSerialDateTime(-1).isValid());

    EXPECT_TRUE(IsDateFormat(14, {}));
    EXPECT_TRUE(IsDateFormat(31, {})); // yyyy"年"m"月"d"日" of a Chinese Excel
    EXPECT_FALSE(IsDateFormat(49, {}));
    EXPECT_FALSE(IsDateFormat(2, u"0.00"_s));
    EXPECT_TRUE(IsDateFormat(170, u"yyyy/m/d"_s));
    EXPECT_TRUE(IsDateFormat(170, u"[h]:mm"_s));
    EXPECT_TRUE(IsDateFormat(170, u"[$-804]aaaa;@ m月"_s));
    EXPECT_FALSE(IsDateFormat(170, u"[Red]#,##0.00"_s));
    EXPECT_FALSE(IsDateFormat(170, u"\"day\"0"_s));
    EXPECT_FALSE(IsDateFormat(170, u"\\d0"_s));
}

TEST_F(ImportTableTest, FilesThatAreNoWorkbookSaySo)
{
    ImportTableResult result = ReadImportTable(Write(u"a.xlsx"_s, "名称,电话\n"_ba), m_table);
    EXPECT_EQ(result.status, ImportTableStatus::NotWorkbook);
    EXPECT_EQ(result.message, u"文件“a.xlsx”不是 Excel 工作簿（.xlsx），无法导入。"_s);

    result =
        ReadImportTable(Write(u"b.xlsx"_s, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 rest"_ba), m_table);
    EXPECT_EQ(result.status, ImportTableStatus::OldWorkbook);

    // A zip file that holds no workbook.
    ASSERT_TRUE(xlsxfiles::WriteZip(Path(u"c.xlsx"_s), {{u"readme.txt"_s, "hello"_ba}}));
    EXPECT_EQ(ReadImportTable(Path(u"c.xlsx"_s), m_table).status, ImportTableStatus::NotWorkbook);

    // A workbook cut short, as an interrupted download leaves it.
    QByteArray rows;
    for (int line = 1; line <= 2000; ++line)
        rows += xlsxfiles::InlineRow(line, {u"客户%1"_s.arg(line), u"地址%1"_s.arg(line * 7)});
    const QString whole = Path(u"whole.xlsx"_s);
    ASSERT_TRUE(xlsxfiles::WriteWorkbook(whole, xlsxfiles::Sheet(rows)));
    ASSERT_TRUE(ReadImportTable(whole, m_table).Read());
    EXPECT_EQ(m_table.rows.size(), 2000u);
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    result = ReadImportTable(Write(u"cut.xlsx"_s, bytes.left(bytes.size() / 2)), m_table);
    EXPECT_EQ(result.status, ImportTableStatus::Damaged);
    EXPECT_TRUE(m_table.rows.empty());
    // The sheet's compressed bytes changed in place: its checksum tells.
    QByteArray spoiled = bytes;
    const qsizetype middle = spoiled.indexOf("xl/worksheets/sheet1.xml") + 400;
    for (qsizetype i = middle; i < middle + 16; ++i)
        spoiled[i] = char(spoiled[i] ^ 0x5A);
    result = ReadImportTable(Write(u"spoiled.xlsx"_s, spoiled), m_table);
    EXPECT_EQ(result.status, ImportTableStatus::Damaged);
    EXPECT_TRUE(m_table.rows.empty());

    EXPECT_EQ(ReadImportTable(Write(u"d.xls"_s, "x"_ba), m_table).status,
              ImportTableStatus::UnknownKind);
    EXPECT_EQ(ReadImportTable(Path(u"missing.csv"_s), m_table).status,
              ImportTableStatus::CannotOpen);
}

TEST_F(ImportTableTest, HugeSheetsStopAtTheLimitAndLongCellsStayWhole)
{
    // A million rows compress to little; reading stops at the first row beyond the limit.
    QByteArray rows;
    rows.reserve(40 * 1000 * 1000);
    for (int line = 1; line <= 1000000; ++line)
        rows += "<row r=\"" + QByteArray::number(line) + "\"><c r=\"A" + QByteArray::number(line) +
                "\"><v>" + QByteArray::number(line) + "</v></c></row>";
    const QString big = Path(u"big.xlsx"_s);
    ASSERT_TRUE(xlsxfiles::WriteWorkbook(big, xlsxfiles::Sheet(rows)));
    rows.clear();
    QElapsedTimer timer;
    timer.start();
    const ImportTableResult result = ReadImportTable(big, m_table);
    EXPECT_EQ(result.status, ImportTableStatus::TooManyRows);
    EXPECT_EQ(result.message,
              u"文件中的数据超过 100000 行，一次导入不了这么多，请分成几个文件导入。"_s);
    EXPECT_TRUE(m_table.rows.empty());
    EXPECT_LT(timer.elapsed(), 30000); // a guard against reading all of it, not a measure

    // The header and exactly the limit's rows are taken.
    QByteArray limit;
    for (int line = 1; line <= 11; ++line)
        limit += xlsxfiles::InlineRow(line, {QString::number(line)});
    ASSERT_TRUE(xlsxfiles::WriteWorkbook(big, xlsxfiles::Sheet(limit)));
    EXPECT_TRUE(ReadImportTable(big, m_table, 10).Read());
    EXPECT_EQ(ReadImportTable(big, m_table, 9).status, ImportTableStatus::TooManyRows);

    // A large sheet comes whole and in order, with shared strings and prefixed elements; and
    // so it does with a comment across its middle that looks like rows.
    for (const bool commented : {false, true}) {
        QByteArray many;
        for (int line = 1; line <= 40000; ++line) {
            const QByteArray number = QByteArray::number(line);
            many += "<x:row r=\"" + number + "\"><x:c r=\"A" + number +
                    "\" t=\"inlineStr\"><x:is><x:t>客户" + number +
                    "</x:t></x:is></x:c><x:c r=\"C" + number + "\" t=\"s\"><x:v>" +
                    QByteArray::number(line % 2) + "</x:v></x:c></x:row>";
            if (commented && line == 19000)
                many += "<!--" +
                        QByteArray("<x:row><x:c t=\"inlineStr\"><x:is><x:t>假</x:t>"
                                   "</x:is></x:c></x:row>")
                            .repeated(6000) +
                        "-->";
        }
        ASSERT_TRUE(xlsxfiles::WriteWorkbook(
            big,
            "<x:worksheet xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
            "<x:sheetData>" +
                many + "</x:sheetData><x:pageMargins left=\"0.7\"/></x:worksheet>",
            xlsxfiles::SharedStrings({u"甲"_s, u"乙"_s})));
        ASSERT_TRUE(ReadImportTable(big, m_table).Read());
        ASSERT_EQ(m_table.rows.size(), 40000u);
        for (int line = 1; line <= 40000; ++line)
            ASSERT_EQ(m_table.rows[size_t(line - 1)],
                      QStringList({u"客户%1"_s.arg(line), QString(), line % 2 ? u"乙"_s : u"甲"_s}))
                << line;
        EXPECT_EQ(ReadImportTable(big, m_table, 39998).status, ImportTableStatus::TooManyRows);
        EXPECT_TRUE(ReadImportTable(big, m_table, 39999).Read());
    }

    const QString longText(100000, u'长');
    ASSERT_TRUE(
        xlsxfiles::WriteWorkbook(big, xlsxfiles::Sheet(xlsxfiles::InlineRow(1, {u"备注"_s}) +
                                                       xlsxfiles::InlineRow(2, {longText}))));
    ASSERT_TRUE(ReadImportTable(big, m_table).Read());
    EXPECT_EQ(m_table.rows[1][0], longText);

    // CSV alike.
    QByteArray csv = "名称\n";
    for (int line = 0; line < 1000000; ++line)
        csv += "c" + QByteArray::number(line) + '\n';
    EXPECT_EQ(ReadCsv(csv).status, ImportTableStatus::TooManyRows);
    EXPECT_TRUE(m_table.rows.empty());
}

namespace {

// The zip's directory gives `part` as unpacking to `size` bytes, in its local header too.
QByteArray WithPartSize(QByteArray zip, const QByteArray& part, quint32 size)
{
    for (qsizetype at = zip.indexOf("PK\x01\x02"); at >= 0;
         at = zip.indexOf("PK\x01\x02", at + 4)) {
        const auto nameLength = qFromLittleEndian<quint16>(zip.constData() + at + 28);
        if (zip.mid(at + 46, nameLength) != part)
            continue;
        const quint32 was = qFromLittleEndian<quint32>(zip.constData() + at + 24);
        qToLittleEndian(size, zip.data() + at + 24);
        const auto local = qsizetype(qFromLittleEndian<quint32>(zip.constData() + at + 42));
        // Without a data descriptor the local header repeats the size.
        if (qFromLittleEndian<quint32>(zip.constData() + local + 22) == was)
            qToLittleEndian(size, zip.data() + local + 22);
        return zip;
    }
    ADD_FAILURE() << "no part " << part.toStdString();
    return zip;
}

} // namespace

TEST_F(ImportTableTest, APartThatLiesAboutItsSizeIsRefused)
{
    QByteArray rows;
    for (int line = 1; line <= 20000; ++line)
        rows += xlsxfiles::InlineRow(line, {u"客户"_s, u"地址"_s});
    const QString path = Path(u"whole.xlsx"_s);
    ASSERT_TRUE(xlsxfiles::WriteWorkbook(path, xlsxfiles::Sheet(rows)));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QByteArray sheet = "xl/worksheets/sheet1.xml";

    // A small size for a part that unpacks to megabytes, as zip bombs have it: the part ends
    // at that size, and its checksum does not match.
    ImportTableResult result =
        ReadImportTable(Write(u"small.xlsx"_s, WithPartSize(bytes, sheet, 5000)), m_table);
    EXPECT_EQ(result.status, ImportTableStatus::Damaged);
    EXPECT_TRUE(m_table.rows.empty());
    // A size beyond any list of clients is refused before a byte is unpacked.
    result =
        ReadImportTable(Write(u"huge.xlsx"_s, WithPartSize(bytes, sheet, 0xF0000000)), m_table);
    EXPECT_EQ(result.status, ImportTableStatus::TooLarge);
    EXPECT_EQ(result.message, u"文件太大，无法导入。"_s);
}

TEST_F(ImportTableTest, CsvTextInItsEncodingsAndDialects)
{
    const QStringList header = {u"名称"_s, u"电话"_s, u"备注"_s};
    const QStringList row = {u"甲公司"_s, u"010-1234"_s, u"说\"好\"的,\n第二行"_s};
    const QByteArray text = "名称,电话,备注\r\n甲公司,010-1234,\"说\"\"好\"\"的,\n第二行\"\r\n";

    for (const QByteArray& bytes : {QByteArray(text), "\xEF\xBB\xBF"_ba + text}) {
        ASSERT_TRUE(ReadCsv(bytes).Read());
        ASSERT_EQ(m_table.rows.size(), 2u);
        EXPECT_EQ(m_table.rows[0], header);
        EXPECT_EQ(m_table.rows[1], row);
    }
    // Excel on a Chinese system writes the code page; the bytes are no UTF-8.
    ASSERT_TRUE(ReadCsv(ToGbk(QString::fromUtf8(text))).Read());
    EXPECT_EQ(m_table.rows[1], row);
    // "Unicode text": UTF-16 with its mark, tab-separated.
    QString tabbed = u"名称\t电话\n乙公司\t021\n"_s;
    QByteArray utf16 = "\xFF\xFE"_ba;
    for (const QChar c : tabbed) {
        utf16 += char(c.unicode() & 0xFF);
        utf16 += char(c.unicode() >> 8);
    }
    ASSERT_TRUE(ReadCsv(utf16).Read());
    EXPECT_EQ(m_table.rows[1], QStringList({u"乙公司"_s, u"021"_s}));

    // Semicolons where the comma is the decimal sign; blank lines and trailing separators
    // add nothing.
    ASSERT_TRUE(ReadCsv("名称;金额;\n\n丙;1,5;\n;;\n丁;\"\";x\n"_ba).Read());
    ASSERT_EQ(m_table.rows.size(), 3u);
    EXPECT_EQ(m_table.rows[0], QStringList({u"名称"_s, u"金额"_s}));
    EXPECT_EQ(m_table.rows[1], QStringList({u"丙"_s, u"1,5"_s}));
    EXPECT_EQ(m_table.rows[2], QStringList({u"丁"_s, QString(), u"x"_s}));
    EXPECT_EQ(CsvSeparator(u"\"a;b;c\",d\n"), u',');
    EXPECT_EQ(CsvSeparator(u"a\tb;c\td"), u'\t');

    // Not text at all, or a workbook under a .csv name.
    ImportTableResult result = ReadCsv("\x89PNG\r\n\x1a\n\0\0\0\rIHDR"_ba);
    EXPECT_EQ(result.status, ImportTableStatus::NotText);
    result = ReadCsv("PK\x03\x04\x14\0\0\0"_ba);
    EXPECT_EQ(result.status, ImportTableStatus::NotText);
    EXPECT_EQ(ReadCsv("\n\r\n"_ba).status, ImportTableStatus::Empty);
}
