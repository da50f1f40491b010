#include "app/aboutdlg.h"
#include "app/changepassworddlg.h"
#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "app/powerdlg.h"
#include "app/settingsdlg.h"
#include "app/vantrelapp.h"
#include "customers/customerlayouts.h"
#include "customers/customerrecords.h"
#include "data/adodatabase.h"
#include "data/rights.h"
#include "kit/commandids.h"
#include "kit/gfxoutbarctrl.h"
#include "kit/infobar.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "schedule/schedulerecords.h"
#include "startfolder.h"
#include "trade/tradelayouts.h"
#include "trade/traderecords.h"
#include "views/listlayout.h"
#include "views/listpanes.h"
#include "views/middlelistview.h"
#include "views/noteview.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

enum class Allowed {
    Everyone,
    Flag,          // the signed-in user's permission flag of that name is not 0
    Administrator, // only the user named "管理员", whatever the flags say
};

// One line of the main menu (resource 129): a command, or a separator when `entry` is null.
struct MenuLine
{
    const char16_t* menu;
    const char16_t* entry;
    int id = 0;
    int message = 0; // what a navigation item posts for the command; 0 for none
    Allowed allowed = Allowed::Everyone;
    const char* flag = nullptr;
};

using enum Allowed;

// The main menu, top to bottom. "导出", "常用电话查询" and "升级数据库" are this system's own:
// exporting needs the export flag, the phone list is for everyone, and upgrading the shared
// data file's structure is the administrator's, as are backing the data file up, restoring
// it and uploading it to a server. Everyone may print or preview what the main list shows.
// Importing clients or contacts from a spreadsheet needs the flag that adds them.
// Taking the address book to and from vCard files needs the address book's flag.
const MenuLine kMenu[] = {
    {u"文件", u"备份数据…", 32810, 0, Administrator},
    {u"文件", u"恢复数据…", 32811, 0, Administrator},
    {u"文件", u"上传到服务器…", 32812, 0, Administrator},
    {u"文件", nullptr},
    {u"文件", u"打印预览…", 57609},
    {u"文件", u"打印…", 57607},
    {u"文件", nullptr},
    {u"文件", u"退出", 57665},
    {u"查询搜索", u"客户", 32771, 1234, Flag, "sclient"},
    {u"查询搜索", u"约会", 32772, 1235, Flag, "sappoint"},
    {u"查询搜索", u"便笺", 32773, 1236, Flag, "snote"},
    {u"查询搜索", u"提醒", 32774, 1237, Flag, "snotice"},
    {u"查询搜索", u"采购", 32792, 1238, Flag, "sinput"},
    {u"查询搜索", u"销售", 32793, 1239, Flag, "soutput"},
    {u"查询搜索", u"查找", 32775, 1240, Flag, "ssearch"},
    {u"查询搜索", u"统计", 32805, 1243, Flag, "sstat"},
    {u"查询搜索", u"导出", 32776, 1241, Flag, "sexport"},
    {u"查询搜索", u"通讯录", 32801, 1242, Flag, "saddress"},
    {u"资料管理", u"客户", 32784, 1244, Flag, "mclient"},
    {u"资料管理", u"联系人", 32785, 1245, Flag, "mlinkman"},
    {u"资料管理", u"约会", 32786, 1246, Flag, "mappoint"},
    {u"资料管理", u"便笺", 32787, 1247, Flag, "mnote"},
    {u"资料管理", u"提醒", 32788, 1248, Flag, "mnotice"},
    {u"资料管理", nullptr},
    {u"资料管理", u"采购单", 32777, 1249, Flag, "minput"},
    {u"资料管理", u"销售单", 32778, 1250, Flag, "moutput"},
    {u"资料管理", u"采购明细", 32794, 1251, Flag, "minputdetail"},
    {u"资料管理", u"销售明细", 32795, 1252, Flag, "moutputdetail"},
    {u"资料管理", nullptr},
    {u"资料管理", u"原材料资料", 32807, 1258, Flag, "mmaterial"},
    {u"资料管理", u"产品资料", 32806, 1259, Flag, "mproduct"},
    {u"资料管理", u"通讯录", 32800, 1253, Flag, "maddress"},
    {u"资料管理", u"导入通讯录（vCard）…", 32822, 0, Flag, "maddress"},
    {u"资料管理", u"导出通讯录（vCard）…", 32823, 0, Flag, "maddress"},
    {u"资料管理", nullptr},
    {u"资料管理", u"导入客户…", 32820, 0, Flag, "mclient"},
    {u"资料管理", u"导入联系人…", 32821, 0, Flag, "mlinkman"},
    {u"资料管理", nullptr},
    {u"资料管理", u"分类属性", 32802, 1254, Flag, "mbasic"},
    {u"资料管理", u"权限分配", 32803, 1255, Administrator},
    {u"资料管理", u"修改密码", 32804, 1256},
    {u"资料管理", u"设置", 32796, 1257},
    {u"实用工具", u"邮编区号查询", 32798, 1264},
    {u"实用工具", u"常用电话查询", 32799, 1265},
    {u"实用工具", nullptr},
    {u"实用工具", u"升级数据库", 32797, 0, Administrator},
    {u"帮助", u"帮助", 32780, 1274},
    {u"帮助", u"访问网站", 32782, 1276},
    {u"帮助", u"给我来信", 32783, 1277},
    {u"帮助", nullptr},
    {u"帮助", u"关于...", 57664},
};

