#include "customers/customerrecords.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/schedulerecords.h"
#include "support/controls.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/printers.h"
#include "support/recordviews.h"
#include "trade/statdlg.h"
#include "trade/statfigures.h"
#include "trade/tradecommands.h"
#include "trade/traderecords.h"
#include "views/featurecontext.h"

#include "views/statchartview.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QDate>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

namespace {

// Orders of 甲公司 around the turn of 2008/2009, sales and purchases alike but for their sums;
// 丁公司 trades but is in no client row.
const QString kOrderColumns = u"(no, date, client, sum) VALUES "_s;

class StatDlgTest : public RecordViewsTest
{
protected:
    StatDlgTest() : m_chart(new CStatChartView(m_doc, &m_window))
    {
        m_file.Exec(u"INSERT INTO client (no, name) VALUES "
                    "(1, '甲公司'), (2, '乙公司'), (3, '丙公司')"_s);
        m_file.Exec(u"INSERT INTO outputdata "_s + kOrderColumns +
                    u"(1, '2008-10-31 23:59:59', '甲公司', 3), "
                    "(2, '2008-11-15 10:00:00', '甲公司', 100), "
                    "(3, '2008-12-31 23:59:59', '甲公司', 50), "
                    "(4, '2009-01-01 00:00:00', '甲公司', 25), "
                    "(5, '2009-02-10 00:00:00', '甲公司', 10), "
                    "(6, '2009-03-01 00:00:00', '甲公司', 7), "
                    "(7, '2008-12-05 00:00:00', '乙公司', 1000)"_s);
        // A purchase of March paid in April, one of March never paid, and one of 丁公司.
        m_file.Exec(u"INSERT INTO inputdata "_s + kOrderColumns +
                    u"(1, '2009-03-10 00:00:00', '甲公司', 1000), "
                    "(2, '2009-03-20 00:00:00', '甲公司', 500), "
                    "(3, '2009-03-15 00:00:00', '丁公司', 80), "
                    "(4, '2009-03-31 23:59:59', '乙公司', 40.5)"_s);
        m_file.Exec(u"INSERT INTO inputdetail (no, paper, date, sum) VALUES "
                    "(1, 1, '2009-04-05 00:00:00', 300), (2, 1, '2009-04-30 23:59:59', 200), "
                    "(3, 3, '2009-04-06 00:00:00', 80)"_s);
    }

    CStatDlg& Open()
    {
        m_dialog = std::make_unique<CStatDlg>(m_doc, m_app.Clock());
        m_dialog->show();
        return *m_dialog;
    }

    static void SetSpan(CStatDlg& dialog, int fromYear, int fromMonth, int toYear, int toMonth)
    {
        Retype(dialog.FromYear(), QString::number(fromYear));
        Retype(dialog.FromMonth(), QString::number(fromMonth));
        Retype(dialog.ToYear(), QString::number(toYear));
        Retype(dialog.ToMonth(), QString::number(toMonth));
    }

    static void SetMonth(CStatDlg& dialog, int year, int month)
    {
        Retype(dialog.Year(), QString::number(year));
        Retype(dialog.Month(), QString::number(month));
    }

    std::vector<QStringList> Rows() const
    {
        std::vector<QStringList> rows;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            rows.push_back(RowTexts(m_main->List(), row));
        return rows;
    }

    // The table is in the main list under its title, its chart in the lower pane with the
    // same title, and the secondary list is empty without columns.
    void ExpectTable(const QString& title, const QStringList& columns)
    {
        EXPECT_EQ(m_main->Category(), TradeCategory::kStatistics);
        EXPECT_EQ(m_main->Caption(), title);
        EXPECT_EQ(m_doc.InfoText(), title);
        EXPECT_EQ(ColumnTitles(m_main->List()), columns);
        EXPECT_EQ(m_doc.BottomViewKind(), BottomView::kChart);
        EXPECT_EQ(m_chart->Figures().title, title);
        EXPECT_EQ(m_chart->chart()->title(), title);
        ASSERT_NE(Lower(), nullptr);
        EXPECT_EQ(Lower()->List().GetColumnCount(), 0);
        EXPECT_EQ(Lower()->List().GetItemCount(), 0);
        EXPECT_TRUE(m_dialog->isVisible()); // open for the next table
        EXPECT_TRUE(m_messages.Texts().isEmpty());
    }

