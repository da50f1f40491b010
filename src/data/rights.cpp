#include "data/rights.h"

#include <QLatin1StringView>

const RightInfo* RightByColumn(const QString& column)
{
    for (const RightInfo& info : kRights) {
        if (column.compare(QLatin1StringView(info.column), Qt::CaseInsensitive) == 0)
            return &info;
    }
    return nullptr;
}
