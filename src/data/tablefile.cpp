#include "data/tablefile.h"

#include "data/tablewriters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

TableFileResult Failure(TableFileStatus status, const QString& detail)
{
    return {status, detail};
}

// Forces the written file to the disk, so the rename never puts an empty file in place of a
// good one after a power cut.
bool SyncToDisk(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) {
        error = file.errorString();
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace

TableFileFormat TableFileFormatOf(const QString& path)
{
    return QFileInfo(path).suffix().compare(u"csv"_s, Qt::CaseInsensitive) == 0
               ? TableFileFormat::Csv
               : TableFileFormat::Xlsx;
}

TableFileResult WriteTableFile(const QString& path, TableFileFormat format,
                               const TableFileContent& content, const TableFileProgress& progress)
{
    const QFileInfo target(path);
    const QDir folder = target.absoluteDir();
    if (target.fileName().isEmpty())
        return Failure(TableFileStatus::CannotReplace, path);
    if (!folder.exists())
        return Failure(TableFileStatus::MissingFolder, QDir::toNativeSeparators(folder.path()));
    if (target.exists() && (target.isDir() || !target.isWritable()))
        return Failure(TableFileStatus::CannotReplace, QDir::toNativeSeparators(path));

    // Beside the target, so the finished file moves into place in one step on the same disk.
    QTemporaryFile part(folder.filePath(u"."_s + target.fileName() + u".XXXXXX.part"_s));
    if (!part.open()) {
        const TableFileStatus status = QFileInfo(folder.path()).isWritable()
                                           ? TableFileStatus::WriteFailed
                                           : TableFileStatus::NoPermission;
        return Failure(status, part.errorString());
    }
    part.close();
    const QString partPath = part.fileName();

    const TableFileResult written = format == TableFileFormat::Csv
                                        ? WriteCsvTable(partPath, content, progress)
                                        : WriteXlsxTable(partPath, content, progress);
    if (!written.Written())
        return written; // the temporary file goes with `part`

    QString error;
    if (!SyncToDisk(partPath, error))
        return Failure(TableFileStatus::WriteFailed, error);
    // A replaced file keeps its permissions; a new one is readable by all, as files a user
    // saves are.
    const QFileDevice::Permissions permissions =
        target.exists()
            ? QFile::permissions(path)
            : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(partPath, permissions);
    if (std::rename(QFile::encodeName(partPath).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0)
        return Failure(TableFileStatus::CannotReplace,
                       QString::fromLocal8Bit(std::strerror(errno)));
    part.setAutoRemove(false);
    return {};
}
