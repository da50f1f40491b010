#include "data/datasource.h"
#include "data/workstations.h"
#include "support/pgtestdatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A workstation that is killed lets go of the server with its connection.
TEST(ServerWorkstations, AKilledProgramLetsGo)
{
    PgTestDatabase server;
    vantrel::db::Error error;
    const auto mine = vantrel::db::OpenDataSource(server.ConnectionString(), 0, error);
    ASSERT_TRUE(mine);
    const auto workstations = vantrel::db::JoinWorkstations(mine);
    ASSERT_TRUE(workstations);
    QProcess worker;
    worker.start(QCoreApplication::applicationDirPath() + u"/workstation_worker"_s,
                 {server.ConnectionString()});
    ASSERT_TRUE(worker.waitForStarted());
    QByteArray said;
    while (!said.contains("joined") && worker.waitForReadyRead(10000))
        said += worker.readAllStandardOutput();
    ASSERT_TRUE(said.contains("joined"))
        << said.toStdString() << worker.readAllStandardError().toStdString();
    EXPECT_EQ(workstations->OtherWorkstations(), 1);
    EXPECT_FALSE(workstations->TryExclusive());

    worker.kill();
    ASSERT_TRUE(worker.waitForFinished());
    // The server ends the session once it sees the connection gone.
    for (int tries = 0; tries < 100 && workstations->OtherWorkstations() != 0; ++tries)
        QThread::msleep(100);
    EXPECT_EQ(workstations->OtherWorkstations(), 0);
    EXPECT_TRUE(workstations->TryExclusive());
    workstations->ReleaseExclusive();
}

} // namespace
