#include "app/blowfish.h"
#include "app/logindlg.h"
#include "app/powerdlg.h"
#include "app/powertable.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "kit/messages.h"
#include "startfolder.h"
#include "support/printers.h"
#include "support/signin.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
// The flag columns of table `power` in the order of the list's columns 1 to 23.
const QStringList kListFields = {
    u"sclient"_s, u"sappoint"_s,  u"snote"_s,        u"snotice"_s,       u"sinput"_s,
    u"soutput"_s, u"ssearch"_s,   u"sexport"_s,      u"saddress"_s,      u"sstat"_s,
    u"mclient"_s, u"mlinkman"_s,  u"mappoint"_s,     u"mnote"_s,         u"mnotice"_s,
    u"minput"_s,  u"moutput"_s,   u"minputdetail"_s, u"moutputdetail"_s, u"maddress"_s,
    u"mbasic"_s,  u"mmaterial"_s, u"mproduct"_s};

// Rows of table `power` written and read behind the permission dialog's back.
struct PowerFixture : SignInFolder
{
    // Adds a row behind the dialog's back; `flags` is "0"/"1" per list column.
    void AddRow(const QString& user, const QString& flags, const QString& pas = {}) const
    {
        QStringList values;
        for (QChar flag : flags)
            values << QString(flag);
        folder.Data().Exec(u"INSERT INTO power ([user], pas, %1) VALUES ('%2', %3, %4)"_s.arg(
            kListFields.join(u", "_s), user, pas.isEmpty() ? u"NULL"_s : u"'%1'"_s.arg(pas),
            values.join(u", "_s)));
    }

    // Every user in the table in row order, "|" between them.
    QString TableUsers() const
    {
        return folder.Data().QueryValue(u"SELECT ifnull(group_concat([user], '|'), '') FROM "
                                        "(SELECT [user] FROM power ORDER BY rowid)"_s);
    }

    // A user's flags as stored, one "0"/"1" per list column.
    QString TableFlags(const QString& user) const
    {
        QStringList terms;
        for (const QString& field : kListFields)
            terms << u"(ifnull(%1, 0) <> 0)"_s.arg(field);
        return folder.Data().QueryValue(u"SELECT %1 FROM power WHERE [user] = '%2'"_s.arg(
            terms.join(u" || "_s), QString(user).replace(u"'"_s, u"''"_s)));
    }

    QString TablePassword(const QString& user) const
    {
        return folder.Data().QueryValue(
            u"SELECT ifnull(pas, '<none>') FROM power WHERE [user] = '%1'"_s.arg(user));
    }
};

QTableWidget* List(const CPowerDlg& dialog)
{
    return dialog.findChild<QTableWidget*>(u"IDC_POWERLIST"_s);
}

QCheckBox* Box(const CPowerDlg& dialog, const QString& field)
{
    return dialog.findChild<QCheckBox*>(u"IDC_"_s + field.toUpper());
}

// Clicks the check box of a flag where its square is drawn.
void Toggle(const CPowerDlg& dialog, const QString& field)
{
    QCheckBox* box = Box(dialog, field);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

void Press(const CPowerDlg& dialog, const QString& button)
{
    QPushButton* found = dialog.findChild<QPushButton*>(button);
    ASSERT_NE(found, nullptr) << button.toStdString();
    QTest::mouseClick(found, Qt::LeftButton);
}

void Type(CPowerDlg& dialog, const QString& user)
{
    Retype(dialog.findChild<QLineEdit*>(u"IDC_POWERUSER"_s), user);
}

QString Status(const CPowerDlg& dialog)
{
    return dialog.findChild<QLineEdit*>(u"IDC_STATUS"_s)->text();
}

// The names in column 0, "|" between them.
QString ListUsers(const CPowerDlg& dialog)
{
    QStringList users;
    for (int row = 0; row < List(dialog)->rowCount(); ++row)
        users << List(dialog)->item(row, 0)->text();
    return users.join(u'|');
}

// Columns 1 to 23 of a row as "0"/"1" for "否"/"是"; anything else shows as "?".
QString ListFlags(const CPowerDlg& dialog, int row)
{
    QString flags;
    for (int column = 1; column <= 23; ++column) {
        const QString text = List(dialog)->item(row, column)->text();
        flags += text == u"是"_s ? u'1' : text == u"否"_s ? u'0' : u'?';
    }
    return flags;
}

// The check boxes in list-column order as "0"/"1".
QString Boxes(const CPowerDlg& dialog)
{
    QString flags;
    for (const QString& field : kListFields)
        flags += Box(dialog, field)->isChecked() ? u'1' : u'0';
    return flags;
}

void ClickRow(CPowerDlg& dialog, int row)
{
    QTableWidget* list = List(dialog);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(row, 0)).center());
}

