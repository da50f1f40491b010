#include "data/sqlite/fileerrors.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>

using namespace Qt::StringLiterals;

bool IsDiskFull(int code, int systemError)
{
    if ((code & 0xff) == SQLITE_FULL)
        return true;
    return (code & 0xff) == SQLITE_IOERR &&
           (systemError == ENOSPC || systemError == EFBIG || systemError == EDQUOT);
}

QString SqliteReason(int code, int systemError)
{
    if (IsDiskFull(code, systemError))
        return u"磁盘已满"_s;
    switch (code & 0xff) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
        return u"没有错误"_s;
    case SQLITE_CORRUPT:
        return u"文件已损坏"_s;
    case SQLITE_NOTADB:
        return u"文件不是数据库，或已损坏"_s;
    case SQLITE_READONLY:
        return u"文件只读，无法写入"_s;
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return u"没有访问权限"_s;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return u"文件正被其他程序锁定"_s;
    case SQLITE_CANTOPEN:
        return u"文件无法打开"_s;
    case SQLITE_IOERR:
        return u"读写文件出错"_s;
    case SQLITE_NOMEM:
        return u"内存不足"_s;
    case SQLITE_TOOBIG:
        return u"数据过大"_s;
    case SQLITE_CONSTRAINT:
        return u"数据违反约束"_s;
    case SQLITE_INTERRUPT:
    case SQLITE_ABORT:
        return u"操作被中断"_s;
    case SQLITE_PROTOCOL:
        return u"文件锁定出错"_s;
    case SQLITE_SCHEMA:
        return u"数据表结构已改变"_s;
    case SQLITE_MISMATCH:
        return u"数据类型不符"_s;
    case SQLITE_RANGE:
    case SQLITE_MISUSE:
    case SQLITE_ERROR:
        return u"数据库操作出错"_s;
    default:
        return u"未知错误（代码 %1）"_s.arg(code);
    }
}

QString FileFailure(int code, int systemError, const QString& path)
{
    if (IsDiskFull(code, systemError)) {
        const QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
        return u"文件夹所在的磁盘已满：%1"_s.arg(folder);
    }
    const QString reason = SqliteReason(code, systemError);
    return path.isEmpty() ? reason : reason + u"："_s + QDir::toNativeSeparators(path);
}

QString FileFailure(sqlite3* db)
{
    if (!db)
        return SqliteReason(SQLITE_CANTOPEN);
    const char* file = sqlite3_db_filename(db, "main");
    return FileFailure(sqlite3_extended_errcode(db), sqlite3_system_errno(db),
                       QString::fromUtf8(file ? file : ""));
}
