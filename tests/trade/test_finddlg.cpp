#include "customers/customerrecords.h"
#include "data/adorecordset.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/printers.h"
#include "support/recordviews.h"
#include "trade/finddlg.h"
#include "trade/tradecommands.h"
#include "views/featurecontext.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

// The find's client columns, and the contact columns as a click on a client shows them.
const QStringList kClientTitles = {u"名称"_s, u"编号"_s,   u"法人"_s, u"性质"_s, u"类别"_s,
                                   u"行业"_s, u"重要度"_s, u"信誉"_s, u"国家"_s, u"省"_s,
                                   u"市"_s,   u"地址"_s,   u"邮编"_s, u"主页"_s, u"开户行"_s,
                                   u"帐号"_s, u"税号"_s,   u"概况"_s, u"备注"_s, QString()};
constexpr int kContactColumns = 32;

class FindDlgTest : public RecordViewsTest
{
protected:
    FindDlgTest()
    {
        m_file.Exec(
            u"INSERT INTO client (no, name, number, corporation, remark) VALUES "
            "(1, '甲公司', 'AB-01', '王总', '老客户'), (2, '乙公司', 'O''K-2', NULL, NULL), "
            "(3, '丙公司', 'XY%3', NULL, NULL)"_s);
        // Contact 14's client is gone; 15 has none at all.
        m_file.Exec(u"INSERT INTO linkman (no, client, name, number, mobile, officephone, "
                    "homephone, fax, sex, birthday) VALUES "
                    "(10, 1, 'Lily', 'L-10', '13900001234', NULL, NULL, NULL, 1, "
                    "'1980-05-06 00:00:00'), "
                    "(11, 2, 'lily', 'l-11', NULL, '010-5551234', NULL, NULL, 0, NULL), "
                    "(12, 1, 'Li Lei', NULL, NULL, NULL, '5551234', NULL, 0, NULL), "
                    "(13, 3, '张三', 'Z-13', NULL, NULL, NULL, '021-5551234', 0, NULL), "
                    "(14, 99, '李四', 'Z-14', '555', NULL, NULL, NULL, 1, NULL), "
                    "(15, NULL, '王五', NULL, '13800000000', NULL, NULL, NULL, 0, NULL)"_s);
    }

    CFindDlg& Open()
    {
        m_dialog = std::make_unique<CFindDlg>(m_doc);
        m_dialog->show();
        return *m_dialog;
    }

