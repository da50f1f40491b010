#include "customers/customerrecords.h"
#include "schedule/schedulerecords.h"
#include "support/recordviews.h"
#include "trade/traderecords.h"

#include <QDate>

namespace {

class LowerListTest : public RecordViewsTest
{
protected:
    LowerListTest()
    {
        RecordDialogRequests();
        m_file.Exec(u"INSERT INTO client (no, name) VALUES (1, '甲公司'), (2, '乙公司')"_s);
        m_file.Exec(u"INSERT INTO linkman (no, client, name, sex, birthday, qq) VALUES "
                    "(10, 1, '张三', 1, '1980-05-06 00:00:00', '12345'), "
                    "(11, 9, '孤儿', 0, NULL, NULL)"_s);
        m_file.Exec(u"INSERT INTO outputdata (no, date, paper, sum) VALUES "
                    "(7, '2024-04-01 00:00:00', 'S-1', 80)"_s);
        m_file.Exec(u"INSERT INTO outputdetail (no, paper, date, number, sum, person) VALUES "
                    "(30, 7, '2024-04-02 00:00:00', 1, 12.25, '赵'), "
                    "(31, 7, '2024-04-03 00:00:00', 2, 20, '钱'), "
                    "(32, 99, '2024-04-04 00:00:00', 1, 5, '孙')"_s);
    }

    // Sales order 7, then the totals row; a click lists its receipts below.
    void ShowReceipts()
    {
        FillMain(TradeCategory::kSales, u"SELECT * FROM outputdata"_s,
                 {u"日期"_s, u"单号"_s, QString()},
                 {{u"2024-4-1"_s, u"S-1"_s, u"7"_s}, {u"合计"_s, QString(), QString()}});
        QStringList titles(7, u"列"_s);
        Fill(*Lower(), titles << QString(), {});
        LeftClick(*m_main, 0);
        ASSERT_EQ(Lower()->List().GetItemCount(), 3);
    }

    void ShowContacts()
    {
        FillMain(CustomerCategory::kClients, u"SELECT * FROM client"_s, {u"名称"_s, QString()},
                 {{u"甲公司"_s, u"1"_s}, {u"乙公司"_s, u"2"_s}});
        QStringList titles(31, u"列"_s);
        Fill(*Lower(), titles << QString(), {});
    }
};

INSTANTIATE_TEST_SUITE_P(, LowerListTest, EachBackend(), BackendName);

} // namespace

TEST_P(LowerListTest, AddPresetsTheClientOrOrderSelectedAbove)
{
    ShowContacts();
    Lower()->OnRecordAdd(); // no client selected: an empty name
    m_main->SelectRow(1);
    RightClick(*Lower(), -1, u"ID_RECORD_ADD"_s);
    ASSERT_EQ(m_requests.size(), 2u);
    EXPECT_EQ(m_requests[0].dialog, CustomerDialog::kContact);
    EXPECT_TRUE(m_requests[0].presetClient);
    EXPECT_EQ(m_requests[0].client, QString());
    EXPECT_EQ(m_requests[1].client, u"乙公司"_s);
    EXPECT_FALSE(m_requests[1].modify);

    m_requests.clear();
    ShowReceipts();
    m_main->SelectRow(0);
    Lower()->OnRecordAdd();
    m_main->SetCategory(TradeCategory::kPurchases);
    Lower()->OnRecordAdd();
    m_main->SetCategory(ScheduleCategory::kNotes);
    Lower()->OnRecordAdd();
    ASSERT_EQ(m_requests.size(), 2u);
    EXPECT_EQ(m_requests[0].dialog, TradeDialog::kSaleDetail);
    EXPECT_TRUE(m_requests[0].sale);
    EXPECT_TRUE(m_requests[0].preselect);
    EXPECT_EQ(m_requests[0].order, u"S-1"_s);
    EXPECT_EQ(m_requests[1].dialog, TradeDialog::kPurchaseDetail);
    EXPECT_FALSE(m_requests[1].sale);
}

