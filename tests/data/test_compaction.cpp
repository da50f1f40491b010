#include "data/compaction.h"
#include "data/datafileusers.h"
#include "support/tempdata.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
constexpr int kRows = 300;

// A data file with rows in it and, after deleting half of them, unused space to give back.
void FillWithSpace(const TempDataFile& file)
{
    file.Exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
              "INSERT INTO client (no, name, survey) SELECT i, '客户' || i, "
              "printf('%.*c', 500, 'x') FROM n"_s.arg(2 * kRows));
    file.Exec(u"DELETE FROM client WHERE no > %1"_s.arg(kRows));
}

void ExpectAllRows(const TempDataFile& file)
{
    EXPECT_EQ(file.QueryValue(u"PRAGMA integrity_check"_s), u"ok"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM client"_s), QString::number(kRows));
    EXPECT_EQ(file.QueryValue(u"SELECT name FROM client WHERE no = %1"_s.arg(kRows)),
              u"客户%1"_s.arg(kRows));
    // The access layer opens it and reads it as before.
    auto database = file.Open();
    EXPECT_TRUE(database->IsOpen());
}

QString TempOf(const TempDataFile& file)
{
    return CompactionTempPath(file.Path());
}
} // namespace

TEST(Compaction, RewritesTheFileSmallerWithEveryRow)
{
    TempDataFile file;
    FillWithSpace(file);
    const qint64 before = QFileInfo(file.Path()).size();
    EXPECT_EQ(TempOf(file), file.Dir() + u"/sale.tmp"_s);

    DataFileUsers users(file.Path());
    QString error;
    EXPECT_EQ(CompactDataFile(file.Path(), users, &error), CompactionResult::Compacted)
        << error.toStdString();
    EXPECT_LT(QFileInfo(file.Path()).size(), before);
    EXPECT_FALSE(QFileInfo::exists(TempOf(file)));
    ExpectAllRows(file);
    // The lock stays the program's own until it turns it into its shared one.
    EXPECT_EQ(users.CurrentState(), DataFileUsers::State::Exclusive);
    EXPECT_TRUE(users.LockShared());
    EXPECT_EQ(users.CurrentState(), DataFileUsers::State::Shared);
}

TEST(Compaction, LeavesAFileAloneWhileAnotherProgramHasItOpen)
{
    TempDataFile file;
    FillWithSpace(file);
    DataFileUsers otherWorkstation(file.Path());
    ASSERT_TRUE(otherWorkstation.LockShared());

    const qint64 before = QFileInfo(file.Path()).size();
    DataFileUsers users(file.Path());
    EXPECT_EQ(CompactDataFile(file.Path(), users), CompactionResult::InUse);
    EXPECT_EQ(QFileInfo(file.Path()).size(), before);
    EXPECT_FALSE(QFileInfo::exists(TempOf(file)));
    // Both may work on the file together.
    EXPECT_TRUE(users.LockShared());

    // Once the other program has ended, and this one too, the next start compacts.
    otherWorkstation.Unlock();
    users.Unlock();
    DataFileUsers nextStart(file.Path());
    EXPECT_EQ(CompactDataFile(file.Path(), nextStart), CompactionResult::Compacted);
    ExpectAllRows(file);

    // And while it compacts, nobody else takes the exclusive lock.
    DataFileUsers third(file.Path());
    EXPECT_FALSE(third.TryLockExclusive());

    // A program that reaches the file through a link counts as a user of the file itself.
    const QString link = file.Path() + u".link"_s;
    ASSERT_TRUE(QFile::link(file.Path(), link));
    nextStart.Unlock();
    DataFileUsers throughLink(link);
    ASSERT_TRUE(throughLink.LockShared());
    DataFileUsers later(file.Path());
    EXPECT_EQ(CompactDataFile(file.Path(), later), CompactionResult::InUse);
    QFile::remove(link);
}

TEST(Compaction, ALeftOverTempFileNoLongerBlocksIt)
{
    TempDataFile file;
    FillWithSpace(file);
    {
        QFile stale(TempOf(file));
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("half a copy from a run that crashed");
    }
    DataFileUsers users(file.Path());
    QString error;
    EXPECT_EQ(CompactDataFile(file.Path(), users, &error), CompactionResult::Compacted)
        << error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(TempOf(file)));
    ExpectAllRows(file);
}

