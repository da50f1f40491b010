#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "kit/gfxoutbarctrl.h"
#include "kit/infobar.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "startfolder.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/recordcategory.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QAction>
#include <QCoreApplication>
#include <QSplitter>

#include <gtest/gtest.h>

#include <map>

using namespace Qt::StringLiterals;

namespace {

class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_app = m_folder.MakeApp();
        m_app->m_pDb = m_folder.Data().Open();
        m_app->m_strUser = u"张三"_s;
    }

    std::unique_ptr<CMainFrame> MakeFrame()
    {
        auto frame = std::make_unique<CMainFrame>(*m_app);
        frame->resize(1000, 700);
        frame->show();
        return frame;
    }

    // Replaces every command's handler by one that counts its runs.
    void CountRuns(CMainFrame& frame)
    {
        for (const CommandInfo& command : Commands()) {
            const int id = command.id;
            frame.Router().SetHandler(id, [this, id] { ++m_runs[id]; });
        }
    }

    StartFolder m_folder;
    std::unique_ptr<CVantrelApp> m_app;
    std::map<int, int> m_runs;
};

} // namespace

TEST_F(MainFrameTest, EveryCommandTestsItsPermission)
{
    auto frame = MakeFrame();
    CountRuns(*frame);
    MessageRecorder messages;
    for (const CommandInfo& command : Commands()) {
        m_app->SetAllPermissions(1);
        m_app->m_strUser = u"张三"_s;
        if (command.rule == PermissionRule::Flag) {
            *m_app->PermissionFlag(QString::fromLatin1(command.flag)) = 0;
            messages.Clear();
            EXPECT_FALSE(frame->Router().Run(command.id)) << command.id;
            ASSERT_EQ(messages.Messages().size(), 1u) << command.id;
            EXPECT_EQ(messages.LastText(), u"您还没有这个权限！"_s);
            EXPECT_EQ(messages.Messages().back().caption, u"无权限"_s);
            EXPECT_EQ(m_runs[command.id], 0) << command.id;
            *m_app->PermissionFlag(QString::fromLatin1(command.flag)) = 1;
        }
        if (command.rule == PermissionRule::Administrator) {
            EXPECT_FALSE(frame->Router().Run(command.id)) << command.id; // flags do not help
            EXPECT_EQ(m_runs[command.id], 0);
            m_app->m_strUser = u"管理员"_s;
        }
        if (command.rule == PermissionRule::None)
            m_app->SetAllPermissions(0);
        messages.Clear();
        EXPECT_TRUE(frame->Router().Run(command.id)) << command.id;
        EXPECT_TRUE(messages.Messages().empty()) << command.id;
        EXPECT_EQ(m_runs[command.id], 1) << command.id;
    }
}

TEST_F(MainFrameTest, NavigationClicksPostTheirCommandAfterTheClick)
{
    auto frame = MakeFrame();
    CountRuns(*frame);
    m_app->m_strUser = u"管理员"_s;
    m_app->SetAllPermissions(1);
    CGfxOutBarCtrl* bar = frame->NavigationBar();
    ASSERT_EQ(bar->FolderCount(), 4);
    const auto folders = NavigationFolders();
    for (int folder = 0; folder < bar->FolderCount(); ++folder) {
        bar->SetAnimationDelay(-1);
        bar->OpenFolder(folder);
        ASSERT_EQ(bar->ItemCount(folder), int(folders[folder].items.size()));
        for (int item = 0; item < bar->ItemCount(folder); ++item) {
            const int id = CommandByMessage(folders[folder].items[item].message)->id;
            const int before = m_runs[id];
            frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, item);
            EXPECT_EQ(m_runs[id], before) << "runs only after the click is handled";
            QCoreApplication::processEvents();
            EXPECT_EQ(m_runs[id], before + 1) << folder << "/" << item;
            EXPECT_EQ(frame->LastNavigationFolder(), folder);
            EXPECT_EQ(frame->LastNavigationItem(), item);
        }
    }
    // A second click opens again; other codes and positions outside the table do nothing.
    bar->OpenFolder(1);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, 0);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, 0);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyFolderOpened, 0);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, 99);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_runs[ID_MANAGE_CLIENT], 3);
}

TEST_F(MainFrameTest, CommandsWithoutADialogAreDisabled)
{
    auto frame = MakeFrame();
    EXPECT_EQ(frame->windowTitle(), u"Vantrel    当前用户：张三"_s);
    EXPECT_EQ(frame->InfoBar()->Text(), u"信息提示栏"_s);
    EXPECT_EQ(frame->InfoBar()->BackgroundColor(), QColor(169, 169, 196));
    EXPECT_TRUE(frame->Action(ID_MANAGE_POWER)->isEnabled());
    EXPECT_TRUE(frame->Action(ID_QUERY_NOTICE)->isEnabled());
    EXPECT_FALSE(frame->Action(ID_QUERY_STAT)->isEnabled());
    EXPECT_FALSE(frame->NavigationBar()->IsItemEnabled(0, 7));
    frame->Router().SetHandler(ID_QUERY_STAT, [] {});
    // A handler that is registered turns the entry and its navigation item on.
    EXPECT_TRUE(frame->Action(ID_QUERY_STAT)->isEnabled());
    EXPECT_TRUE(frame->NavigationBar()->IsItemEnabled(0, 7));
    EXPECT_TRUE(frame->NavigationBar()->IsItemEnabled(1, 13)); // 权限分配
}

