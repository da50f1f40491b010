#include "data/adorecordset.h"
#include "data/recordnumber.h"
#include "support/datafixture.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <array>
#include <set>

using namespace Qt::StringLiterals;

using RecordNumber = DataTest;

TEST_P(RecordNumber, TakesTheCounterAndAdvancesIt)
{
    Exec(u"UPDATE snnumber SET client = 7"_s);
    auto db = Open();
    CADORecordset rs(db.get());
    const TakenNumber taken = TakeRecordNumber(rs, RecordKind::Client);
    EXPECT_TRUE(taken.Ok());
    EXPECT_EQ(taken.number, 7);
    EXPECT_EQ(QueryValue(u"SELECT client || ',' || linkman FROM snnumber"_s), u"8,1"_s);
    EXPECT_FALSE(rs.IsOpen());

    // Past the 16-bit range.
    Exec(u"UPDATE snnumber SET outputdata = 32767"_s);
    EXPECT_EQ(TakeRecordNumber(rs, RecordKind::OutputData).number, 32767);
    EXPECT_EQ(TakeRecordNumber(rs, RecordKind::OutputData).number, 32768);
}

TEST_P(RecordNumber, ABlockOfNumbersMovesTheCounterOnlyWithItsTransaction)
{
    Exec(u"UPDATE snnumber SET linkman = 40"_s);
    auto db = Open();
    CADORecordset rs(db.get());
    ASSERT_TRUE(db->BeginTransaction());
    TakenNumber taken = TakeRecordNumbersInTransaction(rs, RecordKind::Linkman, 500);
    EXPECT_TRUE(taken.Ok());
    EXPECT_EQ(taken.number, 40);
    EXPECT_FALSE(rs.IsOpen());
    ASSERT_TRUE(db->RollbackTransaction());
    EXPECT_EQ(QueryValue(u"SELECT linkman FROM snnumber"_s), u"40"_s);

    ASSERT_TRUE(db->BeginTransaction());
    EXPECT_EQ(TakeRecordNumbersInTransaction(rs, RecordKind::Linkman, 500).number, 40);
    EXPECT_EQ(TakeRecordNumbersInTransaction(rs, RecordKind::Linkman, 1).number, 540);
    ASSERT_TRUE(db->CommitTransaction());
    EXPECT_EQ(QueryValue(u"SELECT linkman FROM snnumber"_s), u"541"_s);

    // A block that would pass the last number is not given.
    Exec(u"UPDATE snnumber SET linkman = 2147483000"_s);
    ASSERT_TRUE(db->BeginTransaction());
    taken = TakeRecordNumbersInTransaction(rs, RecordKind::Linkman, 1000);
    EXPECT_EQ(taken.failure, u"联系人编号无法更新！"_s);
    ASSERT_TRUE(db->RollbackTransaction());
    EXPECT_EQ(QueryValue(u"SELECT linkman FROM snnumber"_s), u"2147483000"_s);
}

TEST_P(RecordNumber, EachFailureHasTheKindsMessage)
{
    auto db = Open();
    CADORecordset rs(db.get());

    Exec(u"ALTER TABLE snnumber DROP COLUMN appoint"_s);
    TakenNumber taken = TakeRecordNumber(rs, RecordKind::Appoint);
    EXPECT_EQ(taken.number, -1);
    EXPECT_EQ(taken.failure, u"约会记录编号错误！"_s);

    // The last number there is has been given: no next one, and the counter stays.
    Exec(u"UPDATE snnumber SET client = 2147483647"_s);
    EXPECT_EQ(TakeRecordNumber(rs, RecordKind::Client).failure, u"客户编号无法更新！"_s);
    EXPECT_EQ(QueryValue(u"SELECT client FROM snnumber"_s), u"2147483647"_s);

    Exec(u"DELETE FROM snnumber"_s);
    EXPECT_EQ(TakeRecordNumber(rs, RecordKind::Client).failure, u"客户编号格式错误！"_s);
    EXPECT_EQ(TakeRecordNumber(rs, RecordKind::InputDetail).failure, u"采购/销售编号格式错误！"_s);

    Exec(u"DROP TABLE snnumber"_s);
    EXPECT_EQ(TakeRecordNumber(rs, RecordKind::Linkman).failure, u"无法获取联系人编号！"_s);
    EXPECT_EQ(TakeRecordNumber(rs, RecordKind::OutputData).failure, u"无法获取销售编号！"_s);
}

TEST_P(RecordNumber, FourProgramsNeverReceiveTheSameNumber)
{
    const QString worker = QCoreApplication::applicationDirPath() + u"/recordnumber_worker"_s;
    std::array<QProcess, 4> programs;
    for (QProcess& program : programs)
        program.start(worker, {ConnectionString(), u"250"_s});
    std::set<int> numbers;
    int taken = 0;
    for (QProcess& program : programs) {
        ASSERT_TRUE(program.waitForFinished(120000));
        ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        for (const QByteArray& line : program.readAllStandardOutput().split('\n'))
            if (!line.isEmpty()) {
                numbers.insert(line.toInt());
                ++taken;
            }
    }
    EXPECT_EQ(taken, 1000);
    EXPECT_EQ(numbers.size(), 1000u);
    EXPECT_EQ(*numbers.begin(), 1);
    EXPECT_EQ(*numbers.rbegin(), 1000);
    EXPECT_EQ(QueryValue(u"SELECT client FROM snnumber"_s), u"1001"_s);
}

INSTANTIATE_TEST_SUITE_P(, RecordNumber, EachBackend(), BackendName);
