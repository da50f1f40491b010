#include "data/backup.h"
#include "data/datafileusers.h"
#include "support/tempdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kMonday(QDate(2026, 12, 7), QTime(9, 5, 3));

QString Value(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

QStringList Names(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// The copy holds what was saved when it was taken, not what another program is still writing.
TEST(Backup, CopiesTheSavedRowsWhileAnotherConnectionWrites)
{
    TempDataFile file;
    file.Exec(u"INSERT INTO client (no, name) VALUES (1, '甲'), (2, 'Lee''s')"_s);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(file.Path().toUtf8().constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer,
                           "BEGIN IMMEDIATE; INSERT INTO client (no, name) VALUES (3, '丙')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);

    QTemporaryDir folder;
    const QString target = folder.filePath(u"nested/backups"_s);
    QString written, error;
    ASSERT_TRUE(BackupDataFile(file.Path(), target, kMonday, &written, &error))
        << error.toStdString();
    sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(writer);

    EXPECT_EQ(written, QDir(target).filePath(u"sale-20261207-090503.db"_s));
    EXPECT_EQ(Names(target), QStringList{u"sale-20261207-090503.db"_s});
    EXPECT_EQ(Value(written, u"PRAGMA integrity_check"_s), u"ok"_s);
    EXPECT_EQ(Value(written, u"SELECT group_concat(name, '|') FROM client ORDER BY no"_s),
              u"甲|Lee's"_s);
    EXPECT_TRUE(CheckBackup(written));
    // The same second twice is refused rather than overwritten.
    EXPECT_FALSE(BackupDataFile(file.Path(), target, kMonday, nullptr, &error));
    EXPECT_FALSE(BackupDataFile(file.Path() + u".gone"_s, target, kMonday.addSecs(1), nullptr));
}

// Stopped at any step, as a kill would stop it, no file stands under a backup's name; the
// next backup clears what was left.
TEST(Backup, AStoppedBackupLeavesNoBackupBehind)
{
    TempDataFile file;
    QTemporaryDir folder;
    for (CopyStep stop : {CopyStep::Copied, CopyStep::Verified, CopyStep::Flushed}) {
        QString error;
        EXPECT_FALSE(BackupDataFile(file.Path(), folder.path(), kMonday, nullptr, &error,
                                    [stop](CopyStep step) { return step != stop; }));
        EXPECT_TRUE(BackupsIn(folder.path(), file.Path()).isEmpty());
        EXPECT_EQ(Names(folder.path()), QStringList{u"sale-20261207-090503.db.part"_s});
    }
    ASSERT_TRUE(BackupDataFile(file.Path(), folder.path(), kMonday, nullptr));
    EXPECT_EQ(Names(folder.path()), QStringList{u"sale-20261207-090503.db"_s});
}

TEST(Backup, NewestFirstAndOnlyTheNewestTenKept)
{
    QTemporaryDir folder;
    const QString dataFile = u"/somewhere/sale.db"_s;
    // Twelve weekly backups, written out of order, among files that are no backups of it.
    for (int week : {3, 0, 11, 7, 1, 2, 4, 5, 6, 8, 9, 10}) {
        QFile backup(folder.filePath(BackupFileName(dataFile, kMonday.addDays(7 * week))));
        ASSERT_TRUE(backup.open(QIODevice::WriteOnly));
    }
    for (const QString& other :
         {u"sale-notes.db"_s, u"shop-20261207-090503.db"_s, u"sale-20261207-0905.db"_s}) {
        QFile file(folder.filePath(other));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QStringList found = BackupsIn(folder.path(), dataFile);
    ASSERT_EQ(found.size(), 12);
    EXPECT_EQ(QFileInfo(found.first()).fileName(), u"sale-20270222-090503.db"_s);
    EXPECT_EQ(QFileInfo(found.last()).fileName(), u"sale-20261207-090503.db"_s);
    EXPECT_EQ(LastBackupTime(folder.path(), dataFile), kMonday.addDays(77));

    PruneBackups(folder.path(), dataFile, 10);
    const QStringList kept = BackupsIn(folder.path(), dataFile);
    ASSERT_EQ(kept.size(), 10);
    EXPECT_EQ(QFileInfo(kept.last()).fileName(), u"sale-20261221-090503.db"_s);
    EXPECT_EQ(Names(folder.path()).size(), 13); // the three others stay
    EXPECT_FALSE(LastBackupTime(folder.path() + u"/none"_s, dataFile).isValid());
}

TEST(Backup, RestorePutsACheckedBackupInPlaceAndKeepsTheFileItReplaces)
{
    TempDataFile file;
    file.Exec(u"INSERT INTO client (no, name) VALUES (1, '旧')"_s);
    QTemporaryDir folder;
    QString backup;
    ASSERT_TRUE(BackupDataFile(file.Path(), folder.path(), kMonday, &backup));
    file.Exec(u"UPDATE client SET name = '新' WHERE no = 1"_s);

    // A damaged file, a text file and another program's database are no backups.
    const QString damaged = folder.filePath(u"damaged.db"_s);
    QFile::copy(backup, damaged);
    {
        QFile bytes(damaged);
        ASSERT_TRUE(bytes.open(QIODevice::ReadWrite));
        bytes.seek(bytes.size() / 2);
        bytes.write(QByteArray(4096, '\x5a'));
    }
    const QString text = folder.filePath(u"text.db"_s);
    {
        QFile bytes(text);
        ASSERT_TRUE(bytes.open(QIODevice::WriteOnly));
        bytes.write("not a database");
    }
    DataFileUsers users(file.Path());
    for (const QString& bad : {damaged, text, folder.filePath(u"missing.db"_s)}) {
        QString error;
        EXPECT_FALSE(CheckBackup(bad, &error)) << bad.toStdString();
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(RestoreDataFile(bad, file.Path(), users, BeforeRestorePath(file.Path(), kMonday),
                                  &error),
                  RestoreResult::Failed);
    }
    EXPECT_EQ(file.QueryValue(u"SELECT name FROM client"_s), u"新"_s);

    // Stopped at any step, the data file is whole and still the current one.
    for (CopyStep stop :
         {CopyStep::Copied, CopyStep::Verified, CopyStep::Flushed, CopyStep::Saved}) {
        EXPECT_EQ(RestoreDataFile(backup, file.Path(), users,
                                  BeforeRestorePath(file.Path(), kMonday), nullptr,
                                  [stop](CopyStep step) { return step != stop; }),
                  RestoreResult::Failed);
        EXPECT_EQ(file.QueryValue(u"PRAGMA integrity_check"_s), u"ok"_s);
        EXPECT_EQ(file.QueryValue(u"SELECT name FROM client"_s), u"新"_s);
    }

    // Each restore keeps the file it replaces under a name of its own, with date and time; a
    // second one in the same second neither overwrites the first nor is refused.
    const QString stamped = file.Dir() + u"/sale-before-restore-20261207-090503.db"_s;
    QFile::remove(stamped); // kept by the restore stopped after that step
    const QString first = BeforeRestorePath(file.Path(), kMonday);
    EXPECT_EQ(first, stamped);
    QString error;
    ASSERT_EQ(RestoreDataFile(backup, file.Path(), users, first, &error), RestoreResult::Restored)
        << error.toStdString();
    EXPECT_EQ(file.QueryValue(u"SELECT name FROM client"_s), u"旧"_s);
    EXPECT_EQ(Value(first, u"SELECT name FROM client"_s), u"新"_s);
    file.Exec(u"UPDATE client SET name = '第三' WHERE no = 1"_s);
    const QString second = BeforeRestorePath(file.Path(), kMonday);
    EXPECT_EQ(second, file.Dir() + u"/sale-before-restore-20261207-090503-2.db"_s);
    ASSERT_EQ(RestoreDataFile(backup, file.Path(), users, second, &error), RestoreResult::Restored)
        << error.toStdString();
    EXPECT_EQ(Value(first, u"SELECT name FROM client"_s), u"新"_s);
    EXPECT_EQ(Value(second, u"SELECT name FROM client"_s), u"第三"_s);
    // A name that is taken is never written over, and kept files are no backups to prune.
    EXPECT_EQ(RestoreDataFile(backup, file.Path(), users, first, &error), RestoreResult::Failed);
    EXPECT_EQ(Value(first, u"SELECT name FROM client"_s), u"新"_s);
    PruneBackups(file.Dir(), file.Path(), 0);
    EXPECT_TRUE(QFileInfo::exists(first) && QFileInfo::exists(second));
    EXPECT_EQ(users.CurrentState(), DataFileUsers::State::Exclusive);
    EXPECT_FALSE(QFileInfo::exists(file.Path() + u".restore"_s));
    EXPECT_FALSE(QFileInfo::exists(file.Path() + u".restore.part"_s));
    EXPECT_TRUE(CheckBackup(backup)); // the backup itself is untouched
}

} // namespace

namespace {

// Runs the work in a child process whose files may not grow past `limit` bytes, as on a disk
// that is full; gives back what the work reports.
QString WithFileSizeLimit(rlim_t limit, const std::function<QString()>& work)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return u"no pipe"_s;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        ::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of killing
        const rlimit small = {limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &small);
        const QByteArray report = work().toUtf8();
        [[maybe_unused]] const ssize_t written =
            ::write(pipeEnds[1], report.constData(), report.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    QByteArray report;
    char buffer[512];
    ssize_t got;
    while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, got);
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return QString::fromUtf8(report);
}

} // namespace

// What goes wrong is told in Chinese, and blames the right file: a damaged data file, not
// its copy; a full disk names the folder that is full.
TEST(Backup, FailuresAreToldInChineseAndBlameTheRightFile)
{
    TempDataFile file;
    file.Exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000) "
              "INSERT INTO client (no, name, remark) "
              "SELECT i, 'c' || i, printf('%.*c', 300, 'r') FROM n"_s);
    QTemporaryDir folder;
    const QString full = folder.filePath(u"满"_s);
    const QString report = WithFileSizeLimit(64 * 1024 + 100, [&] {
        QString error;
        BackupDataFile(file.Path(), full, kMonday, nullptr, &error);
        return error;
    });
    EXPECT_EQ(report, u"文件夹所在的磁盘已满："_s + full);
    EXPECT_TRUE(BackupsIn(full, file.Path()).isEmpty());

    // A copy of a damaged file fails its check because of the file.
    {
        QFile bytes(file.Path());
        ASSERT_TRUE(bytes.open(QIODevice::ReadWrite));
        bytes.seek(bytes.size() / 2);
        bytes.write(QByteArray(4096, '\x5a'));
    }
    QString error;
    EXPECT_FALSE(BackupDataFile(file.Path(), folder.path(), kMonday, nullptr, &error));
    EXPECT_EQ(error, u"数据文件已损坏："_s + file.Path());

    // A file that is no database.
    const QString text = folder.filePath(u"text.db"_s);
    {
        QFile bytes(text);
        ASSERT_TRUE(bytes.open(QIODevice::WriteOnly));
        bytes.write(QByteArray(8192, 't'));
    }
    EXPECT_FALSE(BackupDataFile(text, folder.path(), kMonday, nullptr, &error));
    EXPECT_EQ(error, u"文件不是数据库，或已损坏："_s + text);
}
