#include "data/adorecordset.h"
#include "kit/appcontext.h"
#include "kit/autocompletelist.h"
#include "kit/commandids.h"
#include "kit/completionindex.h"
#include "support/controls.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/printers.h"
#include "support/recordviews.h"
#include "support/typing.h"
#include "trade/tradecommands.h"
#include "trade/tradequerydlg.h"
#include "trade/traderecords.h"
#include "views/featurecontext.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace {

const QString kDay = u"[date] >= #2024-3-5 0:0:0# AND [date] <= #2024-3-5 23:59:59#"_s;
const QString kDays = u"[date] >= #2024-3-4 0:0:0# AND [date] <= #2024-3-6 23:59:59#"_s;

// The orders of both trades, the same in each table: around 2024-03-05, with NULL in fields
// left empty, apostrophes in texts, and two orders of one day whose 单号 run against table
// order.
const QString kOrders =
    u"(no, date, paper, item, bargain, client, linkman, goods, number, sum, detail, principal, "
    "square) VALUES "
    "(1, '2024-03-05 00:00:00', 'P-01', '钢材项目', 'HT-1', '甲公司', '张三', '钢材', 10, 100, "
    "'50%折扣', '王', 0), "
    "(2, '2024-03-05 23:59:59', 'P-02', NULL, NULL, 'O''Brien', 'Tom', NULL, 5, 100, "
    "'O''Brien 的详情', NULL, 1), "
    "(3, '2024-03-06 00:00:00', 'P-03', NULL, NULL, '甲公司', '张三', NULL, 10, 50, NULL, NULL, "
    "0), "
    "(4, '2024-03-04 23:59:59', 'P-04', NULL, NULL, '甲公司', NULL, NULL, 7, 70, NULL, NULL, 1), "
    "(5, '2024-03-05 12:00:00', 'P-00', '项目乙', NULL, '乙公司', NULL, NULL, 20, 10, NULL, "
    "NULL, 1), "
    "(6, '2024-03-07 00:00:00', 'P-09', NULL, NULL, NULL, NULL, NULL, 0, 0, NULL, NULL, 0), "
    "(7, '2024-03-07 00:00:00', 'P-08', NULL, NULL, NULL, NULL, NULL, 0, 0, NULL, NULL, 0)"_s;

class TradeQueryDlgTest : public RecordViewsTest
{
protected:
    TradeQueryDlgTest()
    {
        m_file.Exec(u"INSERT INTO client (no, name) VALUES "
                    "(1, '甲公司'), (2, 'O''Brien'), (3, '乙公司')"_s);
        // Client 1's contacts in table order; sorted by pinyin they are 李四, 王五, 张三.
        m_file.Exec(u"INSERT INTO linkman (no, client, name, sex) VALUES "
                    "(10, 1, '张三', 1), (11, 1, '李四', 1), (12, 1, '王五', 0), "
                    "(13, 2, 'Tom', 1)"_s);
        m_file.Exec(u"INSERT INTO inputdata "_s + kOrders);
        m_file.Exec(u"INSERT INTO outputdata "_s + kOrders);
        m_file.Exec(u"INSERT INTO inputdetail (no, paper, sum) VALUES (1, 1, 25)"_s);
    }

    template <typename Dialog> Dialog& Open()
    {
        auto dialog = std::make_unique<Dialog>(m_doc, m_app.Clock());
        Dialog& opened = *dialog;
        m_dialog = std::move(dialog);
        opened.show();
        return opened;
    }

    // Both pickers on a day, the time of day they opened with kept.
    static void SetDays(CTradeQueryDlg& dialog, const QDate& start, const QDate& end)
    {
        dialog.StartPicker()->setDate(start);
        dialog.EndPicker()->setDate(end);
    }

    static void Press(CTradeQueryDlg& dialog, CTradeQueryDlg::Group group)
    {
        QTest::mouseClick(dialog.QueryButton(group), Qt::LeftButton);
    }

