#include "customers/customerlayouts.h"
#include "kit/columnwidths.h"
#include "kit/recordlistmodel.h"
#include "support/recordviews.h"
#include "support/tempdata.h"
#include "trade/tradelayouts.h"
#include "views/listlayout.h"

#include <QDate>
#include <QDateTime>
#include <QHeaderView>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList RowTexts(const CRecordListModel& list, int row)
{
    QStringList texts;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        texts << list.GetItemText(row, column);
    return texts;
}

// Payments show their day, both amounts with two decimals whatever the value, and the texts.
TEST(ListLayout, PaymentRowsReadFromTheFileAndFromValuesAlike)
{
    TempDataFile file;
    auto db = file.Open();
    file.Exec(u"INSERT INTO inputdetail (no, paper, date, number, sum, person, taster, detail, "
              "remark) VALUES (7, 1, '2024-03-05 00:00:00', 3, 1234.5, '王', '李', "
              "'Lee''s', NULL)"_s);
    CRecordListModel list;
    SetLayoutColumns(list, ListLayouts::kPayments);
    ASSERT_EQ(list.GetColumnCount(), 8);
    EXPECT_EQ(list.ColumnAt(1).title, u"数量"_s);
    EXPECT_EQ(list.ColumnAt(1).alignment, Qt::AlignRight);
    EXPECT_EQ(list.ColumnAt(7).width, 0);

    ASSERT_TRUE(
        AppendLayoutRows(list, ListLayouts::kPayments, db.get(), u"SELECT * FROM inputdetail"_s));
    const QStringList expected = {u"2024-3-5"_s, u"3.00"_s,  u"1234.50"_s, u"王"_s,
                                  u"李"_s,       u"Lee's"_s, QString(),    u"7"_s};
    EXPECT_EQ(RowTexts(list, 0), expected);

    const QVariantMap values = {
        {u"date"_s, QDate(2024, 3, 5)}, {u"number"_s, 3.0},     {u"sum"_s, 1234.5},
        {u"person"_s, u"王"_s},         {u"taster"_s, u"李"_s}, {u"detail"_s, u"Lee's"_s}};
    EXPECT_EQ(LayoutRowTexts(ListLayouts::kPayments, values), expected.mid(0, 7));

    // A statement that does not run leaves the list as it was.
    EXPECT_FALSE(
        AppendLayoutRows(list, ListLayouts::kPayments, db.get(), u"SELECT * FROM nosuchtable"_s));
    EXPECT_EQ(list.GetItemCount(), 1);
}

TEST(ListLayout, CellsShowSexDatesAndEmptyDates)
{
    const ListColumn sex{u"性别", 50, "sex", CellFormat::Sex};
    EXPECT_EQ(CellText(sex, 0), u"男"_s);
    EXPECT_EQ(CellText(sex, 1), u"女"_s);
    const ListColumn day{u"生日", 110, "birthday", CellFormat::Date};
    EXPECT_EQ(CellText(day, QDateTime(QDate(1980, 5, 6), QTime(13, 4))), u"1980-5-6"_s);
    EXPECT_EQ(CellText(day, QDate()), QString());
    const ListColumn stamp{u"开始时间", 150, "time", CellFormat::DateTime};
    EXPECT_EQ(CellText(stamp, QDateTime(QDate(2024, 3, 5), QTime(9, 7, 0))), u"2024-3-5  9:7:0"_s);
}

// A contact's row names its client from outside the table, and the two "邮编" columns keep
// their own values when the row is rewritten.
TEST(ListLayout, RewriteKeepsRepeatedTitlesApartAndOnlyTouchesItsRecord)
{
    TempDataFile file;
    auto db = file.Open();
    file.Exec(u"INSERT INTO linkman (no, name, client, loczip, adrzip, sex) VALUES "
              "(4, '甲', 1, '100000', '200000', 1)"_s);
    CRecordListModel list;
    SetLayoutColumns(list, ListLayouts::kContacts);
    ASSERT_TRUE(AppendLayoutRows(list, ListLayouts::kContacts, db.get(), u"SELECT * FROM linkman"_s,
                                 {{u"client"_s, u"华东商贸"_s}}));
    EXPECT_EQ(list.GetItemText(0, 1), u"华东商贸"_s);
    EXPECT_EQ(list.GetItemText(0, 11), u"女"_s);
    EXPECT_EQ(list.GetItemText(0, 23), u"100000"_s);
    EXPECT_EQ(list.GetItemText(0, 25), u"200000"_s);

    QVariantMap values = {{u"name"_s, u"乙"_s},
                          {u"client"_s, u"Lee's [Co]"_s},
                          {u"loczip"_s, u"300000"_s},
                          {u"adrzip"_s, u"400000"_s},
                          {u"sex"_s, 0}};
    EXPECT_FALSE(RewriteLayoutRow(list, 0, 5, ListLayouts::kContacts, values));
    EXPECT_EQ(list.GetItemText(0, 0), u"甲"_s);
    EXPECT_FALSE(RewriteLayoutRow(list, 1, 4, ListLayouts::kContacts, values));
    ASSERT_TRUE(RewriteLayoutRow(list, 0, 4, ListLayouts::kContacts, values));
    EXPECT_EQ(list.GetItemText(0, 0), u"乙"_s);
    EXPECT_EQ(list.GetItemText(0, 1), u"Lee's [Co]"_s);
    EXPECT_EQ(list.GetItemText(0, 11), u"男"_s);
    EXPECT_EQ(list.GetItemText(0, 23), u"300000"_s);
    EXPECT_EQ(list.GetItemText(0, 25), u"400000"_s);
    EXPECT_EQ(list.GetItemText(0, 31), u"4"_s);
}