    void Find(FindMode mode, const QString& text)
    {
        CFindDlg& dialog = Open();
        Paste(dialog.Edit(mode), text);
        QTest::mouseClick(dialog.FindButton(mode), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }

    // The names of the listed contacts and of their clients.
    std::vector<QStringList> Contacts() const
    {
        std::vector<QStringList> contacts;
        if (!Lower())
            return contacts;
        for (int row = 0; row < Lower()->List().GetItemCount(); ++row)
            contacts.push_back(
                {Lower()->List().GetItemText(row, 0), Lower()->List().GetItemText(row, 1)});
        return contacts;
    }

    QStringList ClientNames() const
    {
        QStringList names;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            names << m_main->List().GetItemText(row, 0);
        return names;
    }

    // Both lists as every search leaves them.
    void ExpectLists()
    {
        EXPECT_EQ(m_main->Category(), CustomerCategory::kClients);
        EXPECT_EQ(m_main->Caption(), u"客户列表"_s);
        EXPECT_EQ(m_doc.InfoText(), u"客户列表"_s);
        EXPECT_EQ(ColumnTitles(m_main->List()), kClientTitles);
        EXPECT_EQ(m_main->List().ColumnAt(0).width, 100);
        EXPECT_EQ(m_doc.BottomViewKind(), BottomView::kList);
        ASSERT_NE(Lower(), nullptr);
        EXPECT_EQ(Lower()->List().GetColumnCount(), kContactColumns);
        EXPECT_TRUE(m_messages.Texts().isEmpty());
    }

    // A contact search: the main list without rows, the secondary list's query every contact.
    void ExpectContactSearch()
    {
        ExpectLists();
        EXPECT_EQ(m_main->List().GetItemCount(), 0);
        EXPECT_EQ(m_main->CurrentQuery(), QString());
        EXPECT_EQ(Lower()->CurrentQuery(), u"SELECT * FROM linkman"_s);
    }

    // A client-number search: the statement ran without an error and is the main list's query.
    void ExpectClientSearch(const QString& sql)
    {
        ExpectLists();
        EXPECT_EQ(m_main->CurrentQuery(), sql);
        CADORecordset recordset(m_db.get());
        EXPECT_TRUE(recordset.Open(sql)) << recordset.GetLastError().toStdString();
        EXPECT_EQ(Lower()->List().GetItemCount(), 0);
        EXPECT_EQ(Lower()->CurrentQuery(), QString());
    }

    std::unique_ptr<CFindDlg> m_dialog;
};

TEST_P(FindDlgTest, FourGroupsEachWithItsDefaultButtonAndEmptyEditMessage)
{
    auto& dialog = Open();
    EXPECT_EQ(dialog.windowTitle(), u"查找"_s);
    QStringList groups;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        groups << group->title();
    EXPECT_EQ(groups, (QStringList{u"按联系人姓名查找"_s, u"按电话/手机/传真号码查找"_s,
                                   u"按客户编号查找"_s, u"按联系人编号查找"_s}));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels, (QStringList{u"姓名中含有文字："_s, u"号码中含有文字："_s,
                                   u"编号中含有文字："_s, u"编号中含有文字："_s}));

