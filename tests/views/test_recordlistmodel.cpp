#include "data/formats.h"
#include "kit/recordlistmodel.h"
#include "views/totalsrow.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QAbstractItemModelTester>
#include <QCoreApplication>
#include <QHeaderView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(RecordListModel, PassesTheModelTesterThroughEveryChange)
{
    CRecordListModel list;
    QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
    list.InsertColumn(0, u"日期"_s);
    list.InsertColumn(5, u"金额"_s, Qt::AlignRight, 80); // beyond the end: appended
    list.InsertColumn(1, u"数量"_s, Qt::AlignRight, 80);
    list.InsertColumn(-1, QString(), Qt::AlignLeft, 0);
    ASSERT_EQ(list.GetColumnCount(), 4);
    EXPECT_EQ(list.ColumnAt(1).title, u"数量"_s);
    EXPECT_EQ(list.ColumnAt(2).title, u"金额"_s);

    list.AppendRow({u"2024-3-5"_s, u"1.00"_s, u"10.50"_s, u"20"_s});
    CListRows rows;
    for (int i = 0; i < 50; ++i)
        rows.AddTexts({u"2024-3-6"_s, u"2.00"_s, u"1.25"_s, QString::number(100 + i)}, 0);
    list.AppendRows(std::move(rows));
    EXPECT_EQ(list.InsertItem(1, u"插入"_s, 1), 1);
    EXPECT_TRUE(list.SetItemText(1, 6, u"column beyond the layout"_s));
    EXPECT_TRUE(list.SetItemText(1, 2, u"3"_s));
    EXPECT_TRUE(list.SetItemImage(2, 2));
    EXPECT_FALSE(list.SetItemText(52, 0, u"x"_s));
    EXPECT_EQ(list.GetItemCount(), 52);
    EXPECT_EQ(list.GetItemText(1, 6), u"column beyond the layout"_s);
    EXPECT_EQ(list.GetItemText(99, 0), QString());

    int number = 0;
    EXPECT_TRUE(list.RecordNumber(0, number));
    EXPECT_EQ(number, 20);
    EXPECT_FALSE(list.RecordNumber(1, number)); // its number column is empty
    EXPECT_DOUBLE_EQ(list.SumColumn(2, 3), 10.5 + 3 + 1.25);
    // Shown numbers are read back by their leading number, with a decimal point always.
    EXPECT_DOUBLE_EQ(ParseAmount(u"12.5元"_s), 12.5);
    EXPECT_DOUBLE_EQ(ParseAmount(u" +7.25 "_s), 7.25);
    EXPECT_DOUBLE_EQ(ParseAmount(u"-1234.50"_s), -1234.5);
    EXPECT_DOUBLE_EQ(ParseAmount(u"合计"_s), 0.0);
    EXPECT_DOUBLE_EQ(ParseAmount(QString()), 0.0);
    // Amounts are shown as C's "%.02lf" rounds the stored binary value.
    EXPECT_EQ(FormatAmount(2.675), u"2.67"_s); // 2.67499999...
    EXPECT_EQ(FormatAmount(0.125), u"0.12"_s); // exactly half: to even
    EXPECT_EQ(FormatAmount(12.345), u"12.35"_s);
    EXPECT_EQ(FormatAmount(-0.001), u"-0.00"_s);
    EXPECT_EQ(FormatAmount(1e20), u"100000000000000000000.00"_s);
    EXPECT_EQ(FormatPercent(89.975), u"89.97%"_s);
    EXPECT_EQ(FormatDate(QDate(2009, 1, 1)), u"2009-1-1"_s);

    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_FALSE(list.DeleteItem(51));
    list.DeleteAllItems();
    EXPECT_EQ(list.GetItemCount(), 0);
    list.AppendRow({u"a"_s});
    list.DeleteAllColumns();
    EXPECT_EQ(list.columnCount(), 0);
    list.InsertColumn(0, u"名称"_s);
    list.Clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.columnCount(), 0);
}

