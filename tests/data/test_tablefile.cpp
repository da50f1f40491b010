#include "data/displayedvalues.h"
#include "data/tablefile.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A table of the given kinds over rows of texts held here.
struct Table
{
    std::vector<TableFileColumn> columns;
    std::vector<QStringList> rows;

    TableFileContent Content() const
    {
        return {u"销售"_s, columns, int(rows.size()),
                [this](int row, int column) { return rows[size_t(row)][column]; }};
    }
};

Table OrderTable()
{
    return {{{u"日期"_s, 110, TableCellKind::Date},
             {u"客户"_s, 100, TableCellKind::Text},
             {u"单据金额"_s, 80, TableCellKind::Amount},
             {u"回笼百分比"_s, 80, TableCellKind::Percent},
             {u"时间"_s, 150, TableCellKind::DateTime}},
            {{u"2024-3-5"_s, u"甲公司"_s, u"200.00"_s, u"25.00%"_s, u"2024-3-5  9:7:0"_s},
             {u"2023-12-31"_s, u"0012"_s, u"-1.50"_s, u"0.00%"_s, QString()},
             {u"合计"_s, QString(), u"198.50"_s, u"25.19%"_s, QString()}}};
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A member of a zip file, as unzip prints it.
QString Unzip(const QString& zip, const QString& member)
{
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, zip, member});
    EXPECT_TRUE(unzip.waitForFinished(30000));
    return QString::fromUtf8(unzip.readAllStandardOutput());
}

// The XML element of one cell, e.g. "B2".
QString CellXml(const QString& sheet, const QString& reference)
{
    const QRegularExpression cell(u"<c r=\"%1\"[^>]*(/>|>.*?</c>)"_s.arg(reference));
    return cell.match(sheet).captured(0);
}

// What a folder holds, hidden files too, sorted.
QStringList Entries(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QStringList Sorted(QStringList names)
{
    names.sort();
    return names;
}

} // namespace

TEST(TableFileTest, ReadsBackOnlyTheListsOwnFormats)
{
    EXPECT_EQ(DisplayedAmount(u"200.00"), 200.0);
    EXPECT_EQ(DisplayedAmount(u"-1.50"), -1.5);
    // Order numbers, telephone numbers and other numbers are no amounts.
    EXPECT_FALSE(DisplayedAmount(u"0012"));
    EXPECT_FALSE(DisplayedAmount(u"12.5"));
    EXPECT_FALSE(DisplayedAmount(u".50"));
    EXPECT_FALSE(DisplayedAmount(u"1,000.00"));
    EXPECT_FALSE(DisplayedAmount(u""));
    EXPECT_FALSE(DisplayedAmount(u"-.50"));
    EXPECT_FALSE(DisplayedAmount(u"1.5x"));
    // The same double as C's reading of the text.
    EXPECT_EQ(DisplayedAmount(u"0.10"), 0.1);
    EXPECT_EQ(DisplayedAmount(u"123456789.07"), 123456789.07);
    EXPECT_EQ(DisplayedPercent(u"25.19%"), 25.19);
    EXPECT_FALSE(DisplayedPercent(u"25.19"));
    EXPECT_EQ(DisplayedDate(u"2024-3-5"), QDate(2024, 3, 5));
    EXPECT_FALSE(DisplayedDate(u"2023-2-29"));
    EXPECT_FALSE(DisplayedDate(u"2024-3-5x"));
    EXPECT_FALSE(DisplayedDate(u"010-1234-5678"));
    EXPECT_EQ(DisplayedDateTime(u"2024-3-5  9:7:0"),
              QDateTime(QDate(2024, 3, 5), QTime(9, 7), Qt::UTC));
    EXPECT_FALSE(DisplayedDateTime(u"2024-3-5 9:7:0"));
    EXPECT_FALSE(DisplayedDateTime(u"2024-3-5  24:0:0"));
}

TEST(TableFileTest, CsvIsUtf8WithBomQuotedFieldsAndCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"列表.csv"_s);
    Table table{{{u"名称"_s, 100, TableCellKind::Text},
                 {u"金额"_s, 80, TableCellKind::Amount},
                 {u"备注"_s, 200, TableCellKind::Text}},
                {{u"甲公司"_s, u"1.00"_s, u"逗号,在此"_s},
                 {u"乙\"丙\""_s, u"2.00"_s, u"两行\n文字"_s},
                 {QString(), u"3.00"_s, u"回车\r"_s}}};
    std::vector<int> reported;
    const TableFileResult result =
        WriteTableFile(path, TableFileFormatOf(path), table.Content(), [&](int written, int) {
            reported.push_back(written);
            return true;
        });
    ASSERT_TRUE(result.Written());
    EXPECT_EQ(reported.back(), 3);
    EXPECT_EQ(ReadAll(path), QByteArray("\xEF\xBB\xBF") + u"名称,金额,备注\r\n"
                                                          "甲公司,1.00,\"逗号,在此\"\r\n"
                                                          "\"乙\"\"丙\"\"\",2.00,\"两行\n文字\"\r\n"
                                                          ",3.00,\"回车\r\"\r\n"_s.toUtf8());
    // Only the finished file is left.
    EXPECT_EQ(Entries(dir.path()), QStringList{u"列表.csv"_s});
}

