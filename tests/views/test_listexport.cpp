#include "support/recordviews.h"
#include "views/listexport.h"
#include "views/listprinter.h"

#include <QHeaderView>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

namespace {

class ListExportTest : public RecordViewsTest
{
protected:
    // What the content gives for every cell, row by row.
    static std::vector<QStringList> Cells(const TableFileContent& content)
    {
        std::vector<QStringList> rows;
        for (int row = 0; row < content.rowCount; ++row) {
            QStringList texts;
            for (size_t column = 0; column < content.columns.size(); ++column)
                texts << content.cell(row, int(column));
            rows.push_back(texts);
        }
        return rows;
    }

    // The text of one page of a PDF file.
    static QString PdfPage(const QString& pdf, int page)
    {
        QProcess pdftotext;
        pdftotext.start(u"pdftotext"_s, {u"-f"_s, QString::number(page), u"-l"_s,
                                         QString::number(page), pdf, u"-"_s});
        EXPECT_TRUE(pdftotext.waitForFinished(30000));
        // The extraction drops the blanks between Chinese and digits; compare without them.
        return QString::fromUtf8(pdftotext.readAllStandardOutput()).remove(u' ');
    }

    static int PdfPages(const QString& pdf)
    {
        QFile file(pdf);
        if (!file.open(QIODevice::ReadOnly))
            return 0;
        return int(file.readAll().count("/Type /Page\n"));
    }
};

TEST_F(ListExportTest, ContentIsWhatTheListShowsInItsOrder)
{
    FillMain(2, {}, {u"日期"_s, u"单号"_s, u"单据金额"_s, u"回笼百分比"_s, u"备注"_s, QString()},
             {{u"2024-3-5"_s, u"0012"_s, u"200.00"_s, u"25.00%"_s, u"12.50"_s, u"7"_s},
              {u"2024-3-9"_s, u"0013"_s, u""_s, u"0.00%"_s, u"付清"_s, u"8"_s},
              {u"合计"_s, QString(), u"200.00"_s, u"25.00%"_s, QString(), QString()}});
    // The user dragged 备注 to the front and widened 单号.
    m_main->horizontalHeader()->moveSection(4, 0);
    m_main->setColumnWidth(1, 160);

    const TableFileContent content = ListContent(*m_main, u"销售"_s);
    EXPECT_EQ(content.name, u"销售"_s);
    ASSERT_EQ(content.columns.size(), 5u);
    QStringList titles;
    for (const TableFileColumn& column : content.columns)
        titles << column.title;
    EXPECT_EQ(titles,
              (QStringList{u"备注"_s, u"日期"_s, u"单号"_s, u"单据金额"_s, u"回笼百分比"_s}));
    EXPECT_EQ(content.columns[2].width, 160);
    EXPECT_EQ(content.columns[1].width, 100);
    // Amounts, percentages and days are numbers; order numbers and a column of mixed texts
    // stay text; the totals row's "合计" does not make the days text.
    EXPECT_EQ(content.columns[0].kind, TableCellKind::Text);
    EXPECT_EQ(content.columns[1].kind, TableCellKind::Date);
    EXPECT_EQ(content.columns[2].kind, TableCellKind::Text);
    EXPECT_EQ(content.columns[3].kind, TableCellKind::Amount);
    EXPECT_EQ(content.columns[4].kind, TableCellKind::Percent);
    EXPECT_EQ(Cells(content), (std::vector<QStringList>{
                                  {u"12.50"_s, u"2024-3-5"_s, u"0012"_s, u"200.00"_s, u"25.00%"_s},
                                  {u"付清"_s, u"2024-3-9"_s, u"0013"_s, u""_s, u"0.00%"_s},
                                  {QString(), u"合计"_s, QString(), u"200.00"_s, u"25.00%"_s}}));
    EXPECT_EQ(ListRecordRows(*m_main), 2);

    // A statistics table is titled as its filler named it; other lists by their category.
    m_main->SetCategory(30);
    m_main->SetCaption(u"2024年各月销售金额"_s);
    EXPECT_EQ(MainListTitle(*m_main), u"2024年各月销售金额"_s);
    m_main->SetCategory(0);
    EXPECT_EQ(MainListTitle(*m_main), u"客户"_s);
}

TEST_F(ListExportTest, PrintsEveryPageWithTitlesHeaderAndPageNumbers)
{
    std::vector<QStringList> rows;
    for (int row = 1; row <= 200; ++row)
        rows.push_back({u"客户%1"_s.arg(row), u"%1.00"_s.arg(row), QString::number(row)});
    FillMain(0, {}, {u"名称"_s, u"金额"_s, QString()}, rows);
    const TableFileContent content = ListContent(*m_main, u"客户"_s);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"list.pdf"_s);
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    FitListOrientation(writer, content);
    EXPECT_EQ(writer.pageLayout().orientation(), QPageLayout::Portrait);
    const int pages = PrintList(writer, u"客户列表"_s, content);
    EXPECT_GT(pages, 2);
    EXPECT_LT(pages, 20);
    QCoreApplication::processEvents();
    ASSERT_EQ(PdfPages(pdf), pages); // the writer's file is complete once it is ended