// Values kept as read show in their formats, and a column totals what it shows.
TEST(RecordListModel, KeptValuesShowInTheirColumnsFormatAndTotalAsShown)
{
    CRecordListModel list;
    for (const QString& title :
         {u"名称"_s, u"金额"_s, u"百分比"_s, u"日期"_s, u"结清"_s, u"是否"_s})
        list.InsertColumn(-1, title);
    list.InsertColumn(-1, QString(), Qt::AlignLeft, 0);
    CListRows rows;
    CStoredValues& values = rows.values;
    for (int row = 0; row < 3; ++row) {
        rows.Add(1);
        values.SetInteger(row, 6, 7 + row);
        values.SetFormat(row, 1, CellFormat::Amount);
        values.SetFormat(row, 2, CellFormat::Percent);
        values.SetFormat(row, 3, CellFormat::Date);
        values.SetFormat(row, 4, CellFormat::Settled);
    }
    values.SetUtf8(0, 0, QByteArrayView("甲"));
    values.SetShown(1, 0, u"乙"_s);
    values.SetReal(0, 1, 0.125);
    values.SetReal(1, 1, 1.005); // a little below 1.005 as a double
    values.SetReal(2, 1, 2.5);
    values.SetReal(0, 2, 12.5);
    values.SetDateTime(0, 3, QDate(2024, 3, 5), QTime(9, 7));
    values.SetYesNo(0, 4, true);
    values.SetInteger(1, 4, 0);
    values.SetYesNo(0, 5, true);
    values.SetYesNo(1, 5, false);
    list.AppendRows(std::move(rows));
    list.AppendRow({u"合计"_s});

    EXPECT_EQ(list.GetItemText(0, 0), u"甲"_s);
    EXPECT_EQ(list.GetItemText(1, 0), u"乙"_s);
    EXPECT_EQ(list.GetItemText(2, 0), QString());
    EXPECT_EQ(list.GetItemText(0, 1), u"0.12"_s);
    EXPECT_EQ(list.GetItemText(1, 1), u"1.00"_s);
    EXPECT_EQ(list.GetItemText(2, 1), u"2.50"_s);
    EXPECT_EQ(list.GetItemText(0, 2), u"12.50%"_s);
    EXPECT_EQ(list.GetItemText(1, 2), u"0.00%"_s); // NULL reads as 0 where a number is shown
    EXPECT_EQ(list.GetItemText(0, 3), u"2024-3-5"_s);
    EXPECT_EQ(list.GetItemText(1, 3), QString());
    EXPECT_EQ(list.GetItemText(0, 4), u"已结清"_s);
    EXPECT_EQ(list.GetItemText(1, 4), u"未完成"_s);
    EXPECT_EQ(list.GetItemText(0, 5), u"T"_s);
    EXPECT_EQ(list.GetItemText(1, 5), u"F"_s);
    // A row of texts shows nothing where nothing was written, not "0.00".
    EXPECT_EQ(list.GetItemText(3, 0), u"合计"_s);
    EXPECT_EQ(list.GetItemText(3, 1), QString());
    EXPECT_EQ(list.data(list.index(0, 1)).toString(), u"0.12"_s);

    EXPECT_DOUBLE_EQ(list.SumColumn(1, 3), 3.62);
    EXPECT_TRUE(list.SetItemText(1, 1, u"10.00"_s));
    EXPECT_EQ(list.GetItemText(1, 1), u"10.00"_s);
    EXPECT_DOUBLE_EQ(list.SumColumn(1, 3), 12.62);
    int number = 0;
    ASSERT_TRUE(list.RecordNumber(2, number));
    EXPECT_EQ(number, 9);
    EXPECT_FALSE(list.RecordNumber(3, number));
    EXPECT_TRUE(list.DeleteItem(0));
    ASSERT_TRUE(list.RecordNumber(0, number));
    EXPECT_EQ(number, 8);
    EXPECT_EQ(list.GetItemText(0, 0), u"乙"_s);
}