struct NavigationLine
{
    const char16_t* text;
    int icon;    // position in the navigation icon list
    int message; // posted when the item is clicked
    int id;      // the command the message runs
};

struct NavigationFolderLine
{
    const char16_t* name;
    std::vector<NavigationLine> items;
};

// The navigation bar's folders and items, top to bottom.
const NavigationFolderLine kNavigation[] = {
    {u"查询搜索",
     {{u"客户", 13, 1234, 32771},
      {u"约会", 1, 1235, 32772},
      {u"便笺", 2, 1236, 32773},
      {u"提醒", 3, 1237, 32774},
      {u"采购", 6, 1238, 32792},
      {u"销售", 7, 1239, 32793},
      {u"查找", 4, 1240, 32775},
      {u"统计", 17, 1243, 32805},
      {u"导出", 5, 1241, 32776},
      {u"通讯录", 15, 1242, 32801}}},
    {u"资料管理",
     {{u"客户", 13, 1244, 32784},
      {u"联系人", 0, 1245, 32785},
      {u"约会", 1, 1246, 32786},
      {u"便笺", 2, 1247, 32787},
      {u"提醒", 3, 1248, 32788},
      {u"采购单", 6, 1249, 32777},
      {u"销售单", 7, 1250, 32778},
      {u"采购明细", 6, 1251, 32794},
      {u"销售明细", 7, 1252, 32795},
      {u"原材料资料", 18, 1258, 32807},
      {u"产品资料", 18, 1259, 32806},
      {u"通讯录", 15, 1253, 32800},
      {u"分类属性", 16, 1254, 32802},
      {u"权限分配", 16, 1255, 32803},
      {u"修改密码", 16, 1256, 32804},
      {u"设置", 16, 1257, 32796}}},
    {u"实用查询", {{u"邮编区号", 14, 1264, 32798}, {u"常用电话", 14, 1265, 32799}}},
    {u"帮助",
     {{u"帮助", 8, 1274, 32780}, {u"访问我站", 10, 1276, 32782}, {u"给我来信", 11, 1277, 32783}}},
};

class MainFrameTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_app = m_folder.MakeApp();
        m_app->Connections().UseDatabase(m_folder.Data().Open());
        m_app->Session().SetUser(u"张三"_s);
    }

    std::unique_ptr<CMainFrame> MakeFrame()
    {
        auto frame = std::make_unique<CMainFrame>(*m_app);
        frame->resize(1000, 700);
        frame->show();
        return frame;
    }

    // Replaces the handler of every command of the menu by one that counts its runs.
    void CountRuns(CMainFrame& frame)
    {
        for (const MenuLine& line : kMenu) {
            if (!line.entry)
                continue;
            const int id = line.id;
            frame.Router().SetHandler(id, [this, id] { ++m_runs[id]; });
        }
    }

    void SetFlag(const char* flag, int value)
    {
        const RightInfo* right = RightByColumn(QString::fromLatin1(flag));
        ASSERT_NE(right, nullptr) << flag;
        m_app->Session().Rights().Set(right->right, value != 0);
    }

    StartFolder m_folder;
    std::unique_ptr<CVantrelApp> m_app;
    std::map<int, int> m_runs;
};

} // namespace