TEST_P(LowerListTest, EditingAPaymentReadsItAndItsOrder)
{
    ShowReceipts();
    DoubleClick(*Lower(), 2); // the totals row
    EXPECT_TRUE(m_requests.empty());

    DoubleClick(*Lower(), 1);
    ASSERT_EQ(m_requests.size(), 1u);
    const CRecordRequest& receipt = m_requests[0];
    EXPECT_EQ(receipt.dialog, TradeDialog::kSaleDetail);
    EXPECT_TRUE(receipt.sale);
    EXPECT_TRUE(receipt.modify);
    EXPECT_EQ(receipt.no, 31);
    EXPECT_EQ(receipt.item, 1);
    EXPECT_EQ(receipt.order, u"S-1"_s);
    EXPECT_EQ(receipt.fields.value(u"paper"_s).toInt(), 7);
    EXPECT_EQ(receipt.fields.value(u"date"_s).toDate(), QDate(2024, 4, 3));
    EXPECT_DOUBLE_EQ(receipt.fields.value(u"sum"_s).toDouble(), 20.0);
    EXPECT_EQ(receipt.fields.value(u"person"_s).toString(), u"钱"_s);

    // The payment is gone, or the order it belongs to is.
    m_file.Exec(u"DELETE FROM outputdetail WHERE no = 30"_s);
    DoubleClick(*Lower(), 0);
    EXPECT_EQ(m_messages.LastText(), u"单号不存在！"_s);
    Lower()->List().SetItemText(0, 7, u"32"_s);
    DoubleClick(*Lower(), 0);
    EXPECT_EQ(m_messages.LastText(), u"未知单号！"_s);
    EXPECT_EQ(m_requests.size(), 1u);
}

TEST_P(LowerListTest, EditingAContactHandsOverItsClientName)
{
    ShowContacts();
    LeftClick(*m_main, 0);
    ASSERT_EQ(Lower()->List().GetItemCount(), 1);
    RightClick(*Lower(), 0, u"ID_RECORD_MODIFY"_s);
    ASSERT_EQ(m_requests.size(), 1u);
    const CRecordRequest& contact = m_requests[0];
    EXPECT_EQ(contact.dialog, CustomerDialog::kContact);
    EXPECT_EQ(contact.no, 10);
    EXPECT_EQ(contact.item, 0);
    EXPECT_EQ(contact.client, u"甲公司"_s);
    EXPECT_EQ(contact.fields.value(u"sex"_s).toInt(), 1);
    EXPECT_EQ(contact.fields.value(u"birthday"_s).toDate(), QDate(1980, 5, 6));
    EXPECT_EQ(contact.fields.value(u"qq"_s).toString(), u"12345"_s);
    EXPECT_EQ(contact.fields.value(u"client"_s).toInt(), 1);

    Lower()->List().SetItemText(0, 31, u"11"_s);
    DoubleClick(*Lower(), 0);
    ASSERT_EQ(m_requests.size(), 2u);
    EXPECT_EQ(m_requests[1].client, u"未知客户"_s);
    Lower()->List().SetItemText(0, 31, u"12"_s);
    DoubleClick(*Lower(), 0);
    EXPECT_EQ(m_messages.LastText(), u"联系人不存在！"_s);
    EXPECT_EQ(m_requests.size(), 2u);
}

TEST_P(LowerListTest, DeletingAPaymentRecountsItsTotalsRow)
{
    ShowReceipts();
    RightClick(*Lower(), 2, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"您确定要删除合计吗？"_s);
    EXPECT_EQ(m_file.QueryValue(u"SELECT count(*) FROM outputdetail"_s), u"3"_s);

    m_messages.AnswerNext(false);
    RightClick(*Lower(), 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"您确定要删除2024-4-2吗？"_s);
    EXPECT_EQ(Lower()->List().GetItemCount(), 3);

    RightClick(*Lower(), 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_file.QueryValue(u"SELECT count(*) FROM outputdetail WHERE no = 30"_s), u"0"_s);
    const CRecordListModel& receipts = Lower()->List();
    ASSERT_EQ(receipts.GetItemCount(), 2);
    EXPECT_EQ(receipts.GetItemText(0, 7), u"31"_s);
    EXPECT_EQ(RowTexts(receipts, 1).mid(0, 3), (QStringList{u"合计"_s, u"2.00"_s, u"20.00"_s}));
}

TEST_P(LowerListTest, ContactsAreDeletedWhicheverClientShowsThem)
{
    m_file.Exec(u"INSERT INTO linkman (no, client, name) VALUES (12, 2, '王五')"_s);
    ShowContacts();
    LeftClick(*m_main, 1);
    ASSERT_EQ(Lower()->List().GetItemCount(), 1);
    RightClick(*Lower(), 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"您确定要删除王五吗？"_s);
    EXPECT_EQ(
        m_file.QueryValue(
            u"SELECT group_concat(name) FROM (SELECT name FROM linkman ORDER BY no) AS ordered"_s),
        u"张三,孤儿"_s);
    EXPECT_EQ(Lower()->List().GetItemCount(), 0);
}
