#include "customers/clientquerydlg.h"
#include "customers/customerrecords.h"
#include "support/recordviews.h"
#include "support/typing.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>

namespace {

constexpr int kCityRow = 8;    // "市"
constexpr int kPeopleRow = 10; // "员工人数"

class ClientQueryDlgTest : public RecordViewsTest
{
protected:
    ClientQueryDlgTest()
    {
        m_file.Exec(u"INSERT INTO client (no, name, number, city, people, remark) VALUES "
                    "(1, '苏州精工', 'S1', '苏州', '100-500', NULL), "
                    "(2, '杭州丝绸', 'H2', '杭州', '100', 'O''Hara 的客户'), "
                    "(3, '北京机电', 'B3', '北京', '10-100', NULL), "
                    "(4, 'Acme', 'A4', 'Xi''an', NULL, NULL)"_s);
        m_file.Exec(u"INSERT INTO city (name) VALUES ('苏州'), ('北京'), ('杭州')"_s);
        m_file.Exec(u"INSERT INTO linkman (no, client, name, sex) VALUES (10, 3, '张三', 1)"_s);
        m_dialog.show();
    }

    void Query(int row, const QString& value)
    {
        ClickRow(m_dialog.KindList(), row);
        Retype(m_dialog.ValueEdit(), value);
        Click(m_dialog, u"IDC_QUERY"_s);
    }

    QStringList ListedNames() const
    {
        QStringList names;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            names << m_main->List().GetItemText(row, 0);
        return names;
    }