TEST_F(MainFrameTest, ReminderListAndTheLowerPane)
{
    m_folder.Data().Exec(u"INSERT INTO notice (time, endtime, content) VALUES "
                         "('2024-03-05 09:07:00', '2024-03-06 18:00:00', '给张经理回电话'),"
                         "('2025-01-02 00:00:00', '2025-01-02 23:59:59', '年度盘点');"_s);
    auto frame = MakeFrame();
    CVantrelView* list = frame->MainView();
    list->List().InsertColumn(0, u"旧"_s);
    list->List().AppendRow({u"保留"_s});

    MessageRecorder messages;
    m_app->SetAllPermissions(0);
    frame->Router().Run(ID_QUERY_NOTICE);
    EXPECT_EQ(list->List().GetItemText(0, 0), u"保留"_s); // refused: nothing changes
    EXPECT_EQ(frame->m_nBottomView, CMainFrame::kBottomList);

    // Each view comes into the lower pane empty: nothing of what it showed before returns.
    frame->ListView()->List().InsertColumn(0, u"联系人"_s);
    frame->ListView()->List().AppendRow({u"李四"_s});
    frame->ListView()->SetCurrentQuery(u"SELECT * FROM linkman"_s);
    frame->ListView()->SetCurrentRow(0);
    frame->TextView()->SetText(u"旧便笺"_s);

    m_app->snotice = 1;
    const int before = frame->BottomView()->height();
    ASSERT_TRUE(frame->Router().Run(ID_QUERY_NOTICE));
    EXPECT_EQ(list->Category(), RecordCategory::kReminders);
    EXPECT_EQ(frame->InfoBar()->Text(), u"提醒"_s);
    EXPECT_EQ(frame->m_nBottomView, CMainFrame::kBottomText);
    EXPECT_EQ(frame->BottomView(), frame->TextView());
    EXPECT_EQ(frame->BottomView()->height(), before);
    const CRecordListModel& rows = list->List();
    ASSERT_EQ(rows.GetColumnCount(), 4);
    EXPECT_EQ(rows.ColumnAt(0).title, u"开始时间"_s);
    EXPECT_EQ(rows.ColumnAt(2).width, 600);
    EXPECT_EQ(rows.ColumnAt(3).width, 0);
    ASSERT_EQ(rows.GetItemCount(), 2);
    EXPECT_EQ(rows.GetItemText(0, 2), u"年度盘点"_s); // newest first
    EXPECT_EQ(rows.GetItemText(1, 0), u"2024-3-5  9:7:0"_s);
    EXPECT_EQ(rows.GetItemText(1, 1), u"2024-3-6  18:0:0"_s);
    EXPECT_EQ(rows.GetItemText(1, 3), u"1"_s);
    EXPECT_EQ(list->CurrentQuery(), u"SELECT * FROM notice ORDER BY time DESC"_s);

    EXPECT_EQ(frame->TextView()->Text(), QString());
    frame->TextView()->SetText(u"年度盘点"_s);
    frame->ShowBottomView(CMainFrame::kBottomList);
    EXPECT_EQ(frame->BottomView(), frame->ListView());
    EXPECT_TRUE(frame->TextView()->isHidden());
    EXPECT_EQ(frame->ListView()->List().GetItemCount(), 0);
    EXPECT_EQ(frame->ListView()->List().GetColumnCount(), 0);
    EXPECT_EQ(frame->ListView()->CurrentQuery(), QString());
    EXPECT_EQ(frame->ListView()->CurrentRow(), -1);
    frame->ShowBottomView(CMainFrame::kBottomList); // already there: nothing
    EXPECT_EQ(frame->m_nBottomView, CMainFrame::kBottomList);
}

TEST_F(MainFrameTest, AppointmentEditFromTheMainListNeedsTheAppointmentsFlag)
{
    auto frame = MakeFrame();
    CountRuns(*frame);
    CVantrelView* list = frame->MainView();
    // The appointment dialog is there, but the list never opens it itself.
    int opened = 0;
    list->Document().Dialogs().Register(RecordDialog::Appointment,
                                        [&opened](const CRecordRequest&, QWidget*) { ++opened; });
    list->SetCategory(RecordCategory::kAppointments);
    list->List().InsertColumn(0, u"客户"_s);
    list->List().InsertColumn(1, QString());
    list->List().AppendRow({u"甲公司"_s, u"3"_s});
    list->SetCurrentRow(0);

    MessageRecorder messages;
    m_app->SetAllPermissions(1);
    m_app->mappoint = 0;
    list->OnRecordEdit();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.LastText(), u"您还没有这个权限！"_s);
    EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 0);

    m_app->mappoint = 1;
    messages.Clear();
    list->OnRecordEdit();
    EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 0); // after the edit has been handled
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 1);
    EXPECT_EQ(opened, 0);
}
