#include "app/blowfish.h"
#include "app/changepassworddlg.h"
#include "app/logindlg.h"
#include "app/passwordstore.h"
#include "app/powertable.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "kit/messages.h"
#include "startfolder.h"
#include "support/controls.h"
#include "support/signin.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <set>

using namespace Qt::StringLiterals;

namespace {
// An application object on a fresh data file, its connections open as after start-up step 11.
struct SignedOut
{
    StartFolder folder;
    std::unique_ptr<CVantrelApp> app = folder.MakeApp();

    SignedOut()
    {
        app->Connections().SetDataPath(u"sale.db"_s);
        app->Connections().OpenDatabase();
    }

    // Adds a user with the given stored password text and flags (column = value).
    void AddUser(const QString& user, const QString& storedPassword, const QString& flags = {})
    {
        QString columns = u"[user], pas"_s;
        QString values = u"'%1', %2"_s.arg(
            user, storedPassword.isNull() ? u"NULL"_s : u"'%1'"_s.arg(storedPassword));
        for (const QString& flag : flags.split(u',', Qt::SkipEmptyParts)) {
            columns += u", "_s + flag.section(u'=', 0, 0);
            values += u", "_s + flag.section(u'=', 1, 1);
        }
        folder.Data().Exec(u"INSERT INTO power (%1) VALUES (%2)"_s.arg(columns, values));
    }
};

// The rights' columns of table power in the order sign-in reads them.
const char* const kRightColumns[] = {
    "sclient",       "sappoint", "snote",   "snotice",   "sinput",   "soutput",
    "ssearch",       "saddress", "sexport", "sstat",     "mclient",  "mlinkman",
    "mappoint",      "mnote",    "mnotice", "minput",    "moutput",  "minputdetail",
    "moutputdetail", "maddress", "mbasic",  "mmaterial", "mproduct",
};
} // namespace

TEST(SignIn, ADataFileWithoutPowerGetsTheAdministrator)
{
    SignedOut start;
    ASSERT_EQ(start.folder.Data().QueryValue(
                  u"SELECT count(*) FROM sqlite_master WHERE name = 'power'"_s),
              u"0"_s);
    MessageRecorder messages;
    CLoginDlg dialog(*start.app);
    EXPECT_TRUE(messages.Texts().isEmpty()) << messages.LastText().toStdString();
    EXPECT_EQ(Items(dialog.UserBox()), QStringList{u"管理员"_s});
    EXPECT_EQ(dialog.UserBox()->currentText(), u"管理员"_s);
    const TempDataFile& data = start.folder.Data();
    // The known initial password, kept as a hash that gives nothing of it away.
    const QString administrator = data.QueryValue(u"SELECT pas FROM power"_s);
    EXPECT_TRUE(administrator.startsWith(u"$argon2id$"_s)) << administrator.toStdString();
    EXPECT_EQ(passwords::Check(u"583016"_s, administrator), passwords::Match::Yes);
    for (const char* column : kRightColumns) {
        const QString value =
            data.QueryValue(u"SELECT %1 FROM power"_s.arg(QLatin1StringView(column)));
        EXPECT_TRUE(value == u"1"_s || value == u"-1"_s) << column; // yes, as the file keeps it
    }
    // Columns in their order: user, pas, then the 23 flags.
    EXPECT_EQ(data.QueryValue(u"SELECT group_concat(name) FROM pragma_table_info('power')"_s)
                  .split(u',')
                  .mid(0, 3),
              (QStringList{u"user"_s, u"pas"_s, u"maddress"_s}));
    EXPECT_EQ(data.QueryValue(u"SELECT count(*) FROM pragma_table_info('power')"_s), u"25"_s);
    // The file's flag columns are those sign-in reads, no more and no fewer.
    QStringList stored =
        data.QueryValue(u"SELECT group_concat(name) FROM pragma_table_info('power') "
                        u"WHERE name NOT IN ('user', 'pas')"_s)
            .split(u',');
    QStringList read;
    for (const char* column : kRightColumns)
        read << QString::fromLatin1(column);
    stored.sort();
    read.sort();
    EXPECT_EQ(stored, read);

    EXPECT_TRUE(SignIn(dialog, u"管理员"_s, u"583016"_s));
    EXPECT_EQ(start.app->Session().User(), u"管理员"_s);

    // Opening it again adds nobody.
    CLoginDlg again(*start.app);
    EXPECT_EQ(Items(again.UserBox()), QStringList{u"管理员"_s});
    EXPECT_EQ(data.QueryValue(u"SELECT count(*) FROM power"_s), u"1"_s);
}

