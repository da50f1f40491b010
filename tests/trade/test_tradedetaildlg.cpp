#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "trade/detailcommands.h"
#include "trade/orderlist.h"
#include "trade/tradedetaildlg.h"
#include "trade/tradetwin.h"
#include "views/featurecontext.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Purchase orders P-200 (金额 200, paid 40 + 60), A-50 (50, nothing paid) and P-0 (0, paid 10);
// a sales order shares the 单号 P-200 under another number.
class TradeDetailTest : public RecordViewsTest
{
protected:
    TradeDetailTest()
    {
        m_file.Exec(u"UPDATE snnumber SET inputdetail = 20, outputdetail = 30"_s);
        m_file.Exec(u"INSERT INTO inputdata (no, date, paper, sum) VALUES "
                    "(1, '2024-03-01 00:00:00', 'P-200', 200), "
                    "(2, '2024-03-02 00:00:00', 'A-50', 50), "
                    "(3, '2024-03-03 00:00:00', 'P-0', 0)"_s);
        m_file.Exec(u"INSERT INTO outputdata (no, paper, sum) VALUES (1, 'S-1', 10), "
                    "(2, 'P-200', 10)"_s);
        m_file.Exec(u"INSERT INTO inputdetail (no, paper, date, number, sum, person) VALUES "
                    "(1, 1, '2024-03-06 00:00:00', 1, 40, '甲'), "
                    "(2, 1, '2024-03-08 15:30:00', 2, 60, '乙'), "
                    "(3, 3, '2024-03-09 00:00:00', 1, 10, '丙')"_s);
        RegisterDetailDialogs(m_doc, m_app);
    }

    std::unique_ptr<CTradeDetailDlg> Open(const TradeTwin& trade)
    {
        auto dialog =
            std::make_unique<CTradeDetailDlg>(m_db.get(), trade, Lower(), m_main, m_app.Clock());
        dialog->show();
        return dialog;
    }

    // The purchase orders listed by date, and the payments of the order in row `row` below.
    void ShowPayments(int row)
    {
        ShowOrderList(m_doc, kPurchaseTwin, u"SELECT * FROM inputdata ORDER BY date"_s);
        m_window.show();
        LeftClick(*m_main, row);
        ASSERT_EQ(m_main->SelectedRow(), row);
    }
    QStringList MainRow(int row) const { return RowTexts(m_main->List(), row); }
    QStringList LowerRow(int row) const { return RowTexts(Lower()->List(), row); }
    int LowerRows() const { return Lower()->List().GetItemCount(); }

    // Modifies the payment in row `row` of the secondary list through the dialog.
    void Modify(int row, const std::function<void(CTradeDetailDlg&)>& change)
    {
        ModalDriver<CTradeDetailDlg> driver([&](CTradeDetailDlg& dialog) {
            change(dialog);
            Click(dialog, u"IDOK"_s);
        });
        DoubleClick(*Lower(), row);
    }

    QString Stored(int no, const QString& field) const
    {
        return Value(u"SELECT %1 FROM inputdetail WHERE no = %2"_s.arg(field).arg(no));
    }

    CAppContext m_app;
};