    // The chart's bars as drawn: one value a bar.
    QList<qreal> DrawnBars() const
    {
        const auto series = m_chart->chart()->series();
        if (series.size() != 1)
            return {};
        const auto* bars = qobject_cast<QBarSeries*>(series.first());
        if (!bars || bars->barSets().size() != 1)
            return {};
        QList<qreal> values;
        for (int i = 0; i < bars->barSets().first()->count(); ++i)
            values << bars->barSets().first()->at(i);
        return values;
    }

    // Whether the chart says "没有数据" in the pane.
    bool SaysNoData() const
    {
        for (const QGraphicsItem* item : m_chart->scene()->items()) {
            const auto* text = dynamic_cast<const QGraphicsSimpleTextItem*>(item);
            if (text && text->isVisible() && text->text() == u"没有数据"_s)
                return true;
        }
        return false;
    }

    CAppContext m_app;
    CStatChartView* m_chart;
    std::unique_ptr<CStatDlg> m_dialog;
};

TEST_P(StatDlgTest, OpensOnTheCurrentMonthWithPurchasesByOrderDateAndSortedClients)
{
    // The last day of a year: the month before and after cross a year.
    const FixedClock clock(m_app, QDateTime(QDate(2025, 12, 31), QTime(23, 59, 59)));
    const QDate today = clock.Now().date();
    auto& dialog = Open();
    EXPECT_EQ(dialog.windowTitle(), u"统计"_s);
    EXPECT_TRUE(dialog.TradeButton(0)->isChecked());
    EXPECT_EQ(dialog.TradeButton(0)->text(), u"采购"_s);
    EXPECT_EQ(dialog.TradeButton(1)->text(), u"销售"_s);
    EXPECT_TRUE(dialog.BasisButton(0)->isChecked());
    EXPECT_EQ(dialog.BasisButton(0)->text(), u"按签单时间"_s);
    EXPECT_EQ(dialog.BasisButton(1)->text(), u"按到帐时间"_s);
    for (QLineEdit* year : {dialog.FromYear(), dialog.ToYear(), dialog.Year()})
        EXPECT_EQ(year->text(), QString::number(today.year()));
    for (QLineEdit* month : {dialog.FromMonth(), dialog.ToMonth(), dialog.Month()})
        EXPECT_EQ(month->text(), QString::number(today.month()));
    // By pinyin: bing, jia, yi; no typing into the list.
    EXPECT_EQ(Items(dialog.ClientList()), (QStringList{u"丙公司"_s, u"甲公司"_s, u"乙公司"_s}));
    EXPECT_EQ(dialog.ClientList()->currentIndex(), 0);
    EXPECT_FALSE(dialog.ClientList()->isEditable());

    // A focused group's "统计" is the one Enter presses.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.FromYear()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.ClientButton()->isDefault());
    dialog.Month()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(dialog.MonthButton()->isDefault());
    EXPECT_FALSE(dialog.ClientButton()->isDefault());
    QTest::keyClick(dialog.Month(), Qt::Key_Return);
    EXPECT_EQ(m_main->List().GetItemCount(), 3);
    ExpectTable(u"%1年%2月 各个客户采购签单金额对比表"_s.arg(today.year()).arg(today.month()),
                {u"客户名称"_s, u"金额"_s});
}

TEST_P(StatDlgTest, OneClientMonthByMonthAcrossTheTurnOfTheYear)
{
    auto& dialog = Open();
    dialog.TradeButton(1)->click();
    dialog.ClientList()->setCurrentIndex(dialog.ClientList()->findText(u"甲公司"_s));
    SetSpan(dialog, 2008, 11, 2009, 2);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    // December's last second counts in December, January's first in January; October's last
    // second and March's first are outside.
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"2008年11月"_s, u"100.00"_s},
                                                {u"2008年12月"_s, u"50.00"_s},
                                                {u"2009年1月"_s, u"25.00"_s},
                                                {u"2009年2月"_s, u"10.00"_s}}));
    ExpectTable(u"甲公司 各月销售签单金额对比表"_s, {u"月份"_s, u"金额"_s});
    EXPECT_EQ(m_main->List().ColumnAt(0).width, 200);
    EXPECT_EQ(m_main->List().ColumnAt(1).width, 100);
    EXPECT_EQ(m_main->List().ColumnAt(1).alignment, Qt::AlignRight);
    EXPECT_EQ(m_chart->Figures().labels,
              (QStringList{u"2008年11月"_s, u"2008年12月"_s, u"2009年1月"_s, u"2009年2月"_s}));
    EXPECT_EQ(DrawnBars(), (QList<qreal>{100, 50, 25, 10}));

    // To December alone: the span ends on January 1 of the next year.
    SetSpan(dialog, 2008, 12, 2008, 12);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"2008年12月"_s, u"50.00"_s}}));

    // One month.
    SetSpan(dialog, 2009, 1, 2009, 1);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"2009年1月"_s, u"25.00"_s}}));

    // A span that ends before it starts gives a table without rows, and a chart without bars.
    SetSpan(dialog, 2009, 3, 2009, 1);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_TRUE(Rows().empty());
    ExpectTable(u"甲公司 各月销售签单金额对比表"_s, {u"月份"_s, u"金额"_s});
    EXPECT_TRUE(DrawnBars().isEmpty());

    // The purchases of the same client are other figures.
    dialog.TradeButton(0)->click();
    SetSpan(dialog, 2009, 2, 2009, 3);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"2009年2月"_s, u"0.00"_s},
                                                {u"2009年3月"_s, u"1500.00"_s}}));
    ExpectTable(u"甲公司 各月采购签单金额对比表"_s, {u"月份"_s, u"金额"_s});
}

