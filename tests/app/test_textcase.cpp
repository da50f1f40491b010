// User names as Jet compares them in the data file (without regard to letter case) and as the
// program compares them itself (byte for byte).
#include "app/blowfish.h"
#include "app/changepassworddlg.h"
#include "app/logindlg.h"
#include "app/mainframe.h"
#include "app/passwordstore.h"
#include "app/powerdlg.h"
#include "app/powertable.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "kit/messages.h"
#include "startfolder.h"
#include "support/signin.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
// Users added to the data file, and signing in as them.
struct Users : SignInFolder
{
    void Add(const QString& user, const QString& password, const QString& flag) const
    {
        folder.Data().Exec(u"INSERT INTO power ([user], pas, %1) VALUES ('%2', %3, 1)"_s.arg(
            flag, user,
            password.isEmpty() ? u"NULL"_s : u"'%1'"_s.arg(CBlowfish::EncryptPassword(password))));
    }

    // Signs in through the dialog; true when it closed with OK.
    bool SignIn(const QString& user, const QString& password)
    {
        CLoginDlg dialog(*app);
        return ::SignIn(dialog, user, password);
    }

    // The user's stored password and the flags sclient and sstat, as the file keeps them.
    QString Row(const QString& user) const
    {
        return folder.Data().QueryValue(u"SELECT ifnull(pas, '') || '/' || (ifnull(sclient, 0) <> "
                                        u"0) || (ifnull(sstat, 0) <> 0) "
                                        "FROM power WHERE [user] = '%1'"_s.arg(user));
    }

    QString AllUsers() const
    {
        return folder.Data().QueryValue(
            u"SELECT group_concat([user], '|') FROM (SELECT [user] FROM power ORDER BY rowid)"_s);
    }
};

void SetUserAndPress(CPowerDlg& dialog, const QString& user, const QString& button)
{
    QLineEdit* edit = dialog.findChild<QLineEdit*>(u"IDC_POWERUSER"_s);
    edit->clear();
    edit->insert(user);
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
}

QString Status(const CPowerDlg& dialog)
{
    return dialog.findChild<QLineEdit*>(u"IDC_STATUS"_s)->text();
}
} // namespace

TEST(SignInCase, ANameTypedInAnotherCaseSignsInAndGetsItsFlags)
{
    Users users;
    users.Add(u"Alice"_s, u"Wonder-Land"_s, u"sclient"_s);
    users.Add(u"Bob"_s, QString(), u"sstat"_s);

    EXPECT_FALSE(users.SignIn(u"ALICE"_s, u"wonder-land"_s)); // the password's case counts
    EXPECT_EQ(users.messages.Texts(), QStringList{u"密码错误！"_s});
    users.messages.Clear();

    ASSERT_TRUE(users.SignIn(u"alice"_s, u"Wonder-Land"_s));
    EXPECT_EQ(users.app->Session().User(), u"Alice"_s); // as stored
    ASSERT_TRUE(CStartUp(*users.app).LoadPermissions());
    EXPECT_TRUE(users.app->Session().Rights().Has(Right::kSearchClient));
    EXPECT_FALSE(users.app->Session().Rights().Has(Right::kStatistics));

    // Without a password: signed in, and not thrown out for a user that is not found.
    ASSERT_TRUE(users.SignIn(u"bOB"_s, QString()));
    ASSERT_TRUE(CStartUp(*users.app).LoadPermissions());
    EXPECT_TRUE(users.app->Session().Rights().Has(Right::kStatistics));
    EXPECT_FALSE(users.app->Session().Rights().Has(Right::kSearchClient));
    EXPECT_TRUE(users.messages.Texts().isEmpty()) << users.messages.LastText().toStdString();
}