TEST_F(MainFrameTest, MenusHoldTheCommandsInOrder)
{
    auto frame = MakeFrame();
    QStringList expected;
    QString menu;
    for (const MenuLine& line : kMenu) {
        if (QString::fromUtf16(line.menu) != menu) {
            menu = QString::fromUtf16(line.menu);
            expected << u"["_s + menu + u"]"_s;
        }
        expected << (line.entry ? QString::fromUtf16(line.entry) : u"-"_s);
    }
    QStringList shown;
    for (QAction* top : frame->menuBar()->actions()) {
        ASSERT_NE(top->menu(), nullptr) << top->text().toStdString();
        shown << u"["_s + top->text() + u"]"_s;
        for (QAction* action : top->menu()->actions())
            shown << (action->isSeparator() ? u"-"_s : action->text());
    }
    EXPECT_EQ(shown, expected);

    // Each command's entry is the one at its place in its menu.
    for (const MenuLine& line : kMenu) {
        if (!line.entry)
            continue;
        QAction* action = frame->Action(line.id);
        ASSERT_NE(action, nullptr) << line.id;
        EXPECT_EQ(action->text(), QString::fromUtf16(line.entry)) << line.id;
        ASSERT_FALSE(action->associatedObjects().isEmpty()) << line.id;
        auto* owner = qobject_cast<QMenu*>(action->associatedObjects().constFirst());
        ASSERT_NE(owner, nullptr) << line.id;
        EXPECT_EQ(owner->title(), QString::fromUtf16(line.menu)) << line.id;
    }
}

TEST_F(MainFrameTest, EveryCommandTestsItsPermissionFirst)
{
    auto frame = MakeFrame();
    CountRuns(*frame);
    MessageRecorder messages;
    for (const MenuLine& line : kMenu) {
        if (!line.entry)
            continue;
        SCOPED_TRACE(QString::fromUtf16(line.entry).toStdString());
        const int id = line.id;
        QAction* action = frame->Action(id);
        ASSERT_NE(action, nullptr);
        m_app->Session().Rights().SetAll(true);
        m_app->Session().SetUser(u"张三"_s);
        if (line.allowed == Flag) {
            SetFlag(line.flag, 0);
            messages.Clear();
            EXPECT_FALSE(frame->Router().Run(id));
            action->trigger();
            ASSERT_EQ(messages.Messages().size(), 2u);
            EXPECT_EQ(messages.Texts(), QStringList(2, u"您还没有这个权限！"_s));
            EXPECT_EQ(messages.Messages().back().caption, u"无权限"_s);
            EXPECT_EQ(m_runs[id], 0);
            // Every other flag off does not matter.
            m_app->Session().Rights().SetAll(false);
            SetFlag(line.flag, 1);
        }
        if (line.allowed == Administrator) {
            messages.Clear();
            EXPECT_FALSE(frame->Router().Run(id)); // flags do not help
            EXPECT_EQ(messages.Texts(), QStringList{u"您还没有这个权限！"_s});
            EXPECT_EQ(m_runs[id], 0);
            m_app->Session().SetUser(u"管理员"_s);
            m_app->Session().Rights().SetAll(false);
        }
        if (line.allowed == Everyone)
            m_app->Session().Rights().SetAll(false);
        messages.Clear();
        EXPECT_TRUE(frame->Router().Run(id));
        EXPECT_EQ(m_runs[id], 1);
        action->trigger(); // the menu entry runs the same
        EXPECT_EQ(m_runs[id], 2);
        EXPECT_TRUE(messages.Messages().empty());
    }
}

