// Two workstations on one database: a change made through a recordset reaches the row that
// was read, or nothing at all.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "support/datafixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

using namespace Qt::StringLiterals;

namespace {

// Adds a row through the recordset, as the dialogs do.
void AddRow(CADODatabase& db, const QString& table, const QVariantMap& fields)
{
    CADORecordset rs(&db);
    ASSERT_TRUE(rs.Open(u"SELECT * FROM "_s + table)) << rs.GetLastError().toStdString();
    ASSERT_TRUE(rs.AddNew());
    for (auto field = fields.begin(); field != fields.end(); ++field)
        if (field.value().typeId() == QMetaType::Int)
            rs.SetFieldInt(field.key(), field.value().toInt());
        else
            rs.SetFieldText(field.key(), field.value().toString());
    ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
}

// Opens `sql` on one row, as a dialog does before it writes.
void OpenOne(CADORecordset& rs, const QString& sql)
{
    ASSERT_TRUE(rs.Open(sql)) << rs.GetLastError().toStdString();
    ASSERT_EQ(rs.GetRecordCount(), 1) << sql.toStdString();
}

void DeleteOne(CADODatabase& db, const QString& sql)
{
    CADORecordset rs(&db);
    OpenOne(rs, sql);
    ASSERT_TRUE(rs.Delete()) << rs.GetLastError().toStdString();
}

// Neither an edit nor a delete reaches the row `stale` holds.
void ExpectRefused(CADORecordset& stale, const QString& field)
{
    stale.Edit();
    EXPECT_TRUE(stale.SetFieldText(field, u"改过"_s));
    EXPECT_FALSE(stale.Update());
    EXPECT_EQ(stale.GetLastErrorCode(), CADORecordset::kRowChangedError);
    EXPECT_TRUE(stale.GetLastError().contains(u"Row cannot be located for updating"_s))
        << stale.GetLastError().toStdString();
    EXPECT_EQ(stale.GetEditStatus(), CADORecordset::dbEditNone);
    EXPECT_FALSE(stale.Delete());
    EXPECT_EQ(stale.GetLastErrorCode(), CADORecordset::kRowChangedError);
    EXPECT_EQ(stale.GetRecordCount(), 1);
}

class RowChanges : public DataTest
{
protected:
    // A file gives a deleted row's identity to the next row added; a server never gives one
    // twice, and there the rows below are replaced without that coincidence.
    bool ReusesIdentities() const { return QLatin1StringView(GetParam().name) == "sqlite"_L1; }
    QString Identity(const QString& sql) const
    {
        return ReusesIdentities() ? QueryValue(sql) : QString();
    }
};

TEST_P(RowChanges, ARowReplacedOrDeletedMeanwhileIsLeftAlone)
{
    auto a = Open();
    auto b = Open();
    for (int no = 1; no <= 3; ++no)
        AddRow(*b, u"client"_s, {{u"no"_s, no}, {u"name"_s, u"客户%1"_s.arg(no)}});
    const QString rowid = Identity(u"SELECT rowid FROM client WHERE no = 3"_s);

    CADORecordset stale(a.get());
    OpenOne(stale, u"SELECT * FROM client WHERE [no] = 3"_s);
    DeleteOne(*b, u"SELECT * FROM client WHERE [no] = 3"_s);
    AddRow(*b, u"client"_s, {{u"no"_s, 4}, {u"name"_s, u"他人的客户"_s}});
    ASSERT_EQ(Identity(u"SELECT rowid FROM client WHERE no = 4"_s), rowid);
    ExpectRefused(stale, u"name"_s);

    OpenOne(stale, u"SELECT * FROM client WHERE [no] = 2"_s);
    DeleteOne(*b, u"SELECT * FROM client WHERE [no] = 2"_s);
    ExpectRefused(stale, u"name"_s);
    EXPECT_EQ(QueryValue(u"SELECT group_concat(no || name || ifnull(city, ''), ',') "
                         "FROM client"_s),
              u"1客户1,4他人的客户"_s);

    // Changed but still the same numbered row: the edit lands, and so does the delete.
    OpenOne(stale, u"SELECT * FROM client WHERE [no] = 1"_s);
    Exec(u"UPDATE client SET name = '甲公司' WHERE no = 1"_s);
    stale.Edit();
    stale.SetFieldText(u"city"_s, u"上海"_s);
    EXPECT_TRUE(stale.Update()) << stale.GetLastError().toStdString();
    EXPECT_EQ(QueryValue(u"SELECT name || city FROM client WHERE no = 1"_s), u"甲公司上海"_s);
    // Edited as read, it is written while every field is as read, and not after any changed.
    stale.EditAsRead();
    stale.SetFieldText(u"zip"_s, u"200000"_s);
    EXPECT_TRUE(stale.Update()) << stale.GetLastError().toStdString();
    Exec(u"UPDATE client SET site = 'b.example' WHERE no = 1"_s);
    stale.EditAsRead();
    stale.SetFieldText(u"zip"_s, u"300000"_s);
    EXPECT_FALSE(stale.Update());
    EXPECT_EQ(stale.GetLastErrorCode(), CADORecordset::kRowChangedError);
    EXPECT_EQ(QueryValue(u"SELECT zip || site FROM client WHERE no = 1"_s), u"200000b.example"_s);
    EXPECT_TRUE(stale.Delete()) << stale.GetLastError().toStdString();
    EXPECT_EQ(QueryValue(u"SELECT group_concat(no) FROM client"_s), u"4"_s);
}

TEST_P(RowChanges, AnUnnumberedRowIsKnownByEveryValueAsRead)
{
    auto a = Open();
    auto b = Open();
    Exec(u"INSERT INTO city (name) VALUES ('北京'), ('上海')"_s);
    const QString rowid = Identity(u"SELECT rowid FROM city WHERE name = '上海'"_s);

    CADORecordset stale(a.get());
    OpenOne(stale, u"SELECT * FROM city WHERE [name] = '上海'"_s);
    DeleteOne(*b, u"SELECT * FROM city WHERE [name] = '上海'"_s);
    AddRow(*b, u"city"_s, {{u"name"_s, u"广州"_s}});
    ASSERT_EQ(Identity(u"SELECT rowid FROM city WHERE name = '广州'"_s), rowid);
    ExpectRefused(stale, u"name"_s);
    EXPECT_EQ(QueryValue(u"SELECT group_concat(name, ',') FROM city"_s), u"北京,广州"_s);

    // Unchanged, it is written again and again (the cursor keeps what was stored), then deleted.
    OpenOne(stale, u"SELECT * FROM city WHERE [name] = '北京'"_s);
    for (const QString& name : {u"北京市"_s, u"北京"_s}) {
        stale.Edit();
        stale.SetFieldText(u"name"_s, name);
        EXPECT_TRUE(stale.Update()) << stale.GetLastError().toStdString();
    }
    EXPECT_TRUE(stale.Delete()) << stale.GetLastError().toStdString();
    EXPECT_EQ(QueryValue(u"SELECT group_concat(name, ',') FROM city"_s), u"广州"_s);

    // NULL matches NULL; any other column changed meanwhile does not match.
    Exec(u"UPDATE snnumber SET client = 10, appoint = NULL"_s);
    OpenOne(stale, u"SELECT * FROM snnumber"_s);
    stale.Edit();
    stale.SetFieldInt(u"client"_s, 11);
    ASSERT_TRUE(stale.Update()) << stale.GetLastError().toStdString();
    Exec(u"UPDATE snnumber SET linkman = linkman + 1"_s);
    stale.Edit();
    stale.SetFieldInt(u"client"_s, 12);
    EXPECT_FALSE(stale.Update());
    EXPECT_EQ(
        QueryValue(
            u"SELECT client || ',' || linkman || ',' || ifnull(CAST(appoint AS TEXT), 'null') "
            "FROM snnumber"_s),
        u"11,2,null"_s);
}

// The worker's report: one line per operation ("edit <no> ok|refused", "delete <no> ok|refused",
// "add <no>").
struct WorkerReport
{
    int operations = 0;
    int refused = 0;
    std::multiset<int> deleted;
    std::set<int> added;
};

void ReadReport(QProcess& process, WorkerReport& report)
{
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() < 2)
            continue;
        const int no = words[1].toInt();
        if (words[0] == "add") {
            EXPECT_TRUE(report.added.insert(no).second) << "number given twice: " << no;
            continue;
        }
        ++report.operations;
        if (words.value(2) == "refused")
            ++report.refused;
        else if (words[0] == "delete")
            report.deleted.insert(no);
    }
}