TEST(SignIn, AnEmptyPowerTableGetsTheAdministratorBack)
{
    SignedOut start;
    start.folder.Data().Exec(u"CREATE TABLE power ([user] TEXT, pas TEXT, maddress BOOLEAN, "
                             "mappoint BOOLEAN, mbasic BOOLEAN, mclient BOOLEAN, minput BOOLEAN, "
                             "minputdetail BOOLEAN, mlinkman BOOLEAN, mnote BOOLEAN, mnotice "
                             "BOOLEAN, moutput BOOLEAN, moutputdetail BOOLEAN, mmaterial BOOLEAN, "
                             "mproduct BOOLEAN, ssearch BOOLEAN, saddress BOOLEAN, sappoint "
                             "BOOLEAN, sclient BOOLEAN, sexport BOOLEAN, sinput BOOLEAN, snote "
                             "BOOLEAN, snotice BOOLEAN, soutput BOOLEAN, sstat BOOLEAN)"_s);
    start.app->Connections().OpenDatabase();
    CLoginDlg dialog(*start.app);
    EXPECT_EQ(Items(dialog.UserBox()), QStringList{u"管理员"_s});
    EXPECT_TRUE(SignIn(dialog, u"管理员"_s, u"583016"_s));
}

// A password stored by an earlier version in its reversible form signs in once more and is
// then kept as a salted hash, which signs in from then on; a wrong password never passes.
TEST(SignIn, AnEarlierStoredFormSignsInAndGivesWayToAHash)
{
    SignedOut start;
    {
        CLoginDlg create(*start.app);
    }
    const QString earlier = CBlowfish::EncryptPassword(u"Wonder-Land"_s);
    start.AddUser(u"Alice"_s, earlier);
    const auto stored = [&] {
        return start.folder.Data().QueryValue(u"SELECT pas FROM power WHERE [user] = 'Alice'"_s);
    };
    MessageRecorder messages;
    CLoginDlg dialog(*start.app);
    EXPECT_FALSE(SignIn(dialog, u"Alice"_s, u"wonder-land"_s));
    EXPECT_EQ(stored(), earlier);

    ASSERT_TRUE(SignIn(dialog, u"Alice"_s, u"Wonder-Land"_s));
    const QString hash = stored();
    EXPECT_TRUE(hash.startsWith(u"$argon2id$"_s)) << hash.toStdString();
    EXPECT_EQ(passwords::Check(u"Wonder-Land"_s, hash), passwords::Match::Yes);
    EXPECT_EQ(passwords::Check(u"Wonder-Land"_s, earlier), passwords::Match::YesOutdated);
    // Salted: the same password never gives the same stored text twice.
    EXPECT_NE(passwords::Hash(u"Wonder-Land"_s), hash);

    CLoginDlg again(*start.app);
    EXPECT_FALSE(SignIn(again, u"Alice"_s, u"Wonder-Land!"_s));
    EXPECT_TRUE(SignIn(again, u"Alice"_s, u"Wonder-Land"_s));
    EXPECT_EQ(stored(), hash);
    EXPECT_EQ(messages.Texts(), QStringList({u"密码错误！"_s, u"密码错误！"_s}));
}

TEST(SignIn, NamesAndPasswordsThatAreRefused)
{
    SignedOut start;
    {
        CLoginDlg create(*start.app); // makes the table
    }
    start.AddUser(u"Alice"_s, CBlowfish::EncryptPassword(u"Wonder-Land"_s));
    start.AddUser(u"张三"_s, QString()); // never given a password
    MessageRecorder messages;
    CLoginDlg dialog(*start.app);
    EXPECT_EQ(Items(dialog.UserBox()), (QStringList{u"管理员"_s, u"Alice"_s, u"张三"_s}));

    EXPECT_FALSE(SignIn(dialog, u"管理员"_s, u"583017"_s));
    EXPECT_EQ(messages.LastText(), u"密码错误！"_s);
    EXPECT_FALSE(SignIn(dialog, u"Alice"_s, u"wonder-land"_s)); // case counts
    EXPECT_EQ(messages.LastText(), u"密码错误！"_s);
    EXPECT_FALSE(SignIn(dialog, u"Bob"_s, u""_s));
    EXPECT_EQ(messages.LastText(), u"不存在的用户名，无法登陆！"_s);
    EXPECT_FALSE(SignIn(dialog, u"张三"_s, u"anything"_s));
    EXPECT_EQ(messages.LastText(), u"密码错误！"_s);
    EXPECT_EQ(messages.Messages().size(), 4u);
    EXPECT_TRUE(start.app->Session().User().isEmpty());

    // A prefix of a name passes the list, finds no row of its own, so only the empty password
    // signs in; loading the flags then ends the program.
    EXPECT_FALSE(SignIn(dialog, u"ali"_s, u"Wonder-Land"_s));
    EXPECT_EQ(messages.LastText(), u"密码错误！"_s);
    messages.Clear();
    EXPECT_TRUE(SignIn(dialog, u"ali"_s, u""_s));
    EXPECT_EQ(start.app->Session().User(), u"ali"_s);
    EXPECT_FALSE(CStartUp(*start.app).LoadPermissions());
    EXPECT_EQ(messages.Texts(), QStringList{u"未找到指定的用户名！"_s});
}

