#include "app/logindlg.h"
#include "app/mainframe.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "app/workpathdlg.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/backup.h"
#include "data/compaction.h"
#include "data/datafilekind.h"
#include "data/datafileusers.h"
#include "data/recordnumber.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "kit/skinengine.h"
#include "startfolder.h"
#include "support/controls.h"
#include "support/unprivileged.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// A file this user may not write: read-only by its mode, or, for the superuser whom modes do not
// stop, a kernel file that takes no writes.
QString UnwritableFile(const StartFolder& folder)
{
    if (::geteuid() == 0)
        return u"/sys/kernel/uevent_seqnum"_s;
    const QString path = folder.Dir() + u"/readonly.db"_s;
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("SQLite format 3");
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner);
    return path;
}
} // namespace

TEST(StartUp, SkinChoiceAndFallback)
{
    StartFolder folder;
    folder.AddSkin(u"amber.smf"_s);
    folder.AddSkin(u"xpsteel.smf"_s);
    {
        // No configuration: the default skin.
        auto app = folder.MakeApp();
        ASSERT_TRUE(CStartUp(*app).ChooseSkin());
        EXPECT_EQ(app->SkinName(), u"xpsteel.smf"_s);
        EXPECT_EQ(app->SkinEngine().CurrentSkinPath(),
                  QDir(folder.Dir()).filePath(u"skin/xpsteel.smf"_s));
    }
    {
        // An empty value is the default too.
        folder.WriteIni("[Settings]\nSkin=\n");
        auto app = folder.MakeApp();
        ASSERT_TRUE(CStartUp(*app).ChooseSkin());
        EXPECT_EQ(app->SkinName(), u"xpsteel.smf"_s);
    }
    {
        folder.WriteIni("[Settings]\nSkin=amber.smf\n");
        auto app = folder.MakeApp();
        ASSERT_TRUE(CStartUp(*app).ChooseSkin());
        EXPECT_EQ(app->SkinName(), u"amber.smf"_s);
    }
    {
        // The configured skin is gone and only one other is left: that one is used, and the
        // configuration still names the missing one.
        folder.WriteIni("[Settings]\nSkin=gone.smf\n");
        QFile::remove(QDir(folder.Dir()).filePath(u"skin/xpsteel.smf"_s));
        auto app = folder.MakeApp();
        ASSERT_TRUE(CStartUp(*app).ChooseSkin());
        EXPECT_EQ(app->SkinName(), u"amber.smf"_s);
        EXPECT_EQ(app->SkinEngine().CurrentSkinPath(),
                  QDir(folder.Dir()).filePath(u"skin/amber.smf"_s));
        EXPECT_EQ(app->Settings().ReadSetting(u"Skin"_s), u"gone.smf"_s);
    }
    {
        // No skin at all: start-up stops, with nothing on screen.
        QDir(QDir(folder.Dir()).filePath(u"skin"_s)).removeRecursively();
        MessageRecorder messages;
        auto app = folder.MakeApp();
        EXPECT_FALSE(CStartUp(*app).ChooseSkin());
        EXPECT_EQ(messages.Texts(), QStringList{u"Can not find any skin"_s});
        messages.Clear();
        EXPECT_FALSE(app->InitInstance());
        EXPECT_EQ(app->MainWindow(), nullptr);
        EXPECT_FALSE(app->Connections().IsReady());
        EXPECT_EQ(app->ExitInstance(), 0);
    }
}

TEST(StartUp, ALocalDataFileWinsOverTheConfiguredPath)
{
    StartFolder folder;
    TempDataFile elsewhere;
    folder.WriteIni(("[Settings]\nPath=" + elsewhere.Path().toUtf8() + "\n"));
    auto app = folder.MakeApp();
    const NoDialog noDialog;
    ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
    EXPECT_EQ(app->Connections().DataPath(), u"sale.db"_s);
    EXPECT_EQ(app->Connections().DataConnectionString(),
              CADODatabase::ConnectionStringFor(folder.DataPath()));

    // Without the local file the configured one is used as it is.
    QFile::remove(folder.DataPath());
    ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
    EXPECT_EQ(app->Connections().DataPath(), elsewhere.Path());
}

