#include "app/commandrouter.h"
#include "app/commandtable.h"
#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "customers/categorydlg.h"
#include "customers/clientdlg.h"
#include "customers/clientquerydlg.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "support/tempdata.h"
#include "views/vantrelview.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

class CustomerCommandsTest : public ::testing::Test
{
protected:
    CustomerCommandsTest() : m_app(m_file.Dir(), QDir(m_file.Dir()).filePath(u"setup.ini"_s))
    {
        m_app.m_pDb = m_file.Open();
        m_app.m_strUser = u"张三"_s;
        m_app.SetAllPermissions(1);
        m_file.Exec(u"INSERT INTO client (no, name, number, city) VALUES "
                    "(1, '甲公司', 'A01', '北京'), (2, '乙公司', 'B02', '上海')"_s);
        m_frame = std::make_unique<CMainFrame>(m_app);
        m_frame->resize(1000, 700);
        m_frame->show();
    }

    // Runs `act` on the modal dialog of type T that the next step opens.
    template <typename T> void WhenOpen(std::function<void(T&)> act)
    {
        QTimer::singleShot(0, m_frame.get(), [this, act] {
            auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            m_opened = true;
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
    }

    static void Click(QWidget& dialog, const QString& button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    }

    TempDataFile m_file;
    CVantrelApp m_app;
    std::unique_ptr<CMainFrame> m_frame;
    MessageRecorder m_messages;
    bool m_opened = false;
};

TEST_F(CustomerCommandsTest, ClientsAreAddedListedAndModifiedThroughTheMainWindow)
{
    CCommandRouter& router = m_frame->Router();

    WhenOpen<CClientDlg>([](CClientDlg& dialog) {
        EXPECT_EQ(dialog.m_bModify, 0);
        qobject_cast<QLineEdit*>(dialog.Control(u"name"_s))->setText(u"丙公司"_s);
        Click(dialog, u"IDOK"_s);
    });
    EXPECT_TRUE(router.Run(ID_MANAGE_CLIENT));
    EXPECT_TRUE(m_opened);
    EXPECT_EQ(m_file.QueryValue(u"SELECT count(*) FROM client WHERE name = '丙公司'"_s), u"1"_s);

    m_opened = false;
    WhenOpen<CClientQueryDlg>([](CClientQueryDlg& dialog) { Click(dialog, u"IDC_QUERYALL"_s); });
    EXPECT_TRUE(router.Run(ID_QUERY_CLIENT));
    EXPECT_TRUE(m_opened);
    CVantrelView* list = m_frame->MainView();
    ASSERT_EQ(list->List().GetItemCount(), 3);
    EXPECT_EQ(list->List().GetItemText(0, 0), u"丙公司"_s);

    // Modify from the list: the dialog comes loaded with the stored row.
    m_opened = false;
    WhenOpen<CClientDlg>([](CClientDlg& dialog) {
        EXPECT_EQ(dialog.m_bModify, 1);
        EXPECT_EQ(dialog.m_nNo, 1);
        EXPECT_EQ(dialog.FieldText(u"number"_s), u"A01"_s);
        EXPECT_EQ(dialog.FieldText(u"city"_s), u"北京"_s);
        qobject_cast<QComboBox*>(dialog.Control(u"city"_s))->setEditText(u"天津"_s);
        Click(dialog, u"IDOK"_s);
    });
    list->SetCurrentRow(1);
    list->OnRecordEdit();
    EXPECT_TRUE(m_opened);
    EXPECT_EQ(list->List().GetItemText(1, 11), u"天津"_s);
    EXPECT_EQ(m_file.QueryValue(u"SELECT city FROM client WHERE no = 1"_s), u"天津"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"新数据添加成功！"_s, u"记录修改成功！"_s}));

    m_opened = false;
    WhenOpen<CCategoryDlg>([](CCategoryDlg& dialog) { Click(dialog, u"IDOK"_s); });
    EXPECT_TRUE(router.Run(ID_MANAGE_BASIC));
    EXPECT_TRUE(m_opened);
}

} // namespace
