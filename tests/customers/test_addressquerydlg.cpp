#include "customers/addresscommands.h"
#include "customers/addressquerydlg.h"
#include "customers/customerrecords.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "support/controls.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "support/typing.h"
#include "views/featurecontext.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

using Query = CAddressQueryDlg::Query;

class AddressQueryDlgTest : public RecordViewsTest
{
protected:
    AddressQueryDlgTest()
    {
        m_file.Exec(u"INSERT INTO [group] (name) VALUES ('同学'), ('客户'), ('同事')"_s);
        // Each telephone field holds "66" once; 赵六 has no telephone and no address.
        m_file.Exec(
            u"INSERT INTO address (no, [group], [user], sex, mobile, pas, homephone, officephone, "
            "companyaddr, homeaddr, remark) VALUES "
            "(1, '同学', '张三', 0, '13866001111', NULL, NULL, NULL, '北京市海淀区', NULL, NULL), "
            "(2, '同事', '李四', 1, NULL, '0755-66', NULL, NULL, NULL, '深圳市南山区', NULL), "
            "(3, '同学', '王五', 0, NULL, NULL, '021-6655', NULL, NULL, NULL, NULL), "
            "(4, '客户', '北京华达', 0, NULL, NULL, NULL, '010-6625', '北京市朝阳区', NULL, "
            "'10%折扣'), "
            "(5, NULL, '赵六', 1, NULL, NULL, NULL, NULL, NULL, NULL, NULL)"_s);
        m_file.Exec(u"INSERT INTO client (no, name) VALUES (1, '张三公司')"_s);
        m_dialog.show();
    }

    // Types the value into the query's field and presses its "查询".
    void RunQuery(Query query, const QString& value)
    {
        m_dialog.show();
        const std::map<CAddressQueryDlg::Query, std::pair<QWidget*, QString>> fields{
            {Query::Group, {m_dialog.GroupCombo(), u"IDC_QUERYGROUP"_s}},
            {Query::Name, {m_dialog.NameEdit(), u"IDC_QUERYNAME"_s}},
            {Query::Telephone, {m_dialog.TelephoneEdit(), u"IDC_QUERYTELEPHONE"_s}},
            {Query::Address, {m_dialog.AddressEdit(), u"IDC_QUERYADDRESS"_s}}};
        const auto& [field, button] = fields.at(query);
        if (value.size() > 100)
            Paste(field, value);
        else
            Retype(field, value);
        Click(m_dialog, button);
    }

    QStringList Listed() const
    {
        QStringList names;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            names << m_main->List().GetItemText(row, 1);
        return names;
    }

    CAddressQueryDlg m_dialog{m_db.get(), m_doc};
};

TEST_P(AddressQueryDlgTest, QueryAllListsEveryEntryInItsLayoutByGroupAndName)
{
    EXPECT_EQ(m_dialog.GroupCombo()->currentText(), u"客户"_s); // the first group
    Click(m_dialog, u"IDC_QUERYALL"_s);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_main->Category(), CustomerCategory::kAddressBook);
    EXPECT_EQ(m_main->Caption(), u"通讯录"_s);
    EXPECT_EQ(m_doc.InfoText(), u"通讯录"_s);
    EXPECT_EQ(m_main->CurrentQuery(), u"SELECT * FROM [address] ORDER BY group, user"_s);
    EXPECT_EQ(Listed(), QStringList({u"赵六"_s, u"北京华达"_s, u"李四"_s, u"王五"_s, u"张三"_s}));

    const CRecordListModel& list = m_main->List();
    EXPECT_EQ(ColumnTitles(list),
              QStringList(
                  {u"分类"_s,     u"姓名"_s,     u"性别"_s, u"手机"_s,   u"小灵通"_s, u"家庭电话"_s,
                   u"办公电话"_s, u"QQ"_s,       u"MSN"_s,  u"Email1"_s, u"Email2"_s, u"生日"_s,
                   u"爱好"_s,     u"所在公司"_s, u"部门"_s, u"职务"_s,   u"传真"_s,   u"公司地址"_s,
                   u"邮编"_s,     u"家庭住址"_s, u"邮编"_s, u"备注"_s,   QString()}));
    EXPECT_EQ(list.ColumnAt(2).width, 50);
    EXPECT_EQ(list.ColumnAt(11).width, 110);
    EXPECT_EQ(list.ColumnAt(13).width, 150);
    EXPECT_EQ(list.ColumnAt(22).width, 0);
    const QStringList row = RowTexts(list, 2);
    EXPECT_EQ(row[0], u"同事"_s);
    EXPECT_EQ(row[2], u"女"_s);
    EXPECT_EQ(row[4], u"0755-66"_s);
    EXPECT_EQ(row[19], u"深圳市南山区"_s);
    EXPECT_EQ(row[22], u"2"_s);
    EXPECT_EQ(RowTexts(list, 1)[2], u"男"_s);
    EXPECT_EQ(Lower()->List().GetColumnCount(), 0);
}

