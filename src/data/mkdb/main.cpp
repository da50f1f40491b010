// vantrel_mkdb <data file> <reference file>: makes the delivered empty files from the schema.
#include "data/schema.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: vantrel_mkdb <sale.db> <data.db>\n");
        return 2;
    }
    QString error;
    if (!CreateDataFile(arguments.at(1), &error) || !CreateReferenceFile(arguments.at(2), &error)) {
        std::fprintf(stderr, "vantrel_mkdb: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
