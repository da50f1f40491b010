// The main window while another workstation works on the same data: on a server the info bar
// says so when the records the main list shows change, and F5 reads the list again, staying
// on the record the user was on.
#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "customers/clientlist.h"
#include "data/adorecordset.h"
#include "kit/infobar.h"
#include "kit/recordlistmodel.h"
#include "startfolder.h"
#include "support/datafixture.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kOthersChanged = u"其他用户修改了数据，按 F5 刷新"_s;

class OtherWorkstationsTest : public ::testing::TestWithParam<DataBackend>
{
protected:
    OtherWorkstationsTest() : m_database(GetParam().makeDatabase())
    {
        m_database->Exec(u"INSERT INTO client (no, name) VALUES (1, '甲'), (2, '乙'), (3, '丙')"_s);
        m_database->Exec(u"INSERT INTO linkman (no, client, name) VALUES (10, 2, '张三')"_s);
        m_app = m_folder.MakeApp();
        m_app->Connections().UseDatabase(m_database->Open());
        m_app->Session().SetUser(u"管理员"_s);
        m_app->Session().Rights().SetAll(true);
        m_frame = std::make_unique<CMainFrame>(*m_app);
        m_frame->resize(1000, 700);
        m_frame->show();
        m_frame->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(m_frame.get()));
        m_other = m_database->Open();
    }

    bool OnServer() const { return QByteArrayView(GetParam().name) == "postgres"; }
    CVantrelView& Main() const { return *m_frame->MainView(); }
    QString Bar() const { return m_frame->InfoBar()->Text(); }
    QString NameAt(int row) const { return Main().List().GetItemText(row, 0); }
    // What the other workstation writes, through its own connection.
    void OtherWrites(const QString& sql) { EXPECT_TRUE(CADORecordset(m_other.get()).Open(sql)); }

    std::unique_ptr<TestDatabase> m_database;
    StartFolder m_folder;
    std::unique_ptr<CVantrelApp> m_app;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<CADODatabase> m_other;
};

TEST_P(OtherWorkstationsTest, TheInfoBarToldOfTheListsChangesAndF5StaysOnTheRecord)
{
    CVantrelDoc& doc = *m_frame->Document();
    ASSERT_TRUE(ShowClientList(doc, m_app->Database(), u"SELECT * FROM client ORDER BY name"_s));
    ASSERT_EQ(NameAt(2), u"乙"_s); // 丙 甲 乙
    Main().SelectRow(2);
    Main().SetCurrentRow(2);
    Main().OnClickRow(2);
    QCoreApplication::processEvents();
    // The list's caption, or the category's when the list has the focus.
    const QString caption = Bar();
    EXPECT_TRUE(caption == u"客户列表"_s || caption == u"客户"_s) << caption.toStdString();
    QStringList heard;
    QObject::connect(&doc, &CVantrelDoc::TableChanged, m_frame.get(),
                     [&](const QString& table) { heard << table; });

    // An order changes nothing the client list shows.
    OtherWrites(u"INSERT INTO inputdata (no, paper, client) VALUES (1, 'P-1', '乙')"_s);
    if (OnServer()) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return heard.contains(u"inputdata"_s); }, 2000));
        EXPECT_EQ(Bar(), caption);
    }
    // A client does; the list itself stays as it was read.
    OtherWrites(u"INSERT INTO client (no, name) VALUES (4, '阿')"_s);
    if (OnServer())
        EXPECT_TRUE(QTest::qWaitFor([&] { return Bar() == kOthersChanged; }, 2000));
    else
        EXPECT_EQ(Bar(), caption); // a data file tells nothing
    // Focus on the list keeps the news.
    Main().Activate();
    EXPECT_EQ(Bar(), OnServer() ? kOthersChanged : u"客户"_s);

    // F5 reads the rows again: 乙 has moved down a row, and stays the one chosen, its contact
    // below it.
    QTest::keyClick(m_frame.get(), Qt::Key_F5);
    ASSERT_EQ(Main().List().GetItemCount(), 4);
    EXPECT_EQ(Main().SelectedRow(), 3);
    EXPECT_EQ(Main().CurrentRow(), 3);
    EXPECT_EQ(NameAt(Main().SelectedRow()), u"乙"_s);
    ASSERT_EQ(m_frame->ListView()->List().GetItemCount(), 1);
    EXPECT_EQ(m_frame->ListView()->List().GetItemText(0, 0), u"张三"_s);
    EXPECT_EQ(Bar(), u"客户列表"_s);

    // A record that is gone leaves nothing chosen.
    OtherWrites(u"DELETE FROM client WHERE no = 2"_s);
    QTest::keyClick(m_frame.get(), Qt::Key_F5);
    EXPECT_EQ(Main().List().GetItemCount(), 3);
    EXPECT_EQ(Main().SelectedRow(), -1);
    EXPECT_EQ(Main().CurrentRow(), -1);
}

INSTANTIATE_TEST_SUITE_P(, OtherWorkstationsTest, EachBackend(), BackendName);

} // namespace
