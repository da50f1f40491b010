#include "data/adorecordset.h"
#include "kit/commandids.h"
#include "kit/controltext.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "support/typing.h"
#include "trade/orderdlg.h"
#include "trade/orderlist.h"
#include "trade/tradecommands.h"
#include "trade/tradetwin.h"
#include "views/featurecontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

// A fresh data file with three clients and their contacts, and the trade commands registered as
// the main window registers them.
class OrderDlgTest : public RecordViewsTest
{
protected:
    OrderDlgTest()
    {
        m_file.Exec(u"INSERT INTO client ([no], [name]) VALUES (1, '上海五金'), "
                    "(2, '北京华达'), (3, 'O''Neil Ltd')"_s);
        m_file.Exec(u"INSERT INTO linkman ([no], [client], [name]) VALUES (1, 2, '张三'), "
                    "(2, 2, '李四'), (3, 1, '王五')"_s);
        RegisterTradeCommands(CFeatureContext{m_app, m_doc, m_commands, &m_window});
    }

    // Types an order into a shown dialog: 单号, client, and the other edits by column name.
    static void Fill(COrderDlg& dialog, const QString& paper, const QString& client,
                     const QVariantMap& edits = {})
    {
        Retype(dialog.Control(u"paper"_s), paper);
        dialog.ClientBox().SetText(client);
        Q_EMIT dialog.ClientBox().Changed();
        for (auto it = edits.cbegin(); it != edits.cend(); ++it)
            Retype(dialog.Control(it.key()), it.value().toString());
    }

    int Counter(const QString& column) const
    {
        return Value(u"SELECT "_s + column + u" FROM snnumber"_s).toInt();
    }

    CAppContext m_app;
    FeatureCommands m_commands;
};

TEST_P(OrderDlgTest, AddsAnOrderWithItsNumberClientContactAndDayOnly)
{
    bool ran = false;
    ModalDriver<CSaleDlg> driver([&](CSaleDlg& dialog) {
        ran = true;
        EXPECT_EQ(dialog.windowTitle(), u"销售"_s);
        EXPECT_TRUE(dialog.HelpText().contains(u"在销售详情中填写详细的货品资料。"_s));
        // Clients as a Chinese reader sorts them: 北京 (bei), 上海 (shang), then Latin.
        ASSERT_EQ(dialog.ClientBox().GetCount(), 3);
        QStringList clients;
        for (int i = 0; i < 3; ++i) {
            QString text;
            dialog.ClientBox().GetLBText(i, text);
            clients << text;
        }
        EXPECT_EQ(clients, (QStringList{u"北京华达"_s, u"上海五金"_s, u"O'Neil Ltd"_s}));
        // The first client is chosen, with its contacts.
        EXPECT_EQ(dialog.ClientBox().Text(), u"北京华达"_s);
        EXPECT_EQ(dialog.ContactBox()->count(), 2);
        Fill(dialog, u"x"_s, u"O'Neil Ltd"_s);
        EXPECT_EQ(dialog.ContactBox()->count(), 0);

        auto* date = qobject_cast<QDateTimeEdit*>(dialog.Control(u"date"_s));
        date->setDateTime(QDateTime(QDate(2024, 3, 5), QTime(17, 45, 30)));
        Fill(dialog, u"  "_s, u"北京华达"_s,
             {{u"item"_s, u"年度'框架'"_s},
              {u"number"_s, u"2.5"_s},
              {u"sum"_s, u"1200.75"_s},
              {u"detail"_s, u"钢材\n铝材"_s}});
        // The client's contacts, sorted: 李 (li) before 张 (zhang).
        ASSERT_EQ(dialog.ContactBox()->count(), 2);
        EXPECT_EQ(dialog.ContactBox()->itemText(0), u"李四"_s);
        dialog.ContactBox()->setCurrentIndex(1);
        qobject_cast<QCheckBox*>(dialog.Control(u"square"_s))->setChecked(true);
        dialog.OnOK();
        EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
        EXPECT_FALSE(dialog.isVisible());
    });
    m_commands.Run(ID_MANAGE_OUTPUT);
    ASSERT_TRUE(ran);

    EXPECT_EQ(Count(u"outputdata"_s), 1);
    EXPECT_EQ(Count(u"inputdata"_s), 0);
    EXPECT_EQ(Counter(u"outputdata"_s), 2);
    // A 单号 of blanks is a 单号; the date is the day alone.
    EXPECT_EQ(Value(u"SELECT paper || '|' || client || '|' || linkman || '|' || item || '|' || "
                    "number || '|' || sum || '|' || square || '|' || date FROM outputdata "
                    "WHERE no = 1"_s),
              u"  |北京华达|张三|年度'框架'|2.5|1200.75|1|2024-03-05 00:00:00"_s);
    EXPECT_EQ(Value(u"SELECT detail FROM outputdata"_s), u"钢材\n铝材"_s);
}

