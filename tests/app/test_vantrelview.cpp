#include "customers/customerrecords.h"
#include "kit/commandids.h"
#include "schedule/schedulerecords.h"
#include "support/recordviews.h"
#include "trade/traderecords.h"

#include <QDate>
#include <QDateTime>

namespace {

const QStringList kContactTitles = [] {
    QStringList titles;
    for (int column = 0; column < 31; ++column)
        titles << u"列%1"_s.arg(column);
    return titles << QString();
}();
const QStringList kPaymentTitles = {u"日期"_s,   u"数量"_s,     u"金额"_s, u"经手人"_s,
                                    u"审批人"_s, u"交易详情"_s, u"备注"_s, QString()};

class MainListTest : public RecordViewsTest
{
protected:
    MainListTest()
    {
        m_file.Exec(u"INSERT INTO client (no, name, number) VALUES (1, '甲公司', 'A01'), "
                    "(2, '乙公司', 'B02')"_s);
        m_file.Exec(u"INSERT INTO linkman (no, client, name, sex, birthday, mobile, remark) "
                    "VALUES (10, 1, '张三', 1, '1980-05-06 00:00:00', '139', '老客户'), "
                    "(11, 1, '李四', 0, NULL, NULL, NULL), (12, 2, '王五', 0, NULL, NULL, NULL), "
                    "(13, 3, '赵六', 0, NULL, NULL, NULL)"_s);
        m_file.Exec(u"INSERT INTO inputdata (no, date, paper, sum, number, square) VALUES "
                    "(5, '2024-03-05 00:00:00', 'P-1', 100, 2, 1), "
                    "(6, '2024-03-09 00:00:00', 'P-2', 40, 1, 0)"_s);
        m_file.Exec(u"INSERT INTO inputdetail (no, paper, date, number, sum, person) VALUES "
                    "(20, 5, '2024-03-07 00:00:00', 1, 30.5, '赵'), "
                    "(21, 5, '2024-03-06 00:00:00', 2, 19.5, '钱'), "
                    "(22, 6, '2024-03-10 00:00:00', 1, 8, '孙')"_s);
        m_file.Exec(u"INSERT INTO outputdata (no, date, paper, sum, square) VALUES "
                    "(7, '2024-04-01 00:00:00', 'S-1', 80, 0)"_s);
        m_file.Exec(u"INSERT INTO outputdetail (no, paper, date, number, sum) VALUES "
                    "(30, 7, '2024-04-02 00:00:00', 1, 12.25)"_s);
    }

    void ListClients(const QString& query = u"SELECT * FROM client"_s)
    {
        FillMain(CustomerCategory::kClients, query, {u"名称"_s, u"编号"_s, QString()},
                 {{u"甲公司"_s, u"A01"_s, u"1"_s},
                  {u"乙公司"_s, u"B02"_s, u"2"_s},
                  {u"丙公司"_s, u"C03"_s, u"3"_s}});
    }

    // Two purchase orders and the totals row, as the purchase query lists them.
    void ListPurchases()
    {
        QStringList titles;
        for (int column = 0; column < 17; ++column)
            titles << u"列%1"_s.arg(column);
        titles << QString();
        std::vector<QStringList> rows(3, QStringList(18, QString()));
        rows[0][0] = u"2024-3-5"_s, rows[0][1] = u"P-1"_s, rows[0][6] = u"100.00"_s;
        rows[0][7] = u"50.00"_s, rows[0][11] = u"2.00"_s, rows[0][17] = u"5"_s;
        rows[1][0] = u"2024-3-9"_s, rows[1][1] = u"P-2"_s, rows[1][6] = u"40.00"_s;
        rows[1][7] = u"8.00"_s, rows[1][11] = u"1.00"_s, rows[1][17] = u"6"_s;
        rows[2][0] = u"合计"_s, rows[2][6] = u"140.00"_s, rows[2][7] = u"58.00"_s;
        rows[2][8] = u"41.43%"_s, rows[2][11] = u"3.00"_s;
        FillMain(TradeCategory::kPurchases, u"SELECT * FROM inputdata ORDER BY date DESC"_s, titles,
                 rows);
        Fill(*Lower(), kPaymentTitles, {});
    }
};

INSTANTIATE_TEST_SUITE_P(, MainListTest, EachBackend(), BackendName);

} // namespace

