#include "kit/commandids.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "trade/exportcommands.h"
#include "trade/orderlist.h"
#include "trade/tradetwin.h"
#include "views/featurecontext.h"

#include <QFileDialog>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class ExportCommandsTest : public RecordViewsTest
{
protected:
    void ListSales()
    {
        m_file.Exec(u"INSERT INTO outputdata (no, date, paper, client, sum, number, square, "
                    "detail) VALUES "
                    "(1, '2024-03-05 00:00:00', '0001', '甲公司', 200, 3, 1, '钢材, 两批'), "
                    "(2, '2024-03-09 00:00:00', '0002', '乙\"公司\"', 50.5, 1, 0, NULL)"_s);
        m_file.Exec(u"INSERT INTO outputdetail (no, paper, date, sum) VALUES "
                    "(1, 1, '2024-03-06 00:00:00', 50)"_s);
        ShowOrderList(m_doc, kSaleTwin, u"SELECT * FROM outputdata ORDER BY date"_s);
    }

    // The lines of a CSV file whose fields hold no line breaks, fields split at commas outside
    // quotation marks and unquoted.
    static std::vector<QStringList> ReadCsv(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(u"\r\n"_s);
        EXPECT_TRUE(lines.last().isEmpty());
        std::vector<QStringList> records;
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            QStringList fields{QString()};
            bool quoted = false;
            const QString& line = lines[i];
            for (qsizetype c = 0; c < line.size(); ++c) {
                if (line[c] == u'"') {
                    if (quoted && c + 1 < line.size() && line[c + 1] == u'"')
                        fields.last() += line[++c];
                    else
                        quoted = !quoted;
                } else if (line[c] == u',' && !quoted) {
                    fields << QString();
                } else {
                    fields.last() += line[c];
                }
            }
            records.push_back(fields);
        }
        return records;
    }

    QTemporaryDir m_dir;
};

TEST_P(ExportCommandsTest, CsvHoldsTheVisibleCellsAndTotalsButNoRecordNumbers)
{
    ListSales();
    const CRecordListModel& list = m_main->List();
    ASSERT_EQ(list.GetItemCount(), 3);
    const QString path = m_dir.filePath(u"销售.csv"_s);
    ASSERT_TRUE(ExportMainList(m_doc, &m_window, path));
    EXPECT_EQ(m_messages.Texts(), QStringList{u"导出完成：%1"_s.arg(path)});

    const std::vector<QStringList> records = ReadCsv(path);
    ASSERT_EQ(records.size(), 4u);
    QStringList titles = ColumnTitles(list);
    ASSERT_TRUE(titles.takeLast().isEmpty());
    EXPECT_EQ(records[0], titles);
    for (int row = 0; row < 3; ++row) {
        QStringList shown = RowTexts(list, row);
        shown.removeLast(); // the hidden number
        EXPECT_EQ(records[size_t(row) + 1], shown) << row;
    }
    EXPECT_EQ(records[1][0], u"2024-3-5"_s);
    EXPECT_EQ(records[1][1], u"0001"_s);
    EXPECT_EQ(records[1][15], u"钢材, 两批"_s);
    EXPECT_EQ(records[2][4], u"乙\"公司\""_s);
    EXPECT_EQ(records[3][0], u"合计"_s);
    EXPECT_EQ(records[3][6], u"250.50"_s);
    EXPECT_EQ(records[3].size(), 17);
}

TEST_P(ExportCommandsTest, XlsxFromTheMenuHoldsNumbersAndDates)
{
    ListSales();
    FeatureCommands commands;
    CAppContext app;
    RegisterExportCommands(CFeatureContext{app, m_doc, commands, &m_window});
    const QString path = m_dir.filePath(u"本月销售"_s); // the suffix follows the file type
    {
        ModalDriver<QFileDialog> choose([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.nameFilters(),
                      (QStringList{u"Excel 文件 (*.xlsx)"_s, u"CSV 文件 (*.csv)"_s}));
            dialog.selectFile(path);
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        commands.Run(ID_QUERY_EXPORT);
    }
    const QString written = path + u".xlsx"_s;
    EXPECT_EQ(m_messages.LastText(), u"导出完成：%1"_s.arg(written));
    QProcess unzip;
    unzip.start(u"unzip"_s, {u"-p"_s, written, u"xl/worksheets/sheet1.xml"_s});
    ASSERT_TRUE(unzip.waitForFinished(30000));
    const QString sheet = QString::fromUtf8(unzip.readAllStandardOutput());
    // 2024-3-5 is day 45356; 单据金额 and the totals are numbers; 单号 stays text.
    EXPECT_TRUE(
        QRegularExpression(u"<c r=\"A2\" s=\"\\d+\"><v>45356</v></c>"_s).match(sheet).hasMatch())
        << sheet.left(2000).toStdString();
    EXPECT_TRUE(
        QRegularExpression(u"<c r=\"G4\" s=\"\\d+\"><v>250.5</v></c>"_s).match(sheet).hasMatch());
    EXPECT_TRUE(QRegularExpression(u"<c r=\"B2\"[^>]* t=\"[a-zA-Z]+\""_s).match(sheet).hasMatch());
    EXPECT_FALSE(sheet.contains(u"r=\"R"_s)); // no 18th column: no record numbers

    // The next export starts in the folder of this one.
    ModalDriver<QFileDialog> again([&](QFileDialog& dialog) {
        EXPECT_EQ(dialog.directory().absolutePath(), QDir(m_dir.path()).absolutePath());
        dialog.reject();
    });
    commands.Run(ID_QUERY_EXPORT);
}

TEST_P(ExportCommandsTest, NothingToExportOrNowhereToWriteIsSaidPlainly)
{
    FeatureCommands commands;
    CAppContext app;
    RegisterExportCommands(CFeatureContext{app, m_doc, commands, &m_window});
    {
        NoDialog none;
        commands.Run(ID_QUERY_EXPORT);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"当前列表中没有可导出的记录！"_s});

    // An order query that found nothing lists only its totals row: no records either.
    ShowOrderList(m_doc, kSaleTwin, u"SELECT * FROM outputdata"_s);
    m_messages.Clear();
    EXPECT_FALSE(ExportMainList(m_doc, &m_window, m_dir.filePath(u"a.csv"_s)));
    EXPECT_EQ(m_messages.Texts(), QStringList{u"当前列表中没有可导出的记录！"_s});

    ListSales();
    m_messages.Clear();
    const QString missing = m_dir.filePath(u"不在/销售.xlsx"_s);
    EXPECT_FALSE(ExportMainList(m_doc, &m_window, missing));
    EXPECT_EQ(m_messages.Texts(),
              QStringList{u"导出失败：文件夹“%1”不存在！"_s.arg(m_dir.filePath(u"不在"_s))});
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(u"目录.csv"_s));
    m_messages.Clear();
    EXPECT_FALSE(ExportMainList(m_doc, &m_window, m_dir.filePath(u"目录.csv"_s)));
    EXPECT_TRUE(m_messages.LastText().startsWith(
        u"导出失败：文件“%1”是只读的或正被其他程序使用"_s.arg(m_dir.filePath(u"目录.csv"_s))));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{u"目录.csv"_s});
}

INSTANTIATE_TEST_SUITE_P(, ExportCommandsTest, EachBackend(), BackendName);

} // namespace
