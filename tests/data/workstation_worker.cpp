// workstation_worker <connection string>: joins the workstations of a server, says "joined" on
// stdout, and holds on until it is killed.
#include "data/datasource.h"
#include "data/workstations.h"

#include <QCoreApplication>
#include <QStringList>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 2)
        return 2;
    vantrel::db::Error error;
    const auto connection = vantrel::db::OpenDataSource(arguments.at(1), 0, error);
    QString why;
    const auto workstations =
        connection ? vantrel::db::JoinWorkstations(connection, &why) : nullptr;
    if (!workstations) {
        std::fprintf(stderr, "%s%s\n", qPrintable(error.message), qPrintable(why));
        return 1;
    }
    std::printf("joined\n");
    std::fflush(stdout);
    for (;;)
        QThread::sleep(1);
}
