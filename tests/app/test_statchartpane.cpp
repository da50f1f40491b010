#include "app/commandrouter.h"
#include "app/mainframe.h"
#include "kit/commandids.h"
#include "kit/infobar.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "startfolder.h"
#include "support/typing.h"
#include "trade/finddlg.h"
#include "trade/statdlg.h"
#include "views/middlelistview.h"
#include "views/statchartview.h"
#include "views/vantrelview.h"

#include <QChart>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The main window's lower pane while a statistics table is listed, and after.
TEST(StatChartPane, TheChartFollowsTheTableAndLeavesWithIt)
{
    StartFolder folder;
    folder.Data().Exec(u"INSERT INTO client (no, name) VALUES (1, '甲公司'), (2, '乙公司')"_s);
    folder.Data().Exec(u"INSERT INTO linkman (no, client, name, mobile) VALUES "
                       "(1, 1, '张三', '13900001111')"_s);
    folder.Data().Exec(u"INSERT INTO inputdata (no, date, client, sum) VALUES "
                       "(1, '2009-03-10 00:00:00', '乙公司', 250)"_s);
    auto app = folder.MakeApp();
    app->Connections().UseDatabase(folder.Data().Open());
    app->Session().SetUser(u"张三"_s);
    app->Session().Rights().SetAll(true);
    CMainFrame frame(*app);
    frame.resize(1000, 700);
    frame.show();
    MessageRecorder messages;

    ModalDriver<CStatDlg> stat([&frame](CStatDlg& dialog) {
        Retype(dialog.Year(), u"2009"_s);
        Retype(dialog.Month(), u"3"_s);
        QTest::mouseClick(dialog.MonthButton(), Qt::LeftButton);
        EXPECT_EQ(frame.BottomView(), static_cast<QWidget*>(frame.ChartView()));
        EXPECT_TRUE(frame.ChartView()->isVisible());
        EXPECT_FALSE(frame.ListView()->isVisible());
    });
    ASSERT_TRUE(frame.Router().Run(ID_QUERY_STAT));
    EXPECT_TRUE(stat.Opened());
    const QString title = u"2009年3月 各个客户采购签单金额对比表"_s;
    EXPECT_EQ(frame.m_nBottomView, CMainFrame::kBottomChart);
    EXPECT_EQ(frame.ChartView()->chart()->title(), title);
    EXPECT_EQ(frame.ChartView()->Figures().labels, (QStringList{u"甲公司"_s, u"乙公司"_s}));
    EXPECT_EQ(frame.ChartView()->Figures().values, (std::vector<double>{0.0, 250.0}));
    EXPECT_EQ(frame.InfoBar()->Text(), title);
    EXPECT_EQ(frame.MainView()->List().GetItemText(1, 1), u"250.00"_s);

    // A find replaces the table: the secondary list comes back with the contacts found.
    ModalDriver<CFindDlg> find([](CFindDlg& dialog) {
        Paste(dialog.Edit(FindMode::kContactPhone), u"1111"_s);
        QTest::mouseClick(dialog.FindButton(FindMode::kContactPhone), Qt::LeftButton);
    });
    ASSERT_TRUE(frame.Router().Run(ID_QUERY_FIND));
    EXPECT_TRUE(find.Opened());
    EXPECT_EQ(frame.m_nBottomView, CMainFrame::kBottomList);
    EXPECT_TRUE(frame.ListView()->isVisible());
    EXPECT_FALSE(frame.ChartView()->isVisible());
    EXPECT_EQ(frame.ListView()->List().GetItemCount(), 1);
    EXPECT_EQ(frame.InfoBar()->Text(), u"客户列表"_s);
    EXPECT_TRUE(messages.Texts().isEmpty());
}

} // namespace