    // The 单号 of the listed orders; the last row must be the totals row.
    QStringList Papers() const
    {
        const CRecordListModel& list = m_main->List();
        const int rows = list.GetItemCount();
        EXPECT_GE(rows, 1);
        if (rows < 1)
            return {};
        EXPECT_EQ(list.GetItemText(rows - 1, 0), u"合计"_s);
        QStringList papers;
        for (int row = 0; row < rows - 1; ++row)
            papers << list.GetItemText(row, 1);
        return papers;
    }

    // The query ran: it is the list's current query and opens without an error.
    void ExpectRan(const QString& sql) const
    {
        EXPECT_EQ(m_main->CurrentQuery(), sql);
        CADORecordset recordset(m_db.get());
        EXPECT_TRUE(recordset.Open(sql)) << recordset.GetLastError().toStdString();
        EXPECT_TRUE(recordset.GetLastError().isEmpty());
        EXPECT_FALSE(m_dialog->isVisible());
        EXPECT_EQ(m_dialog->result(), QDialog::Accepted);
    }

    // The query was refused: the dialog stays open and the lists are as they were.
    void ExpectRefused(const QString& message)
    {
        EXPECT_EQ(m_messages.Texts(), QStringList{message});
        m_messages.Clear();
        EXPECT_TRUE(m_dialog->isVisible());
        EXPECT_EQ(m_main->Category(), kNoCategory);
        EXPECT_EQ(m_main->CurrentQuery(), QString());
        EXPECT_EQ(m_main->List().GetColumnCount(), 0);
    }

    CAppContext m_app;
    std::unique_ptr<CTradeQueryDlg> m_dialog;
};

TEST_P(TradeQueryDlgTest, PurchaseQueryOpensWithItsControlsAndHelp)
{
    const FixedClock clock(m_app, QDateTime(QDate(2025, 12, 31), QTime(23, 59, 58)));
    auto& dialog = Open<CPurchaseQueryDlg>();
    EXPECT_EQ(dialog.windowTitle(), u"采购查询"_s);
    EXPECT_EQ(
        dialog.HelpText(),
        u"    注意：在进行各种查询前，请先选择日期范围，它将作用于所有查询中。比如按数量查询实"
        "质是在一定时间范围内的按数量查询...\n    综合查询是根据日期、特殊关键字、客户及联系人"
        "四项来进行综合查询的，可以查询四项同时满足的记录。"_s);
    for (QDateTimeEdit* picker : {dialog.StartPicker(), dialog.EndPicker()})
        EXPECT_EQ(picker->dateTime(), clock.Now());

    EXPECT_EQ(Items(dialog.RangeField()), (QStringList{u"数量"_s, u"金额"_s}));
    EXPECT_EQ(dialog.RangeField()->currentIndex(), 0);
    EXPECT_EQ(dialog.FirstValue()->text(), u"0"_s);
    EXPECT_EQ(dialog.SecondValue()->text(), u"0"_s);
    for (const QLineEdit* value : {dialog.FirstValue(), dialog.SecondValue()})
        EXPECT_EQ(value->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(
        Items(dialog.KeywordField()),
        (QStringList{u"单号"_s, u"项目"_s, u"合同"_s, u"货品名称"_s, u"采购详情"_s, u"责任人"_s}));
    EXPECT_EQ(dialog.KeywordField()->currentIndex(), 0);
    EXPECT_TRUE(dialog.KeywordEdit()->text().isEmpty());
    EXPECT_TRUE(dialog.UnsettledButton()->isChecked());
    EXPECT_EQ(dialog.UnsettledButton()->text(), u"未结清"_s);
    EXPECT_EQ(dialog.SettledButton()->text(), u"已经结清"_s);

    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, (QStringList{u"按日期查询"_s, u"按数量、金额查询"_s, u"按特殊关键字"_s,
                                   u"按客户、联系人查询"_s, u"是否已结帐"_s}));
    QStringList buttons;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        buttons << button->text();
    EXPECT_EQ(buttons, (QStringList{u"查询"_s, u"查询"_s, u"查询"_s, u"查询"_s, u"查询"_s,
                                    u"查询"_s, u"综合查询"_s, u"查询全部"_s, u"关闭"_s}));

    // Every client in the box, sorted as the users look names up (Chinese by pinyin first),
    // and in its completions; the first one selected, and its contacts offered, sorted.
    ASSERT_EQ(dialog.Clients().size(), 3u);
    EXPECT_EQ(Items(dialog.ClientCombo()), (QStringList{u"甲公司"_s, u"乙公司"_s, u"O'Brien"_s}));
    EXPECT_EQ(dialog.ClientBox().List()->Completions().Entries(),
              (std::vector<QString>{u"甲公司"_s, u"O'Brien"_s, u"乙公司"_s}));
    EXPECT_EQ(dialog.ClientCombo()->currentIndex(), 0);
    EXPECT_EQ(dialog.ClientBox().Text(), u"甲公司"_s);
    EXPECT_EQ(Items(dialog.ContactBox()), (QStringList{u"李四"_s, u"王五"_s, u"张三"_s}));
    EXPECT_EQ(dialog.ContactBox()->currentIndex(), 0);

    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(m_main->Category(), kNoCategory);
}