TEST(StartUp, WorkPathDialogWhenNoDataFileIsFound)
{
    StartFolder folder;
    TempDataFile shared;
    QFile::remove(folder.DataPath());
    {
        // Cancel stops start-up.
        auto app = folder.MakeApp();
        ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), u"工作路径配置"_s);
            dialog.reject();
        });
        EXPECT_FALSE(CStartUp(*app).SettleDatabasePath());
        EXPECT_TRUE(app->Settings().ReadSetting(u"Path"_s).isEmpty());
    }
    {
        // A missing file, an unwritable one and an empty text are refused; the dialog stays.
        MessageRecorder messages;
        auto app = folder.MakeApp();
        ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
            auto* edit = dialog.findChild<QLineEdit*>(u"IDC_DBPATH"_s);
            auto* ok =
                dialog.findChild<QDialogButtonBox*>(u"buttons"_s)->button(QDialogButtonBox::Ok);
            for (const QString& bad : {folder.Dir() + u"/nothing.db"_s, UnwritableFile(folder),
                                       QString(), folder.Dir()}) {
                edit->setText(bad);
                QTest::mouseClick(ok, Qt::LeftButton);
                EXPECT_TRUE(dialog.isVisible()) << bad.toStdString();
            }
            edit->setText(shared.Path());
            QTest::mouseClick(ok, Qt::LeftButton);
        });
        ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
        EXPECT_EQ(messages.Texts(), QStringList(4, u"文件配置有误，不存在或不可写！"_s));
        EXPECT_EQ(app->Connections().DataPath(), shared.Path());
        EXPECT_EQ(app->Settings().ReadSetting(u"Path"_s), shared.Path());
        EXPECT_TRUE(QFileInfo(shared.Path()).size() > 0); // opened for writing, not emptied
    }
    {
        // The next start uses the stored path without asking.
        auto app = folder.MakeApp();
        const NoDialog noDialog;
        ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
        EXPECT_EQ(app->Connections().DataPath(), shared.Path());
    }
    {
        // The stored file has gone: the dialog asks again, showing the old path.
        folder.WriteIni("[Settings]\nPath=" + folder.Dir().toUtf8() + "/moved.db\n");
        auto app = folder.MakeApp();
        QString shownPath;
        ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
            shownPath = dialog.Path();
            dialog.reject();
        });
        EXPECT_FALSE(CStartUp(*app).SettleDatabasePath());
        EXPECT_EQ(shownPath, folder.Dir() + u"/moved.db"_s);
    }
}

TEST(StartUp, WorkPathDialogChoosesTheFileInAFileDialog)
{
    StartFolder folder;
    auto app = folder.MakeApp();
    CWorkPathDlg dialog(*app);
    dialog.show();
    ModalDriver<QFileDialog> driver([&](QFileDialog& files) {
        EXPECT_EQ(files.nameFilters(), QStringList{u"数据库文件(*.db)"_s});
        files.selectFile(folder.DataPath());
        static_cast<QDialog&>(files).accept();
    });
    QTest::mouseClick(dialog.findChild<QPushButton*>(u"IDC_SETCLIENT"_s), Qt::LeftButton);
    EXPECT_EQ(dialog.Path(), folder.DataPath());
}

TEST(StartUp, CompactsTheDataFileAndHoldsItForTheRun)
{
    StartFolder folder;
    folder.Data().Exec(u"CREATE TABLE filler (x)"_s);
    folder.Data().Exec(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
        "WHERE i < 2000) INSERT INTO filler SELECT printf('%.*c', 200, 'x') FROM n"_s);
    folder.Data().Exec(u"DELETE FROM filler"_s);
    folder.Data().Exec(u"INSERT INTO client (no, name) VALUES (1, '甲')"_s);
    const qint64 before = QFileInfo(folder.DataPath()).size();
    {
        QFile stale(folder.Dir() + u"/sale.tmp"_s);
        stale.open(QIODevice::WriteOnly);
        stale.write("left over");
    }
    {
        auto app = folder.MakeApp();
        ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
        app->Connections().CompactDataFile();
        EXPECT_LT(QFileInfo(folder.DataPath()).size(), before);
        EXPECT_FALSE(QFileInfo::exists(folder.Dir() + u"/sale.tmp"_s));
        EXPECT_EQ(folder.Data().QueryValue(u"SELECT name FROM client WHERE no = 1"_s), u"甲"_s);

        // While this program runs, another one may use the file but not compact it.
        DataFileUsers second(folder.DataPath());
        EXPECT_FALSE(second.TryLockExclusive());
        EXPECT_EQ(CompactDataFile(folder.DataPath(), second), CompactionResult::InUse);
        EXPECT_TRUE(second.LockShared());
        app->ExitInstance();
    }
    {
        // Held by another program: start-up goes on with the file as it is.
        folder.Data().Exec(u"INSERT INTO filler SELECT printf('%.*c', 200, 'y') FROM client"_s);
        folder.Data().Exec(u"DELETE FROM filler"_s);
        DataFileUsers otherWorkstation(folder.DataPath());
        ASSERT_TRUE(otherWorkstation.LockShared());
        const qint64 held = QFileInfo(folder.DataPath()).size();
        auto app = folder.MakeApp();
        ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
        app->Connections().CompactDataFile();
        EXPECT_EQ(QFileInfo(folder.DataPath()).size(), held);
        app->Connections().OpenDatabase();
        EXPECT_TRUE(app->Database()->IsOpen());
    }
}