TEST_F(MainFrameTest, TheFramesOwnCommandsOpenTheirDialogs)
{
    auto frame = MakeFrame();
    m_app->Session().SetUser(u"管理员"_s);
    m_app->Session().Rights().SetAll(false);
    {
        ModalDriver<CChangePasswordDlg> dialog(
            [](CChangePasswordDlg& shown) { EXPECT_EQ(shown.windowTitle(), u"修改密码"_s); });
        frame->Action(ID_MANAGE_PASSWORD)->trigger();
    }
    {
        ModalDriver<CSettingsDlg> dialog(
            [](CSettingsDlg& shown) { EXPECT_EQ(shown.windowTitle(), u"杂项设置"_s); });
        frame->Action(ID_MANAGE_SETTINGS)->trigger();
    }
    {
        ModalDriver<CPowerDlg> dialog(
            [](CPowerDlg& shown) { EXPECT_EQ(shown.windowTitle(), u"权限分配"_s); });
        frame->Action(ID_MANAGE_POWER)->trigger();
    }
    {
        ModalDriver<CAboutDlg> dialog([](CAboutDlg& shown) {
            auto* version = shown.findChild<QLabel*>(u"IDC_VERSION"_s);
            ASSERT_NE(version, nullptr);
            EXPECT_TRUE(version->text().contains(u"3.11"_s)) << version->text().toStdString();
        });
        frame->Action(ID_APP_ABOUT)->trigger();
    }
    // Upgrading the data file says how it went: a new file has every table already.
    MessageRecorder messages;
    frame->Action(ID_TOOLS_UPGRADE)->trigger();
    EXPECT_EQ(messages.Texts(), QStringList{u"数据库已是最新版本。"_s});
}

TEST_F(MainFrameTest, NavigationClicksPostTheirCommandAfterTheClick)
{
    auto frame = MakeFrame();
    CountRuns(*frame);
    m_app->Session().SetUser(u"管理员"_s);
    m_app->Session().Rights().SetAll(true);
    CGfxOutBarCtrl* bar = frame->NavigationBar();
    EXPECT_EQ(bar->OpenFolderIndex(), 0);
    ASSERT_EQ(bar->FolderCount(), int(std::size(kNavigation)));
    for (int folder = 0; folder < bar->FolderCount(); ++folder) {
        const NavigationFolderLine& expected = kNavigation[folder];
        EXPECT_EQ(bar->FolderName(folder), QString::fromUtf16(expected.name));
        bar->SetAnimationDelay(-1);
        bar->OpenFolder(folder);
        ASSERT_EQ(bar->ItemCount(folder), int(expected.items.size()));
        for (int item = 0; item < bar->ItemCount(folder); ++item) {
            const NavigationLine& line = expected.items[size_t(item)];
            SCOPED_TRACE(QString::fromUtf16(line.text).toStdString());
            EXPECT_EQ(bar->ItemText(folder, item), QString::fromUtf16(line.text));
            EXPECT_EQ(bar->ItemImage(folder, item), line.icon);
            EXPECT_EQ(bar->ItemData(folder, item), line.message);
            const int before = m_runs[line.id];
            frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, item);
            EXPECT_EQ(m_runs[line.id], before) << "runs only after the click is handled";
            QCoreApplication::processEvents();
            EXPECT_EQ(m_runs[line.id], before + 1);
            EXPECT_EQ(frame->LastNavigationFolder(), folder);
            EXPECT_EQ(frame->LastNavigationItem(), item);
            // The message alone runs the same command.
            frame->Router().Post(line.message);
            QCoreApplication::processEvents();
            EXPECT_EQ(m_runs[line.id], before + 2);
        }
    }
    // A second click opens again; other codes and positions outside the table do nothing.
    bar->OpenFolder(1);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, 0);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, 0);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyFolderOpened, 0);
    frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, 99);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_runs[32784], 4);

    // A mouse click on an item of the bar itself reaches the frame the same way.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    bar->OpenFolder(0);
    const auto client = bar->Geometry().ItemRects(0);
    ASSERT_TRUE(client.has_value());
    QTest::mouseClick(bar, Qt::LeftButton, {}, client->icon.center());
    EXPECT_EQ(m_runs[32771], 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_runs[32771], 3);
    EXPECT_EQ(frame->LastNavigationFolder(), 0);
    EXPECT_EQ(frame->LastNavigationItem(), 0);
}

