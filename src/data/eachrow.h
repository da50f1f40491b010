#pragma once

#include "data/adorecordset.h"

#include <type_traits>

// Walks an open recordset from its first row (a forward one from where it stands), calling
// `visit()` with the recordset on each row in turn; a visitor that returns bool stops the walk by
// returning false. Returns the number of rows visited.
template <typename Visit> int ForEachRow(CADORecordset& recordset, Visit&& visit)
{
    if (recordset.IsForwardOnly()) {
        // Rows come from the statement as the walk goes; they end when it does.
        int row = 0;
        for (; !recordset.IsEOF(); recordset.MoveNext()) {
            ++row;
            if constexpr (std::is_same_v<std::invoke_result_t<Visit&>, bool>) {
                if (!visit())
                    return row;
            } else {
                visit();
            }
        }
        return row;
    }
    const int count = recordset.GetRecordCount();
    if (count >= 1)
        recordset.MoveFirst();
    for (int row = 0; row < count; ++row) {
        if constexpr (std::is_same_v<std::invoke_result_t<Visit&>, bool>) {
            if (!visit())
                return row + 1;
        } else {
            visit();
        }
        recordset.MoveNext();
    }
    return count < 0 ? 0 : count;
}

// Runs a statement and walks its rows; false when the statement does not run.
template <typename Visit>
bool OpenEachRow(CADORecordset& recordset, const QString& sql, Visit&& visit)
{
    if (!recordset.Open(sql))
        return false;
    ForEachRow(recordset, visit);
    return true;
}