TEST_P(StatDlgTest, ATableOfNoFiguresOrOnlyZerosShowsNoDataInsteadOfAChart)
{
    auto& dialog = Open();
    m_window.show();
    dialog.TradeButton(1)->click();
    // 丙公司 has no trade at all: its months are listed with 0.00, the chart has nothing to draw.
    dialog.ClientList()->setCurrentIndex(dialog.ClientList()->findText(u"丙公司"_s));
    SetSpan(dialog, 2009, 1, 2009, 3);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(Rows().size(), 3u);
    ExpectTable(u"丙公司 各月销售签单金额对比表"_s, {u"月份"_s, u"金额"_s});
    EXPECT_TRUE(SaysNoData());
    EXPECT_TRUE(m_chart->chart()->axes().isEmpty());
    EXPECT_TRUE(m_chart->chart()->series().isEmpty());

    // A table with figures has its bars and axes, and no such word.
    dialog.ClientList()->setCurrentIndex(dialog.ClientList()->findText(u"甲公司"_s));
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(DrawnBars(), (QList<qreal>{25, 10, 7}));
    EXPECT_EQ(m_chart->chart()->axes().size(), 2);
    EXPECT_FALSE(SaysNoData());

    // A table without rows.
    SetSpan(dialog, 2009, 3, 2009, 1);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(SaysNoData());
    EXPECT_TRUE(m_chart->chart()->axes().isEmpty());
}

TEST_P(StatDlgTest, ByPaymentDateAnOrderCountsWhenPaidAndAnUnpaidOrderNowhere)
{
    auto& dialog = Open();
    dialog.ClientList()->setCurrentIndex(dialog.ClientList()->findText(u"甲公司"_s));
    SetSpan(dialog, 2009, 3, 2009, 4);
    dialog.BasisButton(1)->click();
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"2009年3月"_s, u"0.00"_s},
                                                {u"2009年4月"_s, u"500.00"_s}}));
    ExpectTable(u"甲公司 各月采购到帐金额对比表"_s, {u"月份"_s, u"金额"_s});

    // Every client in April by payment date: 丁公司 is paid too, but is no client of the list.
    SetMonth(dialog, 2009, 4);
    QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(),
              (std::vector<QStringList>{
                  {u"丙公司"_s, u"0.00"_s}, {u"甲公司"_s, u"500.00"_s}, {u"乙公司"_s, u"0.00"_s}}));
    ExpectTable(u"2009年4月 各个客户采购到帐金额对比表"_s, {u"客户名称"_s, u"金额"_s});

    // By order date the same orders count in March, with their whole 金额, paid or not.
    dialog.BasisButton(0)->click();
    SetMonth(dialog, 2009, 3);
    QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"丙公司"_s, u"0.00"_s},
                                                {u"甲公司"_s, u"1500.00"_s},
                                                {u"乙公司"_s, u"40.50"_s}}));
    ExpectTable(u"2009年3月 各个客户采购签单金额对比表"_s, {u"客户名称"_s, u"金额"_s});
    EXPECT_EQ(m_main->List().ColumnAt(0).width, 300);
    EXPECT_EQ(m_chart->Figures().labels, (QStringList{u"丙公司"_s, u"甲公司"_s, u"乙公司"_s}));
    EXPECT_EQ(DrawnBars(), (QList<qreal>{0, 1500, 40.5}));

    dialog.TradeButton(1)->click();
    SetMonth(dialog, 2008, 12);
    QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"丙公司"_s, u"0.00"_s},
                                                {u"甲公司"_s, u"50.00"_s},
                                                {u"乙公司"_s, u"1000.00"_s}}));
    ExpectTable(u"2008年12月 各个客户销售签单金额对比表"_s, {u"客户名称"_s, u"金额"_s});
}

