#include "customers/dictionaryvalues.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"

using namespace Qt::StringLiterals;

std::optional<QStringList> DictionaryValues(CADODatabase* database, const QString& sql)
{
    CADORecordset recordset(database);
    QStringList values;
    const QString name = u"name"_s;
    const bool read = OpenEachRow(recordset, sql, [&] {
        QString value;
        recordset.GetFieldText(name, value);
        values << value;
    });
    if (!read)
        return std::nullopt;
    return values;
}