// "0"/"1" per list column, "1" in the columns given.
QString Flags(std::initializer_list<int> columns = {})
{
    QString flags(23, u'0');
    for (int column : columns)
        flags[column - 1] = u'1';
    return flags;
}
} // namespace

TEST(PowerDlg, ListColumnsBoxesAndRowClicks)
{
    PowerFixture data;
    data.AddRow(u"张三"_s, Flags({1, 8, 23}));
    data.AddRow(u"Alice"_s, Flags());
    CPowerDlg dialog(data.app->Database());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), u"权限分配"_s);

    QTableWidget* list = List(dialog);
    ASSERT_NE(list, nullptr);
    const QStringList titles = {
        u"姓名"_s,     u"客户"_s,     u"约会"_s,   u"便笺"_s,     u"提醒"_s,   u"采购"_s,
        u"销售"_s,     u"查找"_s,     u"导出"_s,   u"通讯录"_s,   u"统计"_s,   u"客户"_s,
        u"联系人"_s,   u"约会"_s,     u"便笺"_s,   u"提醒"_s,     u"采购"_s,   u"销售"_s,
        u"采购明细"_s, u"销售明细"_s, u"通讯录"_s, u"分类属性"_s, u"原材料"_s, u"产品"_s};
    ASSERT_EQ(list->columnCount(), titles.size());
    for (int column = 0; column < titles.size(); ++column) {
        EXPECT_EQ(list->horizontalHeaderItem(column)->text(), titles[column]) << column;
        EXPECT_EQ(list->columnWidth(column), 80) << column;
    }

    // Rows in table order, flags as 是/否, names on the left, flags centred.
    EXPECT_EQ(ListUsers(dialog), u"管理员|张三|Alice"_s);
    EXPECT_EQ(ListFlags(dialog, 0), u"11111111111111111111111"_s);
    EXPECT_EQ(ListFlags(dialog, 1), Flags({1, 8, 23}));
    EXPECT_EQ(ListFlags(dialog, 2), Flags());
    EXPECT_TRUE(list->item(1, 0)->textAlignment() & Qt::AlignLeft);
    EXPECT_TRUE(list->item(1, 8)->textAlignment() & Qt::AlignHCenter);

    // One box per flag, labelled as its column, in its group.
    for (int i = 0; i < kListFields.size(); ++i) {
        QCheckBox* box = Box(dialog, kListFields[i]);
        ASSERT_NE(box, nullptr) << kListFields[i].toStdString();
        EXPECT_EQ(box->text(), titles[i + 1]) << kListFields[i].toStdString();
        auto* group = qobject_cast<QGroupBox*>(box->parentWidget());
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->title(), i < 10 ? u"查询搜索"_s : u"资料管理"_s);
    }
    EXPECT_TRUE(dialog.findChild<QLineEdit*>(u"IDC_STATUS"_s)->isReadOnly());

    ClickRow(dialog, 1);
    EXPECT_EQ(dialog.UserEdit()->text(), u"张三"_s);
    EXPECT_EQ(Boxes(dialog), Flags({1, 8, 23}));
    ClickRow(dialog, 2);
    EXPECT_EQ(dialog.UserEdit()->text(), u"Alice"_s);
    EXPECT_EQ(Boxes(dialog), Flags());
    ClickRow(dialog, 0);
    EXPECT_EQ(Boxes(dialog), u"11111111111111111111111"_s);

    EXPECT_TRUE(Status(dialog).isEmpty());
    EXPECT_TRUE(data.messages.Messages().empty());
    Press(dialog, u"IDCANCEL"_s);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(PowerDlg, AddingUsers)
{
    PowerFixture data;
    CPowerDlg dialog(data.app->Database());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(Status(dialog), u"用户名必须填写！"_s);
    EXPECT_EQ(data.TableUsers(), u"管理员"_s);

    Type(dialog, u"Alice"_s);
    Toggle(dialog, u"sexport"_s);
    Toggle(dialog, u"mclient"_s);
    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(Status(dialog), u"添加成功！"_s);
    EXPECT_EQ(ListUsers(dialog), u"管理员|Alice"_s);
    EXPECT_EQ(ListFlags(dialog, 1), Flags({8, 11}));
    EXPECT_EQ(data.TableUsers(), u"管理员|Alice"_s);
    EXPECT_EQ(data.TableFlags(u"Alice"_s), Flags({8, 11}));
    EXPECT_EQ(data.TablePassword(u"Alice"_s), u"<none>"_s);

    // The same bytes again are refused; another case, an apostrophe or a Chinese name pass.
    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(Status(dialog), u"此用户名已经存在，不能重复添加！"_s);
    Type(dialog, u"管理员"_s);
    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(Status(dialog), u"此用户名已经存在，不能重复添加！"_s);
    EXPECT_EQ(data.TableUsers(), u"管理员|Alice"_s);
    for (const QString& user : {u"alice"_s, u"O'Brien"_s, u"李四"_s, u"Alice "_s}) {
        Type(dialog, user);
        Press(dialog, u"IDC_ADD"_s);
        EXPECT_EQ(Status(dialog), u"添加成功！"_s) << user.toStdString();
    }
    EXPECT_EQ(ListUsers(dialog), u"管理员|Alice|alice|O'Brien|李四|Alice "_s);
    EXPECT_EQ(data.TableUsers(), ListUsers(dialog));
    EXPECT_EQ(data.TableFlags(u"O'Brien"_s), Flags({8, 11}));
    EXPECT_TRUE(data.messages.Messages().empty());

    // The new user signs in with an empty password and gets the flags given here.
    CLoginDlg login(*data.app);
    ASSERT_TRUE(SignIn(login, u"Alice"_s, QString())) << data.messages.LastText().toStdString();
    ASSERT_TRUE(CStartUp(*data.app).LoadPermissions());
    EXPECT_TRUE(data.app->Session().Rights().Has(Right::kExport));
    EXPECT_TRUE(data.app->Session().Rights().Has(Right::kManageClient));
    EXPECT_FALSE(data.app->Session().Rights().Has(Right::kSearchAddress));
    EXPECT_FALSE(data.app->Session().Rights().Has(Right::kSearchClient));
}

