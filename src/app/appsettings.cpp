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

const QFile::Permissions kIniPermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;

// A user's own copy of an installed file: the installed one belongs to root and is read-only.
bool CopyForUser(const QString& from, const QString& to, QFile::Permissions permissions)
{
    return QFile::copy(from, to) && QFile::setPermissions(to, permissions);
}

QString UserFolder(QStandardPaths::StandardLocation location)
{
    return QDir(QStandardPaths::writableLocation(location)).filePath(u"Vantrel"_s);
}
} // namespace

CAppSettings::CAppSettings(const QString& workFolder, const QString& iniPath,
                           const QString& sharedFolder)
    : m_strWorkFolder(QDir(workFolder).absolutePath()), m_strIniPath(iniPath),
      m_strSharedFolder(sharedFolder.isEmpty() ? m_strWorkFolder
                                               : QDir(sharedFolder).absolutePath())
{
}

CAppPlaces CAppSettings::DefaultPlaces()
{
    return PlacesFor(QCoreApplication::applicationDirPath(), QDir::currentPath());
}

QString CAppSettings::InstalledSharedFolder(const QString& programFolder)
{
    // A build folder has its files beside the program; an installation has none there.
    const QDir program(programFolder);
    if (QFileInfo::exists(program.filePath(u"setup.ini"_s)) ||
        QFileInfo::exists(program.filePath(u"data.db"_s)))
        return {};
    const QString shared = QDir::cleanPath(program.filePath(u"../share/vantrel"_s));
    return QFileInfo(QDir(shared).filePath(u"data.db"_s)).isFile() ? shared : QString();
}

CAppPlaces CAppSettings::PlacesFor(const QString& programFolder, const QString& currentFolder)
{
    const QString userConfigFolder = UserFolder(QStandardPaths::GenericConfigLocation);
    const QString shared = InstalledSharedFolder(programFolder);
    if (shared.isEmpty())
        return {currentFolder, currentFolder, IniPathFor(programFolder, userConfigFolder)};
    const QString userDataFolder = UserFolder(QStandardPaths::GenericDataLocation);
    QDir().mkpath(userConfigFolder);
    QDir().mkpath(userDataFolder);
    const QString ini = QDir(userConfigFolder).filePath(u"setup.ini"_s);
    // The first start only: a user who later moves the data elsewhere (setup.ini's Path) must
    // not find a fresh empty file put back in its place.
    if (!QFileInfo::exists(ini)) {
        const QString data = QDir(userDataFolder).filePath(u"sale.db"_s);
        if (!QFileInfo::exists(data))
            CopyForUser(QDir(shared).filePath(u"sale.db"_s), data,
                        QFile::ReadOwner | QFile::WriteOwner);
        if (!CopyForUser(QDir(shared).filePath(u"setup.ini"_s), ini, kIniPermissions)) {
            QFile empty(ini);
            empty.open(QIODevice::WriteOnly);
        }
    }
    return {userDataFolder, shared, ini};
}

QString CAppSettings::IniPathFor(const QString& programFolder, const QString& userConfigFolder)
{
    const QString beside = QDir(programFolder).filePath(u"setup.ini"_s);
    if (QFileInfo::exists(beside) ? FileWritable(beside) : FolderWritable(programFolder))
        return beside;
    const QString own = QDir(userConfigFolder).filePath(u"setup.ini"_s);
    if (!QFileInfo::exists(own)) {
        QDir().mkpath(userConfigFolder);
        // The file beside the program carries its defaults.
        if (QFileInfo::exists(beside))
            CopyForUser(beside, own, kIniPermissions);
    }
    return own;
}

QString CAppSettings::AbsolutePath(const QString& path) const
{
    return path.isEmpty() ? QString() : QDir(m_strWorkFolder).absoluteFilePath(path);
}

QString CAppSettings::SharedPath(const QString& name) const
{
    return QDir(m_strSharedFolder).filePath(name);
}

QString CAppSettings::SkinFolder() const
{
    return SharedPath(u"skin"_s);
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
