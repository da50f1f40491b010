#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/backup.h"
#include "data/datacopy.h"
#include "data/datafilekind.h"
#include "data/datasource.h"
#include "data/recordnumber.h"
#include "data/schema.h"
#include "data/serverbackup.h"
#include "data/workstations.h"
#include "support/pgtestdatabase.h"
#include "support/tempdata.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using vantrel::db::Connection;

namespace {

const QDateTime kWhen(QDate(2026, 12, 7), QTime(9, 5, 3));

std::shared_ptr<Connection> Connect(const QString& connectionString)
{
    vantrel::db::Error error;
    std::shared_ptr<Connection> connection =
        vantrel::db::OpenDataSource(connectionString, 0, error);
    EXPECT_TRUE(connection) << error.message.toStdString();
    return connection;
}

int TakeClientNumber(const QString& connectionString)
{
    CADODatabase database;
    if (!database.Open(connectionString))
        return -2;
    CADORecordset recordset(&database);
    return TakeRecordNumber(recordset, RecordKind::Client).number;
}

// The backup is the server as it was when it began: what another workstation saves while it
// is written is not in it, though it is on the server. It is a sound data file.
TEST(ServerBackup, IsOneSnapshotWhileOthersWrite)
{
    PgTestDatabase server;
    server.Exec(u"INSERT INTO client (no, name) VALUES (1, '甲'); "
                "INSERT INTO outputdata (no, paper, client) VALUES (1, 'S-1', '甲')"_s);
    const auto connection = Connect(server.ConnectionString());
    ASSERT_TRUE(connection);
    QTemporaryDir folder;
    int probed = 0;
    const auto writeMeanwhile = [&](const QString& table) {
        ++probed;
        // The clients are copied by now, the orders not yet.
        if (table == u"outputdata"_s)
            server.Exec(u"INSERT INTO client (no, name) VALUES (2, '乙'); "
                        "INSERT INTO outputdata (no, paper, client) VALUES (2, 'S-2', '乙')"_s);
        return true;
    };
    QString written, error;
    ASSERT_TRUE(vantrel::db::BackupServer(*connection, folder.path(), kWhen, &written, &error,
                                          writeMeanwhile))
        << error.toStdString();
    EXPECT_EQ(probed, static_cast<int>(schema::DataTables().size()) + 1);
    const QString base = vantrel::db::ServerBackupBase(*connection);
    EXPECT_TRUE(base.startsWith(u"vantrel_test_"_s));
    EXPECT_EQ(written, QDir(folder.path()).filePath(BackupFileName(base, kWhen)));
    EXPECT_EQ(BackupsIn(folder.path(), base), QStringList{written});
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
              QStringList{QFileInfo(written).fileName()});
    EXPECT_TRUE(CheckBackup(written));
    EXPECT_EQ(InspectDataFile(written), DataFileKind::Ours);

    CADODatabase backup;
    ASSERT_TRUE(backup.Open(CADODatabase::ConnectionStringFor(written)));
    CADORecordset orders(&backup);
    ASSERT_TRUE(orders.Open(u"SELECT * FROM outputdata"_s));
    EXPECT_EQ(orders.GetRecordCount(), 1);
    QString paper;
    orders.GetFieldText(u"paper"_s, paper);
    EXPECT_EQ(paper, u"S-1"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT count(*) FROM outputdata"_s), u"2"_s);
    // A second backup in the same second is refused, the first kept.
    EXPECT_FALSE(vantrel::db::BackupServer(*connection, folder.path(), kWhen, nullptr, &error));
    EXPECT_TRUE(CheckBackup(written));
}

// A restore needs the server to itself: refused, with the count, while another workstation
// is connected; alone, the server holds the backup's data and numbers, and what it held
// before is kept in a file.
TEST(ServerRestore, RefusedWhileOthersWorkThenReplacesTheData)
{
    PgTestDatabase server;
    server.Exec(u"INSERT INTO client (no, name) VALUES (1, '服务器上的')"_s);
    TempDataFile backup;
    backup.Exec(u"INSERT INTO client (no, name) VALUES (5, '备份里的'); "
                "UPDATE snnumber SET client = 6"_s);
    QTemporaryDir folder;
    const QString keepAs = folder.filePath(u"before.db"_s);
    const auto mine = Connect(server.ConnectionString());
    ASSERT_TRUE(mine);
    QString error;
    const auto workstations = vantrel::db::JoinWorkstations(mine, &error);
    ASSERT_TRUE(workstations) << error.toStdString();
    EXPECT_EQ(workstations->OtherWorkstations(), 0);
    {
        const auto other = Connect(server.ConnectionString());
        const auto otherWorkstation = vantrel::db::JoinWorkstations(other);
        ASSERT_TRUE(otherWorkstation);
        EXPECT_EQ(workstations->OtherWorkstations(), 1);
        EXPECT_EQ(otherWorkstation->OtherWorkstations(), 1);
        EXPECT_EQ(vantrel::db::RestoreServer(backup.Path(), *mine, *workstations, keepAs, &error),
                  RestoreResult::InUse);
        EXPECT_EQ(error, u"另有 1 个工作站正在使用数据库，无法恢复！"_s);
        EXPECT_FALSE(QFileInfo::exists(keepAs));
        EXPECT_EQ(server.QueryValue(u"SELECT name FROM client"_s), u"服务器上的"_s);
    }
    // A file that is no backup is refused before anything else.
    QFile junk(folder.filePath(u"junk.db"_s));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("no database");
    junk.close();
    EXPECT_EQ(vantrel::db::RestoreServer(junk.fileName(), *mine, *workstations, keepAs, &error),
              RestoreResult::Failed);

    vantrel::db::CopyReport report;
    ASSERT_EQ(
        vantrel::db::RestoreServer(backup.Path(), *mine, *workstations, keepAs, &error, &report),
        RestoreResult::Restored)
        << error.toStdString();
    ASSERT_EQ(report.tables.size(), schema::DataTables().size() + 1);
    EXPECT_EQ(report.tables[1].table + u":"_s + QString::number(report.tables[1].rows),
              u"client:1"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT string_agg(name, ',') FROM client"_s), u"备份里的"_s);
    EXPECT_EQ(TakeClientNumber(server.ConnectionString()), 6);
    EXPECT_TRUE(CheckBackup(keepAs));
    sqlite3* kept = nullptr;
    sqlite3_open_v2(keepAs.toUtf8().constData(), &kept, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* name = nullptr;
    sqlite3_prepare_v2(kept, "SELECT name FROM client", -1, &name, nullptr);
    ASSERT_EQ(sqlite3_step(name), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(name, 0)), "服务器上的");
    sqlite3_finalize(name);
    sqlite3_close(kept);
    // The server is no longer held to itself: another program comes in.
    const auto next = Connect(server.ConnectionString());
    EXPECT_TRUE(vantrel::db::JoinWorkstations(next));
    EXPECT_EQ(workstations->OtherWorkstations(), 1);
}

} // namespace