TEST(PowerDlg, ModifyingWritesTheBoxesAsShown)
{
    PowerFixture data;
    data.AddRow(u"Alice"_s, Flags({1, 2, 20}), CBlowfish::EncryptPassword(u"secret"_s));
    data.AddRow(u"alice"_s, Flags({5}));
    CPowerDlg dialog(data.app->Database());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"用户名必须填写！"_s);
    Type(dialog, u"Bob"_s);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"此用户不存在，请选择一个已经存在的用户名！"_s);
    Type(dialog, u"ALICE"_s);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"此用户不存在，请选择一个已经存在的用户名！"_s);

    // One box changed after a click: only that flag changes, the password stays.
    ClickRow(dialog, 1);
    Toggle(dialog, u"sexport"_s);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"修改成功！"_s);
    EXPECT_EQ(ListFlags(dialog, 1), Flags({1, 2, 8, 20}));
    EXPECT_EQ(data.TableFlags(u"Alice"_s), Flags({1, 2, 8, 20}));
    EXPECT_EQ(data.TablePassword(u"Alice"_s), CBlowfish::EncryptPassword(u"secret"_s));
    // The other spelling is another user, untouched.
    EXPECT_EQ(data.TableFlags(u"alice"_s), Flags({5}));
    EXPECT_EQ(ListFlags(dialog, 2), Flags({5}));

    // The search group's "通讯录" is column 9 and saddress; "导出" off again clears column 8.
    Toggle(dialog, u"saddress"_s);
    Toggle(dialog, u"sexport"_s);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"修改成功！"_s);
    EXPECT_EQ(ListFlags(dialog, 1), Flags({1, 2, 9, 20}));
    EXPECT_EQ(data.TableFlags(u"Alice"_s), Flags({1, 2, 9, 20}));
    EXPECT_EQ(data.TableUsers(), u"管理员|Alice|alice"_s);

    // The administrator's flags may be cleared too (sign-in ignores them).
    ClickRow(dialog, 0);
    Toggle(dialog, u"mproduct"_s);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"修改成功！"_s);
    EXPECT_EQ(data.TableFlags(u"管理员"_s), u"11111111111111111111110"_s);

    // A user deleted elsewhere meanwhile cannot be modified; the row keeps its texts.
    data.folder.Data().Exec(u"DELETE FROM power WHERE [user] = 'alice'"_s);
    ClickRow(dialog, 2);
    Toggle(dialog, u"sstat"_s);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"修改失败！"_s);
    EXPECT_EQ(ListFlags(dialog, 2), Flags({5}));
    EXPECT_TRUE(data.messages.Messages().empty());
}