    const QString first = PdfPage(pdf, 1);
    EXPECT_TRUE(first.contains(u"客户列表"_s)) << first.toStdString();
    EXPECT_TRUE(first.contains(u"客户1"_s));
    EXPECT_TRUE(first.contains(u"第1页/共%1页"_s.arg(pages)));
    const QString second = PdfPage(pdf, 2);
    EXPECT_TRUE(second.contains(u"名称"_s) && second.contains(u"金额"_s));
    EXPECT_TRUE(second.contains(u"第2页/共%1页"_s.arg(pages)));
    const QString last = PdfPage(pdf, pages);
    EXPECT_TRUE(last.contains(u"客户200"_s) && last.contains(u"200.00"_s));
    EXPECT_TRUE(last.contains(u"名称"_s));
    EXPECT_FALSE(first.contains(u"客户200"_s));
    // The hidden record numbers are not printed.
    EXPECT_FALSE(last.contains(u"\n200\n"_s));

    // Seventeen columns do not fit an upright page.
    QStringList wide;
    for (int column = 0; column < 17; ++column)
        wide << u"列%1"_s.arg(column);
    FillMain(0, {}, wide << QString(), {});
    QPdfWriter sideways(dir.filePath(u"wide.pdf"_s));
    sideways.setPageSize(QPageSize(QPageSize::A4));
    FitListOrientation(sideways, ListContent(*m_main, u"宽"_s));
    EXPECT_EQ(sideways.pageLayout().orientation(), QPageLayout::Landscape);
}

// Twelve columns on a sideways page: the client names are printed whole, the nearly empty
// columns beside them take only what their titles need.
TEST_F(ListExportTest, PrintedColumnsShareThePageByWhatTheyHold)
{
    const QString client = u"广州市天河区华南电子科技有限公司"_s;
    QStringList titles{u"客户"_s};
    for (int column = 1; column < 12; ++column)
        titles << u"备注%1"_s.arg(column);
    titles << QString();
    std::vector<QStringList> rows;
    for (int row = 0; row < 3; ++row) {
        QStringList texts(13, QString());
        texts[0] = client + QString::number(row);
        texts[5] = u"有"_s;
        texts[12] = QString::number(row + 1);
        rows.push_back(texts);
    }
    FillMain(0, {}, titles, rows);
    for (int column = 0; column < 12; ++column)
        m_main->setColumnWidth(column, 100); // as a layout gives them
    const TableFileContent content = ListContent(*m_main, u"客户"_s);

    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"clients.pdf"_s);
    QPdfWriter writer(pdf);
    writer.setPageSize(QPageSize(QPageSize::A4));
    FitListOrientation(writer, content);
    EXPECT_EQ(writer.pageLayout().orientation(), QPageLayout::Landscape);
    ASSERT_EQ(PrintList(writer, u"客户列表"_s, content), 1);
    QCoreApplication::processEvents();
    const QString page = PdfPage(pdf, 1);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(page.contains(client + QString::number(row))) << page.toStdString();
    EXPECT_TRUE(page.contains(u"备注11"_s));
}

} // namespace
