// vantrel_mkdb <data file> <reference file> <domestic.csv> <citycodes.csv> <international.csv>
// <services.csv>: makes the delivered empty data file, and the reference file filled from the
// CSV files. A city table that disagrees with the domestic places stops the build.
#include "data/referencedata.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 7) {
        std::fprintf(stderr, "usage: vantrel_mkdb <sale.db> <data.db> <domestic.csv> "
                             "<citycodes.csv> <international.csv> <services.csv>\n");
        return 2;
    }
    const ReferenceSources sources{arguments.at(3), arguments.at(4), arguments.at(5),
                                   arguments.at(6)};
    QString error;
    if (!CreateDataFile(arguments.at(1), &error) || !CreateReferenceFile(arguments.at(2), &error) ||
        !FillReferenceFile(arguments.at(2), sources, &error)) {
        std::fprintf(stderr, "vantrel_mkdb: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