TEST(TableFileTest, XlsxHoldsNumbersDatesAndTextsWithFrozenBoldTitles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"销售.xlsx"_s);
    const Table table = OrderTable();
    ASSERT_TRUE(WriteTableFile(path, TableFileFormat::Xlsx, table.Content()).Written());
    EXPECT_EQ(Entries(dir.path()), QStringList{u"销售.xlsx"_s});

    const QString sheet = Unzip(path, u"xl/worksheets/sheet1.xml"_s);
    ASSERT_FALSE(sheet.isEmpty());
    const QString strings = Unzip(path, u"xl/sharedStrings.xml"_s);
    const auto holdsText = [&](const QString& reference, const QString& text) {
        const QString cell = CellXml(sheet, reference);
        return cell.contains(u"t=\""_s) &&
               (cell.contains(text) || (cell.contains(u"t=\"s\""_s) && strings.contains(text)));
    };
    const auto number = [&](const QString& reference) {
        const QString cell = CellXml(sheet, reference);
        if (cell.contains(u"t=\""_s))
            return QString(); // a text cell
        return QRegularExpression(u"<v>([^<]*)</v>"_s).match(cell).captured(1);
    };
    EXPECT_TRUE(holdsText(u"A1"_s, u"日期"_s));
    EXPECT_TRUE(holdsText(u"D1"_s, u"回笼百分比"_s));
    // Days count from 1899-12-30; times are parts of a day.
    EXPECT_EQ(number(u"A2"_s), u"45356"_s);
    EXPECT_EQ(number(u"A3"_s), u"45291"_s);
    EXPECT_TRUE(holdsText(u"B2"_s, u"甲公司"_s));
    EXPECT_TRUE(holdsText(u"B3"_s, u"0012"_s));
    EXPECT_EQ(number(u"C2"_s), u"200"_s);
    EXPECT_EQ(number(u"C3"_s), u"-1.5"_s);
    EXPECT_EQ(number(u"D2"_s), u"0.25"_s);
    EXPECT_NEAR(number(u"E2"_s).toDouble(), 45356 + (9 * 60 + 7) / 1440.0, 1e-9);
    // An empty cell is no cell; the totals row keeps its words and its sums are numbers.
    EXPECT_TRUE(CellXml(sheet, u"E3"_s).isEmpty());
    EXPECT_TRUE(holdsText(u"A4"_s, u"合计"_s));
    EXPECT_EQ(number(u"C4"_s), u"198.5"_s);
    EXPECT_TRUE(CellXml(sheet, u"A5"_s).isEmpty());

    // The titles are frozen and bold; the columns keep the list's proportions.
    EXPECT_TRUE(sheet.contains(u"ySplit=\"1\""_s) && sheet.contains(u"state=\"frozen\""_s));
    const QString styles = Unzip(path, u"xl/styles.xml"_s);
    EXPECT_TRUE(styles.contains(u"<b/>"_s));
    const QRegularExpression widths(u"<col min=\"(\\d)\" max=\"\\d\" width=\"([0-9.]+)\""_s);
    QList<double> columnWidths;
    for (auto it = widths.globalMatch(sheet); it.hasNext();)
        columnWidths.append(it.next().captured(2).toDouble());
    ASSERT_EQ(columnWidths.size(), 5);
    EXPECT_GT(columnWidths[4], columnWidths[0]);
    EXPECT_GT(columnWidths[0], columnWidths[1]);
    EXPECT_GT(columnWidths[1], columnWidths[2]);
    EXPECT_TRUE(styles.contains(u"yyyy-m-d"_s));
    EXPECT_TRUE(styles.contains(u"0.00%"_s));
}

