// Two workstations on one data file, or one server, modify the same record from their lists:
// the later save never wipes out the change the other one saved meanwhile.
#include "customers/clientdlg.h"
#include "customers/contactcommands.h"
#include "customers/customercommands.h"
#include "customers/customerlayouts.h"
#include "customers/customerrecords.h"
#include "customers/linkmandlg.h"
#include "kit/appcontext.h"
#include "kit/controltext.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "support/controls.h"
#include "support/datafixture.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/tempdata.h"
#include "trade/orderdlg.h"
#include "trade/orderlist.h"
#include "trade/tradecommands.h"
#include "trade/tradedetaildlg.h"
#include "trade/tradetwin.h"
#include "views/featurecontext.h"
#include "views/listlayout.h"
#include "views/middlelistview.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// One workstation: its own connection to the file, its record lists and the real dialogs they
// open, for a user who holds every permission.
struct Workstation
{
    explicit Workstation(const TestDatabase& file) : db(file.Open()), doc(db.get())
    {
        app.SetDatabases(db.get(), nullptr);
        doc.SetPermissionTest([](int) { return true; });
        main = new CVantrelView(doc, &window);
        lower = new CMiddleListView(doc, &window);
        const CFeatureContext context{app, doc, commands, &window};
        RegisterCustomerCommands(context);
        RegisterContactCommands(context);
        RegisterTradeCommands(context);
    }

    void ListClients()
    {
        main->SetCategory(CustomerCategory::kClients);
        SetLayoutColumns(main->List(), ListLayouts::kClients);
        const QString sql = u"SELECT * FROM client"_s;
        ASSERT_TRUE(AppendLayoutRows(main->List(), ListLayouts::kClients, db.get(), sql));
        main->SetCurrentQuery(sql);
        // The client query lays the secondary list out for the clients' contacts.
        SetLayoutColumns(lower->List(), ListLayouts::kContacts);
    }

    void ListPurchases() { ShowOrderList(doc, kPurchaseTwin, u"SELECT * FROM inputdata"_s); }

    // The first record of the main list (the lower list's, after a click on the main list's
    // first row) opened to modify, as a double click opens it.
    void Modify(bool fromLower)
    {
        if (fromLower) {
            main->SelectRow(0);
            main->OnClickRow(0);
        }
        CRecordListView* list = fromLower ? static_cast<CRecordListView*>(lower) : main;
        list->SetCurrentRow(0);
        list->OnRecordEdit();
    }

    std::unique_ptr<CADODatabase> db;
    CAppContext app;
    CVantrelDoc doc;
    FeatureCommands commands;
    QWidget window;
    CVantrelView* main;
    CMiddleListView* lower;
};

const QString kChanged = u"此记录已被其他用户修改，请关闭后重新打开。"_s;

// Workstation A opens the record; while its dialog shows the record as it was, B opens it too,
// changes `fieldB` and saves; then A changes `fieldA` and saves. A is refused and keeps its
// input; B's change stays. Closed and opened again, A saves over B's change knowingly.
template <typename Dialog>
void SaveOverAnotherChange(const TestDatabase& file, const std::function<void(Workstation&)>& list,
                           bool fromLower, const QString& fieldB, const QString& fieldA,
                           const QString& sqlOfBoth)
{
    Workstation a(file);
    Workstation b(file);
    list(a);
    list(b);
    MessageRecorder messages;
    bool refused = false;
    {
        ModalDriver<Dialog> driveA([&](Dialog& dialogA) {
            {
                ModalDriver<Dialog> driveB([&](Dialog& dialogB) {
                    RetypeField(dialogB, fieldB, u"B写的"_s);
                    Click(dialogB, u"IDOK"_s);
                    EXPECT_FALSE(dialogB.isVisible());
                });
                b.Modify(fromLower);
            }
            EXPECT_EQ(messages.Texts(), QStringList{u"记录修改成功！"_s});
            messages.Clear();
            RetypeField(dialogA, fieldA, u"A写的"_s);
            Click(dialogA, u"IDOK"_s);
            EXPECT_EQ(messages.Texts(), QStringList{kChanged});
            EXPECT_TRUE(messages.Messages().back().warning);
            EXPECT_TRUE(dialogA.isVisible());
            EXPECT_EQ(ControlText(dialogA.Control(fieldA)), u"A写的"_s);
            // Saved again from the same dialog, it is refused again.
            messages.Clear();
            Click(dialogA, u"IDOK"_s);
            EXPECT_EQ(messages.Texts(), QStringList{kChanged});
            refused = true;
        });
        a.Modify(fromLower);
    }
    ASSERT_TRUE(refused);
    EXPECT_EQ(file.QueryValue(sqlOfBoth), u"B写的|"_s);

    // Opened again, the dialog shows B's change and saves.
    list(a);
    messages.Clear();
    {
        ModalDriver<Dialog> driveA([&](Dialog& dialogA) {
            EXPECT_EQ(ControlText(dialogA.Control(fieldB)), u"B写的"_s);
            RetypeField(dialogA, fieldA, u"A写的"_s);
            Click(dialogA, u"IDOK"_s);
        });
        a.Modify(fromLower);
    }
    EXPECT_EQ(messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(file.QueryValue(sqlOfBoth), u"B写的|A写的"_s);
}

} // namespace

using TwoWorkstations = ::testing::TestWithParam<DataBackend>;

TEST_P(TwoWorkstations, AModifyNeverWritesOverAChangeSavedMeanwhile)
{
    const std::unique_ptr<TestDatabase> database = GetParam().makeDatabase();
    const TestDatabase& file = *database;
    file.Exec(u"INSERT INTO client (no, name, number) VALUES (1, '甲公司', 'A01');"
              "INSERT INTO linkman (no, client, name) VALUES (10, 1, '张三');"
              "INSERT INTO inputdata (no, date, paper, client, sum, number) VALUES "
              "(5, '2024-03-05 00:00:00', 'P-1', '甲公司', 100, 2);"
              "INSERT INTO inputdetail (no, paper, date, number, sum) VALUES "
              "(20, 5, '2024-03-06 00:00:00', 1, 30)"_s);
    {
        SCOPED_TRACE("client");
        SaveOverAnotherChange<CClientDlg>(
            file, [](Workstation& w) { w.ListClients(); }, false, u"site"_s, u"zip"_s,
            u"SELECT ifnull(site, '') || '|' || ifnull(zip, '') FROM client WHERE no = 1"_s);
    }
    {
        SCOPED_TRACE("contact");
        SaveOverAnotherChange<CLinkmanDlg>(
            file, [](Workstation& w) { w.ListClients(); }, true, u"mobile"_s, u"officephone"_s,
            u"SELECT ifnull(mobile, '') || '|' || ifnull(officephone, '') FROM linkman "
            "WHERE no = 10"_s);
    }
    {
        SCOPED_TRACE("order");
        SaveOverAnotherChange<CPurchaseDlg>(
            file, [](Workstation& w) { w.ListPurchases(); }, false, u"goods"_s, u"remark"_s,
            u"SELECT ifnull(goods, '') || '|' || ifnull(remark, '') FROM inputdata "
            "WHERE no = 5"_s);
    }
    {
        SCOPED_TRACE("payment");
        SaveOverAnotherChange<CTradeDetailDlg>(
            file, [](Workstation& w) { w.ListPurchases(); }, true, u"person"_s, u"remark"_s,
            u"SELECT ifnull(person, '') || '|' || ifnull(remark, '') FROM inputdetail "
            "WHERE no = 20"_s);
    }
}

INSTANTIATE_TEST_SUITE_P(, TwoWorkstations, EachBackend(), BackendName);
