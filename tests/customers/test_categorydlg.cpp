#include "customers/categorydlg.h"
#include "support/recordviews.h"
#include "support/typing.h"

#include <QLineEdit>
#include <QTableWidget>

namespace {

constexpr int kCity = 7;

class CategoryDlgTest : public RecordViewsTest
{
protected:
    CategoryDlgTest()
    {
        m_file.Exec(u"INSERT INTO city (name) VALUES ('上海'), ('北京'), ('广州')"_s);
        m_file.Exec(u"INSERT INTO client (no, name, city) VALUES (1, '甲公司', '北京')"_s);
        m_dialog.show();
    }

    QStringList Values() const
    {
        QStringList values;
        for (int row = 0; row < m_dialog.ValueList()->rowCount(); ++row)
            values << m_dialog.ValueList()->item(row, 0)->text();
        return values;
    }
    void SetValue(const QString& text) { Retype(m_dialog.ValueEdit(), text); }

    CCategoryDlg m_dialog{m_db.get()};
};

TEST_P(CategoryDlgTest, KindsListTheirValuesInTheUsersOrder)
{
    QStringList kinds;
    for (int row = 0; row < m_dialog.KindList()->rowCount(); ++row)
        kinds << m_dialog.KindList()->item(row, 0)->text();
    EXPECT_EQ(kinds,
              QStringList({u"性质"_s, u"类别"_s, u"行业"_s, u"重要度"_s, u"信誉"_s, u"国家"_s,
                           u"省"_s, u"市"_s, u"所属业务员"_s, u"员工人数"_s, u"年营业额"_s}));
    EXPECT_EQ(m_dialog.SelectedKind(), -1);

    // Nothing chosen: every command asks for a kind first.
    Click(m_dialog, u"IDC_ADD"_s);
    Click(m_dialog, u"IDC_MODIFY"_s);
    Click(m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList(3, u"请先从左侧列表中选择一个属性！"_s));

    ClickRow(m_dialog.KindList(), kCity);
    EXPECT_EQ(m_dialog.SelectedKind(), kCity);
    EXPECT_EQ(Values(), QStringList({u"北京"_s, u"广州"_s, u"上海"_s}));
    ClickRow(m_dialog.ValueList(), 1);
    EXPECT_EQ(m_dialog.ValueEdit()->text(), u"广州"_s);
    ClickRow(m_dialog.KindList(), 0);
    EXPECT_EQ(Values(), QStringList());
}

TEST_P(CategoryDlgTest, AddRefusesEmptyAndExistingValues)
{
    ClickRow(m_dialog.KindList(), kCity);
    Click(m_dialog, u"IDC_ADD"_s);
    SetValue(u"北京"_s);
    Click(m_dialog, u"IDC_ADD"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"您还没有填写要增加的属性值！"_s,
                                               u"此值已经存在，请不要重复添加！"_s}));
    EXPECT_EQ(Count(u"city WHERE name = '北京'"_s), 1);

    m_messages.Clear();
    SetValue(u"Xi'an"_s);
    Click(m_dialog, u"IDC_ADD"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"添加成功！"_s}));
    EXPECT_EQ(Count(u"city WHERE name = 'Xi''an'"_s), 1);
    EXPECT_EQ(Values().last(), u"Xi'an"_s);
    // The same value once more is found despite its apostrophe.
    Click(m_dialog, u"IDC_ADD"_s);
    EXPECT_EQ(m_messages.LastText(), u"此值已经存在，请不要重复添加！"_s);
    EXPECT_EQ(Count(u"city"_s), 4);
}

TEST_P(CategoryDlgTest, RenameChecksBeforeItChangesAnything)
{
    ClickRow(m_dialog.KindList(), kCity);
    SetValue(u"深圳"_s);
    Click(m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.LastText(), u"请从右侧列表中选择您要修改的属性值！"_s);

    ClickRow(m_dialog.ValueList(), 0); // 北京
    SetValue(QString());
    Click(m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.LastText(), u"您还没有填写要修改的属性值！"_s);
    SetValue(u"上海"_s);
    Click(m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.LastText(), u"要修改的值已经存在，请不要重复添加！"_s);
    EXPECT_EQ(Count(u"city WHERE name = '北京'"_s), 1);
    EXPECT_EQ(Count(u"city WHERE name = '上海'"_s), 1);

    SetValue(u"北京市"_s);
    Click(m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.LastText(), u"修改成功！"_s);
    EXPECT_EQ(Values(), QStringList({u"北京市"_s, u"广州"_s, u"上海"_s}));
    EXPECT_EQ(Count(u"city WHERE name = '北京市'"_s), 1);
    EXPECT_EQ(Count(u"city WHERE name = '北京'"_s), 0);
    // Clients keep the value they were saved with.
    EXPECT_EQ(Value(u"SELECT city FROM client WHERE no = 1"_s), u"北京"_s);

    // A value removed behind the dialog's back cannot be renamed.
    m_file.Exec(u"DELETE FROM city WHERE name = '广州'"_s);
    ClickRow(m_dialog.ValueList(), 1);
    SetValue(u"广州市"_s);
    Click(m_dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.LastText(), u"没有找到要修改的记录！"_s);
    EXPECT_EQ(Count(u"city WHERE name = '广州市'"_s), 0);
}

TEST_P(CategoryDlgTest, DeleteRemovesTheSelectedValueOnly)
{
    ClickRow(m_dialog.KindList(), kCity);
    Click(m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"请从右侧列表中选择您要删除的属性值！"_s);

    ClickRow(m_dialog.ValueList(), 0); // 北京
    SetValue(u"上海"_s);               // the edit does not choose what is deleted
    Click(m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"删除成功！"_s);
    EXPECT_EQ(Values(), QStringList({u"广州"_s, u"上海"_s}));
    EXPECT_EQ(Count(u"city"_s), 2);
    EXPECT_EQ(Count(u"client WHERE city = '北京'"_s), 1);

    m_file.Exec(u"DELETE FROM city WHERE name = '上海'"_s);
    ClickRow(m_dialog.ValueList(), 1);
    Click(m_dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_messages.LastText(), u"没有找到要删除的记录！"_s);
    EXPECT_EQ(Values().size(), 2);
}

INSTANTIATE_TEST_SUITE_P(, CategoryDlgTest, EachBackend(), BackendName);

} // namespace