TEST_P(TradeQueryDlgTest, SaleQueryDiffersOnlyByItsTwinTexts)
{
    auto& dialog = Open<CSaleQueryDlg>();
    EXPECT_EQ(dialog.windowTitle(), u"销售查询"_s);
    EXPECT_EQ(dialog.KeywordField()->itemText(4), u"销售详情"_s);
    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups.value(4), u"是否结清"_s);
    EXPECT_EQ(Items(dialog.ClientCombo()), (QStringList{u"甲公司"_s, u"乙公司"_s, u"O'Brien"_s}));

    SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
    Press(dialog, CTradeQueryDlg::kDateGroup);
    ExpectRan(u"SELECT * FROM outputdata WHERE "_s + kDay + u" ORDER BY date DESC"_s);
    EXPECT_EQ(m_main->Category(), TradeCategory::kSales);
    EXPECT_EQ(ColumnTitles(m_main->List()).value(4), u"客户"_s);
    EXPECT_EQ(Papers(), (QStringList{u"P-02"_s, u"P-00"_s, u"P-01"_s}));
    // The purchase payment of order 1 is no sales payment.
    EXPECT_EQ(RowTexts(m_main->List(), 2)[7], u"0.00"_s);
}

TEST_P(TradeQueryDlgTest, ContactsOfTheChosenClientPurchasesSortedSalesInTableOrder)
{
    // 甲公司 is selected at opening; another selection, as the user picks it, refills.
    auto& purchase = Open<CPurchaseQueryDlg>();
    EXPECT_EQ(Items(purchase.ContactBox()), (QStringList{u"李四"_s, u"王五"_s, u"张三"_s}));
    EXPECT_EQ(purchase.ContactBox()->currentText(), u"李四"_s);
    purchase.ClientCombo()->setCurrentIndex(purchase.ClientCombo()->findText(u"O'Brien"_s));
    EXPECT_EQ(Items(purchase.ContactBox()), QStringList{u"Tom"_s});
    purchase.ClientCombo()->setCurrentIndex(purchase.ClientCombo()->findText(u"乙公司"_s));
    EXPECT_EQ(purchase.ContactBox()->count(), 0);
    purchase.ClientCombo()->setCurrentIndex(purchase.ClientCombo()->findText(u"甲公司"_s));
    EXPECT_EQ(Items(purchase.ContactBox()), (QStringList{u"李四"_s, u"王五"_s, u"张三"_s}));

    auto& sale = Open<CSaleQueryDlg>();
    EXPECT_EQ(Items(sale.ContactBox()), (QStringList{u"张三"_s, u"李四"_s, u"王五"_s}));
    EXPECT_EQ(sale.ContactBox()->currentText(), u"张三"_s);

    // Typing refills from the box's text: exactly a client's name, else nothing.
    Retype(sale.ClientCombo(), u"O'Brie"_s);
    EXPECT_EQ(sale.ContactBox()->count(), 0);
    TypeInto(sale.ClientCombo(), u"n"_s);
    EXPECT_EQ(Items(sale.ContactBox()), QStringList{u"Tom"_s});
    Retype(sale.ClientCombo(), u"乙公司"_s);
    EXPECT_EQ(sale.ContactBox()->count(), 0);
    Retype(sale.ClientCombo(), u"甲公司"_s);
    EXPECT_EQ(sale.ContactBox()->count(), 3);
    // Emptied, the box names no client.
    sale.ClientCombo()->lineEdit()->selectAll();
    QTest::keyClick(sale.ClientCombo()->lineEdit(), Qt::Key_Backspace);
    EXPECT_TRUE(sale.ClientBox().Text().isEmpty());
    EXPECT_EQ(sale.ContactBox()->count(), 0);
}