TEST(Compaction, AFailureLeavesTheFileAsItWasAndNoCopy)
{
    TempDataFile file;
    // Not a data file at all: the copy cannot be made.
    QFile::remove(file.Path());
    {
        QFile broken(file.Path());
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray(4096, 'z'));
    }
    DataFileUsers users(file.Path());
    QString error;
    EXPECT_EQ(CompactDataFile(file.Path(), users, &error), CompactionResult::Failed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(TempOf(file)));
    QFile broken(file.Path());
    ASSERT_TRUE(broken.open(QIODevice::ReadOnly));
    EXPECT_EQ(broken.readAll(), QByteArray(4096, 'z'));

    DataFileUsers nobody(file.Dir() + u"/missing.db"_s);
    EXPECT_EQ(CompactDataFile(file.Dir() + u"/missing.db"_s, nobody), CompactionResult::Failed);
    EXPECT_FALSE(QFileInfo::exists(file.Dir() + u"/missing.db"_s));
}

TEST(Compaction, StoppedAtAnyPointTheFileOpensWithEveryRow)
{
    const CompactionStep steps[] = {
        CompactionStep::Locked,   CompactionStep::StaleRemoved, CompactionStep::Copied,
        CompactionStep::Verified, CompactionStep::Flushed,      CompactionStep::Released,
        CompactionStep::Replaced,
    };
    for (const CompactionStep stop : steps) {
        SCOPED_TRACE(int(stop));
        TempDataFile file;
        FillWithSpace(file);
        {
            DataFileUsers users(file.Path());
            const auto killedAt = [stop](CompactionStep step) { return step != stop; };
            EXPECT_EQ(CompactDataFile(file.Path(), users, nullptr, killedAt),
                      CompactionResult::Failed);
        } // the program is gone, and with it its lock
        ExpectAllRows(file);

        // The next start finds whatever was left and compacts as usual.
        DataFileUsers users(file.Path());
        QString error;
        EXPECT_EQ(CompactDataFile(file.Path(), users, &error), CompactionResult::Compacted)
            << error.toStdString();
        EXPECT_FALSE(QFileInfo::exists(TempOf(file)));
        ExpectAllRows(file);
    }
}

TEST(Compaction, KeepsTheFilePermissionsAndTempNames)
{
    TempDataFile file;
    FillWithSpace(file);
    QFile::setPermissions(file.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::WriteGroup);
    DataFileUsers users(file.Path());
    ASSERT_EQ(CompactDataFile(file.Path(), users), CompactionResult::Compacted);
    EXPECT_EQ(QFile::permissions(file.Path()) & 0x7077, // owner, group, others
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup);

    EXPECT_EQ(CompactionTempPath(u"/a/b/shop.db"_s), u"/a/b/shop.tmp"_s);
    EXPECT_EQ(CompactionTempPath(u"/a/old.tmp"_s), u"/a/old.tmp.tmp"_s);
}

TEST(Compaction, AWriterKilledInTheMiddleOfAChangeLosesOnlyThatChange)
{
    TempDataFile file;
    FillWithSpace(file);
    // Another program changes every row and is killed before it commits: its journal is left
    // behind, hot, holding the rows as they were.
    const QByteArray path = file.Path().toUtf8();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db,
                     "PRAGMA cache_size = 1; BEGIN; UPDATE client SET name = 'half', "
                     "survey = printf('%.*c', 900, 'h')",
                     nullptr, nullptr, nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(QFileInfo(file.Path() + u"-journal"_s).size() > 0);

    DataFileUsers users(file.Path());
    QString error;
    EXPECT_EQ(CompactDataFile(file.Path(), users, &error), CompactionResult::Compacted)
        << error.toStdString();
    EXPECT_FALSE(QFileInfo(file.Path() + u"-journal"_s).size() > 0);
    ExpectAllRows(file);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM client WHERE name = 'half'"_s), u"0"_s);
}