TEST(SignInCase, TheExactSpellingOfTwoSimilarNamesIsTheOneTaken)
{
    Users users;
    users.Add(u"Alice"_s, u"one"_s, u"sclient"_s);
    users.Add(u"alice"_s, u"two"_s, u"sstat"_s);

    EXPECT_FALSE(users.SignIn(u"alice"_s, u"one"_s));
    ASSERT_TRUE(users.SignIn(u"alice"_s, u"two"_s));
    ASSERT_TRUE(CStartUp(*users.app).LoadPermissions());
    EXPECT_FALSE(users.app->Session().Rights().Has(Right::kSearchClient));
    EXPECT_TRUE(users.app->Session().Rights().Has(Right::kStatistics));

    ASSERT_TRUE(users.SignIn(u"Alice"_s, u"one"_s));
    ASSERT_TRUE(CStartUp(*users.app).LoadPermissions());
    EXPECT_TRUE(users.app->Session().Rights().Has(Right::kSearchClient));
    EXPECT_FALSE(users.app->Session().Rights().Has(Right::kStatistics));
}

TEST(SignInCase, ANameSpeltLikeNoRowIsTheFirstRowItFindsWithThatRowsNameAndFlags)
{
    Users users;
    users.Add(u"Sales"_s, u"one"_s, u"sclient"_s);
    users.Add(u"sales"_s, u"two"_s, u"sstat"_s);

    // The password checked is the first row's; the other one's does not sign in.
    EXPECT_FALSE(users.SignIn(u"SALES"_s, u"two"_s));
    ASSERT_TRUE(users.SignIn(u"SALES"_s, u"one"_s));
    EXPECT_EQ(users.app->Session().User(), u"Sales"_s);
    ASSERT_TRUE(CStartUp(*users.app).LoadPermissions());
    EXPECT_TRUE(users.app->Session().Rights().Has(Right::kSearchClient));
    EXPECT_FALSE(users.app->Session().Rights().Has(Right::kStatistics));
    CMainFrame frame(*users.app);
    EXPECT_EQ(frame.windowTitle(), u"Vantrel    当前用户：Sales"_s);

    // Changing the password changes that row's alone.
    CChangePasswordDlg change(*users.app);
    change.NewPasswordEdit()->setText(u"three"_s);
    change.ConfirmEdit()->setText(u"three"_s);
    change.accept();
    const QString sales = users.Row(u"Sales"_s); // the hash, then "/" and the flags
    EXPECT_EQ(passwords::Check(u"three"_s, sales.left(sales.lastIndexOf(u'/'))),
              passwords::Match::Yes);
    EXPECT_TRUE(sales.endsWith(u"/10"_s));
    EXPECT_EQ(users.Row(u"sales"_s), CBlowfish::EncryptPassword(u"two"_s) + u"/01"_s);

    // A session under a name no row spells gets no row's flags.
    users.app->Session().Rights().SetAll(false);
    users.app->Session().SetUser(u"SALES"_s);
    EXPECT_FALSE(CStartUp(*users.app).LoadPermissions());
    EXPECT_FALSE(users.app->Session().Rights().Has(Right::kSearchClient));
    EXPECT_FALSE(users.app->Session().Rights().Has(Right::kStatistics));
}

TEST(SignInCase, ThePermissionDialogTellsSpellingsApart)
{
    Users users;
    users.Add(u"Alice"_s, u"one"_s, u"sclient"_s);
    CPowerDlg dialog(users.app->Database());

    // Another spelling is another user: added beside the first, never mistaken for it, although
    // the data file finds "Alice" first for "alice".
    SetUserAndPress(dialog, u"alice"_s, u"IDC_ADD"_s);
    EXPECT_EQ(Status(dialog), u"添加成功！"_s);
    SetUserAndPress(dialog, u"ALICE"_s, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"此用户不存在，请选择一个已经存在的用户名！"_s);
    dialog.findChild<QCheckBox*>(u"IDC_SSTAT"_s)->setChecked(true);
    SetUserAndPress(dialog, u"alice"_s, u"IDC_MODIFY"_s);
    EXPECT_EQ(Status(dialog), u"修改成功！"_s);
    EXPECT_EQ(users.Row(u"alice"_s), u"/01"_s);
    EXPECT_EQ(users.Row(u"Alice"_s), CBlowfish::EncryptPassword(u"one"_s) + u"/10"_s);

    SetUserAndPress(dialog, u"alice"_s, u"IDC_DELETE"_s);
    EXPECT_EQ(Status(dialog), u"删除成功！"_s);
    EXPECT_EQ(users.AllUsers(), u"管理员|Alice"_s);
}