TEST(SignIn, APasswordThatCannotBeReadIsNotTakenAsEmpty)
{
    SignedOut start;
    MessageRecorder messages;
    CLoginDlg dialog(*start.app);
    start.folder.Data().Exec(u"DROP TABLE power"_s); // gone while the dialog is open
    EXPECT_FALSE(SignIn(dialog, u"管理员"_s, QString()));
    EXPECT_EQ(messages.LastText(), u"数据库无法打开，请与作者联系！"_s);
    EXPECT_TRUE(start.app->Session().User().isEmpty());
}

TEST(SignIn, EmptyStoredPasswordAndTheRightOnes)
{
    SignedOut start;
    {
        CLoginDlg create(*start.app);
    }
    start.AddUser(u"张三"_s, QString());
    start.AddUser(u"李四"_s, CBlowfish::EncryptPassword(u"十个中文字符的密码啊"_s));
    {
        CLoginDlg dialog(*start.app);
        EXPECT_TRUE(SignIn(dialog, u"张三"_s, u""_s));
        EXPECT_EQ(start.app->Session().User(), u"张三"_s);
    }
    {
        CLoginDlg dialog(*start.app);
        EXPECT_TRUE(SignIn(dialog, u"李四"_s, u"十个中文字符的密码啊"_s));
        EXPECT_EQ(start.app->Session().User(), u"李四"_s);
    }
}

TEST(SignIn, PermissionFlags)
{
    SignedOut start;
    {
        CLoginDlg create(*start.app);
    }
    // The administrator has every flag whatever the row says.
    start.folder.Data().Exec(u"UPDATE power SET moutput = 0, sstat = 0"_s);
    start.app->Session().SetUser(u"管理员"_s);
    ASSERT_TRUE(CStartUp(*start.app).LoadPermissions());
    CRights all;
    all.SetAll(true);
    EXPECT_EQ(start.app->Session().Rights(), all);

    // Anybody else has the flags of the row.
    start.AddUser(u"王五"_s, QString(), u"sclient=1,mproduct=1,moutput=0"_s);
    auto other = start.folder.MakeApp();
    other->Connections().SetDataPath(u"sale.db"_s);
    other->Connections().OpenDatabase();
    other->Session().SetUser(u"王五"_s);
    ASSERT_TRUE(CStartUp(*other).LoadPermissions());
    EXPECT_TRUE(other->Session().Rights().Has(Right::kSearchClient));
    EXPECT_TRUE(other->Session().Rights().Has(Right::kManageProduct));
    EXPECT_FALSE(other->Session().Rights().Has(Right::kManageSale));
    EXPECT_FALSE(other->Session().Rights().Has(Right::kStatistics));
    EXPECT_FALSE(other->Session().Rights().Has(Right::kManageAddress));

    // Somebody without a row: the program ends.
    MessageRecorder messages;
    other->Session().SetUser(u"赵六"_s);
    EXPECT_FALSE(CStartUp(*other).LoadPermissions());
    EXPECT_EQ(messages.Texts(), QStringList{u"未找到指定的用户名！"_s});

    EXPECT_EQ(RightByColumn(u"pas"_s), nullptr);

    // Each column of the file gives one right of its own and no other.
    start.AddUser(u"孙七"_s, QString());
    other->Session().SetUser(u"孙七"_s);
    std::set<Right> seen;
    for (const char* column : kRightColumns) {
        SCOPED_TRACE(column);
        start.folder.Data().Exec(
            u"UPDATE power SET %1 = 1 WHERE [user] = '孙七'"_s.arg(QLatin1StringView(column)));
        ASSERT_TRUE(CStartUp(*other).LoadPermissions());
        const RightInfo* info = RightByColumn(QString::fromLatin1(column));
        ASSERT_NE(info, nullptr);
        CRights only;
        only.Set(info->right, true);
        EXPECT_EQ(other->Session().Rights(), only);
        EXPECT_TRUE(seen.insert(info->right).second);
        start.folder.Data().Exec(
            u"UPDATE power SET %1 = 0 WHERE [user] = '孙七'"_s.arg(QLatin1StringView(column)));
    }
}

