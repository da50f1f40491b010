#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/backup.h"
#include "data/datasource.h"
#include "data/serverbackup.h"
#include "data/workstations.h"
#include "support/pgtestdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The backup is the server as it was when it began: what another workstation saves while it
// is written is not in it, though it is on the server. It is a sound data file.
TEST(ServerBackup, IsOneSnapshotWhileOthersWrite)
{
    PgTestDatabase server;
    server.Exec(u"INSERT INTO client (no, name) VALUES (1, '甲'); "
                "INSERT INTO outputdata (no, paper, client) VALUES (1, 'S-1', '甲')"_s);
    const auto connection = OpenBackend(server.ConnectionString());
    ASSERT_TRUE(connection);
    bool wrote = false;
    const auto writeMeanwhile = [&](const QString& table) {
        wrote = wrote || table == u"outputdata"_s;
        if (table == u"outputdata"_s) // the clients are in the copy by now, the orders not yet
            server.Exec(u"INSERT INTO client (no, name) VALUES (2, '乙'); "
                        "INSERT INTO outputdata (no, paper, client) VALUES (2, 'S-2', '乙')"_s);
        return true;
    };
    QTemporaryDir folder;
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 5, 3));
    QString written, error;
    ASSERT_TRUE(vantrel::db::BackupServer(*connection, folder.path(), when, &written, &error,
                                          writeMeanwhile))
        << error.toStdString();
    ASSERT_TRUE(wrote);
    const QString base = vantrel::db::ServerBackupBase(*connection);
    EXPECT_EQ(written, QDir(folder.path()).filePath(BackupFileName(base, when)));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 1); // no passing name left
    EXPECT_TRUE(CheckBackup(written));

    CADODatabase backup;
    ASSERT_TRUE(backup.Open(CADODatabase::ConnectionStringFor(written)));
    CADORecordset orders(&backup);
    ASSERT_TRUE(orders.Open(u"SELECT * FROM outputdata"_s));
    QString paper;
    EXPECT_TRUE(orders.GetRecordCount() == 1 && orders.GetFieldText(u"paper"_s, paper));
    EXPECT_EQ(paper, u"S-1"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT count(*) FROM outputdata"_s), u"2"_s);
}

// A workstation that is killed lets go of the server with its connection.
TEST(ServerWorkstations, AKilledProgramLetsGo)
{
    PgTestDatabase server;
    const auto workstations = vantrel::db::JoinWorkstations(OpenBackend(server.ConnectionString()));
    ASSERT_TRUE(workstations);
    QProcess worker;
    worker.start(QCoreApplication::applicationDirPath() + u"/workstation_worker"_s,
                 {server.ConnectionString()});
    QByteArray said;
    while (!said.contains("joined") && worker.waitForReadyRead(10000))
        said += worker.readAllStandardOutput();
    ASSERT_TRUE(said.contains("joined")) << worker.readAllStandardError().toStdString();
    EXPECT_EQ(workstations->OtherWorkstations(), 1);
    EXPECT_FALSE(workstations->TryExclusive());

    worker.kill();
    ASSERT_TRUE(worker.waitForFinished());
    // The server ends the session once it sees the connection gone.
    for (int tries = 0; tries < 100 && workstations->OtherWorkstations() != 0; ++tries)
        QThread::msleep(100);
    EXPECT_EQ(workstations->OtherWorkstations(), 0);
    EXPECT_TRUE(workstations->TryExclusive());
}

} // namespace
