#include "data/formats.h"
#include "support/recordviews.h"
#include "trade/orderlist.h"
#include "trade/tradetwin.h"

#include <cstring>

namespace {

class OrderListTest : public RecordViewsTest
{
protected:
    QStringList Row(int row) const { return RowTexts(m_main->List(), row); }
    int Rows() const { return m_main->List().GetItemCount(); }
};

TEST_P(OrderListTest, ListsOrdersWithPaidAmountsAndTotals)
{
    m_file.Exec(u"INSERT INTO outputdata (no, date, paper, item, client, linkman, sum, number, "
                "goods, unit, warehouse, principal, square, detail, remark) VALUES "
                "(1, '2024-03-05 00:00:00', 'S-1', '项目', '甲公司', '张三', 200, 3, '钢材', "
                "'吨', '一号库', '王', 1, '详情', '备注'), "
                "(2, '2024-03-09 00:00:00', 'S-2', NULL, NULL, NULL, 0, 0, NULL, NULL, NULL, "
                "NULL, 0, NULL, NULL), "
                "(3, '2024-03-01 00:00:00', 'S-3', NULL, NULL, NULL, 50, 1.5, NULL, NULL, NULL, "
                "NULL, 0, NULL, NULL)"_s);
    m_file.Exec(u"INSERT INTO outputdetail (no, paper, date, number, sum) VALUES "
                "(1, 1, '2024-03-06 00:00:00', 1, 49.5), (2, 1, '2024-03-07 00:00:00', 1, 0.5), "
                "(3, 2, '2024-03-10 00:00:00', 1, 30)"_s);
    // A purchase payment naming order 3 belongs to another trade.
    m_file.Exec(u"INSERT INTO inputdetail (no, paper, sum) VALUES (1, 3, 999)"_s);

    const QString sql = u"SELECT * FROM outputdata ORDER BY date DESC"_s;
    ShowOrderList(m_doc, kSaleTwin, sql);

    EXPECT_EQ(m_main->Category(), 2);
    EXPECT_EQ(m_main->CurrentQuery(), sql);
    EXPECT_EQ(m_doc.InfoText(), u"销售"_s);
    const QStringList titles = ColumnTitles(m_main->List());
    ASSERT_EQ(titles.size(), 18);
    EXPECT_EQ(titles[4], u"客户"_s);
    EXPECT_EQ(titles[7], u"回笼金额"_s);
    EXPECT_EQ(titles[8], u"回笼百分比"_s);
    EXPECT_EQ(titles[15], u"销售详情"_s);
    EXPECT_EQ(m_main->List().ColumnAt(17).width, 0);
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(Row(0), (QStringList{u"2024-3-9"_s,
                                   u"S-2"_s,
                                   {},
                                   {},
                                   {},
                                   {},
                                   u"0.00"_s,
                                   u"30.00"_s,
                                   u"0.00%"_s,
                                   {},
                                   {},
                                   u"0.00"_s,
                                   {},
                                   {},
                                   u"未完成"_s,
                                   {},
                                   {},
                                   u"2"_s}));
    EXPECT_EQ(Row(1), (QStringList{u"2024-3-5"_s,
                                   u"S-1"_s,
                                   u"项目"_s,
                                   {},
                                   u"甲公司"_s,
                                   u"张三"_s,
                                   u"200.00"_s,
                                   u"50.00"_s,
                                   u"25.00%"_s,
                                   u"钢材"_s,
                                   u"吨"_s,
                                   u"3.00"_s,
                                   u"一号库"_s,
                                   u"王"_s,
                                   u"已结清"_s,
                                   u"详情"_s,
                                   u"备注"_s,
                                   u"1"_s}));
    // No payments: nothing paid.
    EXPECT_EQ(Row(2)[7], u"0.00"_s);
    EXPECT_EQ(Row(2)[8], u"0.00%"_s);
    EXPECT_EQ(m_main->List().GetItemImage(0), 2);
    EXPECT_EQ(m_main->List().GetItemImage(1), 1);
    const QStringList totals = Row(3);
    EXPECT_EQ(totals[0], u"合计"_s);
    EXPECT_EQ(totals[6], u"250.00"_s);
    EXPECT_EQ(totals[7], u"80.00"_s);
    EXPECT_EQ(totals[8], u"32.00%"_s);
    EXPECT_EQ(totals[11], u"4.50"_s);
    EXPECT_EQ(totals[17], QString());
    // The lower list waits for the payments of a clicked order.
    ASSERT_NE(Lower(), nullptr);
    EXPECT_EQ(ColumnTitles(Lower()->List()),
              (QStringList{u"日期"_s, u"数量"_s, u"金额"_s, u"经手人"_s, u"审批人"_s, u"交易详情"_s,
                           u"备注"_s, QString()}));

    // A statement that does not run leaves the totals row alone, and no query to re-run.
    ShowOrderList(m_doc, kPurchaseTwin, u"SELECT * FROM nosuchtable"_s);
    EXPECT_EQ(m_main->Category(), 1);
    EXPECT_EQ(m_main->CurrentQuery(), QString());
    EXPECT_EQ(ColumnTitles(m_main->List())[4], u"供应商"_s);
    ASSERT_EQ(Rows(), 1);
    EXPECT_EQ(Row(0)[0], u"合计"_s);
    EXPECT_EQ(Row(0)[6], u"0.00"_s);
    EXPECT_EQ(Row(0)[7], u"0.00"_s);
    EXPECT_EQ(Row(0)[8], u"0.00%"_s);
}

// A long list reads the payment table once instead of once per order: the sums must be those
// the per-order statements give, to the last bit.
TEST_P(OrderListTest, OneReadOfThePaymentsGivesTheSumsOfOneStatementPerOrder)
{
    constexpr int kOrders = 450;
    QString orders;
    QString payments;
    int payment = 0;
    for (int order = 1; order <= kOrders; ++order) {
        orders += u"%1(%2, 'P%2', %3)"_s.arg(order == 1 ? u""_s : u", "_s).arg(order).arg(order);
        // Payments of awkward binary fractions, interleaved across orders in table order.
        for (int k = 0; k < order % 5; ++k) {
            const int owner = (order * 7 + k * 13) % kOrders + 1;
            const QString separator = payment == 0 ? u""_s : u", "_s;
            ++payment;
            payments += u"%1(%2, %3, %4)"_s.arg(separator).arg(payment).arg(owner).arg(
                0.1 * (k + 1) + 1e-7 * order, 0, 'g', 17);
        }
    }
    m_file.Exec(u"INSERT INTO inputdata (no, paper, sum) VALUES "_s + orders);
    m_file.Exec(u"INSERT INTO inputdetail (no, paper, sum) VALUES "_s + payments);

    std::vector<int> all;
    for (int order = kOrders; order >= 1; --order)
        all.push_back(order);
    const std::vector<double> once = PaidAmounts(m_db.get(), kPurchaseTwin, all);
    ASSERT_EQ(once.size(), all.size());
    int paidOrders = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const std::vector<double> single = PaidAmounts(m_db.get(), kPurchaseTwin, {all[i]});
        ASSERT_EQ(single.size(), 1u);
        EXPECT_EQ(std::memcmp(&single[0], &once[i], sizeof(double)), 0) << "order " << all[i];
        paidOrders += once[i] != 0.0;
    }
    EXPECT_GT(paidOrders, kOrders / 2);
}

INSTANTIATE_TEST_SUITE_P(, OrderListTest, EachBackend(), BackendName);

} // namespace