using RowChangesUnderLoad = RowChanges;

TEST_P(RowChangesUnderLoad, TwoProgramsEditingAndReplacingTheSameRowsNeverMixThem)
{
    constexpr int kRows = 6;
    for (int no = 1; no <= kRows; ++no)
        Exec(u"INSERT INTO client (no, name, number, remark) VALUES (%1, '客户%1', '%1', "
             "'no=%1 初始')"_s.arg(no));
    Exec(u"UPDATE snnumber SET client = %1"_s.arg(kRows + 1));
    // Every row written or deleted, in order, whichever program did it.
    LogRowChanges(u"client"_s, {u"no"_s, u"name"_s, u"number"_s, u"remark"_s});

    const QString worker = QCoreApplication::applicationDirPath() + u"/rowchanges_worker"_s;
    QProcess first, second;
    first.start(worker, {ConnectionString(), u"500"_s, u"1"_s});
    second.start(worker, {ConnectionString(), u"500"_s, u"2"_s});
    WorkerReport report;
    for (QProcess* process : {&first, &second}) {
        ASSERT_TRUE(process->waitForFinished(120000));
        ASSERT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        ReadReport(*process, report);
    }
    EXPECT_EQ(report.operations, 1000);
    // The programs got in each other's way; on a file, deleted rows' identities were given
    // again (a server never gives one twice).
    EXPECT_GT(report.refused, 0);
    const int reused = QueryValue(u"SELECT count(*) FROM rowlog AS added WHERE op = 'INSERT' "
                                  "AND EXISTS (SELECT 1 FROM rowlog AS gone WHERE op = "
                                  "'DELETE' AND gone.id = added.id AND gone.seq < "
                                  "added.seq)"_s)
                           .toInt();
    if (ReusesIdentities())
        EXPECT_GT(reused, 0);
    else
        EXPECT_EQ(reused, 0);

    // No row was ever written with another row's values (a NULL counts as another's).
    const int misplaced =
        QueryValue(u"SELECT count(*) FROM rowlog WHERE op <> 'DELETE' AND CASE WHEN name = "
                   "'客户' || no AND number = CAST(no AS TEXT) AND remark LIKE 'no=' || no || "
                   "' %' THEN 0 ELSE 1 END = 1"_s)
            .toInt();
    EXPECT_EQ(misplaced, 0);
    // The rows deleted are the ones the programs said they deleted, each once.
    QStringList deleted;
    for (int no : report.deleted)
        deleted << QString::number(no);
    EXPECT_EQ(QueryValue(u"SELECT group_concat(no) FROM (SELECT no FROM rowlog WHERE op = "
                         "'DELETE' ORDER BY no) AS deleted"_s),
              deleted.join(u','));
    EXPECT_EQ(QueryValue(u"SELECT count(*) FROM client"_s).toInt(), kRows);
    std::printf("[ figures  ] %d operations, %d refused, %d rowids given again, %d misplaced\n",
                report.operations, report.refused, reused, misplaced);
}

INSTANTIATE_TEST_SUITE_P(, RowChanges, EachBackend(), BackendName);
INSTANTIATE_TEST_SUITE_P(, RowChangesUnderLoad, EachBackend(), BackendName);

} // namespace
