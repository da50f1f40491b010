// recordnumber_worker <connection string> <count>: takes <count> client numbers, one per line.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/recordnumber.h"
#include "support/workermain.h"

#include <cstdio>

int main(int argc, char** argv)
{
    return RunOnDatabase(argc, argv, 3, [](CADODatabase& db, const QStringList& arguments) {
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
    });
}