TEST_P(AddressQueryDlgTest, TelephoneFindsAnyOfFourFieldsAndEmptyValuesListFilledFields)
{
    RunQuery(Query::Telephone, u"66"_s);
    EXPECT_EQ(Listed(), QStringList({u"北京华达"_s, u"李四"_s, u"王五"_s, u"张三"_s}));
    RunQuery(Query::Telephone, u"6655"_s);
    EXPECT_EQ(Listed(), QStringList({u"王五"_s}));

    RunQuery(Query::Telephone, QString());
    EXPECT_EQ(Listed(), QStringList({u"北京华达"_s, u"李四"_s, u"王五"_s, u"张三"_s}));
    RunQuery(Query::Address, QString());
    EXPECT_EQ(Listed(), QStringList({u"北京华达"_s, u"李四"_s, u"张三"_s}));
    RunQuery(Query::Address, u"北京市"_s);
    EXPECT_EQ(Listed(), QStringList({u"北京华达"_s, u"张三"_s}));
    RunQuery(Query::Group, QString());
    EXPECT_EQ(Listed().size(), 4);
    RunQuery(Query::Group, u"同"_s);
    EXPECT_EQ(Listed(), QStringList({u"李四"_s, u"王五"_s, u"张三"_s}));
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_P(AddressQueryDlgTest, NamesAreFoundByTheirPinyinInitials)
{
    RunQuery(Query::Name, u"zs"_s);
    EXPECT_EQ(Listed(), QStringList({u"张三"_s}));
    RunQuery(Query::Name, u"ZS"_s);
    EXPECT_EQ(Listed(), QStringList({u"张三"_s}));
    RunQuery(Query::Name, u"bjhd"_s);
    EXPECT_EQ(Listed(), QStringList({u"北京华达"_s}));
    RunQuery(Query::Name, u"zsx"_s);
    EXPECT_TRUE(Listed().isEmpty());
    // A value that is not letters alone is a part of the name only.
    RunQuery(Query::Name, u"张s"_s);
    EXPECT_TRUE(Listed().isEmpty());
    RunQuery(Query::Name, u"华"_s);
    EXPECT_EQ(Listed(), QStringList({u"北京华达"_s}));
    // Initials do not search other fields: 李四's address 深圳 (sz) is no name.
    RunQuery(Query::Name, u"sz"_s);
    EXPECT_TRUE(Listed().isEmpty());

    // The stored query finds the entry again for a delete.
    RunQuery(Query::Name, u"ls"_s);
    ASSERT_EQ(Listed(), QStringList({u"李四"_s}));
    m_main->SetCurrentRow(0);
    m_main->OnRecordDelete();
    EXPECT_EQ(m_messages.Texts(), QStringList({u"您确定要删除同事吗？"_s}));
    EXPECT_EQ(Count(u"address WHERE no = 2"_s), 0);
    EXPECT_EQ(Count(u"address"_s), 4);
}

TEST_P(AddressQueryDlgTest, OddValuesAreSearchedForAsTextAndReadNoOtherTable)
{
    const QString longValue = QString(u'张').repeated(10000);
    const QStringList values{u"'"_s,
                             u"' OR '1'='1"_s,
                             u"' UNION SELECT * FROM client --"_s,
                             u"x'); DROP TABLE address; --"_s,
                             u"[user]"_s,
                             u"#2024-1-1#"_s,
                             longValue};
    for (const QString& value : values) {
        for (auto query : {Query::Group, Query::Name, Query::Telephone, Query::Address}) {
            RunQuery(query, value);
            EXPECT_FALSE(m_dialog.isVisible()) << value.left(40).toStdString();
            EXPECT_TRUE(Listed().isEmpty()) << value.left(40).toStdString();
            EXPECT_EQ(m_main->List().GetColumnCount(), 23);
        }
    }
    EXPECT_EQ(m_main->CurrentQuery(), CAddressQueryDlg::QueryStatement(Query::Address, longValue));
    EXPECT_EQ(Count(u"address"_s), 5);
    EXPECT_EQ(Count(u"client"_s), 1);
    EXPECT_TRUE(m_messages.Texts().isEmpty());

    // An apostrophe is a character like any other: a remark-less name that holds one is found.
    m_file.Exec(u"INSERT INTO address (no, [user], mobile) VALUES (6, 'O''Brien', '139')"_s);
    RunQuery(Query::Name, u"o'b"_s);
    EXPECT_EQ(Listed(), QStringList({u"O'Brien"_s}));
}

TEST_P(AddressQueryDlgTest, WithoutTheGroupTableTheUserIsToldToUpgradeAndTheCommandsOpen)
{
    m_file.Exec(u"DROP TABLE \"group\""_s);
    CAppContext app;
    FeatureCommands commands;
    RegisterAddressCommands(CFeatureContext{app, m_doc, commands, &m_window});
    {
        ModalDriver<CAddressQueryDlg> query([](CAddressQueryDlg& dialog) {
            EXPECT_EQ(dialog.GroupCombo()->count(), 0);
            Click(dialog, u"IDC_QUERYALL"_s);
        });
        commands.Run(ID_QUERY_ADDRESS);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList({u"请先升级数据库！"_s}));
    EXPECT_EQ(Listed().size(), 5);

    // Without the address table itself the list stays empty in its layout, the dialog open.
    m_file.Exec(u"DROP TABLE address"_s);
    m_messages.Clear();
    RunQuery(Query::Name, u"张"_s);
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_main->List().GetColumnCount(), 23);
    EXPECT_EQ(m_main->List().GetItemCount(), 0);
    EXPECT_EQ(m_main->CurrentQuery(), QString());
}

INSTANTIATE_TEST_SUITE_P(, AddressQueryDlgTest, EachBackend(), BackendName);

} // namespace