// A find lists clients with fewer columns: each column takes the value of its title.
TEST(ListLayout, RewriteOfAListWithOtherColumnsGoesByTitle)
{
    CRecordListModel list;
    list.InsertColumn(-1, u"编号"_s);
    list.InsertColumn(-1, u"名称"_s);
    list.InsertColumn(-1, u"无此列"_s);
    list.InsertColumn(-1, QString(), Qt::AlignLeft, 0);
    list.AppendRow({u"A1"_s, u"甲"_s, u"留"_s, u"9"_s});
    const QVariantMap values = {{u"name"_s, u"乙"_s}, {u"number"_s, u"B2"_s}};
    ASSERT_TRUE(RewriteLayoutRow(list, 0, 9, ListLayouts::kClients, values));
    EXPECT_EQ(RowTexts(list, 0), (QStringList{u"B2"_s, u"乙"_s, u"留"_s, u"9"_s}));
}

} // namespace

namespace {

class ListColumnWidthTest : public RecordViewsTest
{
protected:
    // Whether the column shows the text whole: the text and the cell's margins fit.
    bool ShowsWhole(int column, const QString& text) const
    {
        return m_main->columnWidth(column) >= m_main->fontMetrics().horizontalAdvance(text) + 6;
    }
};

// The address book lists a long office number, the lower list a payment whose title is wider
// than its layout gives; long texts stop at a sensible width, and only the first rows count.
TEST_P(ListColumnWidthTest, ColumnsShowTheirTitleAndLongestOfTheFirstRows)
{
    const QString office = u"0755-86668888-8001 转 23"_s;
    m_file.Exec(
        u"INSERT INTO address (no, [user], officephone, remark) VALUES "
        "(1, '张三', '%1', '短'), (2, '李四', '0755-1', '%2')"_s.arg(office, QString(300, u'长')));
    CRecordListModel& list = m_main->List();
    SetLayoutColumns(list, ListLayouts::kAddressBook);
    ASSERT_TRUE(AppendLayoutRows(list, ListLayouts::kAddressBook, m_db.get(),
                                 u"SELECT * FROM address ORDER BY no"_s));
    const int officeColumn = 6;
    ASSERT_EQ(list.ColumnAt(officeColumn).title, u"办公电话"_s);
    EXPECT_TRUE(ShowsWhole(officeColumn, office)) << m_main->columnWidth(officeColumn);
    int remarkColumn = -1;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        if (list.ColumnAt(column).title == u"备注"_s)
            remarkColumn = column;
    ASSERT_GE(remarkColumn, 0);
    EXPECT_EQ(m_main->columnWidth(remarkColumn), ColumnWidths::kMaximumWidth);
    // A column with short values keeps its layout's width; the number column stays hidden.
    EXPECT_EQ(m_main->columnWidth(0), ListLayouts::kAddressBook.columns[0].width);
    EXPECT_TRUE(m_main->isColumnHidden(list.GetColumnCount() - 1));

    // A modify that rewrites a row with a longer value widens its column.
    const QString longer = u"0755-86668888-8001 转 2345678"_s;
    list.SetItemText(1, officeColumn, longer);
    EXPECT_TRUE(ShowsWhole(officeColumn, longer));

    // A title wider than the layout's width; 100,000 rows of which only the first are measured.
    const QString title = u"付款人所在部门名称"_s;
    Fill(*m_main, {u"日期"_s, title, QString()}, {});
    CListRows rows;
    for (int row = 0; row < 100000; ++row)
        rows.AddTexts({row == ColumnWidths::kMeasuredRows ? QString(40, u'日') : u"2024-3-5"_s,
                       u"王"_s, u"1"_s},
                      CRecordListModel::kNoImage);
    list.AppendRows(std::move(rows));
    EXPECT_GE(m_main->columnWidth(1), m_main->fontMetrics().horizontalAdvance(title));
    EXPECT_EQ(m_main->columnWidth(0), 100);
}

INSTANTIATE_TEST_SUITE_P(, ListColumnWidthTest, EachBackend(), BackendName);

} // namespace
