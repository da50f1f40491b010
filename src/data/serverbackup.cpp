#include "data/serverbackup.h"

#include "data/postgres/pgconnection.h"
#include "data/schema.h"
#include "data/sqlite/filesafety.h"
#include "data/sqlite/sqliteconnection.h"
#include "data/workstations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <libpq-fe.h>

using namespace Qt::StringLiterals;
using namespace vantrel::filesafety;

namespace vantrel::db {
namespace {

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

bool Fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return false;
}

} // namespace

QString ServerBackupBase(Connection& server)
{
    const auto* postgres = dynamic_cast<postgres::PgConnection*>(&server);
    QString name = postgres ? QString::fromUtf8(PQdb(postgres->Handle())) : QString();
    // A database's name may hold what a file name must not.
    static const QRegularExpression unsafe(u"[\\\\/:*?\"<>|\\x00-\\x1f]"_s);
    name.replace(unsafe, u"_"_s);
    if (name.isEmpty() || name.startsWith(u'.'))
        name = u"server"_s;
    return name + u".db"_s;
}

bool SnapshotServer(Connection& server, const QString& path, QString* error,
                    const TableProbe& probe)
{
    if (QFileInfo::exists(path))
        return Fail(error, u"文件已存在：%1"_s.arg(Native(path)));
    const QString part = path + u".part"_s;
    TempFile temp(part);
    if (!temp.RemoveAll())
        return Fail(error, u"无法删除文件：%1"_s.arg(Native(part)));
    QString why;
    if (!CreateDataFile(part, &why))
        return Fail(error, u"无法建立备份文件 %1：%2"_s.arg(Native(part), why));
    {
        Error opened;
        const std::shared_ptr<sqlite::SqliteConnection> file =
            sqlite::SqliteConnection::Open(part, 0, opened);
        if (!file)
            return Fail(error, u"无法打开备份文件 %1：%2"_s.arg(Native(part), opened.message));
        const CopyReport report = CopyData(server, *file, CopyInto::Empty, probe);
        if (!report.copied)
            return Fail(error, report.error);
    }
    if (!CheckBackup(part, &why) || !Flush(part, part, why) || !RenameDurably(part, path, why))
        return Fail(error, why);
    temp.Keep();
    return true;
}

bool BackupServer(Connection& server, const QString& folder, const QDateTime& when,
                  QString* written, QString* error, const TableProbe& probe)
{
    if (!QDir().mkpath(folder))
        return Fail(error, u"无法建立文件夹：%1"_s.arg(Native(folder)));
    const QString base = ServerBackupBase(server);
    // Copies that a killed backup left under their passing names go first.
    const QDir dir(folder);
    for (const QString& stale : dir.entryList(
             {QFileInfo(base).completeBaseName() + u"-*.db.part*"_s}, QDir::Files | QDir::Hidden))
        QFile::remove(dir.filePath(stale));
    const QString target = dir.absoluteFilePath(BackupFileName(base, when));
    if (!SnapshotServer(server, target, error, probe))
        return false;
    if (written)
        *written = target;
    return true;
}

RestoreResult RestoreServer(const QString& backup, Connection& server, Workstations& workstations,
                            const QString& keepAs, QString* error, CopyReport* report)
{
    const auto failed = [&](const QString& why) {
        Fail(error, why);
        return RestoreResult::Failed;
    };
    QString why;
    if (!CheckBackup(backup, &why))
        return failed(why);
    if (keepAs.isEmpty() || QFileInfo::exists(keepAs))
        return failed(u"文件已存在：%1"_s.arg(Native(keepAs)));
    if (!workstations.TryExclusive()) {
        Fail(error, OtherWorkstationsText(workstations.OtherWorkstations(), u"恢复"_s));
        return RestoreResult::InUse;
    }
    struct Release
    {
        Workstations& held;
        ~Release() { held.ReleaseExclusive(); }
    } release{workstations};
    if (!QDir().mkpath(QFileInfo(keepAs).absolutePath()) || !SnapshotServer(server, keepAs, &why))
        return failed(u"无法保存服务器上现有的数据，恢复已取消：\n"_s + why);
    Error opened;
    const std::shared_ptr<sqlite::SqliteConnection> file =
        sqlite::SqliteConnection::Open(backup, 0, opened);
    if (!file)
        return failed(u"无法打开备份文件 %1：%2"_s.arg(Native(backup), opened.message));
    CopyReport copied = CopyData(*file, server, CopyInto::Replacing);
    if (!copied.copied)
        return failed(copied.error);
    if (report)
        *report = std::move(copied);
    return RestoreResult::Restored;
}

} // namespace vantrel::db