TEST(RecordListModel, ShowsAlignmentIconsAndHidesTheNumberColumn)
{
    CVantrelDoc doc;
    CVantrelView view(doc);
    CRecordListModel& list = view.List();
    list.InsertColumn(0, u"日期"_s, Qt::AlignRight, 110);
    list.InsertColumn(1, u"金额"_s, Qt::AlignRight, 80);
    list.InsertColumn(2, QString(), Qt::AlignLeft, 0);
    list.AppendRow({u"2024-3-5"_s, u"10.00"_s, u"1"_s}, 1);
    list.AppendRow({u"合计"_s, u"10.00"_s});

    EXPECT_EQ(view.columnWidth(0), 110);
    EXPECT_EQ(view.columnWidth(1), 80);
    EXPECT_TRUE(view.isColumnHidden(2));
    EXPECT_FALSE(view.isColumnHidden(1));
    EXPECT_TRUE(view.horizontalHeader()->sectionsMovable());
    EXPECT_TRUE(view.showGrid());
    EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);

    // The first column reads from the left whatever its format says.
    EXPECT_EQ(list.data(list.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    EXPECT_EQ(list.data(list.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_FALSE(list.data(list.index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(list.data(list.index(1, 0), Qt::DecorationRole).isValid());
    EXPECT_FALSE(list.data(list.index(0, 1), Qt::DecorationRole).isValid());
    EXPECT_EQ(list.headerData(2, Qt::Horizontal).toString(), QString());
    EXPECT_TRUE(HasTotalsRow(list));

    // Emptying the rows leaves the columns as the user arranged them.
    view.setColumnWidth(1, 150);
    view.horizontalHeader()->moveSection(1, 0);
    list.DeleteAllItems();
    EXPECT_EQ(view.columnWidth(1), 150);
    EXPECT_EQ(view.horizontalHeader()->visualIndex(1), 0);

    // A layout rebuilt after a reset keeps the rule.
    list.Clear();
    list.InsertColumn(0, u"名称"_s, Qt::AlignLeft, 200);
    list.InsertColumn(1, QString(), Qt::AlignLeft, 0);
    EXPECT_TRUE(view.isColumnHidden(1));
    EXPECT_FALSE(view.isColumnHidden(0));
    EXPECT_EQ(view.columnWidth(0), 200);
    EXPECT_FALSE(HasTotalsRow(list));
}

TEST(RecordListModel, HoldsAHundredThousandRowsAndScrollsThroughThem)
{
    CVantrelDoc doc;
    CVantrelView view(doc);
    view.resize(800, 400);
    view.show();
    CRecordListModel& list = view.List();
    for (int column = 0; column < 17; ++column)
        list.InsertColumn(column, u"列%1"_s.arg(column));
    list.InsertColumn(17, QString(), Qt::AlignLeft, 0);
    // Rows share their texts, so the test spends its time in the list, not in making strings.
    const QStringList texts = QStringList(17, u"文字"_s) << u"1"_s;
    CListRows rows;
    for (int row = 0; row < 100000; ++row)
        rows.AddTexts(texts, 1);
    list.AppendRows(std::move(rows));
    ASSERT_EQ(list.rowCount(), 100000);
    view.scrollToBottom();
    QCoreApplication::processEvents();
    EXPECT_EQ(view.rowAt(view.viewport()->height() - 2) >= 99990, true);
    int number = 0;
    list.SetItemText(99999, 17, u"100000"_s);
    ASSERT_TRUE(list.RecordNumber(99999, number));
    EXPECT_EQ(number, 100000);
    // Texts taken from a long list outlive the list's rows, which go in the background; the
    // list fills and empties again at once.
    const QString kept = list.GetItemText(99999, 17);
    list.DeleteAllItems();
    EXPECT_EQ(view.model()->rowCount(), 0);
    for (int round = 0; round < 3; ++round) {
        CListRows again;
        for (int row = 0; row < 20000; ++row)
            again.AddTexts({u"行%1"_s.arg(row)}, 1);
        list.AppendRows(std::move(again));
        EXPECT_EQ(list.GetItemText(19999, 0), u"行19999"_s);
        list.Clear();
        EXPECT_EQ(list.rowCount(), 0);
    }
    EXPECT_EQ(kept, u"100000"_s);
}