TEST_P(StatDlgTest, MonthsOutsideTheCalendarAndYearsOutsideItsRangeAreRefused)
{
    auto& dialog = Open();
    const struct
    {
        QLineEdit* edit;
        QString text;
        QString message;
        QPushButton* button;
    } cases[] = {
        {dialog.FromMonth(), u"0"_s, u"月份必须在1到12之间！"_s, dialog.ClientButton()},
        {dialog.ToMonth(), u"13"_s, u"月份必须在1到12之间！"_s, dialog.ClientButton()},
        {dialog.FromYear(), u"1899"_s, u"年份必须在1900到9999之间！"_s, dialog.ClientButton()},
        {dialog.ToYear(), u"10000"_s, u"年份必须在1900到9999之间！"_s, dialog.ClientButton()},
        {dialog.Month(), u"-1"_s, u"月份必须在1到12之间！"_s, dialog.MonthButton()},
        {dialog.Year(), u"二〇〇九"_s, u"请输入一个整数。"_s, dialog.MonthButton()},
        {dialog.Year(), u""_s, u"请输入一个整数。"_s, dialog.MonthButton()},
    };
    for (const auto& refused : cases) {
        SetSpan(dialog, 2009, 1, 2009, 2);
        SetMonth(dialog, 2009, 1);
        Retype(refused.edit, refused.text);
        QTest::mouseClick(refused.button, Qt::LeftButton);
        EXPECT_EQ(m_messages.Texts(), QStringList{refused.message}) << refused.text.toStdString();
        m_messages.Clear();
        EXPECT_EQ(m_main->Category(), kNoCategory);
        EXPECT_EQ(m_main->List().GetColumnCount(), 0);
        EXPECT_EQ(m_doc.BottomViewKind(), BottomView::kList);
        EXPECT_TRUE(dialog.isVisible());
    }
    // A bad month in the other group stops nothing.
    SetSpan(dialog, 2009, 1, 2009, 1);
    Retype(dialog.Month(), u"13"_s);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(m_main->List().GetItemCount(), 1);
}

TEST_P(StatDlgTest, TheLastMonthOfYear9999IsCountedToItsLastSecond)
{
    m_file.Exec(
        u"INSERT INTO outputdata "_s + kOrderColumns +
        u"(8, '9999-12-31 23:59:59', '乙公司', 9), (9, '9999-11-30 00:00:00', '乙公司', 1)"_s);
    auto& dialog = Open();
    dialog.TradeButton(1)->click();
    SetMonth(dialog, 9999, 12);
    QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(),
              (std::vector<QStringList>{
                  {u"丙公司"_s, u"0.00"_s}, {u"甲公司"_s, u"0.00"_s}, {u"乙公司"_s, u"9.00"_s}}));
    dialog.ClientList()->setCurrentIndex(dialog.ClientList()->findText(u"乙公司"_s));
    SetSpan(dialog, 9999, 11, 9999, 12);
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"9999年11月"_s, u"1.00"_s},
                                                {u"9999年12月"_s, u"9.00"_s}}));
}

TEST_P(StatDlgTest, ClientNamesWithApostrophesAndTheMenuCommandKeepTheDialogOpen)
{
    m_file.Exec(u"INSERT INTO client (no, name) VALUES (4, 'O''Brien')"_s);
    m_file.Exec(u"INSERT INTO outputdata "_s + kOrderColumns +
                u"(10, '2009-01-02 00:00:00', 'O''Brien', 12)"_s);
    FeatureCommands commands;
    CAppContext app;
    RegisterTradeCommands(CFeatureContext{app, m_doc, commands, &m_window});
    ModalDriver<CStatDlg> driver([this](CStatDlg& dialog) {
        dialog.TradeButton(1)->click();
        dialog.ClientList()->setCurrentIndex(dialog.ClientList()->findText(u"O'Brien"_s));
        SetSpan(dialog, 2009, 1, 2009, 1);
        QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
        EXPECT_EQ(Rows(), (std::vector<QStringList>{{u"2009年1月"_s, u"12.00"_s}}));
        EXPECT_EQ(m_main->Caption(), u"O'Brien 各月销售签单金额对比表"_s);
        SetMonth(dialog, 2009, 1);
        QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
        EXPECT_EQ(m_main->List().GetItemCount(), 4);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(m_messages.Texts().isEmpty());
        Click(dialog, u"IDCANCEL"_s);
        EXPECT_FALSE(dialog.isVisible());
    });
    commands.Run(ID_QUERY_STAT);
    EXPECT_TRUE(driver.Opened());
    EXPECT_TRUE(commands.HasHandler(ID_QUERY_FIND));
}