TEST(StartUp, CompactionFailureLeavesStartUpGoingOnTheFileAsItIs)
{
    StartFolder folder;
    // A configured path that is a link to the data file: compaction keeps the link a link.
    const QString link = folder.Dir() + u"/link.db"_s;
    ASSERT_TRUE(QFile::link(folder.DataPath(), link));
    folder.Data().Exec(u"INSERT INTO client (no, name) VALUES (7, '乙')"_s);
    {
        auto app = folder.MakeApp();
        app->Connections().SetDataPath(link);
        app->Connections().CompactDataFile();
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_EQ(folder.Data().QueryValue(u"SELECT name FROM client WHERE no = 7"_s), u"乙"_s);
    }
    {
        // A data file that is not one: nothing is touched and nothing is left behind.
        const QString broken = folder.Dir() + u"/broken.db"_s;
        QFile file(broken);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(2048, 'q'));
        file.close();
        auto app = folder.MakeApp();
        app->Connections().SetDataPath(broken);
        app->Connections().CompactDataFile();
        EXPECT_EQ(QFileInfo(broken).size(), 2048);
        EXPECT_FALSE(QFileInfo::exists(folder.Dir() + u"/broken.tmp"_s));
        app->Connections().OpenDatabase();
        app->ExitInstance();
    }
}

TEST(StartUp, WholeStartUpSignsInAndShowsTheMainWindow)
{
    StartFolder folder;
    folder.AddSkin(u"xpsteel.smf"_s);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        auto app = folder.MakeApp();
        QStringList users;
        ModalDriver<CLoginDlg> driver([&](CLoginDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), u"用户登陆"_s);
            users << Items(dialog.UserBox());
            QTest::keyClicks(dialog.PasswordEdit(), u"583016"_s);
            QTest::keyClick(dialog.PasswordEdit(), Qt::Key_Return);
        });
        ASSERT_TRUE(app->InitInstance());
        EXPECT_EQ(users, QStringList{u"管理员"_s});
        EXPECT_EQ(app->Session().User(), u"管理员"_s);
        EXPECT_EQ(app->Connections().DataPath(), u"sale.db"_s);
        EXPECT_TRUE(app->Connections().IsReady());
        EXPECT_TRUE(app->Session().Rights().Has(Right::kManageSale));
        EXPECT_TRUE(app->Session().Rights().Has(Right::kStatistics));
        ASSERT_NE(app->MainWindow(), nullptr);
        EXPECT_EQ(app->MainWindow()->windowTitle(), u"Vantrel    当前用户：管理员"_s);
        EXPECT_TRUE(app->MainWindow()->isVisible());
        EXPECT_TRUE(app->Database()->IsOpen());
        app->ExitInstance();
        EXPECT_FALSE(app->Database()->IsOpen());
    }
    EXPECT_EQ(folder.Data().QueryValue(u"SELECT count(*) FROM power"_s), u"1"_s);
}

TEST(StartUp, CancelledSignInEndsWithoutAMainWindow)
{
    StartFolder folder;
    folder.AddSkin(u"xpsteel.smf"_s);
    auto app = folder.MakeApp();
    ModalDriver<CLoginDlg> driver([](CLoginDlg& dialog) { dialog.reject(); });
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(app->MainWindow(), nullptr);
    EXPECT_TRUE(app->Database()->IsOpen());
    app->ExitInstance();
    EXPECT_FALSE(app->Database()->IsOpen());
}

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// Enough clients for the table to fill many pages, so damage in the middle of the file hits it.
void FillClients(const StartFolder& folder)
{
    folder.Data().Exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                       "WHERE i < 3000) INSERT INTO client (no, name, remark) "
                       "SELECT i, '客户' || i, printf('%.*c', 300, 'r') FROM n"_s);
}