// What a spreadsheet program reads from the workbook: each cell of the first sheet as
// "A1=<type>:<value>", by openpyxl.
QStringList ReadByOpenpyxl(const QString& path)
{
    static const QString script = uR"(import sys, openpyxl
sheet = openpyxl.load_workbook(sys.argv[1]).worksheets[0]
for row in sheet.iter_rows():
    for cell in row:
        if cell.value is not None:
            sys.stdout.write('%s=%s:%r\x1e' % (cell.coordinate, type(cell.value).__name__,
                                                cell.value))
)"_s;
    QProcess python;
    python.start(u"/usr/bin/python3"_s, {u"-c"_s, script, path});
    EXPECT_TRUE(python.waitForFinished(60000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\x1e', Qt::SkipEmptyParts);
}

TEST(TableFileTest, XlsxReadsBackAsWrittenInASpreadsheetProgram)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"名单.xlsx"_s);
    Table table{{{u"名称 & <备注>"_s, 100, TableCellKind::Text},
                 {u"日期"_s, 80, TableCellKind::Date},
                 {u"金额"_s, 80, TableCellKind::Amount}},
                {{u"  前后空格 "_s, u"1900-2-28"_s, u"0.10"_s},
                 {u"a<b>&\"c\" 'd'\n两行\t制表"_s, u"1900-3-1"_s, u"123456789.07"_s},
                 {u"_x0041_ 与 _x 与 __"_s, u"1899-12-31"_s, u"-0.01"_s},
                 {u"回车\r与控制\x01字符"_s, u"9999-12-31"_s, u"0012"_s}}};
    ASSERT_TRUE(WriteTableFile(path, TableFileFormat::Xlsx, table.Content()).Written());
    const QStringList cells = ReadByOpenpyxl(path);
    const QStringList expected = {
        uR"(A1=str:'名称 & <备注>')"_s, uR"(B1=str:'日期')"_s, uR"(C1=str:'金额')"_s,
        uR"(A2=str:'  前后空格 ')"_s, uR"(B2=datetime:datetime.datetime(1900, 2, 28, 0, 0))"_s,
        uR"(C2=float:0.1)"_s, uR"(A3=str:'a<b>&"c" \'d\'\n两行\t制表')"_s,
        uR"(B3=datetime:datetime.datetime(1900, 3, 1, 0, 0))"_s, uR"(C3=float:123456789.07)"_s,
        uR"(A4=str:'_x005F_x0041_ 与 _x 与 __')"_s,
        // Before 1900 Excel has no days: the date stays as the list shows it.
        uR"(B4=str:'1899-12-31')"_s, uR"(C4=float:-0.01)"_s,
        uR"(A5=str:'回车_x000D_与控制_x0001_字符')"_s,
        uR"(B5=datetime:datetime.datetime(9999, 12, 31, 0, 0))"_s, uR"(C5=str:'0012')"_s};
    // openpyxl leaves Excel's escapes of characters (_xHHHH_) as they stand; Excel reads A4
    // and A5 back as written: "_x0041_ 与 _x 与 __", a carriage return and a U+0001.
    EXPECT_EQ(cells, expected);
}

TEST(TableFileTest, FailedOrCancelledWritesLeaveNothingBehind)
{
    QTemporaryDir dir;
    const Table table = OrderTable();
    const QByteArray old = "the file as it was";

    // A folder that does not exist: nothing is made, not even the folder.
    const QString missing = dir.filePath(u"没有/销售.xlsx"_s);
    for (const TableFileFormat format : {TableFileFormat::Xlsx, TableFileFormat::Csv}) {
        const TableFileResult result = WriteTableFile(missing, format, table.Content());
        EXPECT_EQ(result.status, TableFileStatus::MissingFolder);
        EXPECT_TRUE(result.detail.endsWith(u"没有"_s));
    }
    EXPECT_TRUE(Entries(dir.path()).isEmpty());

    // Cancelled on the way, both formats: the file of that name stays as it was.
    Table longTable = table;
    longTable.rows.resize(2500, table.rows[0]);
    for (const QString& name : {u"旧.xlsx"_s, u"旧.csv"_s}) {
        const QString path = dir.filePath(name);
        WriteAll(path, old);
        int calls = 0;
        const TableFileResult result =
            WriteTableFile(path, TableFileFormatOf(path), longTable.Content(),
                           [&](int, int) { return ++calls < 2; });
        EXPECT_EQ(result.status, TableFileStatus::Cancelled);
        EXPECT_EQ(calls, 2);
        EXPECT_EQ(ReadAll(path), old);
    }
    EXPECT_EQ(Entries(dir.path()), Sorted({u"旧.csv"_s, u"旧.xlsx"_s}));

    // A folder in the way of the file is not replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"占用.csv"_s));
    EXPECT_EQ(
        WriteTableFile(dir.filePath(u"占用.csv"_s), TableFileFormat::Csv, table.Content()).status,
        TableFileStatus::CannotReplace);
    EXPECT_TRUE(QFileInfo(dir.filePath(u"占用.csv"_s)).isDir());

    // A finished write replaces the old file whole.
    const QString replaced = dir.filePath(u"旧.csv"_s);
    ASSERT_TRUE(WriteTableFile(replaced, TableFileFormat::Csv, table.Content()).Written());
    EXPECT_TRUE(ReadAll(replaced).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(Entries(dir.path()), Sorted({u"旧.csv"_s, u"旧.xlsx"_s, u"占用.csv"_s}));
}

TEST(TableFileTest, AFolderWithoutWritePermissionTakesNoFile)
{
    QTemporaryDir dir;
    const QString locked = dir.filePath(u"只读"_s);
    ASSERT_TRUE(QDir(dir.path()).mkdir(u"只读"_s));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                      QFileDevice::ReadOther | QFileDevice::ExeOther);
    UnprivilegedScope::OpenToOthers(dir.path());
    const Table table = OrderTable();
    {
        const UnprivilegedScope unprivileged;
        ASSERT_TRUE(unprivileged.Ok());
        for (const QString& name : {u"a.xlsx"_s, u"a.csv"_s}) {
            const QString path = locked + u'/' + name;
            EXPECT_EQ(WriteTableFile(path, TableFileFormatOf(path), table.Content()).status,
                      TableFileStatus::NoPermission);
        }
    }
    EXPECT_TRUE(Entries(locked).isEmpty());
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
