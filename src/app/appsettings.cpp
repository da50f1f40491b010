#include "app/appsettings.h"

#include "app/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace {
const QString kSettings = u"Settings"_s;

// Whether this user may create files in the folder: tried, not guessed from permission bits.
bool FolderWritable(const QString& folder)
{
    if (!QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(u"setup-XXXXXX.tmp"_s));
    return probe.open();
}

bool FileWritable(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
}
} // namespace

CAppSettings::CAppSettings(const QString& workFolder, const QString& iniPath)
    : m_strWorkFolder(QDir(workFolder).absolutePath()), m_strIniPath(iniPath)
{
}

QString CAppSettings::DefaultIniPath()
{
    return IniPathFor(QCoreApplication::applicationDirPath(),
                      QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
                          .filePath(u"Vantrel"_s));
}

QString CAppSettings::IniPathFor(const QString& programFolder, const QString& userConfigFolder)
{
    const QString beside = QDir(programFolder).filePath(u"setup.ini"_s);
    if (QFileInfo::exists(beside) ? FileWritable(beside) : FolderWritable(programFolder))
        return beside;
    const QString own = QDir(userConfigFolder).filePath(u"setup.ini"_s);
    if (!QFileInfo::exists(own)) {
        QDir().mkpath(userConfigFolder);
        // The installed file carries the installation's defaults.
        if (QFileInfo::exists(beside) && QFile::copy(beside, own))
            QFile::setPermissions(own, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
    }
    return own;
}

QString CAppSettings::AbsolutePath(const QString& path) const
{
    return path.isEmpty() ? QString() : QDir(m_strWorkFolder).absoluteFilePath(path);
}

QString CAppSettings::SkinFolder() const
{
    return AbsolutePath(u"skin"_s);
}

QString CAppSettings::ReadSetting(const QString& key, const QString& defaultValue) const
{
    return inifile::ReadString(m_strIniPath, kSettings, key, defaultValue);
}

bool CAppSettings::WriteSetting(const QString& key, const QString& value) const
{
    return inifile::WriteString(m_strIniPath, kSettings, key, value);
}

QStringList CAppSettings::BackupFoldersFor(const QString& dataFile) const
{
    const QString chosen = ReadSetting(u"BackupPath"_s);
    // The data on a server: its backups are kept in the working folder's "backup".
    if (dataFile.isEmpty())
        return {chosen.isEmpty() ? AbsolutePath(u"backup"_s) : AbsolutePath(chosen)};
    const QString dataFolder = QFileInfo(dataFile).absolutePath();
    // The upgrade leaves its copies beside the file.
    return {chosen.isEmpty() ? QDir(dataFolder).filePath(u"backup"_s) : AbsolutePath(chosen),
            dataFolder};
}