    const struct
    {
        FindMode mode;
        QString message;
    } groupsByMode[] = {
        {FindMode::kContactName, u"您还没有填写联系人姓名！"_s},
        {FindMode::kContactPhone, u"您还没有填写电话号码！"_s},
        {FindMode::kClientNumber, u"您还没有填写客户编号！"_s},
        {FindMode::kContactNumber, u"您还没有填写联系人编号！"_s},
    };
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    for (const auto& group : groupsByMode) {
        EXPECT_EQ(dialog.FindButton(group.mode)->text(), u"查找"_s);
        dialog.Edit(group.mode)->setFocus();
        QApplication::processEvents();
        EXPECT_TRUE(dialog.FindButton(group.mode)->isDefault());
        QTest::keyClick(dialog.Edit(group.mode), Qt::Key_Return);
        EXPECT_EQ(m_messages.Texts(), QStringList{group.message});
        m_messages.Clear();
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(m_main->Category(), kNoCategory);
    EXPECT_EQ(m_main->List().GetColumnCount(), 0);
}

TEST_P(FindDlgTest, NamesMatchWithLetterCaseAndGoneClientsAreUnknown)
{
    Find(FindMode::kContactName, u"Li"_s);
    ExpectContactSearch();
    EXPECT_EQ(Contacts(),
              (std::vector<QStringList>{{u"Lily"_s, u"甲公司"_s}, {u"Li Lei"_s, u"甲公司"_s}}));
    const QStringList lily = RowTexts(Lower()->List(), 0);
    EXPECT_EQ(lily.value(2), u"L-10"_s);
    EXPECT_EQ(lily.value(3), u"13900001234"_s);
    EXPECT_EQ(lily.value(11), u"女"_s);
    EXPECT_EQ(lily.value(17), u"1980-5-6"_s);
    EXPECT_EQ(lily.value(31), u"10"_s);

    Find(FindMode::kContactName, u"四"_s);
    EXPECT_EQ(Contacts(), (std::vector<QStringList>{{u"李四"_s, u"未知客户"_s}}));
    Find(FindMode::kContactName, u"五"_s);
    EXPECT_EQ(Contacts(), (std::vector<QStringList>{{u"王五"_s, u"未知客户"_s}}));
    Find(FindMode::kContactName, u"Lucy"_s);
    ExpectContactSearch();
    EXPECT_TRUE(Contacts().empty());
}

TEST_P(FindDlgTest, PhoneInAnyOfFourFieldsAndContactNumbers)
{
    Find(FindMode::kContactPhone, u"5551234"_s);
    ExpectContactSearch();
    EXPECT_EQ(Contacts(),
              (std::vector<QStringList>{
                  {u"lily"_s, u"乙公司"_s}, {u"Li Lei"_s, u"甲公司"_s}, {u"张三"_s, u"丙公司"_s}}));
    Find(FindMode::kContactPhone, u"1234"_s);
    EXPECT_EQ(Contacts().size(), 4u);

    Find(FindMode::kContactNumber, u"L-1"_s);
    ExpectContactSearch();
    EXPECT_EQ(Contacts(), (std::vector<QStringList>{{u"Lily"_s, u"甲公司"_s}}));
    Find(FindMode::kContactNumber, u"Z-1"_s);
    EXPECT_EQ(Contacts(),
              (std::vector<QStringList>{{u"张三"_s, u"丙公司"_s}, {u"李四"_s, u"未知客户"_s}}));
}

TEST_P(FindDlgTest, ClientNumbersGoThroughLikeWithTheirTextQuoted)
{
    // LIKE: letter case does not count, and % and _ stay wildcards.
    Find(FindMode::kClientNumber, u"ab"_s);
    ExpectClientSearch(u"SELECT * FROM client WHERE number LIKE '%ab%'"_s);
    EXPECT_EQ(ClientNames(), QStringList{u"甲公司"_s});
    const QStringList first = RowTexts(m_main->List(), 0);
    EXPECT_EQ(first.value(2), u"王总"_s);
    EXPECT_EQ(first.value(18), u"老客户"_s);
    EXPECT_EQ(first.value(19), u"1"_s);

    Find(FindMode::kClientNumber, u"-_"_s);
    EXPECT_EQ(ClientNames(), (QStringList{u"甲公司"_s, u"乙公司"_s}));
    Find(FindMode::kClientNumber, u"Y%3"_s);
    EXPECT_EQ(ClientNames(), QStringList{u"丙公司"_s});

    Find(FindMode::kClientNumber, u"O'K"_s);
    ExpectClientSearch(u"SELECT * FROM client WHERE number LIKE '%O''K%'"_s);
    EXPECT_EQ(ClientNames(), QStringList{u"乙公司"_s});

    // Pieces of SQL are only text to look for: nothing is found, no other table is read.
    for (const QString& text :
         {u"' OR '1'='1"_s, u"%' UNION SELECT * FROM power --"_s, u"'; DROP TABLE client; --"_s,
          u"[no]"_s, u"\"x\""_s, QString(10000, u'字')}) {
        Find(FindMode::kClientNumber, text);
        ExpectLists();
        EXPECT_EQ(m_main->List().GetItemCount(), 0) << text.left(40).toStdString();
        ASSERT_FALSE(m_main->CurrentQuery().isEmpty()) << text.left(40).toStdString();
        CADORecordset recordset(m_db.get());
        EXPECT_TRUE(recordset.Open(m_main->CurrentQuery()))
            << recordset.GetLastError().toStdString();
    }
    EXPECT_EQ(Count(u"client"_s), 3);
}

TEST_P(FindDlgTest, TheMenuCommandOpensTheDialog)
{
    FeatureCommands commands;
    CAppContext app;
    RegisterTradeCommands(CFeatureContext{app, m_doc, commands, &m_window});
    ModalDriver<CFindDlg> driver([](CFindDlg& dialog) {
        Paste(dialog.Edit(FindMode::kContactPhone), u"555"_s);
        QTest::mouseClick(dialog.FindButton(FindMode::kContactPhone), Qt::LeftButton);
    });
    commands.Run(ID_QUERY_FIND);
    EXPECT_TRUE(driver.Opened());
    ExpectContactSearch();
    EXPECT_EQ(Contacts().size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(, FindDlgTest, EachBackend(), BackendName);

} // namespace