TEST_P(TradeDetailTest, EachTradeListsItsOwnOrdersSortedAndSavesToItsOwnTables)
{
    m_file.Exec(u"INSERT INTO inputdata (no, paper) VALUES (4, '中原'), (5, 'b-7'), (6, '北方')"_s);
    auto purchase = Open(kPurchaseTwin);
    EXPECT_EQ(purchase->OrderBox()->currentIndex(), -1);
    // Letters without regard to case, Chinese by pinyin (北 bei before 中 zhong).
    QStringList latin;
    QStringList chinese;
    for (int i = 0; i < purchase->OrderBox()->count(); ++i) {
        const QString entry = purchase->OrderBox()->itemText(i);
        (entry.at(0).script() == QChar::Script_Han ? chinese : latin) << entry;
    }
    EXPECT_EQ(latin, (QStringList{u"A-50"_s, u"b-7"_s, u"P-0"_s, u"P-200"_s}));
    EXPECT_EQ(chinese, (QStringList{u"北方"_s, u"中原"_s}));

    auto sale = Open(kSaleTwin);
    EXPECT_EQ(sale->m_bSale, 1);
    ASSERT_EQ(sale->OrderBox()->count(), 2);
    EXPECT_EQ(sale->OrderBox()->itemText(1), u"S-1"_s);
    sale->OrderBox()->setCurrentIndex(0);
    Retype(sale->Control(u"sum"_s), u"7.5"_s);
    Click(*sale, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_FALSE(sale->isVisible());
    // The sales order of that 单号, in the sales tables and counter.
    EXPECT_EQ(Value(u"SELECT paper || ' ' || sum FROM outputdetail WHERE no = 30"_s), u"2 7.5"_s);
    EXPECT_EQ(Value(u"SELECT outputdetail || ' ' || inputdetail FROM snnumber"_s), u"31 20"_s);
    EXPECT_EQ(Count(u"inputdetail"_s), 3);
}

TEST_P(TradeDetailTest, AddAndDeleteFromTheLowerListUpdateBothListsAtOnce)
{
    const FixedClock clock(m_app, QDateTime(QDate(2025, 6, 30), QTime(23, 59, 59)));
    ShowPayments(0);
    {
        ModalDriver<CTradeDetailDlg> driver([](CTradeDetailDlg& dialog) {
            EXPECT_EQ(dialog.m_bPreselect, 1);
            EXPECT_EQ(dialog.OrderBox()->currentText(), u"P-200"_s);
            EXPECT_EQ(dialog.DatePicker()->date(), QDate(2025, 6, 30));
            dialog.DatePicker()->setDate(QDate(2024, 3, 7));
            Retype(dialog.Control(u"number"_s), u"3"_s);
            Retype(dialog.Control(u"sum"_s), u" 25.5 "_s);
            Retype(dialog.Control(u"person"_s), u"O'Neil"_s);
            Retype(dialog.Control(u"detail"_s), u"钢材'十吨'\n运费"_s);
            Click(dialog, u"IDOK"_s);
        });
        RightClick(*Lower(), -1, u"ID_RECORD_ADD"_s);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_EQ(Stored(20, u"paper || ' ' || date || ' ' || number || ' ' || sum"_s),
              u"1 2024-03-07 00:00:00 3.0 25.5"_s);
    EXPECT_EQ(Stored(20, u"person"_s), u"O'Neil"_s);
    EXPECT_EQ(Stored(20, u"detail"_s), u"钢材'十吨'\n运费"_s);
    EXPECT_EQ(Value(u"SELECT inputdetail FROM snnumber"_s), u"21"_s);
    // The new payment is listed in its place by date, and every figure counts it.
    ASSERT_EQ(LowerRows(), 4);
    EXPECT_EQ(LowerRow(1), (QStringList{u"2024-3-7"_s,
                                        u"3.00"_s,
                                        u"25.50"_s,
                                        u"O'Neil"_s,
                                        {},
                                        u"钢材'十吨'\n运费"_s,
                                        {},
                                        u"20"_s}));
    EXPECT_EQ(LowerRow(3).mid(0, 3), (QStringList{u"合计"_s, u"6.00"_s, u"125.50"_s}));
    EXPECT_EQ(MainRow(0).mid(6, 3), (QStringList{u"200.00"_s, u"125.50"_s, u"62.75%"_s}));
    EXPECT_EQ(MainRow(3).mid(6, 3), (QStringList{u"250.00"_s, u"135.50"_s, u"54.20%"_s}));

    // Deleting one takes it out of both figures.
    m_messages.Clear();
    RightClick(*Lower(), 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"您确定要删除2024-3-6吗？"_s});
    EXPECT_EQ(Count(u"inputdetail WHERE no = 1"_s), 0);
    ASSERT_EQ(LowerRows(), 3);
    EXPECT_EQ(LowerRow(2).mid(0, 3), (QStringList{u"合计"_s, u"5.00"_s, u"85.50"_s}));
    EXPECT_EQ(MainRow(0).mid(6, 3), (QStringList{u"200.00"_s, u"85.50"_s, u"42.75%"_s}));
    EXPECT_EQ(MainRow(3).mid(6, 3), (QStringList{u"250.00"_s, u"95.50"_s, u"38.20%"_s}));

    // A payment added to another order than the shown one counts for that order only.
    {
        ModalDriver<CTradeDetailDlg> driver([](CTradeDetailDlg& dialog) {
            dialog.OrderBox()->setCurrentIndex(dialog.OrderBox()->findText(u"A-50"_s));
            Retype(dialog.Control(u"sum"_s), u"5"_s);
            Click(dialog, u"IDOK"_s);
        });
        RightClick(*Lower(), -1, u"ID_RECORD_ADD"_s);
    }
    EXPECT_EQ(Stored(21, u"paper"_s), u"2"_s);
    EXPECT_EQ(LowerRows(), 3);
    EXPECT_EQ(MainRow(0).mid(7, 2), (QStringList{u"85.50"_s, u"42.75%"_s}));
    EXPECT_EQ(MainRow(1).mid(7, 2), (QStringList{u"5.00"_s, u"10.00%"_s}));
    EXPECT_EQ(MainRow(3).mid(7, 2), (QStringList{u"100.50"_s, u"40.20%"_s}));
}

TEST_P(TradeDetailTest, ModifyUpdatesBothListsAtOnceAndKeepsTheStoredDay)
{
    ShowPayments(0);
    Modify(1, [](CTradeDetailDlg& dialog) {
        EXPECT_EQ(dialog.m_bModify, 1);
        EXPECT_EQ(dialog.OrderBox()->currentText(), u"P-200"_s);
        EXPECT_EQ(dialog.DatePicker()->date(), QDate(2024, 3, 8));
        EXPECT_EQ(dialog.Control(u"sum"_s)->property("text").toString(), u"60"_s);
        Retype(dialog.Control(u"sum"_s), u"90.5"_s);
        Retype(dialog.Control(u"remark"_s), u"补'款"_s);
    });
    EXPECT_EQ(m_messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(Stored(2, u"date || ' ' || sum || ' ' || remark"_s),
              u"2024-03-08 00:00:00 90.5 补'款"_s);
    EXPECT_EQ(Count(u"inputdetail"_s), 3);
    EXPECT_EQ(
        LowerRow(1),
        (QStringList{u"2024-3-8"_s, u"2.00"_s, u"90.50"_s, u"乙"_s, {}, {}, u"补'款"_s, u"2"_s}));
    EXPECT_EQ(LowerRow(2).mid(0, 3), (QStringList{u"合计"_s, u"3.00"_s, u"130.50"_s}));
    EXPECT_EQ(MainRow(0).mid(6, 3), (QStringList{u"200.00"_s, u"130.50"_s, u"65.25%"_s}));
    EXPECT_EQ(MainRow(3).mid(6, 3), (QStringList{u"250.00"_s, u"140.50"_s, u"56.20%"_s}));

    // Another day picked is stored and shown.
    Modify(0, [](CTradeDetailDlg& dialog) { dialog.DatePicker()->setDate(QDate(2023, 12, 1)); });
    EXPECT_EQ(Stored(1, u"date"_s), u"2023-12-01 00:00:00"_s);
    EXPECT_EQ(LowerRow(0)[0], u"2023-12-1"_s);

    // An order of 金额 0 shows 0.00% whatever it is paid.
    LeftClick(*m_main, 2);
    ASSERT_EQ(MainRow(2)[1], u"P-0"_s);
    Modify(0, [](CTradeDetailDlg& dialog) { Retype(dialog.Control(u"sum"_s), u"15"_s); });
    EXPECT_EQ(MainRow(2).mid(6, 3), (QStringList{u"0.00"_s, u"15.00"_s, u"0.00%"_s}));
    EXPECT_EQ(MainRow(3)[7], u"145.50"_s);
}

TEST_P(TradeDetailTest, PaymentMovedToAnotherOrderLeavesTheShownOrder)
{
    ShowPayments(0);
    Modify(0, [](CTradeDetailDlg& dialog) {
        dialog.OrderBox()->setCurrentIndex(dialog.OrderBox()->findText(u"A-50"_s));
    });
    EXPECT_EQ(m_messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(Stored(1, u"paper"_s), u"2"_s);
    // The shown order keeps only its own payment; the order it went to shows it.
    ASSERT_EQ(LowerRows(), 2);
    EXPECT_EQ(LowerRow(0)[7], u"2"_s);
    EXPECT_EQ(LowerRow(1).mid(0, 3), (QStringList{u"合计"_s, u"2.00"_s, u"60.00"_s}));
    EXPECT_EQ(MainRow(0).mid(7, 2), (QStringList{u"60.00"_s, u"30.00%"_s}));
    EXPECT_EQ(MainRow(1).mid(7, 2), (QStringList{u"40.00"_s, u"80.00%"_s}));
    EXPECT_EQ(MainRow(3).mid(7, 2), (QStringList{u"110.00"_s, u"44.00%"_s}));
    // As listing the orders afresh shows them.
    const QStringList before = MainRow(1);
    ShowPayments(1);
    EXPECT_EQ(MainRow(1), before);
    EXPECT_EQ(LowerRows(), 2);
}

TEST_P(TradeDetailTest, RefusedNumbersAndVanishedRowsSaveNothing)
{
    ShowPayments(0);
    const QStringList lowerBefore = LowerRow(0);
    Modify(0, [this](CTradeDetailDlg& dialog) {
        Retype(dialog.Control(u"number"_s), u"3x"_s);
        Click(dialog, u"IDOK"_s);
        Retype(dialog.Control(u"number"_s), u"3"_s);
        Retype(dialog.Control(u"sum"_s), u"1,5"_s);
        Click(dialog, u"IDOK"_s);
        EXPECT_TRUE(dialog.isVisible());
        // Deleted by another workstation meanwhile.
        m_file.Exec(u"DELETE FROM inputdetail WHERE no = 1"_s);
        Retype(dialog.Control(u"sum"_s), u"15"_s);
    });
    EXPECT_EQ(m_messages.Texts(),
              (QStringList{u"数量必须填写数字！"_s, u"金额必须填写数字！"_s, u"找不到此数据！"_s}));
    EXPECT_EQ(Count(u"inputdetail"_s), 2);
    EXPECT_EQ(Stored(2, u"sum"_s), u"60.0"_s);
    EXPECT_EQ(LowerRow(0), lowerBefore);
    EXPECT_EQ(MainRow(0)[7], u"100.00"_s);
}

TEST_P(TradeDetailTest, MenuCommandsOpenItWithNoOrderChosen)
{
    CAppContext app;
    FeatureCommands commands;
    RegisterDetailCommands(CFeatureContext{app, m_doc, commands, &m_window});
    ShowPayments(0); // an order selected in the list is no preselection
    {
        ModalDriver<CTradeDetailDlg> driver([](CTradeDetailDlg& dialog) {
            EXPECT_EQ(dialog.m_bSale, 1);
            EXPECT_EQ(dialog.OrderBox()->count(), 2);
            EXPECT_EQ(dialog.OrderBox()->currentIndex(), -1);
        });
        commands.PostCommand(ID_MANAGE_OUTPUTDETAIL);
    }
    m_file.Exec(u"DELETE FROM inputdata"_s);
    ModalDriver<CTradeDetailDlg> driver([](CTradeDetailDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), u"明细"_s);
        EXPECT_EQ(dialog.m_bSale, 0);
        EXPECT_EQ(
            qobject_cast<QPlainTextEdit*>(dialog.Control(u"help"_s))->toPlainText(),
            u"    如果只有一种货品进行交易，可以直接在数量、金额中填写本次交易的数额，如果货品"
            "种类较多，请只填写金额项，然后把各个货品的交易情况写在交易详情里。"_s);
        EXPECT_EQ(Find<QPushButton>(dialog, u"IDOK"_s)->text(), u"确定"_s);
        EXPECT_EQ(Find<QPushButton>(dialog, u"IDCANCEL"_s)->text(), u"取消"_s);
        EXPECT_EQ(dialog.findChild<QWidget*>(u"IDC_CONTINUOUS"_s), nullptr);
        EXPECT_EQ(dialog.OrderBox()->count(), 0);
        EXPECT_FALSE(dialog.OrderBox()->isEditable());
        // Figures stand at the right, as in the order dialogs.
        for (const QString& field : {u"number"_s, u"sum"_s})
            EXPECT_EQ(qobject_cast<QLineEdit*>(dialog.Control(field))->alignment() &
                          Qt::AlignHorizontal_Mask,
                      Qt::AlignRight);
        Retype(dialog.Control(u"sum"_s), u"5"_s);
        Click(dialog, u"IDOK"_s);
        EXPECT_TRUE(dialog.isVisible());
    });
    commands.PostCommand(ID_MANAGE_INPUTDETAIL);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"单号还没有选择！"_s});
    EXPECT_EQ(Count(u"inputdetail"_s), 3);
    EXPECT_EQ(Value(u"SELECT inputdetail FROM snnumber"_s), u"20"_s);
}

INSTANTIATE_TEST_SUITE_P(, TradeDetailTest, EachBackend(), BackendName);

} // namespace