void Scramble(const QString& path, qint64 at)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.seek(at);
    file.write(QByteArray(4096, '\x5a'));
}

// No English words besides the paths of files.
bool ChineseOnly(QString text)
{
    text.remove(QRegularExpression(u"\\S*\\.db"_s));
    return !text.contains(QRegularExpression(u"[A-Za-z]"_s));
}

} // namespace

// A damaged data file is named as damaged and never used: the newest backup that passes its
// check takes its place when the user agrees (the damaged file kept as it was), or the user
// picks another file.
TEST(StartUp, ADamagedDataFileIsNamedAndTheNewestSoundBackupOffered)
{
    StartFolder folder;
    folder.AddSkin(u"xpsteel.smf"_s);
    FillClients(folder);
    const QString backups = folder.Dir() + u"/backup"_s;
    QString older;
    QString newer;
    ASSERT_TRUE(BackupDataFile(folder.DataPath(), backups,
                               QDateTime(QDate(2026, 11, 2), QTime(8, 0)), &older));
    ASSERT_TRUE(BackupDataFile(folder.DataPath(), backups,
                               QDateTime(QDate(2026, 11, 9), QTime(8, 0)), &newer));
    Scramble(newer, QFileInfo(newer).size() / 2); // the newest backup is damaged too
    const qint64 size = QFileInfo(folder.DataPath()).size();

    // Damage in one table, a truncated file, a damaged first page, a file scrambled from its
    // first byte.
    const std::vector<std::function<void()>> damages = {
        [&] { Scramble(folder.DataPath(), size / 2); },
        [&] { QFile::resize(folder.DataPath(), size / 2); },
        [&] { Scramble(folder.DataPath(), 40); },
        [&] { Scramble(folder.DataPath(), 0); },
    };
    for (size_t i = 0; i < damages.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(CheckBackup(older));
        QFile::remove(folder.DataPath());
        ASSERT_TRUE(QFile::copy(older, folder.DataPath()));
        damages[i]();
        EXPECT_EQ(CheckDataFile(folder.DataPath()),
                  i < 3 ? DataFileKind::Damaged : DataFileKind::Foreign);
        const QByteArray damaged = FileBytes(folder.DataPath());

        {
            // Declined: the user picks another file; cancelled, the program ends, having
            // written nothing and shown no main window.
            MessageRecorder messages;
            messages.AnswerNext(false);
            auto app = folder.MakeApp();
            ModalDriver<CWorkPathDlg> driver([](CWorkPathDlg& dialog) { dialog.reject(); });
            EXPECT_FALSE(app->InitInstance());
            EXPECT_EQ(app->MainWindow(), nullptr);
            ASSERT_EQ(messages.Messages().size(), 1);
            const MessageRecorder::Message& question = messages.Messages().front();
            EXPECT_TRUE(question.question);
            EXPECT_EQ(question.caption, u"数据文件已损坏"_s);
            EXPECT_TRUE(
                question.text.startsWith(u"数据文件已损坏，不能使用：\n"_s + folder.DataPath()))
                << question.text.toStdString();
            EXPECT_TRUE(question.text.contains(older)) << question.text.toStdString();
            EXPECT_FALSE(question.text.contains(newer));
            EXPECT_TRUE(ChineseOnly(question.text)) << question.text.toStdString();
            app->ExitInstance();
            EXPECT_EQ(FileBytes(folder.DataPath()), damaged);
        }
        {
            // Agreed: the backup is the data file, the damaged one is kept byte for byte.
            MessageRecorder messages;
            auto app = folder.MakeApp();
            const NoDialog noDialog;
            ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
            EXPECT_EQ(app->Connections().DataPath(), u"sale.db"_s);
            EXPECT_EQ(CheckDataFile(folder.DataPath()), DataFileKind::Ours);
            EXPECT_EQ(folder.Data().QueryValue(u"SELECT count(*) FROM client"_s), u"3000"_s);
            const QStringList kept = QDir(folder.Dir()).entryList({u"sale-damaged-*.db"_s});
            ASSERT_EQ(kept.size(), 1);
            EXPECT_EQ(FileBytes(QDir(folder.Dir()).filePath(kept.first())), damaged);
            EXPECT_EQ(messages.LastText(), u"数据文件已从备份恢复，损坏的文件已保存为：\n"_s +
                                               QDir(folder.Dir()).filePath(kept.first()));
            QFile::remove(QDir(folder.Dir()).filePath(kept.first()));
        }
    }

    // Without a sound backup it says so and asks for another file.
    QFile::remove(older);
    Scramble(folder.DataPath(), size / 2);
    MessageRecorder messages;
    auto app = folder.MakeApp();
    ModalDriver<CWorkPathDlg> driver([](CWorkPathDlg& dialog) { dialog.reject(); });
    EXPECT_FALSE(CStartUp(*app).SettleDatabasePath());
    EXPECT_EQ(messages.Texts(),
              QStringList{
                  u"数据文件已损坏，不能使用：\n%1\n没有找到完好的备份，请选择其他数据文件。"_s.arg(
                      folder.DataPath())});

    // Chosen in the work-path dialog, a damaged file is refused as damaged.
    messages.Clear();
    CWorkPathDlg dialog(*app);
    dialog.SetPath(folder.DataPath());
    dialog.show();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messages.Texts(), QStringList{u"所选数据文件已损坏，不能使用，请选择其他文件！\n"_s +
                                            folder.DataPath()});
}