TEST_F(MainFrameTest, CommandsWithoutADialogAreDisabled)
{
    auto frame = MakeFrame();
    EXPECT_EQ(frame->windowTitle(), u"Vantrel    当前用户：张三"_s);
    EXPECT_EQ(frame->InfoBar()->Text(), u"信息提示栏"_s);
    EXPECT_EQ(frame->InfoBar()->BackgroundColor(), QColor(169, 169, 196));
    EXPECT_TRUE(frame->Action(ID_MANAGE_POWER)->isEnabled());
    EXPECT_TRUE(frame->Action(ID_QUERY_NOTICE)->isEnabled());
    EXPECT_TRUE(frame->Action(ID_QUERY_STAT)->isEnabled());
    EXPECT_TRUE(frame->NavigationBar()->IsItemEnabled(0, 7));
    EXPECT_TRUE(frame->NavigationBar()->IsItemEnabled(1, 13)); // 权限分配

    // Every command has its dialog, so every entry and item is on. A navigation item whose
    // command has no handler is off, as is its menu entry, until one is registered.
    m_app->Session().SetUser(u"管理员"_s);
    m_app->Session().Rights().SetAll(true);
    int checked = 0;
    for (int folder = 0; folder < int(std::size(kNavigation)); ++folder) {
        for (int item = 0; item < int(kNavigation[folder].items.size()); ++item) {
            const int id = kNavigation[folder].items[size_t(item)].id;
            SCOPED_TRACE(id);
            EXPECT_TRUE(frame->Action(id)->isEnabled());
            EXPECT_TRUE(frame->NavigationBar()->IsItemEnabled(folder, item));
            frame->Router().SetHandler(id, {});
            EXPECT_FALSE(frame->Action(id)->isEnabled());
            EXPECT_FALSE(frame->NavigationBar()->IsItemEnabled(folder, item));
            MessageRecorder messages;
            EXPECT_FALSE(frame->Router().Run(id)); // nothing to run, nothing refused
            EXPECT_TRUE(messages.Messages().empty());
            frame->Router().SetHandler(id, [] {});
            EXPECT_TRUE(frame->Action(id)->isEnabled());
            EXPECT_TRUE(frame->NavigationBar()->IsItemEnabled(folder, item));
            ++checked;
        }
    }
    EXPECT_EQ(checked, 31);
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
    m_app->Session().Rights().SetAll(false);
    frame->Router().Run(ID_QUERY_NOTICE);
    EXPECT_EQ(list->List().GetItemText(0, 0), u"保留"_s); // refused: nothing changes
    EXPECT_EQ(frame->m_nBottomView, CMainFrame::kBottomList);

    // Each view comes into the lower pane empty: nothing of what it showed before returns.
    frame->ListView()->List().InsertColumn(0, u"联系人"_s);
    frame->ListView()->List().AppendRow({u"李四"_s});
    frame->ListView()->SetCurrentQuery(u"SELECT * FROM linkman"_s);
    frame->ListView()->SetCurrentRow(0);
    frame->TextView()->SetText(u"旧便笺"_s);

    m_app->Session().Rights().Set(Right::kSearchReminder, true);
    const int before = frame->BottomView()->height();
    ASSERT_TRUE(frame->Router().Run(ID_QUERY_NOTICE));
    EXPECT_EQ(list->Category(), ScheduleCategory::kReminders);
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
    list->Document().Dialogs().Register(ScheduleDialog::kAppointment,
                                        [&opened](const CRecordRequest&, QWidget*) { ++opened; });
    list->SetCategory(ScheduleCategory::kAppointments);
    list->List().InsertColumn(0, u"客户"_s);
    list->List().InsertColumn(1, QString());
    list->List().AppendRow({u"甲公司"_s, u"3"_s});
    list->SetCurrentRow(0);

    MessageRecorder messages;
    m_app->Session().Rights().SetAll(true);
    m_app->Session().Rights().Set(Right::kManageAppointment, false);
    list->OnRecordEdit();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.LastText(), u"您还没有这个权限！"_s);
    EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 0);

    m_app->Session().Rights().Set(Right::kManageAppointment, true);
    messages.Clear();
    list->OnRecordEdit();
    EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 0); // after the edit has been handled
    QCoreApplication::processEvents();
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 1);
    EXPECT_EQ(opened, 0);

    // A reminder's 打开 reaches the command with its own appointment: the same test first.
    int reached = 0;
    m_app->Session().Rights().Set(Right::kManageAppointment, false);
    frame->Router().PostCommandWith(ID_MANAGE_APPOINT, [&reached] { ++reached; });
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.Texts(), QStringList{u"您还没有这个权限！"_s});
    EXPECT_EQ(reached, 0);
    m_app->Session().Rights().Set(Right::kManageAppointment, true);
    frame->Router().PostCommandWith(ID_MANAGE_APPOINT, [&reached] { ++reached; });
    EXPECT_EQ(reached, 0); // after the current event
    QCoreApplication::processEvents();
    EXPECT_EQ(reached, 1);
    EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 1); // in the handler's place
}