TEST_P(OrderDlgTest, RefusesBadPapersDuplicatesUnknownClientsAndBadNumbers)
{
    m_file.Exec(u"INSERT INTO outputdata (no, paper, client) VALUES (1, 'S-1', '北京华达')"_s);
    m_file.Exec(u"UPDATE snnumber SET outputdata = 2, inputdata = 1"_s);
    CSaleDlg dialog(m_db.get(), m_main, m_app.Clock());
    dialog.show();

    // Nothing reaches the file: no number is taken for a refused 单号 or number.
    for (const QString& paper : {u"A'1"_s, u"A\"1"_s, u"[A1"_s, u"A1]"_s}) {
        Fill(dialog, paper, u"北京华达"_s);
        dialog.OnOK();
        EXPECT_EQ(m_messages.LastText(), u"单号不能含有',\",[,]等符号！"_s);
    }
    Fill(dialog, QString(), u"北京华达"_s);
    dialog.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"单号必须填写！"_s);
    Fill(dialog, u"S-2"_s, u"北京华达"_s, {{u"sum"_s, u"12,5"_s}});
    dialog.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"金额必须填写数字！"_s);
    Fill(dialog, u"S-2"_s, u"北京华达"_s, {{u"sum"_s, u"12.5"_s}, {u"number"_s, u"两个"_s}});
    dialog.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"数量必须填写数字！"_s);
    EXPECT_EQ(Counter(u"outputdata"_s), 2);
    Retype(dialog.Control(u"number"_s), u"2"_s);

    // A duplicate 单号 spends its number all the same.
    Fill(dialog, u"S-1"_s, u"北京华达"_s);
    dialog.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"此单号已经存在，单号不能重复！"_s);
    EXPECT_EQ(Counter(u"outputdata"_s), 3);
    // A client the list does not begin, or none.
    Fill(dialog, u"S-2"_s, u"广州"_s);
    EXPECT_EQ(dialog.ContactBox()->count(), 0);
    dialog.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"客户名称不存在，单据无法记录！"_s);
    Fill(dialog, u"S-2"_s, QString());
    dialog.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"客户名称不存在，单据无法记录！"_s);
    EXPECT_EQ(Count(u"outputdata"_s), 1);
    EXPECT_TRUE(dialog.isVisible());

    // The beginning of one client's name, in any case, stores that client, with no contact.
    Fill(dialog, u"S-2"_s, u"o'n"_s);
    dialog.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"新数据添加成功！"_s);
    // Every save that passed the 单号 checks took a number: 2 to 5.
    EXPECT_EQ(Value(u"SELECT no || client || coalesce(linkman, 'NULL') FROM outputdata "
                    "WHERE paper = 'S-2'"_s),
              u"5O'Neil LtdNULL"_s);

    // The same 单号 in the other trade is another order's.
    CPurchaseDlg purchase(m_db.get(), m_main, m_app.Clock());
    purchase.show();
    EXPECT_EQ(purchase.windowTitle(), u"采购"_s);
    Fill(purchase, u"S-1"_s, u"上海五金"_s);
    EXPECT_EQ(purchase.ContactBox()->currentText(), u"王五"_s);
    purchase.OnOK();
    EXPECT_EQ(m_messages.LastText(), u"新数据添加成功！"_s);
    EXPECT_EQ(Value(u"SELECT paper || linkman FROM inputdata WHERE no = 1"_s), u"S-1王五"_s);
}