// A data file that cannot take changes is named at start-up, before anybody types anything:
// read-only (the file, or the folder its journal goes to), or held by another program.
TEST(StartUp, AnUnwritableDataFileAndAMissingReferenceFileAreSaidAtOnce)
{
    StartFolder folder;
    UnprivilegedScope::OpenToOthers(folder.Dir());
    const QString readOnly =
        u"数据文件是只读的，程序只能查看资料，任何修改都无法保存：\n%1\n请检查这个文件和它所在文件夹的写入权限。"_s
            .arg(folder.DataPath());
    for (const QFile::Permissions mode :
         {QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther,
          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup |
              QFile::ReadOther | QFile::WriteOther}) {
        QFile::setPermissions(folder.DataPath(), mode);
        const UnprivilegedScope unprivileged;
        ASSERT_TRUE(unprivileged.Ok());
        MessageRecorder messages;
        auto app = folder.MakeApp();
        ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
        app->Connections().CompactDataFile();
        app->Connections().OpenDatabase();
        ASSERT_TRUE(app->Database()->IsOpen());
        CStartUp(*app).ReportWriteAccess();
        EXPECT_EQ(messages.Texts(), QStringList{readOnly});
        // A save says the same at once, not that the counter failed.
        CADORecordset adding(app->Database());
        EXPECT_EQ(TakeRecordNumber(adding, RecordKind::Client).failure,
                  u"数据文件或它所在的文件夹是只读的，无法保存！"_s);
        app->ExitInstance();
    }
    QFile::setPermissions(folder.DataPath(), QFile::ReadOwner | QFile::WriteOwner);

    // Another program keeps a read open: no save could finish.
    MessageRecorder messages;
    auto app = folder.MakeApp();
    ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
    app->Connections().OpenDatabase();
    CStartUp(*app).ReportWriteAccess();
    EXPECT_TRUE(messages.Texts().isEmpty());
    auto other = folder.Data().Open();
    ASSERT_TRUE(other->BeginReadTransaction());
    CADORecordset reading(other.get());
    ASSERT_TRUE(reading.Open(u"SELECT * FROM client"_s));
    CStartUp(*app).ReportWriteAccess();
    EXPECT_EQ(
        messages.Texts(),
        QStringList{
            u"数据文件正被其他程序锁定，现在无法保存任何修改：\n%1\n请关闭占用它的程序。"_s.arg(
                folder.DataPath())});
    // A save meanwhile says what holds it up, and gives no number away.
    CADORecordset adding(app->Database());
    EXPECT_EQ(TakeRecordNumber(adding, RecordKind::Client).failure,
              u"数据文件正被其他程序锁定，无法保存，请稍后再试！"_s);
    reading.Close();
    other->CommitTransaction();
    EXPECT_EQ(folder.Data().QueryValue(u"SELECT client FROM snnumber"_s), u"1"_s);

    // Without the reference file (no data.db here) a lookup says so instead of finding nothing.
    app->Connections().OpenAreaDatabase();
    ASSERT_FALSE(app->ReferenceDatabase()->IsOpen());
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    CMainFrame frame(*app);
    for (const int command : {ID_TOOLS_ZIP, ID_TOOLS_PHONE}) {
        messages.Clear();
        const NoDialog noDialog;
        frame.Action(command)->trigger();
        EXPECT_EQ(messages.Texts(),
                  QStringList{u"找不到邮编和电话区号数据文件 data.db（或无法打开它），无法查询！\n"
                              "请把随程序提供的 data.db 放回程序的启动目录。"_s});
    }
    app->ExitInstance();
}
