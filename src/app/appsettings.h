#pragma once

#include <QString>
#include <QStringList>

// The program's configuration: the working folder relative names are taken in ("sale.db",
// "data.db", "skin/..."), and the "Settings" section of setup.ini.
class CAppSettings
{
public:
    CAppSettings(const QString& workFolder, const QString& iniPath);

    // Where setup.ini is: beside the executable, or, when that folder is not writable (an
    // installation for the whole system), in the user's configuration folder
    // ($XDG_CONFIG_HOME/Vantrel, by default ~/.config/Vantrel), seeded from the installed file.
    static QString DefaultIniPath();
    static QString IniPathFor(const QString& programFolder, const QString& userConfigFolder);

    QString IniPath() const { return m_strIniPath; }
    QString WorkFolder() const { return m_strWorkFolder; }
    // A path as the program uses it: relative ones within the working folder.
    QString AbsolutePath(const QString& path) const;
    QString SkinFolder() const;

    QString ReadSetting(const QString& key, const QString& defaultValue = {}) const;
    bool WriteSetting(const QString& key, const QString& value) const;

    // Where backups of a data file are looked for: the backup folder (the one the user picked,
    // else "backup" beside the data file), then the file's own folder, where the upgrade leaves
    // its copies. For data kept on a server (no file) the default is "backup" in the working
    // folder.
    QStringList BackupFoldersFor(const QString& dataFile) const;

private:
    QString m_strWorkFolder;
    QString m_strIniPath;
};
