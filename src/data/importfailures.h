#pragma once

// Inside the readers of import tables only: the failures the workbook and the text reader
// both report, in the same words.

#include "data/importtable.h"

#include <QString>

inline ImportTableResult ImportFailure(ImportTableStatus status, const QString& message)
{
    return {status, message};
}

inline ImportTableResult CannotOpenFailure(const QString& path, const QString& error)
{
    using namespace Qt::StringLiterals;
    return ImportFailure(ImportTableStatus::CannotOpen, u"无法打开文件“%1”：%2"_s.arg(path, error));
}

inline ImportTableResult TooLargeFailure()
{
    using namespace Qt::StringLiterals;
    return ImportFailure(ImportTableStatus::TooLarge, u"文件太大，无法导入。"_s);
}

inline ImportTableResult TooManyRowsFailure(int maxRows)
{
    using namespace Qt::StringLiterals;
    return ImportFailure(
        ImportTableStatus::TooManyRows,
        u"文件中的数据超过 %1 行，一次导入不了这么多，请分成几个文件导入。"_s.arg(maxRows));
}

inline ImportTableResult NoDataFailure()
{
    using namespace Qt::StringLiterals;
    return ImportFailure(ImportTableStatus::Empty, u"文件中没有数据。"_s);
}
