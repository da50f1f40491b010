#include "app/commandrouter.h"
#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "customers/customerrecords.h"
#include "customers/linkmandlg.h"
#include "kit/commandids.h"
#include "kit/gfxoutbarctrl.h"
#include "kit/messages.h"
#include "kit/skinengine.h"
#include "support/modal.h"
#include "support/tempdata.h"
#include "support/typing.h"
#include "views/recorddialogs.h"
#include "views/vantreldoc.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// 资料管理 > "联系人" in the main window: the permission `mlinkman`, then an empty contact
// dialog whose save lands in table linkman.
TEST(ContactCommands, ManageContactsOpensTheDialogForPermittedUsers)
{
    TempDataFile file;
    CSkinEngine skin;
    CVantrelApp app(file.Dir(), QDir(file.Dir()).filePath(u"setup.ini"_s), skin);
    app.Connections().UseDatabase(file.Open());
    app.Session().SetUser(u"张三"_s);
    app.Session().Rights().SetAll(true);
    app.Session().Rights().Set(Right::kManageContact, false);
    file.Exec(u"INSERT INTO client ([no], [name]) VALUES (7, '甲公司')"_s);
    CMainFrame frame(app);
    frame.show();
    // The frame's registration gives the command, its navigation item and the lists' contact
    // edits their dialog.
    EXPECT_TRUE(frame.Document()->Dialogs().Has(CustomerDialog::kContact));
    ASSERT_NE(frame.Action(ID_MANAGE_LINKMAN), nullptr);
    EXPECT_TRUE(frame.Action(ID_MANAGE_LINKMAN)->isEnabled());
    EXPECT_TRUE(frame.NavigationBar()->IsItemEnabled(1, 1));
    MessageRecorder messages;

    {
        const NoDialog none;
        EXPECT_FALSE(frame.Router().Run(ID_MANAGE_LINKMAN));
        frame.Action(ID_MANAGE_LINKMAN)->trigger();
    }
    EXPECT_EQ(messages.Texts(), QStringList(2, u"您还没有这个权限！"_s));

    app.Session().Rights().Set(Right::kManageContact, true);
    messages.Clear();
    {
        ModalDriver<CLinkmanDlg> contact([](CLinkmanDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 0);
            EXPECT_EQ(dialog.ClientBox().Text(), u"甲公司"_s);
            Retype(dialog.Control(u"name"_s), u"李四"_s);
            dialog.OnOK();
        });
        EXPECT_TRUE(frame.Router().Run(ID_MANAGE_LINKMAN));
    }
    EXPECT_EQ(messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_EQ(file.QueryValue(u"SELECT client FROM linkman WHERE name = '李四'"_s), u"7"_s);

    // The navigation item opens the same dialog once its click has been handled.
    {
        ModalDriver<CLinkmanDlg> contact([](CLinkmanDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 0);
            dialog.reject();
        });
        frame.NavigationBar()->OpenFolder(1);
        frame.NavigationBar()->FinishSlide();
        frame.OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, 1);
        EXPECT_FALSE(contact.Opened());
        EXPECT_TRUE(contact.Wait());
    }
    EXPECT_EQ(frame.LastNavigationFolder(), 1);
    EXPECT_EQ(frame.LastNavigationItem(), 1);
}

} // namespace