TEST_P(StatDlgTest, AnyOtherListReplacingTheTableTakesBackTheLowerPane)
{
    auto& dialog = Open();
    SetMonth(dialog, 2009, 3);
    QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
    ASSERT_EQ(m_doc.BottomViewKind(), BottomView::kChart);
    // Another table keeps the chart, with the new figures.
    dialog.TradeButton(1)->click();
    QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(m_doc.BottomViewKind(), BottomView::kChart);
    EXPECT_EQ(m_chart->Figures().title, u"2009年3月 各个客户销售签单金额对比表"_s);

    // A filler that only sets its category is enough.
    m_main->SetCategory(CustomerCategory::kClients);
    EXPECT_EQ(m_doc.BottomViewKind(), BottomView::kList);
    QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(m_doc.BottomViewKind(), BottomView::kChart);
    m_main->SetCategory(ScheduleCategory::kNotes);
    EXPECT_EQ(m_doc.BottomViewKind(), BottomView::kList);
}

TEST(StatFigures, LongListsFoldIntoTheLargestClientsAndYears)
{
    // 35 clients: the 30 largest from the largest down, the other 5 as "其他".
    std::vector<CStatEntry> clients(35);
    for (int i = 0; i < 35; ++i) {
        clients[size_t(i)].m_strClient = u"客户%1"_s.arg(i);
        clients[size_t(i)].m_dSum = i % 6 == 0 ? 1.0 : 100.0 + i; // 0, 6, ..., 30 are small
    }
    const StatChartFigures folded = ClientChartFigures(u"表"_s, clients);
    ASSERT_EQ(folded.labels.size(), 31);
    EXPECT_EQ(folded.labels.first(), u"客户34"_s);
    EXPECT_EQ(folded.values.front(), 134.0);
    EXPECT_EQ(folded.labels.value(28), u"客户1"_s);
    EXPECT_EQ(folded.labels.value(29), u"客户0"_s); // of the six 1.0s, the first in the table
    EXPECT_EQ(folded.values[29], 1.0);
    EXPECT_EQ(folded.labels.last(), u"其他"_s);
    EXPECT_EQ(folded.values.back(), 5.0); // 客户6, 12, 18, 24, 30
    EXPECT_TRUE(folded.categoryTitle.contains(u"其他"_s));

    // Up to 30 clients, the table as it is.
    clients.resize(3);
    const StatChartFigures few = ClientChartFigures(u"表"_s, clients);
    EXPECT_EQ(few.labels, (QStringList{u"客户0"_s, u"客户1"_s, u"客户2"_s}));
    EXPECT_EQ(few.values, (std::vector<double>{1.0, 101.0, 102.0}));

    // 2008-11 to 2011-12 (38 months): one bar a year.
    std::vector<CStatEntry> months = MonthEntries(2008, 11, 2011, 12);
    ASSERT_EQ(months.size(), 38u);
    for (CStatEntry& month : months)
        month.m_dSum = month.m_nMonth;
    const StatChartFigures years = MonthChartFigures(u"表"_s, months);
    EXPECT_EQ(years.labels, (QStringList{u"2008年"_s, u"2009年"_s, u"2010年"_s, u"2011年"_s}));
    EXPECT_EQ(years.values, (std::vector<double>{23.0, 78.0, 78.0, 78.0}));

    // 36 months stay months; 1900 to 9999 keeps the last 100 years and sums the rest.
    months = MonthEntries(2009, 1, 2011, 12);
    EXPECT_EQ(MonthChartFigures(u"表"_s, months).labels.size(), 36);
    months = MonthEntries(1900, 1, 9999, 12);
    for (CStatEntry& month : months)
        month.m_dSum = 1.0;
    const StatChartFigures centuries = MonthChartFigures(u"表"_s, months);
    ASSERT_EQ(centuries.labels.size(), 101);
    EXPECT_EQ(centuries.labels.first(), u"更早"_s);
    EXPECT_EQ(centuries.values.front(), 12.0 * (9900 - 1900));
    EXPECT_EQ(centuries.labels.value(1), u"9900年"_s);
    EXPECT_EQ(centuries.values.back(), 12.0);
}

INSTANTIATE_TEST_SUITE_P(, StatDlgTest, EachBackend(), BackendName);

} // namespace