TEST_P(OrderDlgTest, ClientTextIsStoredAsTheOneClientItNamesOrRefused)
{
    m_file.Exec(u"INSERT INTO client ([no], [name]) VALUES (4, '广州机械'), (5, '广州电子'), "
                "(6, '华达电器'), (7, '华达'), (8, 'ACME'), (9, 'Acme')"_s);
    CSaleDlg dialog(m_db.get(), m_main, m_app.Clock());
    dialog.show();
    dialog.ContinuousBox()->setChecked(true);
    int paper = 0;
    // Saves an order for the typed text; returns the client stored, or the message shown.
    auto save = [&](const QString& typed) {
        m_messages.Clear();
        const QString number = u"S-%1"_s.arg(++paper);
        Fill(dialog, number, typed);
        dialog.OnOK();
        if (m_messages.LastText() != u"新数据添加成功！"_s)
            return m_messages.LastText();
        return Value(u"SELECT client FROM outputdata WHERE paper = '%1'"_s.arg(number));
    };
    const QString refused = u"客户名称不存在，单据无法记录！"_s;

    // Two clients begin with it: refused as a failure, the dialog keeping what was typed.
    EXPECT_EQ(save(u"广州"_s), refused);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_TRUE(m_messages.Messages().back().warning);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.ClientBox().Text(), u"广州"_s);
    EXPECT_EQ(Count(u"outputdata"_s), 0);

    // The one client it begins is stored by its full name, which the box then shows.
    EXPECT_EQ(save(u"广州电"_s), u"广州电子"_s);
    EXPECT_EQ(dialog.ClientBox().Text(), u"广州电子"_s);
    // A whole name wins over the longer names it begins.
    EXPECT_EQ(save(u"华达"_s), u"华达"_s);
    // Letter case does not matter, unless it is all that tells two clients apart.
    EXPECT_EQ(save(u"O'NEIL LTD"_s), u"O'Neil Ltd"_s);
    EXPECT_EQ(save(u"Acme"_s), u"Acme"_s);
    EXPECT_EQ(save(u"acme"_s), refused);
    EXPECT_EQ(save(u"acm"_s), refused);
    EXPECT_EQ(Value(u"SELECT group_concat(client, ',') FROM (SELECT client FROM outputdata "
                    "ORDER BY no) AS ordered"_s),
              u"广州电子,华达,O'Neil Ltd,Acme"_s);
}