// Of two clients of one name, the one numbered first is meant, also after its row was changed
// (which moves it to the end of the table on the server).
TEST_P(TradeQueryDlgTest, TheFirstNumberedClientOfANameGivesTheContacts)
{
    m_file.Exec(u"INSERT INTO client (no, name) VALUES (4, '甲公司')"_s);
    m_file.Exec(u"INSERT INTO linkman (no, client, name, sex) VALUES (14, 4, '钱七', 1)"_s);
    m_file.Exec(u"UPDATE client SET remark = '老客户' WHERE no = 1"_s);
    auto& dialog = Open<CSaleQueryDlg>();
    EXPECT_EQ(dialog.ClientBox().Text(), u"甲公司"_s);
    EXPECT_EQ(Items(dialog.ContactBox()), (QStringList{u"张三"_s, u"李四"_s, u"王五"_s}));
    Retype(dialog.ClientCombo(), u"甲公司"_s);
    EXPECT_EQ(Items(dialog.ContactBox()), (QStringList{u"张三"_s, u"李四"_s, u"王五"_s}));
}

TEST_P(TradeQueryDlgTest, DateRangeOfOneDayRunsFromMidnightTo235959)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
    Press(dialog, CTradeQueryDlg::kDateGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay + u" ORDER BY date DESC"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(m_main->Category(), TradeCategory::kPurchases);
    // 23:59:59 of the day is in; the day before and the next day's midnight are out.
    EXPECT_EQ(Papers(), (QStringList{u"P-02"_s, u"P-00"_s, u"P-01"_s}));
    EXPECT_EQ(RowTexts(m_main->List(), 2)[7], u"25.00"_s); // order 1 is paid in part
    EXPECT_EQ(RowTexts(m_main->List(), 2)[8], u"25.00%"_s);
    EXPECT_EQ(RowTexts(m_main->List(), 3)[6], u"210.00"_s);
    ASSERT_NE(Lower(), nullptr);
    EXPECT_EQ(Lower()->List().GetColumnCount(), 8);
}

TEST_P(TradeQueryDlgTest, StartLaterThanEndIsRefused)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    SetDays(dialog, QDate(2024, 3, 6), QDate(2024, 3, 5));
    Press(dialog, CTradeQueryDlg::kDateGroup);
    ExpectRefused(u"起始时间必须小于终止时间！"_s);

    // Only the days count, as the statement takes whole days: a start time of day later than
    // the end's on the same day is no reason to refuse.
    dialog.StartPicker()->setDateTime(QDateTime(QDate(2024, 3, 5), QTime(18, 0)));
    dialog.EndPicker()->setDateTime(QDateTime(QDate(2024, 3, 5), QTime(8, 0)));
    Press(dialog, CTradeQueryDlg::kDateGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay + u" ORDER BY date DESC"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_P(TradeQueryDlgTest, EqualValuesAreAcceptedAndTheListEntryChoosesTheField)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    SetDays(dialog, QDate(2024, 3, 4), QDate(2024, 3, 6));
    Retype(dialog.FirstValue(), u"10"_s);
    Retype(dialog.SecondValue(), u"10"_s);
    Press(dialog, CTradeQueryDlg::kRangeGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDays +
              u" AND [number] >= 10.000000 AND [number] <= 10.000000 ORDER BY date DESC"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(Papers(), (QStringList{u"P-03"_s, u"P-01"_s}));

    // 金额 looks at `sum`: 10 there is only order P-00.
    auto& amounts = Open<CPurchaseQueryDlg>();
    SetDays(amounts, QDate(2024, 3, 4), QDate(2024, 3, 6));
    amounts.RangeField()->setCurrentIndex(1);
    Retype(amounts.FirstValue(), u" 9.5"_s);
    Retype(amounts.SecondValue(), u"10.25 "_s);
    Press(amounts, CTradeQueryDlg::kRangeGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDays +
              u" AND [sum] >= 9.500000 AND [sum] <= 10.250000 ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-00"_s});
}

