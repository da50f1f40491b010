// recordnumber_worker <data file> <count>: takes <count> client numbers, one per line.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/recordnumber.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3)
        return 2;
    CADODatabase db;
    db.SetConnectionTimeout(60);
    if (!db.Open(CADODatabase::ConnectionStringFor(arguments.at(1)))) {
        std::fprintf(stderr, "%s\n", qPrintable(db.GetLastError()));
        return 1;
    }
    CADORecordset rs(&db);
    const int count = arguments.at(2).toInt();
    for (int i = 0; i < count; ++i) {
        const TakenNumber taken = TakeRecordNumber(rs, RecordKind::Client);
        if (!taken.Ok()) {
            std::fprintf(stderr, "%s\n%s\n", qPrintable(taken.failure),
                         qPrintable(db.GetLastError()));
            return 1;
        }
        std::printf("%d\n", taken.number);
    }
    return 0;
}
