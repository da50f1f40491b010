#include "app/commandrouter.h"
#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "customers/categorydlg.h"
#include "customers/clientdlg.h"
#include "customers/clientquerydlg.h"
#include "kit/commandids.h"
#include "kit/gfxoutbarctrl.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "kit/skinengine.h"
#include "support/controls.h"
#include "support/modal.h"
#include "support/tempdata.h"
#include "support/typing.h"
#include "views/vantrelview.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class CustomerCommandsTest : public ::testing::Test
{
protected:
    CustomerCommandsTest()
        : m_app(m_file.Dir(), QDir(m_file.Dir()).filePath(u"setup.ini"_s), m_skin)
    {
        m_app.Connections().UseDatabase(m_file.Open());
        m_app.Session().SetUser(u"张三"_s);
        m_app.Session().Rights().SetAll(true);
        m_file.Exec(u"INSERT INTO client (no, name, number, city) VALUES "
                    "(1, '甲公司', 'A01', '北京'), (2, '乙公司', 'B02', '上海')"_s);
        m_frame = std::make_unique<CMainFrame>(m_app);
        m_frame->resize(1000, 700);
        m_frame->show();
    }

    // Opens a folder of the navigation bar and clicks one of its items, as the bar reports it.
    void Navigate(int folder, int item)
    {
        CGfxOutBarCtrl* bar = m_frame->NavigationBar();
        bar->OpenFolder(folder);
        bar->FinishSlide();
        m_frame->OnNavigationNotify(CGfxOutBarCtrl::kNotifyItemClicked, item);
    }

    TempDataFile m_file;
    CSkinEngine m_skin;
    CVantrelApp m_app;
    std::unique_ptr<CMainFrame> m_frame;
    MessageRecorder m_messages;
};

TEST_F(CustomerCommandsTest, TheClientCommandsAreOfferedInTheMenusAndTheNavigationBar)
{
    // The main window's own registration gives these commands their dialogs.
    for (int id : {ID_QUERY_CLIENT, ID_MANAGE_CLIENT, ID_MANAGE_BASIC}) {
        ASSERT_NE(m_frame->Action(id), nullptr) << id;
        EXPECT_TRUE(m_frame->Action(id)->isEnabled()) << id;
    }
    CGfxOutBarCtrl* bar = m_frame->NavigationBar();
    EXPECT_TRUE(bar->IsItemEnabled(0, 0));  // 查询搜索 > 客户
    EXPECT_TRUE(bar->IsItemEnabled(1, 0));  // 资料管理 > 客户
    EXPECT_TRUE(bar->IsItemEnabled(1, 12)); // 分类属性

    // Without the flag the entry refuses, and no dialog opens.
    m_app.Session().Rights().Set(Right::kManageClient, false);
    {
        const NoDialog none;
        m_frame->Action(ID_MANAGE_CLIENT)->trigger();
        Navigate(1, 0);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(m_messages.Texts(), QStringList(2, u"您还没有这个权限！"_s));

    // With it, the menu entry opens the client dialog at once, and the navigation items open
    // their dialogs once the click has been handled.
    m_app.Session().Rights().Set(Right::kManageClient, true);
    {
        ModalDriver<CClientDlg> client([](CClientDlg& dialog) { dialog.reject(); });
        m_frame->Action(ID_MANAGE_CLIENT)->trigger();
    }
    {
        ModalDriver<CClientDlg> client([](CClientDlg& dialog) { dialog.reject(); });
        Navigate(1, 0);
        EXPECT_FALSE(client.Opened());
        EXPECT_TRUE(client.Wait());
    }
    {
        ModalDriver<CClientQueryDlg> query([](CClientQueryDlg& dialog) { dialog.reject(); });
        Navigate(0, 0);
        EXPECT_FALSE(query.Opened());
        EXPECT_TRUE(query.Wait());
    }
    {
        ModalDriver<CCategoryDlg> categories([](CCategoryDlg& dialog) { dialog.reject(); });
        Navigate(1, 12);
        EXPECT_TRUE(categories.Wait());
    }
    EXPECT_EQ(m_file.QueryValue(u"SELECT count(*) FROM client"_s), u"2"_s);
}

TEST_F(CustomerCommandsTest, ClientsAreAddedListedAndModifiedThroughTheMainWindow)
{
    {
        ModalDriver<CClientDlg> client([](CClientDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 0);
            Retype(dialog.Control(u"name"_s), u"丙公司"_s);
            Click(dialog, u"IDOK"_s);
        });
        EXPECT_TRUE(m_frame->Router().Run(ID_MANAGE_CLIENT));
    }
    EXPECT_EQ(m_file.QueryValue(u"SELECT count(*) FROM client WHERE name = '丙公司'"_s), u"1"_s);

    {
        ModalDriver<CClientQueryDlg> query(
            [](CClientQueryDlg& dialog) { Click(dialog, u"IDC_QUERYALL"_s); });
        EXPECT_TRUE(m_frame->Router().Run(ID_QUERY_CLIENT));
    }
    CVantrelView* list = m_frame->MainView();
    ASSERT_EQ(list->List().GetItemCount(), 3);
    EXPECT_EQ(list->List().GetItemText(0, 0), u"丙公司"_s);

    // Modify from the list: the dialog comes loaded with the stored row.
    {
        ModalDriver<CClientDlg> client([](CClientDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 1);
            EXPECT_EQ(dialog.m_nNo, 1);
            EXPECT_EQ(dialog.FieldText(u"number"_s), u"A01"_s);
            EXPECT_EQ(dialog.FieldText(u"city"_s), u"北京"_s);
            qobject_cast<QComboBox*>(dialog.Control(u"city"_s))->setEditText(u"天津"_s);
            Click(dialog, u"IDOK"_s);
        });
        list->SetCurrentRow(1);
        list->OnRecordEdit();
    }
    EXPECT_EQ(list->List().GetItemText(1, 11), u"天津"_s);
    EXPECT_EQ(m_file.QueryValue(u"SELECT city FROM client WHERE no = 1"_s), u"天津"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"新数据添加成功！"_s, u"记录修改成功！"_s}));

    {
        ModalDriver<CCategoryDlg> categories(
            [](CCategoryDlg& dialog) { Click(dialog, u"IDOK"_s); });
        EXPECT_TRUE(m_frame->Router().Run(ID_MANAGE_BASIC));
    }
}

} // namespace