TEST_P(TradeQueryDlgTest, AFirstValueAboveTheSecondOrNoNumberIsRefused)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    Retype(dialog.FirstValue(), u"5"_s);
    Retype(dialog.SecondValue(), u"4.999"_s);
    Press(dialog, CTradeQueryDlg::kRangeGroup);
    ExpectRefused(u"数量、金额中第一个值必须小于第二个值！"_s);

    Retype(dialog.FirstValue(), u"abc"_s);
    Retype(dialog.SecondValue(), u"4"_s);
    Press(dialog, CTradeQueryDlg::kRangeGroup);
    ExpectRefused(u"第一个值必须填写数字！"_s);

    Retype(dialog.FirstValue(), u"1"_s);
    Retype(dialog.SecondValue(), u"1,5"_s);
    Press(dialog, CTradeQueryDlg::kRangeGroup);
    ExpectRefused(u"第二个值必须填写数字！"_s);
    EXPECT_EQ(dialog.SecondValue()->selectedText(), u"1,5"_s);
}

TEST_P(TradeQueryDlgTest, AnEmptyKeywordFindsEveryFieldHoldingTextAndWildcardsWork)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
    dialog.KeywordField()->setCurrentIndex(1); // 项目
    Press(dialog, CTradeQueryDlg::kKeywordGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [item] LIKE '%%' ORDER BY date DESC"_s);
    // Order P-02 has no 项目 (NULL) and is not found.
    EXPECT_EQ(Papers(), (QStringList{u"P-00"_s, u"P-01"_s}));

    // % and _ stay wildcards; letters match without regard to case.
    auto& wildcard = Open<CPurchaseQueryDlg>();
    SetDays(wildcard, QDate(2024, 3, 5), QDate(2024, 3, 5));
    wildcard.KeywordField()->setCurrentIndex(1);
    TypeInto(wildcard.KeywordEdit(), u"钢_项"_s);
    Press(wildcard, CTradeQueryDlg::kKeywordGroup);
    EXPECT_EQ(Papers(), QStringList{u"P-01"_s});

    auto& lowerCase = Open<CPurchaseQueryDlg>();
    SetDays(lowerCase, QDate(2024, 3, 5), QDate(2024, 3, 5));
    TypeInto(lowerCase.KeywordEdit(), u"p%2"_s);
    Press(lowerCase, CTradeQueryDlg::kKeywordGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [paper] LIKE '%p%2%' ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-02"_s});
}

TEST_P(TradeQueryDlgTest, ApostrophesInClientContactAndKeywordAreSearchedAsTyped)
{
    auto& keyword = Open<CPurchaseQueryDlg>();
    SetDays(keyword, QDate(2024, 3, 5), QDate(2024, 3, 5));
    keyword.KeywordField()->setCurrentIndex(4); // 采购详情
    TypeInto(keyword.KeywordEdit(), u"O'Brien 的"_s);
    Press(keyword, CTradeQueryDlg::kKeywordGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [detail] LIKE '%O''Brien 的%' ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-02"_s});

    auto& client = Open<CPurchaseQueryDlg>();
    SetDays(client, QDate(2024, 3, 5), QDate(2024, 3, 5));
    Retype(client.ClientCombo(), u"o'brien"_s);
    Press(client, CTradeQueryDlg::kClientGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [client] = 'o''brien' ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-02"_s});

    auto& contact = Open<CPurchaseQueryDlg>();
    SetDays(contact, QDate(2024, 3, 5), QDate(2024, 3, 5));
    ASSERT_EQ(contact.ClientBox().Text(), u"甲公司"_s);
    contact.ContactBox()->setCurrentIndex(contact.ContactBox()->findText(u"张三"_s));
    Press(contact, CTradeQueryDlg::kContactGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [linkman] = '张三' ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-01"_s});

    // O'Brien, and his one contact Tom.
    auto& combined = Open<CPurchaseQueryDlg>();
    SetDays(combined, QDate(2024, 3, 5), QDate(2024, 3, 5));
    combined.ClientCombo()->setCurrentIndex(combined.ClientCombo()->findText(u"O'Brien"_s));
    TypeInto(combined.KeywordEdit(), u"p-0"_s);
    Click(combined, u"IDC_QUERYMULTI"_s);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [paper] LIKE '%p-0%' AND [client] = 'O''Brien' AND [linkman] = 'Tom' "
              "ORDER BY [date] DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-02"_s});
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_P(TradeQueryDlgTest, CombinedQueryWithoutAContactFindsNothingAndKeepsTheTotalsRow)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
    // 乙公司 has no contacts.
    dialog.ClientCombo()->setCurrentIndex(dialog.ClientCombo()->findText(u"乙公司"_s));
    ASSERT_EQ(dialog.ContactBox()->count(), 0);
    dialog.KeywordField()->setCurrentIndex(1);
    Click(dialog, u"IDC_QUERYMULTI"_s);
    // Order P-00 is 乙公司's and has a 项目, but no contact (NULL).
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [item] LIKE '%%' AND [client] = '乙公司' AND [linkman] = '' "
              "ORDER BY [date] DESC"_s);
    ASSERT_EQ(m_main->List().GetItemCount(), 1);
    const QStringList totals = RowTexts(m_main->List(), 0);
    EXPECT_EQ(totals[0], u"合计"_s);
    EXPECT_EQ(totals[6], u"0.00"_s);
    EXPECT_EQ(totals[7], u"0.00"_s);
    EXPECT_EQ(totals[8], u"0.00%"_s);
    EXPECT_EQ(totals[11], u"0.00"_s);
}

TEST_P(TradeQueryDlgTest, LongAndHostileKeywordsRunAsPlainSearches)
{
    const QString start = u"SELECT * FROM inputdata WHERE "_s + kDay + u" AND [paper] LIKE '%"_s;
    const QString end = u"%' ORDER BY date DESC"_s;

    auto& longest = Open<CPurchaseQueryDlg>();
    SetDays(longest, QDate(2024, 3, 5), QDate(2024, 3, 5));
    const QString tenThousand(10000, u'P');
    Paste(longest.KeywordEdit(), tenThousand);
    ASSERT_EQ(longest.KeywordEdit()->text(), tenThousand);
    Press(longest, CTradeQueryDlg::kKeywordGroup);
    ExpectRan(start + tenThousand + end);
    EXPECT_EQ(Papers(), QStringList());

    // The edit takes no more than a LIKE pattern can hold, in the widest characters.
    auto& widest = Open<CPurchaseQueryDlg>();
    SetDays(widest, QDate(2024, 3, 5), QDate(2024, 3, 5));
    Paste(widest.KeywordEdit(), QString(50000, u'中'));
    const QString kept(CTradeQueryDlg::kKeywordMaxLength, u'中');
    ASSERT_EQ(widest.KeywordEdit()->text(), kept);
    Press(widest, CTradeQueryDlg::kKeywordGroup);
    ExpectRan(start + kept + end);
    EXPECT_EQ(Papers(), QStringList());

    // Statement fragments are text to look for, never statements: they read no other table.
    const std::map<QString, QString> hostile = {
        {u"' OR 1=1 --"_s, u"'' OR 1=1 --"_s},
        {u"%' UNION SELECT * FROM client --"_s, u"%'' UNION SELECT * FROM client --"_s},
        {u"x'; DROP TABLE inputdata; --"_s, u"x''; DROP TABLE inputdata; --"_s},
    };
    for (const auto& [typed, quoted] : hostile) {
        auto& dialog = Open<CPurchaseQueryDlg>();
        SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
        TypeInto(dialog.KeywordEdit(), typed);
        Press(dialog, CTradeQueryDlg::kKeywordGroup);
        ExpectRan(start + quoted + end);
        EXPECT_EQ(Papers(), QStringList()) << typed.toStdString();
    }
    EXPECT_EQ(Count(u"inputdata"_s), 7);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_P(TradeQueryDlgTest, SettledAndAllQueriesSortByDateThenPaperForPurchases)
{
    auto& unsettled = Open<CPurchaseQueryDlg>();
    SetDays(unsettled, QDate(2024, 3, 4), QDate(2024, 3, 6));
    Press(unsettled, CTradeQueryDlg::kSettledGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDays +
              u" AND [square] = 0 ORDER BY date DESC, paper"_s);
    EXPECT_EQ(Papers(), (QStringList{u"P-03"_s, u"P-01"_s}));

    auto& settled = Open<CPurchaseQueryDlg>();
    SetDays(settled, QDate(2024, 3, 4), QDate(2024, 3, 6));
    QTest::mouseClick(settled.SettledButton(), Qt::LeftButton);
    EXPECT_TRUE(settled.QueryButton(CTradeQueryDlg::kSettledGroup)->isDefault());
    Press(settled, CTradeQueryDlg::kSettledGroup);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDays +
              u" AND [square] <> 0 ORDER BY date DESC, paper"_s);
    EXPECT_EQ(Papers(), (QStringList{u"P-02"_s, u"P-00"_s, u"P-04"_s}));

    // Every order, whatever the date range; P-09 and P-08 share a day and sort by 单号.
    auto& all = Open<CPurchaseQueryDlg>();
    SetDays(all, QDate(2024, 3, 5), QDate(2024, 3, 5));
    Click(all, u"IDC_QUERYALL"_s);
    ExpectRan(u"SELECT * FROM inputdata ORDER BY date DESC, paper"_s);
    EXPECT_EQ(Papers(), (QStringList{u"P-08"_s, u"P-09"_s, u"P-03"_s, u"P-02"_s, u"P-00"_s,
                                     u"P-01"_s, u"P-04"_s}));
}

TEST_P(TradeQueryDlgTest, SettledAndAllQueriesSortByDateOnlyForSales)
{
    auto& settled = Open<CSaleQueryDlg>();
    SetDays(settled, QDate(2024, 3, 4), QDate(2024, 3, 6));
    settled.SettledButton()->setChecked(true);
    Press(settled, CTradeQueryDlg::kSettledGroup);
    ExpectRan(u"SELECT * FROM outputdata WHERE "_s + kDays +
              u" AND [square] <> 0 ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), (QStringList{u"P-02"_s, u"P-00"_s, u"P-04"_s}));

    auto& all = Open<CSaleQueryDlg>();
    Click(all, u"IDC_QUERYALL"_s);
    ExpectRan(u"SELECT * FROM outputdata ORDER BY date DESC"_s);
    const QStringList papers = Papers();
    ASSERT_EQ(papers.size(), 7);
    // The two orders of 2024-03-07 come first, in whichever order; then by date.
    EXPECT_EQ(QSet<QString>(papers.begin(), papers.begin() + 2),
              (QSet<QString>{u"P-08"_s, u"P-09"_s}));
    EXPECT_EQ(papers.mid(2), (QStringList{u"P-03"_s, u"P-02"_s, u"P-00"_s, u"P-01"_s, u"P-04"_s}));
}

TEST_P(TradeQueryDlgTest, TheFocusedGroupsQueryIsTheDefaultButton)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto expectDefault = [&dialog](CTradeQueryDlg::Group group) {
        for (int g = CTradeQueryDlg::kDateGroup; g <= CTradeQueryDlg::kSettledGroup; ++g)
            EXPECT_EQ(dialog.QueryButton(CTradeQueryDlg::Group(g))->isDefault(), g == group)
                << "group " << g << " while " << group << " has the focus";
    };
    const std::vector<std::pair<QWidget*, CTradeQueryDlg::Group>> controls = {
        {dialog.RangeField(), CTradeQueryDlg::kRangeGroup},
        {dialog.StartPicker(), CTradeQueryDlg::kDateGroup},
        {dialog.FirstValue(), CTradeQueryDlg::kRangeGroup},
        {dialog.EndPicker(), CTradeQueryDlg::kDateGroup},
        {dialog.SecondValue(), CTradeQueryDlg::kRangeGroup},
        {dialog.KeywordField(), CTradeQueryDlg::kKeywordGroup},
        {dialog.ClientCombo(), CTradeQueryDlg::kClientGroup},
        {dialog.KeywordEdit(), CTradeQueryDlg::kKeywordGroup},
        {dialog.ContactBox(), CTradeQueryDlg::kContactGroup},
        {dialog.UnsettledButton(), CTradeQueryDlg::kSettledGroup},
        {dialog.ClientCombo()->lineEdit(), CTradeQueryDlg::kClientGroup},
        {dialog.SettledButton(), CTradeQueryDlg::kSettledGroup},
    };
    for (const auto& [control, group] : controls) {
        control->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        expectDefault(group);
    }

    // Enter in the keyword edit presses the keyword query.
    SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
    dialog.KeywordEdit()->setFocus();
    TypeInto(dialog.KeywordEdit(), u"P-01"_s);
    QTest::keyClick(dialog.KeywordEdit(), Qt::Key_Return);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [paper] LIKE '%P-01%' ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-01"_s});
}

TEST_P(TradeQueryDlgTest, EnterClosingTheClientPopupPressesNothing)
{
    auto& dialog = Open<CPurchaseQueryDlg>();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
    dialog.ClientCombo()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.QueryButton(CTradeQueryDlg::kClientGroup)->isDefault());
    Retype(dialog.ClientCombo(), u"甲"_s);
    ASSERT_TRUE(dialog.ClientBox().List()->isVisible());
    QTest::keyClick(dialog.ClientCombo(), Qt::Key_Home);
    EXPECT_EQ(dialog.ClientBox().Text(), u"甲公司"_s);
    EXPECT_EQ(Items(dialog.ContactBox()), (QStringList{u"李四"_s, u"王五"_s, u"张三"_s}));

    // The first Enter only closes the pop-up; the second presses the client query.
    QTest::keyClick(dialog.ClientCombo(), Qt::Key_Return);
    EXPECT_FALSE(dialog.ClientBox().List()->isVisible());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(m_main->Category(), kNoCategory);
    QTest::keyClick(dialog.ClientCombo(), Qt::Key_Return);
    ExpectRan(u"SELECT * FROM inputdata WHERE "_s + kDay +
              u" AND [client] = '甲公司' ORDER BY date DESC"_s);
    EXPECT_EQ(Papers(), QStringList{u"P-01"_s});
}