TEST_P(MainListTest, ClientClickListsItsContactsBelow)
{
    ListClients();
    Fill(*Lower(), kContactTitles, {{u"旧行"_s}});
    LeftClick(*m_main, 0);

    const CRecordListModel& contacts = Lower()->List();
    ASSERT_EQ(contacts.GetItemCount(), 2);
    const QStringList first = RowTexts(contacts, 0);
    EXPECT_EQ(first[0], u"张三"_s);
    EXPECT_EQ(first[1], u"甲公司"_s);
    EXPECT_EQ(first[3], u"139"_s);
    EXPECT_EQ(first[11], u"女"_s);
    EXPECT_EQ(first[17], u"1980-5-6"_s);
    EXPECT_EQ(first[30], u"老客户"_s);
    EXPECT_EQ(first[31], u"10"_s);
    EXPECT_EQ(contacts.GetItemText(1, 11), u"男"_s);
    EXPECT_EQ(contacts.GetItemText(1, 17), QString()); // no birthday stored
    EXPECT_EQ(Lower()->CurrentQuery(), u"SELECT * FROM linkman"_s);
    // A plain click leaves the row that edits and deletes act on alone.
    EXPECT_EQ(m_main->CurrentRow(), -1);

    // A client deleted meanwhile still shows its contacts, under "未知客户".
    LeftClick(*m_main, 2);
    ASSERT_EQ(contacts.GetItemCount(), 1);
    EXPECT_EQ(contacts.GetItemText(0, 0), u"赵六"_s);
    EXPECT_EQ(contacts.GetItemText(0, 1), u"未知客户"_s);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_P(MainListTest, OrderClickListsPaymentsWithTotalsButTheTotalsRowDoesNothing)
{
    ListPurchases();
    LeftClick(*m_main, 0);
    const CRecordListModel& payments = Lower()->List();
    ASSERT_EQ(payments.GetItemCount(), 3);
    EXPECT_EQ(RowTexts(payments, 0), (QStringList{u"2024-3-6"_s, u"2.00"_s, u"19.50"_s, u"钱"_s,
                                                  QString(), QString(), QString(), u"21"_s}));
    EXPECT_EQ(payments.GetItemText(1, 7), u"20"_s);
    EXPECT_EQ(RowTexts(payments, 2), (QStringList{u"合计"_s, u"3.00"_s, u"50.00"_s, QString(),
                                                  QString(), QString(), QString(), QString()}));
    EXPECT_EQ(Lower()->CurrentQuery(),
              u"SELECT * FROM inputdetail WHERE [paper] = 5 ORDER BY date"_s);

    LeftClick(*m_main, 2); // the totals row
    EXPECT_EQ(payments.GetItemCount(), 3);
    EXPECT_EQ(payments.GetItemText(0, 7), u"21"_s);

    // Sales read their receipts; an order without any still gets its totals row.
    m_main->SetCategory(TradeCategory::kSales);
    m_main->List().SetItemText(0, 17, u"7"_s);
    m_main->List().SetItemText(1, 17, u"8"_s);
    LeftClick(*m_main, 0);
    ASSERT_EQ(payments.GetItemCount(), 2);
    EXPECT_EQ(payments.GetItemText(0, 2), u"12.25"_s);
    EXPECT_EQ(payments.GetItemText(1, 2), u"12.25"_s);
    LeftClick(*m_main, 1);
    ASSERT_EQ(payments.GetItemCount(), 1);
    EXPECT_EQ(RowTexts(payments, 0).mid(0, 3), (QStringList{u"合计"_s, u"0.00"_s, u"0.00"_s}));
}

TEST_P(MainListTest, NotesAppointmentsAndRemindersShowTheirTextBelow)
{
    m_doc.ShowBottomView(BottomView::kText);
    auto* text = qobject_cast<CNoteView*>(m_lower);
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(m_doc.NoteView(), text);
    EXPECT_EQ(m_doc.MiddleList(), nullptr);

    const QString longText = QString(40000, QChar(0x4E2D)); // 80,000 code-page bytes
    FillMain(ScheduleCategory::kNotes, {}, {u"日期"_s, u"天气"_s, u"标题"_s, u"内容"_s, QString()},
             {{u"2024-3-5"_s, u"晴"_s, u"标题"_s, u"便笺内容\n第二行"_s, u"1"_s},
              {u"2024-3-6"_s, u"雨"_s, u"长"_s, longText, u"2"_s}});
    LeftClick(*m_main, 0);
    EXPECT_EQ(text->Text(), u"便笺内容\n第二行"_s);
    LeftClick(*m_main, 1);
    EXPECT_EQ(text->Text(), longText.left(32000));

    FillMain(ScheduleCategory::kAppointments, {},
             {u"客户"_s, u"联系人"_s, u"日期时间"_s, u"时长"_s, u"地点"_s, u"内容"_s, QString()},
             {{u"甲公司"_s, u"张三"_s, u"2024-3-5  9:0:0"_s, u"1小时"_s, u"会议室"_s, u"谈合同"_s,
               u"3"_s}});
    text->SetText(u"随手写的字"_s);
    LeftClick(*m_main, 0);
    EXPECT_EQ(text->Text(), u"谈合同"_s);

    FillMain(ScheduleCategory::kReminders, {}, {u"开始时间"_s, u"终止时间"_s, u"内容"_s, QString()},
             {{u"2024-3-5  9:0:0"_s, u"2024-3-6  9:0:0"_s, u"交货"_s, u"4"_s}});
    LeftClick(*m_main, 0);
    EXPECT_EQ(text->Text(), u"交货"_s);

    // With the list below instead of the text view a click has nowhere to go.
    m_doc.ShowBottomView(BottomView::kList);
    EXPECT_EQ(m_doc.NoteView(), nullptr);
    LeftClick(*m_main, 0);
    EXPECT_EQ(Lower()->List().GetItemCount(), 0);
}

TEST_P(MainListTest, EditReadsTheRecordAndOpensItsDialogByCategory)
{
    RecordDialogRequests();
    ListClients();
    DoubleClick(*m_main, 1);
    ASSERT_EQ(m_requests.size(), 1u);
    const CRecordRequest& client = m_requests[0];
    EXPECT_EQ(client.dialog, CustomerDialog::kClient);
    EXPECT_TRUE(client.modify);
    EXPECT_EQ(client.no, 2);
    EXPECT_EQ(client.item, 1);
    EXPECT_EQ(client.fields.value(u"name"_s).toString(), u"乙公司"_s);
    EXPECT_EQ(client.fields.value(u"number"_s).toString(), u"B02"_s);
    EXPECT_EQ(client.fields.value(u"remark"_s), QVariant(QString()));
    EXPECT_EQ(client.fields.size(), 22);
    EXPECT_EQ(m_main->CurrentRow(), 1);

    // A client that is no longer there opens no dialog.
    DoubleClick(*m_main, 2);
    EXPECT_EQ(m_messages.LastText(), u"客户表无法打开！"_s);
    // Below the last row there is nothing to edit; adding still works there.
    DoubleClick(*m_main, -1);
    EXPECT_EQ(m_main->CurrentRow(), -1);
    RightClick(*m_main, -1, u"ID_RECORD_MODIFY"_s);
    EXPECT_EQ(m_requests.size(), 1u);
    RightClick(*m_main, -1, u"ID_RECORD_ADD"_s);
    ASSERT_EQ(m_requests.size(), 2u);
    EXPECT_EQ(m_requests[1].dialog, CustomerDialog::kClient);
    EXPECT_FALSE(m_requests[1].modify);
    EXPECT_EQ(m_requests[1].no, -1);
    EXPECT_EQ(m_requests[1].item, -1);
    EXPECT_EQ(m_messages.Messages().size(), 1u);

    ListPurchases();
    m_requests.clear();
    DoubleClick(*m_main, 2); // the totals row is no order
    EXPECT_TRUE(m_requests.empty());
    RightClick(*m_main, 0, u"ID_RECORD_MODIFY"_s);
    ASSERT_EQ(m_requests.size(), 1u);
    const CRecordRequest& order = m_requests[0];
    EXPECT_EQ(order.dialog, TradeDialog::kPurchase);
    EXPECT_EQ(order.no, 5);
    EXPECT_EQ(order.fields.value(u"date"_s).toDate(), QDate(2024, 3, 5));
    EXPECT_EQ(order.fields.value(u"paper"_s).toString(), u"P-1"_s);
    EXPECT_DOUBLE_EQ(order.fields.value(u"sum"_s).toDouble(), 100.0);
    EXPECT_DOUBLE_EQ(order.fields.value(u"number"_s).toDouble(), 2.0);
    EXPECT_EQ(order.fields.value(u"square"_s).toInt(), 1);
    m_main->SetCategory(TradeCategory::kSales);
    m_main->List().SetItemText(0, 17, u"99"_s);
    DoubleClick(*m_main, 0);
    EXPECT_EQ(m_messages.LastText(), u"销售表无法打开！"_s);
}

TEST_P(MainListTest, EditOfNotesRemindersAddressesAndAppointments)
{
    RecordDialogRequests();
    m_file.Exec(u"INSERT INTO notepaper (no, time, weather, caption, content) VALUES "
                "(1, '2024-03-05 00:00:00', '晴', '标题', '内容')"_s);
    m_file.Exec(u"INSERT INTO notice (no, time, endtime, content) VALUES "
                "(1, '2024-03-05 08:30:00', '2024-03-06 18:00:00', '交货')"_s);
    m_file.Exec(u"INSERT INTO address (no, [group], [user], sex, birthday) VALUES "
                "(4, '同学', '周七', 1, '五月')"_s);

    FillMain(ScheduleCategory::kNotes, {}, {u"标题"_s, QString()}, {{u"标题"_s, u"1"_s}});
    DoubleClick(*m_main, 0);
    FillMain(ScheduleCategory::kReminders, {}, {u"内容"_s, QString()}, {{u"交货"_s, u"1"_s}});
    DoubleClick(*m_main, 0);
    FillMain(CustomerCategory::kAddressBook, {}, {u"姓名"_s, QString()}, {{u"周七"_s, u"4"_s}});
    DoubleClick(*m_main, 0);
    ASSERT_EQ(m_requests.size(), 3u);
    EXPECT_EQ(m_requests[0].dialog, ScheduleDialog::kNote);
    EXPECT_EQ(m_requests[0].fields.value(u"time"_s).toDateTime(),
              QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
    EXPECT_EQ(m_requests[0].fields.value(u"content"_s).toString(), u"内容"_s);
    EXPECT_EQ(m_requests[1].dialog, ScheduleDialog::kReminder);
    EXPECT_EQ(m_requests[1].fields.value(u"endtime"_s).toDateTime(),
              QDateTime(QDate(2024, 3, 6), QTime(18, 0)));
    EXPECT_EQ(m_requests[2].dialog, CustomerDialog::kAddressBook);
    EXPECT_EQ(m_requests[2].fields.value(u"group"_s).toString(), u"同学"_s);
    EXPECT_EQ(m_requests[2].fields.value(u"sex"_s).toInt(), 1);
    EXPECT_EQ(m_requests[2].fields.value(u"birthday"_s).toString(), u"五月"_s);
    EXPECT_EQ(m_requests[2].no, 4);

    FillMain(ScheduleCategory::kNotes, {}, {u"标题"_s, QString()}, {{u"旧"_s, u"9"_s}});
    DoubleClick(*m_main, 0);
    EXPECT_EQ(m_messages.LastText(), u"便笺表无法打开！"_s);

    // Appointments are modified through the frame's appointments command (资料管理 > 约会),
    // never by opening their dialog directly: the command carries the permission test.
    m_requests.clear();
    std::vector<int> posted;
    QObject::connect(&m_doc, &CVantrelDoc::CommandPosted, &m_window,
                     [&posted](int id) { posted.push_back(id); });
    FillMain(ScheduleCategory::kAppointments, {}, {u"客户"_s, QString()}, {{u"甲公司"_s, u"3"_s}});
    DoubleClick(*m_main, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_requests.empty());
    EXPECT_EQ(posted, std::vector<int>{ID_MANAGE_APPOINT});
}

TEST_P(MainListTest, AddOpensTheCategoryDialogAndOtherCategoriesDoNothing)
{
    RecordDialogRequests();
    const std::pair<int, RecordDialog> routes[] = {
        {CustomerCategory::kClients, CustomerDialog::kClient},
        {TradeCategory::kPurchases, TradeDialog::kPurchase},
        {TradeCategory::kSales, TradeDialog::kSale},
        {ScheduleCategory::kNotes, ScheduleDialog::kNote},
        {ScheduleCategory::kAppointments, ScheduleDialog::kAppointment},
        {ScheduleCategory::kReminders, ScheduleDialog::kReminder},
        {CustomerCategory::kAddressBook, CustomerDialog::kAddressBook},
    };
    for (const auto& [category, dialog] : routes) {
        m_requests.clear();
        m_main->SetCategory(category);
        m_main->OnRecordAdd();
        ASSERT_EQ(m_requests.size(), 1u) << category;
        EXPECT_EQ(m_requests[0].dialog, dialog);
        EXPECT_FALSE(m_requests[0].modify);
    }
    m_requests.clear();
    for (int category :
         {kNoCategory, ScheduleCategory::kDomesticCodes, ScheduleCategory::kInternationalCodes,
          ScheduleCategory::kPhoneNumbers, TradeCategory::kStatistics}) {
        FillMain(category, u"SELECT * FROM client"_s, {u"名称"_s, QString()},
                 {{u"甲公司"_s, u"1"_s}});
        DoubleClick(*m_main, 0);
        m_main->OnRecordAdd();
        LeftClick(*m_main, 0);
    }
    EXPECT_TRUE(m_requests.empty());
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_P(MainListTest, MenuOffersOnlyWhatCanBeDone)
{
    m_main->SetCategory(CustomerCategory::kClients);
    std::unique_ptr<QMenu> menu(m_main->CreateContextMenu(nullptr));
    QStringList texts;
    for (QAction* action : menu->actions())
        texts << action->text();
    EXPECT_EQ(texts, (QStringList{u"增加记录"_s, u"修改记录"_s, u"删除记录"_s}));
    EXPECT_EQ(menu->defaultAction(), menu->actions().at(0));
    EXPECT_EQ(menu->actions().at(2)->data().toInt(), RecordCommand::kDelete);
    // No client dialog yet: adding and modifying are not offered, deleting is.
    EXPECT_FALSE(menu->actions().at(0)->isEnabled());
    EXPECT_FALSE(menu->actions().at(1)->isEnabled());
    EXPECT_TRUE(menu->actions().at(2)->isEnabled());

    m_doc.Dialogs().Register(CustomerDialog::kClient, [](const CRecordRequest&, QWidget*) {});
    menu.reset(m_main->CreateContextMenu(nullptr));
    EXPECT_TRUE(menu->actions().at(0)->isEnabled());
    EXPECT_TRUE(menu->actions().at(1)->isEnabled());

    // Area codes and statistics are no records of the data file.
    m_main->SetCategory(ScheduleCategory::kDomesticCodes);
    menu.reset(m_main->CreateContextMenu(nullptr));
    EXPECT_FALSE(menu->actions().at(2)->isEnabled());

    // Without the dialog a double click shows nothing, not even for a client that is gone.
    m_doc.Dialogs().Unregister(CustomerDialog::kClient);
    ListClients();
    DoubleClick(*m_main, 2);
    EXPECT_TRUE(m_messages.Messages().empty());
}

TEST_P(MainListTest, DeleteAsksThenDeletesTheRecordFoundByTheCurrentQuery)
{
    ListClients();
    m_messages.AnswerNext(false);
    RightClick(*m_main, 0, u"ID_RECORD_DELETE"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text, u"您确定要删除甲公司吗？"_s);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"删除警告"_s);
    EXPECT_TRUE(m_messages.Messages()[0].question);
    EXPECT_EQ(Count(u"client"_s), 2);
    EXPECT_EQ(m_main->List().GetItemCount(), 3);

    m_messages.AnswerNext(true);
    RightClick(*m_main, 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(Count(u"client"_s), 1);
    EXPECT_EQ(m_file.QueryValue(u"SELECT name FROM client"_s), u"乙公司"_s);
    ASSERT_EQ(m_main->List().GetItemCount(), 2);
    EXPECT_EQ(m_main->List().GetItemText(0, 0), u"乙公司"_s);
    EXPECT_EQ(Count(u"linkman"_s), 4); // contacts stay
    EXPECT_EQ(m_messages.Messages().size(), 2u);

    // Nothing happens below the rows, or without a query that selects.
    RightClick(*m_main, -1, u"ID_RECORD_DELETE"_s);
    m_main->SetCurrentQuery(u"client"_s);
    RightClick(*m_main, 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.Messages().size(), 2u);

    // A query that no longer returns the record deletes nothing and says nothing.
    m_main->SetCurrentQuery(u"SELECT * FROM client WHERE [name] = '甲公司'"_s);
    RightClick(*m_main, 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.Messages().size(), 3u);
    EXPECT_EQ(Count(u"client"_s), 1);
    EXPECT_EQ(m_main->List().GetItemCount(), 2);

    m_main->SetCurrentQuery(u"SELECT * FROM nosuchtable"_s);
    RightClick(*m_main, 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"无法打开此数据库项目！"_s);
    EXPECT_EQ(m_main->List().GetItemCount(), 2);
}

TEST_P(MainListTest, DeletingAnOrderRecountsTheTotalsRowWhichItselfDeletesNothing)
{
    ListPurchases();
    RightClick(*m_main, 2, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"您确定要删除合计吗？"_s);
    EXPECT_EQ(Count(u"inputdata"_s), 2);
    EXPECT_EQ(m_main->List().GetItemCount(), 3);

    RightClick(*m_main, 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(Count(u"inputdata"_s), 1);
    EXPECT_EQ(Count(u"inputdetail"_s), 3); // its payments are not the view's to delete
    ASSERT_EQ(m_main->List().GetItemCount(), 2);
    const QStringList totals = RowTexts(m_main->List(), 1);
    EXPECT_EQ(totals[0], u"合计"_s);
    EXPECT_EQ(totals[6], u"40.00"_s);
    EXPECT_EQ(totals[7], u"8.00"_s);
    EXPECT_EQ(totals[8], u"20.00%"_s);
    EXPECT_EQ(totals[11], u"1.00"_s);
}

TEST_P(MainListTest, RowsOfAnotherCategoryNeverReachTheOldQuery)
{
    // The postcode lookup stores no query of its own; its last column is an area code, not a
    // record number, and must not delete client 10.
    m_file.Exec(u"INSERT INTO client (no, name) VALUES (10, '丁公司')"_s);
    ListClients();
    m_main->SetCategory(ScheduleCategory::kDomesticCodes);
    EXPECT_EQ(m_main->CurrentQuery(), QString());
    Fill(*m_main, {u"省份"_s, u"城市"_s, u"邮编"_s, u"区号"_s},
         {{u"北京"_s, u"北京"_s, u"100000"_s, u"010"_s}});
    m_main->SetCurrentQuery(u"SELECT * FROM client"_s);
    RightClick(*m_main, 0, u"ID_RECORD_DELETE"_s);
    EXPECT_TRUE(m_messages.Messages().empty());
    EXPECT_EQ(Count(u"client"_s), 3);
}

TEST_P(MainListTest, ActivationShowsTheCategoryCaption)
{
    m_main->Activate();
    EXPECT_EQ(m_main->Caption(), u"信息提示栏"_s);
    EXPECT_EQ(m_doc.InfoText(), u"信息提示栏"_s);

    const std::pair<int, QString> captions[] = {
        {CustomerCategory::kClients, u"客户"_s},
        {TradeCategory::kPurchases, u"采购"_s},
        {TradeCategory::kSales, u"销售"_s},
        {ScheduleCategory::kNotes, u"便笺"_s},
        {ScheduleCategory::kAppointments, u"约会"_s},
        {ScheduleCategory::kReminders, u"提醒"_s},
        {ScheduleCategory::kDomesticCodes, u"国内邮编、区号"_s},
        {ScheduleCategory::kInternationalCodes, u"国际区号"_s},
        {ScheduleCategory::kPhoneNumbers, u"常用电话"_s},
        {CustomerCategory::kAddressBook, u"通讯录"_s},
        {7, u"信息提示栏"_s},
    };
    for (const auto& [category, caption] : captions) {
        m_main->SetCategory(category);
        QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(m_main, &focus);
        EXPECT_EQ(m_main->Caption(), caption);
        EXPECT_EQ(m_doc.InfoText(), caption);
    }

    m_main->SetCategory(TradeCategory::kStatistics);
    m_main->SetCaption(u"甲公司 各月销售签单金额对比表"_s);
    m_main->Activate();
    EXPECT_EQ(m_doc.InfoText(), u"甲公司 各月销售签单金额对比表"_s);

    // The lower list names the dependants; the main list takes its own caption back.
    const std::pair<int, QString> lower[] = {
        {CustomerCategory::kClients, u"联系人列表"_s},
        {TradeCategory::kPurchases, u"采购明细"_s},
        {TradeCategory::kSales, u"销售明细"_s},
        {ScheduleCategory::kNotes, u"便笺"_s},
    };
    for (const auto& [category, caption] : lower) {
        m_main->SetCategory(category);
        m_main->Activate();
        QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(Lower(), &focus);
        EXPECT_EQ(m_main->Caption(), caption);
        EXPECT_EQ(m_doc.InfoText(), caption);
    }
    m_main->SetCategory(TradeCategory::kSales);
    m_main->Activate();
    EXPECT_EQ(m_doc.InfoText(), u"销售"_s);
}
