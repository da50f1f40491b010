#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "customers/linkmandlg.h"
#include "kit/messages.h"
#include "support/tempdata.h"
#include "views/vantreldoc.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// 资料管理 > "联系人" in the main window: the permission `mlinkman`, then an empty contact
// dialog whose save lands in table linkman.
TEST(ContactCommands, ManageContactsOpensTheDialogForPermittedUsers)
{
    TempDataFile file;
    CVantrelApp app(file.Dir(), QDir(file.Dir()).filePath(u"setup.ini"_s));
    app.m_pDb = file.Open();
    app.m_strUser = u"张三"_s;
    app.SetAllPermissions(1);
    *app.PermissionFlag(u"mlinkman"_s) = 0;
    file.Exec(u"INSERT INTO client ([no], [name]) VALUES (7, '甲公司')"_s);
    CMainFrame frame(app);
    EXPECT_TRUE(frame.Document()->Dialogs().Has(RecordDialog::Contact));
    MessageRecorder messages;

    EXPECT_FALSE(frame.Router().Run(ID_MANAGE_LINKMAN));
    EXPECT_EQ(messages.Texts(), QStringList{u"您还没有这个权限！"_s});

    *app.PermissionFlag(u"mlinkman"_s) = 1;
    messages.Clear();
    bool opened = false;
    QTimer::singleShot(0, &frame, [&opened] {
        auto* dialog = qobject_cast<CLinkmanDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        opened = true;
        EXPECT_EQ(dialog->m_bModify, 0);
        EXPECT_EQ(dialog->ClientBox().Text(), u"甲公司"_s);
        qobject_cast<QLineEdit*>(dialog->Control(u"name"_s))->setText(u"李四"_s);
        dialog->OnOK();
        if (dialog->isVisible())
            dialog->reject();
    });
    EXPECT_TRUE(frame.Router().Run(ID_MANAGE_LINKMAN));
    EXPECT_TRUE(opened);
    EXPECT_EQ(messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_EQ(file.QueryValue(u"SELECT client FROM linkman WHERE name = '李四'"_s), u"7"_s);
}

} // namespace