    CClientQueryDlg m_dialog{m_db.get(), m_doc};
};

TEST_P(ClientQueryDlgTest, RefusesAQueryWithoutKindOrValue)
{
    EXPECT_EQ(m_dialog.KindList()->rowCount(), 12);
    EXPECT_EQ(m_dialog.KindList()->item(0, 0)->text(), u"名称"_s);
    EXPECT_EQ(m_dialog.KindList()->item(11, 0)->text(), u"年营业额"_s);
    EXPECT_TRUE(m_dialog.HelpText().startsWith(u"    请先从左侧列表中选择一个分类属性"_s));
    EXPECT_TRUE(m_dialog.HelpText().endsWith(u"只要该字段中含有您输入的关键字就会显示。"_s));

    Click(m_dialog, u"IDC_QUERY"_s);
    Query(kCityRow, QString());
    EXPECT_EQ(m_messages.Texts(),
              QStringList({u"您还没有选择一个分类属性"_s, u"您还没有填写属性值！"_s}));
    EXPECT_TRUE(m_dialog.isVisible());
    EXPECT_EQ(m_main->Category(), kNoCategory);
}

TEST_P(ClientQueryDlgTest, KindsOfferTheirDictionaryAndFindPartsOfValues)
{
    ClickRow(m_dialog.KindList(), kCityRow);
    ASSERT_EQ(m_dialog.ValueList()->count(), 3);
    EXPECT_EQ(m_dialog.ValueList()->item(0)->text(), u"北京"_s);
    EXPECT_EQ(m_dialog.ValueList()->item(1)->text(), u"杭州"_s);
    m_dialog.ValueList()->setCurrentRow(2);
    EXPECT_EQ(m_dialog.ValueEdit()->text(), u"苏州"_s);
    // Typed over, the value clicked again comes back.
    m_dialog.ValueEdit()->setText(u"上"_s);
    Q_EMIT m_dialog.ValueList()->itemClicked(m_dialog.ValueList()->item(2));
    EXPECT_EQ(m_dialog.ValueEdit()->text(), u"苏州"_s);
    // Another kind starts with no value: the city is not looked for among the names.
    ClickRow(m_dialog.KindList(), CClientQueryDlg::kNameRow);
    EXPECT_EQ(m_dialog.ValueList()->count(), 0);
    EXPECT_EQ(m_dialog.ValueEdit()->text(), QString());

    Query(kCityRow, u"州"_s);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(m_dialog.result(), QDialog::Accepted);
    EXPECT_EQ(ListedNames(), QStringList({u"杭州丝绸"_s, u"苏州精工"_s}));
    EXPECT_EQ(m_main->Category(), CustomerCategory::kClients);
    EXPECT_EQ(m_main->Caption(), u"客户列表"_s);
    EXPECT_EQ(m_doc.InfoText(), u"客户列表"_s);
    EXPECT_EQ(m_main->CurrentQuery(),
              u"SELECT * FROM client WHERE [city] LIKE '%州%' ORDER BY [name]"_s);

    const CRecordListModel& list = m_main->List();
    EXPECT_EQ(ColumnTitles(list),
              QStringList({u"名称"_s, u"编号"_s, u"法人"_s,     u"所属业务员"_s, u"性质"_s,
                           u"类别"_s, u"行业"_s, u"重要度"_s,   u"信誉"_s,       u"国家"_s,
                           u"省"_s,   u"市"_s,   u"员工人数"_s, u"年营业额"_s,   u"地址"_s,
                           u"邮编"_s, u"主页"_s, u"开户行"_s,   u"帐号"_s,       u"税号"_s,
                           u"概况"_s, u"备注"_s, QString()}));
    EXPECT_EQ(list.ColumnAt(0).width, 200);
    EXPECT_EQ(list.ColumnAt(22).width, 0);
    const QStringList row = RowTexts(list, 0);
    EXPECT_EQ(row[1], u"H2"_s);
    EXPECT_EQ(row[11], u"杭州"_s);
    EXPECT_EQ(row[12], u"100"_s);
    EXPECT_EQ(row[21], u"O'Hara 的客户"_s);
    EXPECT_EQ(row[22], u"2"_s);

    // The lower list is laid out for contacts, empty until a client is clicked.
    auto* lower = qobject_cast<CMiddleListView*>(m_lower);
    ASSERT_NE(lower, nullptr);
    EXPECT_EQ(lower->List().GetColumnCount(), 32);
    EXPECT_EQ(lower->List().ColumnAt(1).title, u"所属客户"_s);
    EXPECT_EQ(lower->List().ColumnAt(31).width, 0);
    EXPECT_EQ(lower->List().GetItemCount(), 0);
}

TEST_P(ClientQueryDlgTest, StaffSizeMatchesOnlyWholeValuesAndApostrophesAreFound)
{
    Query(kPeopleRow, u"100"_s);
    EXPECT_EQ(ListedNames(), QStringList({u"杭州丝绸"_s}));

    m_dialog.show();
    Query(kPeopleRow, u"10"_s);
    EXPECT_TRUE(ListedNames().isEmpty());
    EXPECT_EQ(m_main->List().GetColumnCount(), 23);

    m_dialog.show();
    Query(kCityRow, u"i'a"_s);
    EXPECT_EQ(ListedNames(), QStringList({u"Acme"_s}));

    m_dialog.show();
    Query(CClientQueryDlg::kNameRow, u"acm"_s);
    EXPECT_EQ(ListedNames(), QStringList({u"Acme"_s}));
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_P(ClientQueryDlgTest, NamesAreFoundByTheirPinyinInitials)
{
    Query(CClientQueryDlg::kNameRow, u"hz"_s);
    EXPECT_EQ(ListedNames(), QStringList({u"杭州丝绸"_s}));
    m_dialog.show();
    Query(CClientQueryDlg::kNameRow, u"BJJD"_s);
    EXPECT_EQ(ListedNames(), QStringList({u"北京机电"_s}));
    // The stored statement is what finds them, also when the list is read again.
    EXPECT_TRUE(m_main->CurrentQuery().contains(u"pinyin_initials([name]) LIKE 'BJJD%'"_s));

    for (const QString& value : {u"bjjdx"_s, u"州s"_s, u"jd"_s}) {
        m_dialog.show();
        Query(CClientQueryDlg::kNameRow, value);
        EXPECT_TRUE(ListedNames().isEmpty()) << value.toStdString();
    }
    // Other kinds do not read initials: 苏州 is no "sz" among the cities.
    m_dialog.show();
    Query(kCityRow, u"sz"_s);
    EXPECT_TRUE(ListedNames().isEmpty());
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_P(ClientQueryDlgTest, QueryAllIgnoresKindAndValueAndClicksListContacts)
{
    ClickRow(m_dialog.KindList(), kCityRow);
    TypeInto(m_dialog.ValueEdit(), u"无此城市"_s);
    Click(m_dialog, u"IDC_QUERYALL"_s);
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_EQ(ListedNames(), QStringList({u"Acme"_s, u"北京机电"_s, u"杭州丝绸"_s, u"苏州精工"_s}));
    EXPECT_EQ(m_main->CurrentQuery(), u"SELECT * FROM client ORDER BY [name]"_s);

    m_window.show();
    m_main->OnClickRow(1);
    auto* lower = qobject_cast<CMiddleListView*>(m_lower);
    ASSERT_NE(lower, nullptr);
    ASSERT_EQ(lower->List().GetItemCount(), 1);
    EXPECT_EQ(lower->List().GetItemText(0, 0), u"张三"_s);
    EXPECT_EQ(lower->List().GetItemText(0, 1), u"北京机电"_s);
    EXPECT_EQ(lower->List().GetItemText(0, 11), u"女"_s);
}

INSTANTIATE_TEST_SUITE_P(, ClientQueryDlgTest, EachBackend(), BackendName);

} // namespace