TEST(ChangePassword, Checks)
{
    SignedOut start;
    {
        CLoginDlg create(*start.app);
    }
    start.app->Session().SetUser(u"管理员"_s);
    MessageRecorder messages;
    CChangePasswordDlg dialog(*start.app);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"修改密码"_s);
    QPushButton* change = dialog.findChild<QPushButton*>(u"IDOK"_s);
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->text(), u"修改"_s);
    const auto tryPassword = [&](const QString& password, const QString& confirmation) {
        messages.Clear();
        dialog.NewPasswordEdit()->setText(password);
        dialog.ConfirmEdit()->setText(confirmation);
        QTest::mouseClick(change, Qt::LeftButton);
        return messages.LastText();
    };
    const QString stored = start.folder.Data().QueryValue(u"SELECT pas FROM power"_s);

    const QString bytes21 = QString(21, u'a');
    EXPECT_EQ(tryPassword(bytes21, bytes21), u"新密码过长，请不要超过20位！"_s);
    const QString chinese11 = u"十个中文字符的密码啊哈"_s;
    EXPECT_EQ(tryPassword(chinese11, chinese11), u"新密码过长，请不要超过20位！"_s);
    EXPECT_EQ(tryPassword(u"abc"_s, u"abd"_s), u"新密码和确认新密码不一致，请重新输入！"_s);
    EXPECT_EQ(tryPassword(u"abc"_s, u"ABC"_s), u"新密码和确认新密码不一致，请重新输入！"_s);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(start.folder.Data().QueryValue(u"SELECT pas FROM power"_s), stored);

    const QString bytes20 = QString(20, u'b');
    EXPECT_EQ(tryPassword(bytes20, bytes20), u"密码修改成功！"_s);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(passwords::Check(bytes20, start.folder.Data().QueryValue(u"SELECT pas FROM power"_s)),
              passwords::Match::Yes);

    // Ten Chinese characters are twenty bytes, and sign in afterwards.
    const QString chinese10 = u"十个中文字符的密码啊"_s;
    CChangePasswordDlg second(*start.app);
    second.show();
    second.NewPasswordEdit()->setText(chinese10);
    second.ConfirmEdit()->setText(chinese10);
    QTest::mouseClick(second.findChild<QPushButton*>(u"IDOK"_s), Qt::LeftButton);
    EXPECT_EQ(messages.LastText(), u"密码修改成功！"_s);
    CLoginDlg login(*start.app);
    EXPECT_FALSE(SignIn(login, u"管理员"_s, u"583016"_s));
    EXPECT_TRUE(SignIn(login, u"管理员"_s, chinese10));
}

TEST(ChangePassword, CharactersWithoutCodePageBytesAreRefusedBeforeAnythingIsWritten)
{
    SignedOut start;
    {
        CLoginDlg create(*start.app);
    }
    start.app->Session().SetUser(u"管理员"_s);
    const QString stored = start.folder.Data().QueryValue(u"SELECT pas FROM power"_s);
    MessageRecorder messages;
    CChangePasswordDlg dialog(*start.app);
    dialog.show();
    // The stored form holds code-page bytes: these would be saved as "p?".
    for (const QString& password : {u"p😀"_s, u"p한"_s, u"密码😀"_s}) {
        SCOPED_TRACE(password.toStdString());
        messages.Clear();
        dialog.NewPasswordEdit()->setText(password);
        dialog.ConfirmEdit()->setText(password);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"IDOK"_s), Qt::LeftButton);
        EXPECT_EQ(
            messages.Texts(),
            QStringList{u"新密码含有无法保存的字符，请只使用汉字、英文字母、数字和常用符号！"_s});
        EXPECT_TRUE(messages.Messages().back().warning);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(start.folder.Data().QueryValue(u"SELECT pas FROM power"_s), stored);
    }

    // A real "?" is a character like any other, and no other character stands in for it.
    messages.Clear();
    dialog.NewPasswordEdit()->setText(u"p?"_s);
    dialog.ConfirmEdit()->setText(u"p?"_s);
    QTest::mouseClick(dialog.findChild<QPushButton*>(u"IDOK"_s), Qt::LeftButton);
    EXPECT_EQ(messages.Texts(), QStringList{u"密码修改成功！"_s});
    CLoginDlg login(*start.app);
    for (const QString& password : {u"p한"_s, u"p😀"_s})
        EXPECT_FALSE(SignIn(login, u"管理员"_s, password)) << password.toStdString();
    EXPECT_TRUE(SignIn(login, u"管理员"_s, u"p?"_s));
}

TEST(ChangePassword, UserWithoutARow)
{
    SignedOut start;
    {
        CLoginDlg create(*start.app);
    }
    start.app->Session().SetUser(u"ali"_s);
    MessageRecorder messages;
    CChangePasswordDlg dialog(*start.app);
    dialog.NewPasswordEdit()->setText(u"x"_s);
    dialog.ConfirmEdit()->setText(u"x"_s);
    dialog.accept();
    EXPECT_EQ(messages.Texts(), QStringList{u"没有找到当前用户，无法更新密码！"_s});
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}