namespace {

// What adding, modifying and deleting a kind of record from a list needs: the flag of the
// kind's 资料管理 command.
struct ListRights
{
    const char* name;
    int category; // the main list's category
    bool lower;   // the records of the secondary list below it
    const char* table;
    int no; // the record the list shows
    RecordDialog dialog;
    const char* flag;
};

const ListRights kListRights[] = {
    {"clients", CustomerCategory::kClients, false, "client", 1, CustomerDialog::kClient, "mclient"},
    {"purchases", TradeCategory::kPurchases, false, "inputdata", 5, TradeDialog::kPurchase,
     "minput"},
    {"sales", TradeCategory::kSales, false, "outputdata", 7, TradeDialog::kSale, "moutput"},
    {"notes", ScheduleCategory::kNotes, false, "notepaper", 3, ScheduleDialog::kNote, "mnote"},
    {"appointments", ScheduleCategory::kAppointments, false, "appoint", 4,
     ScheduleDialog::kAppointment, "mappoint"},
    {"reminders", ScheduleCategory::kReminders, false, "notice", 6, ScheduleDialog::kReminder,
     "mnotice"},
    {"address book", CustomerCategory::kAddressBook, false, "address", 8,
     CustomerDialog::kAddressBook, "maddress"},
    {"contacts", CustomerCategory::kClients, true, "linkman", 10, CustomerDialog::kContact,
     "mlinkman"},
    {"purchase payments", TradeCategory::kPurchases, true, "inputdetail", 20,
     TradeDialog::kPurchaseDetail, "minputdetail"},
    {"sale payments", TradeCategory::kSales, true, "outputdetail", 30, TradeDialog::kSaleDetail,
     "moutputdetail"},
};

} // namespace

