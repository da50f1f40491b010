// The main window while another workstation works on the same data: on a server the info bar
// says so when the records the main list shows change; F5 reads the list again, staying on
// the record the user was on.
#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "customers/clientlist.h"
#include "data/adorecordset.h"
#include "kit/infobar.h"
#include "kit/recordlistmodel.h"
#include "startfolder.h"
#include "support/datafixture.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using OtherWorkstations = ::testing::TestWithParam<DataBackend>;

TEST_P(OtherWorkstations, TheInfoBarTellsOfTheListsChangesAndF5StaysOnTheRecord)
{
    const std::unique_ptr<TestDatabase> database = GetParam().makeDatabase();
    database->Exec(u"INSERT INTO client (no, name) VALUES (1, '甲'), (2, '乙'), (3, '丙')"_s);
    StartFolder folder;
    const std::unique_ptr<CVantrelApp> app = folder.MakeApp();
    app->Connections().UseDatabase(database->Open());
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    CMainFrame frame(*app);
    frame.show();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    const std::unique_ptr<CADODatabase> other = database->Open();
    const auto otherWrites = [&](const QString& sql) {
        EXPECT_TRUE(CADORecordset(other.get()).Open(sql));
    };
    const bool onServer = QByteArrayView(GetParam().name) == "postgres";
    CVantrelView& list = *frame.MainView();
    const auto bar = [&] { return frame.InfoBar()->Text(); };

    ASSERT_TRUE(ShowClientList(*frame.Document(), app->Database(),
                               u"SELECT * FROM client ORDER BY name"_s));
    ASSERT_EQ(list.List().GetItemText(2, 0), u"乙"_s); // 丙 甲 乙
    list.SelectRow(2);
    list.SetCurrentRow(2);
    QCoreApplication::processEvents();
    const QString caption = bar(); // the list's, or the category's while the list has the focus
    QStringList heard;
    QObject::connect(frame.Document(), &CVantrelDoc::TableChanged, &frame,
                     [&](const QString& table) { heard << table; });

    // An order changes nothing the client list shows; a client does.
    otherWrites(u"INSERT INTO inputdata (no, paper, client) VALUES (1, 'P-1', '乙')"_s);
    EXPECT_TRUE(!onServer || QTest::qWaitFor([&] { return heard.contains(u"inputdata"_s); }, 2000));
    EXPECT_EQ(bar(), caption);
    otherWrites(u"INSERT INTO client (no, name) VALUES (4, '阿')"_s);
    // A data file tells nothing.
    const QString told = onServer ? u"其他用户修改了数据，按 F5 刷新"_s : caption;
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar() == told; }, 2000));

    // F5 reads the rows again: 乙 has moved down a row, and stays the one chosen.
    QTest::keyClick(&frame, Qt::Key_F5);
    ASSERT_EQ(list.List().GetItemCount(), 4);
    EXPECT_EQ(list.SelectedRow(), 3);
    EXPECT_EQ(list.CurrentRow(), 3);
    EXPECT_EQ(list.List().GetItemText(3, 0), u"乙"_s);
    EXPECT_EQ(bar(), u"客户列表"_s);
}

INSTANTIATE_TEST_SUITE_P(, OtherWorkstations, EachBackend(), BackendName);

} // namespace