TEST_P(TradeQueryDlgTest, TheQueryCommandsOpenTheirDialogs)
{
    CAppContext app;
    const FixedClock clock(app, QDateTime(QDate(2023, 2, 28), QTime(8, 30)));
    FeatureCommands commands;
    RegisterTradeCommands(CFeatureContext{app, m_doc, commands, &m_window});
    ASSERT_TRUE(commands.HasHandler(ID_QUERY_INPUT));
    ASSERT_TRUE(commands.HasHandler(ID_QUERY_OUTPUT));
    {
        const ModalDriver<CPurchaseQueryDlg> purchase([this](CPurchaseQueryDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), u"采购查询"_s);
            // The pickers start at the program's clock.
            EXPECT_EQ(dialog.StartPicker()->dateTime(),
                      QDateTime(QDate(2023, 2, 28), QTime(8, 30)));
            EXPECT_EQ(dialog.parentWidget(), &m_window);
            Click(dialog, u"IDC_QUERYALL"_s);
        });
        commands.PostCommand(ID_QUERY_INPUT);
    }
    EXPECT_EQ(m_main->CurrentQuery(), u"SELECT * FROM inputdata ORDER BY date DESC, paper"_s);
    {
        const ModalDriver<CSaleQueryDlg> sale([](CSaleQueryDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), u"销售查询"_s);
            Click(dialog, u"IDC_QUERYALL"_s);
        });
        commands.PostCommand(ID_QUERY_OUTPUT);
    }
    EXPECT_EQ(m_main->CurrentQuery(), u"SELECT * FROM outputdata ORDER BY date DESC"_s);
    EXPECT_EQ(m_main->Category(), TradeCategory::kSales);
}

INSTANTIATE_TEST_SUITE_P(, TradeQueryDlgTest, EachBackend(), BackendName);

} // namespace