TEST_F(MainFrameTest, RecordListsAddModifyAndDeleteOnlyWithTheKindsManageFlag)
{
    for (const ListRights& kind : kListRights) {
        SCOPED_TRACE(kind.name);
        m_folder.Data().Exec(
            u"DELETE FROM client; DELETE FROM linkman; DELETE FROM inputdata; "
            "DELETE FROM inputdetail; DELETE FROM outputdata; DELETE FROM outputdetail; "
            "DELETE FROM notepaper; DELETE FROM appoint; DELETE FROM notice; DELETE FROM address; "
            "INSERT INTO client (no, name) VALUES (1, '甲公司');"
            "INSERT INTO linkman (no, client, name) VALUES (10, 1, '张三');"
            "INSERT INTO inputdata (no, date, paper, sum) VALUES (5, '2024-03-05 00:00:00', 'P-1', "
            "9);"
            "INSERT INTO inputdetail (no, paper, date, sum) VALUES (20, 5, '2024-03-06 00:00:00', "
            "1);"
            "INSERT INTO outputdata (no, date, paper, sum) VALUES (7, '2024-04-01 00:00:00', "
            "'S-1', 8);"
            "INSERT INTO outputdetail (no, paper, date, sum) VALUES (30, 7, '2024-04-02 00:00:00', "
            "2);"
            "INSERT INTO notepaper (no, time, caption) VALUES (3, '2024-01-01 08:00:00', '便笺');"
            "INSERT INTO appoint (no, linkman, time) VALUES (4, 10, '2024-01-02 09:00:00');"
            "INSERT INTO notice (no, time, endtime, content) VALUES "
            "(6, '2024-01-03 00:00:00', '2024-01-04 00:00:00', '提醒');"
            "INSERT INTO address (no, user) VALUES (8, '王五');"_s);
        auto frame = MakeFrame();
        m_runs.clear();
        CountRuns(*frame);
        std::vector<CRecordRequest> opened;
        for (const ListRights& other : kListRights)
            frame->Document()->Dialogs().Register(
                other.dialog,
                [&opened](const CRecordRequest& request, QWidget*) { opened.push_back(request); });

        CVantrelView* main = frame->MainView();
        const QString no = QString::number(kind.no);
        main->SetCategory(kind.category);
        main->List().InsertColumn(0, u"名称"_s);
        main->List().InsertColumn(1, u"单号"_s);
        main->List().InsertColumn(2, QString(), Qt::AlignLeft, 0);
        const bool totals =
            kind.category == TradeCategory::kPurchases || kind.category == TradeCategory::kSales;
        main->List().AppendRow({u"记录"_s, u"P-1"_s, kind.lower ? u"0"_s : no});
        if (totals)
            main->List().AppendRow({u"合计"_s, QString(), QString()});
        main->SetCurrentQuery(u"SELECT * FROM %1"_s.arg(QLatin1StringView(kind.table)));
        CRecordListView* list = main;
        if (kind.lower) {
            // The order or client the dependants belong to.
            const int owner = kind.category == CustomerCategory::kClients  ? 1
                              : kind.category == TradeCategory::kPurchases ? 5
                                                                           : 7;
            main->List().SetItemText(0, 2, QString::number(owner));
            // The query that lists the owners lays the secondary list out for them.
            SetLayoutColumns(frame->ListView()->List(), kind.category == CustomerCategory::kClients
                                                            ? ListLayouts::kContacts
                                                            : ListLayouts::kPayments);
            main->SelectRow(0);
            main->OnClickRow(0);
            list = frame->ListView();
            ASSERT_GE(list->List().GetItemCount(), 1);
            ASSERT_EQ(list->List().GetItemText(0, list->List().GetColumnCount() - 1), no);
        }
        const QString stillThere =
            u"SELECT count(*) FROM %1 WHERE no = %2"_s.arg(QLatin1StringView(kind.table), no);

        MessageRecorder messages;
        // Every other permission does not help.
        m_app->Session().Rights().SetAll(true);
        SetFlag(kind.flag, 0);
        for (int command : {RecordCommand::kAdd, RecordCommand::kModify, RecordCommand::kDelete}) {
            SCOPED_TRACE(command);
            messages.Clear();
            list->SetCurrentRow(0);
            if (command == RecordCommand::kAdd)
                list->OnRecordAdd();
            else if (command == RecordCommand::kModify)
                list->OnRecordEdit();
            else
                list->OnRecordDelete();
            QCoreApplication::processEvents();
            ASSERT_EQ(messages.Messages().size(), 1u);
            EXPECT_EQ(messages.LastText(), u"您还没有这个权限！"_s);
            EXPECT_EQ(messages.Messages().back().caption, u"无权限"_s);
            EXPECT_TRUE(opened.empty());
            EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 0);
            EXPECT_EQ(m_folder.Data().QueryValue(stillThere), u"1"_s);
        }

        // The kind's own flag is all it takes.
        m_app->Session().Rights().SetAll(false);
        SetFlag(kind.flag, 1);
        messages.Clear();
        list->OnRecordAdd();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened.back().dialog, kind.dialog);
        EXPECT_FALSE(opened.back().modify);
        list->SetCurrentRow(0);
        list->OnRecordEdit();
        QCoreApplication::processEvents();
        if (kind.dialog == ScheduleDialog::kAppointment) {
            EXPECT_EQ(m_runs[ID_MANAGE_APPOINT], 1); // its own command modifies it
        } else {
            ASSERT_EQ(opened.size(), 2u);
            EXPECT_TRUE(opened.back().modify);
            EXPECT_EQ(opened.back().no, kind.no);
        }
        EXPECT_TRUE(messages.Messages().empty()) << messages.LastText().toStdString();
        list->SetCurrentRow(0);
        const QString name = list->List().GetItemText(0, 0);
        list->OnRecordDelete();
        EXPECT_EQ(messages.Texts(), QStringList{u"您确定要删除%1吗？"_s.arg(name)})
            << messages.LastText().toStdString();
        EXPECT_EQ(m_folder.Data().QueryValue(stillThere), u"0"_s);
    }
}