TEST_P(OrderDlgTest, ContinuousAddKeepsTheDialogOpenWithConsecutiveNumbers)
{
    CPurchaseDlg dialog(m_db.get(), m_main, m_app.Clock());
    dialog.show();
    dialog.ContinuousBox()->setChecked(true);
    Fill(dialog, u"P-1"_s, u"上海五金"_s, {{u"sum"_s, u"10"_s}});
    dialog.OnOK();
    Retype(dialog.Control(u"paper"_s), u"P-2"_s);
    dialog.OnOK();
    EXPECT_EQ(m_messages.Texts(), (QStringList{u"新数据添加成功！"_s, u"新数据添加成功！"_s}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Value(u"SELECT group_concat(no || paper || ':' || sum, ',') FROM inputdata"_s),
              u"1P-1:10.0,2P-2:10.0"_s);
}

TEST_P(OrderDlgTest, ModifyFromTheListRewritesTheRowAndTotals)
{
    m_file.Exec(u"INSERT INTO outputdata (no, date, paper, client, linkman, sum, number, square) "
                "VALUES (1, '2024-03-05 00:00:00', 'S-1', '北京华达', '张三', 200, 2, 0), "
                "(2, '2024-03-01 00:00:00', 'S-2', '北京', '离职的人', 100, 1, 1)"_s);
    m_file.Exec(u"INSERT INTO outputdetail (no, paper, sum) VALUES (1, 1, 50), (2, 2, 25)"_s);
    ShowOrderList(m_doc, kSaleTwin, u"SELECT * FROM outputdata ORDER BY date DESC"_s);
    m_window.show();
    ASSERT_EQ(RowTexts(m_main->List(), 0)[8], u"25.00%"_s);

    // Keeping its own 单号 passes the duplicate check; 金额 0 gives 0.00%.
    ModalDriver<CSaleDlg> first([&](CSaleDlg& dialog) {
        EXPECT_FALSE(dialog.ContinuousBox()->isEnabled());
        EXPECT_EQ(qobject_cast<QDateTimeEdit*>(dialog.Control(u"date"_s))->dateTime(),
                  QDateTime(QDate(2024, 3, 5), QTime(0, 0)));
        EXPECT_EQ(dialog.ClientBox().Text(), u"北京华达"_s);
        EXPECT_EQ(dialog.ContactBox()->currentText(), u"张三"_s);
        EXPECT_EQ(ControlText(dialog.Control(u"sum"_s)), u"200"_s);
        Retype(dialog.Control(u"sum"_s), u"0"_s);
        qobject_cast<QCheckBox*>(dialog.Control(u"square"_s))->setChecked(true);
        dialog.OnOK();
    });
    DoubleClick(*m_main, 0);
    EXPECT_EQ(m_messages.LastText(), u"记录修改成功！"_s);
    QStringList row = RowTexts(m_main->List(), 0);
    EXPECT_EQ(row[6], u"0.00"_s);
    EXPECT_EQ(row[7], u"50.00"_s);
    EXPECT_EQ(row[8], u"0.00%"_s);
    EXPECT_EQ(row[14], u"已结清"_s);
    EXPECT_EQ(m_main->List().GetItemImage(0), 1);
    QStringList totals = RowTexts(m_main->List(), 2);
    EXPECT_EQ(totals[6], u"100.00"_s);
    EXPECT_EQ(totals[7], u"75.00"_s);
    EXPECT_EQ(totals[8], u"75.00%"_s);
    EXPECT_EQ(Value(u"SELECT sum || '|' || square FROM outputdata WHERE no = 1"_s), u"0.0|1"_s);

    // An order stored for a name's beginning is stored for the client it begins when saved
    // again; its contact, who has left, stays.
    ModalDriver<CSaleDlg> second([&](CSaleDlg& dialog) {
        EXPECT_EQ(dialog.ClientBox().Text(), u"北京"_s);
        EXPECT_EQ(dialog.ContactBox()->currentText(), u"离职的人"_s);
        Retype(dialog.Control(u"remark"_s), u"已核对"_s);
        qobject_cast<QCheckBox*>(dialog.Control(u"square"_s))->setChecked(false);
        dialog.OnOK();
    });
    DoubleClick(*m_main, 1);
    EXPECT_EQ(m_messages.LastText(), u"记录修改成功！"_s);
    EXPECT_EQ(Value(u"SELECT client || linkman || remark || square FROM outputdata WHERE no = 2"_s),
              u"北京华达离职的人已核对0"_s);
    row = RowTexts(m_main->List(), 1);
    EXPECT_EQ(row[4], u"北京华达"_s);
    EXPECT_EQ(row[14], u"未完成"_s);
    EXPECT_EQ(row[16], u"已核对"_s);
    EXPECT_EQ(m_main->List().GetItemImage(1), 2);
}

INSTANTIATE_TEST_SUITE_P(, OrderDlgTest, EachBackend(), BackendName);

} // namespace
