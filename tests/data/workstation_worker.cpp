// workstation_worker <connection string>: joins the workstations of a server, says "joined" on
// stdout, and holds on until it is killed.
#include "data/datasource.h"
#include "data/workstations.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    vantrel::db::Error error;
    const auto connection = vantrel::db::OpenDataSource(application.arguments().value(1), 0, error);
    if (!connection || !vantrel::db::JoinWorkstations(connection))
        return 1;
    std::printf("joined\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}