TEST(PowerDlg, DeletingAsksAndSparesTheAdministrator)
{
    PowerFixture data;
    data.AddRow(u"Alice"_s, Flags());
    data.AddRow(u"alice"_s, Flags());
    CPowerDlg dialog(data.app->Database());

    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(Status(dialog), u"用户名必须填写！"_s);
    Type(dialog, u"管理员"_s);
    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(Status(dialog), u"管理员用户不能删除！"_s);
    EXPECT_TRUE(data.messages.Messages().empty()); // no question for either
    EXPECT_EQ(data.TableUsers(), u"管理员|Alice|alice"_s);

    // No keeps everything, status included.
    Type(dialog, u"alice"_s);
    data.messages.AnswerNext(false);
    Press(dialog, u"IDC_DELETE"_s);
    ASSERT_EQ(data.messages.Messages().size(), 1u);
    EXPECT_EQ(data.messages.Messages()[0].text, u"您确定要删除alice吗？"_s);
    EXPECT_EQ(data.messages.Messages()[0].caption, u"警告"_s);
    EXPECT_TRUE(data.messages.Messages()[0].question);
    EXPECT_EQ(Status(dialog), u"管理员用户不能删除！"_s);
    EXPECT_EQ(ListUsers(dialog), u"管理员|Alice|alice"_s);

    // Yes deletes exactly that spelling.
    data.messages.AnswerNext(true);
    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(Status(dialog), u"删除成功！"_s);
    EXPECT_EQ(ListUsers(dialog), u"管理员|Alice"_s);
    EXPECT_EQ(data.TableUsers(), u"管理员|Alice"_s);

    // Asked first, then not found in the list.
    data.messages.Clear();
    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(data.messages.Texts(), QStringList{u"您确定要删除alice吗？"_s});
    EXPECT_EQ(Status(dialog), u"没有找到您要删除的用户名"_s);

    // In the list but gone from the table.
    data.folder.Data().Exec(u"DELETE FROM power WHERE [user] = 'Alice'"_s);
    Type(dialog, u"Alice"_s);
    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(Status(dialog), u"删除失败！"_s);
    EXPECT_EQ(ListUsers(dialog), u"管理员|Alice"_s);
    EXPECT_EQ(data.TableUsers(), u"管理员"_s);
}

TEST(PowerDlg, UnreadableTableFailsQuietly)
{
    StartFolder folder; // a data file without table `power`
    auto database = folder.Data().Open();
    MessageRecorder messages;
    CPowerDlg dialog(database.get());
    EXPECT_EQ(List(dialog)->rowCount(), 0);
    Type(dialog, u"Alice"_s);
    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(Status(dialog), u"添加失败！"_s);
    EXPECT_EQ(List(dialog)->rowCount(), 0);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"此用户不存在，请选择一个已经存在的用户名！"_s);
    EXPECT_TRUE(messages.Messages().empty());
}
