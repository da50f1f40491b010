#pragma once

#include <QString>
#include <QStringList>

// Where one run of the program keeps and finds its files.
struct CAppPlaces
{
    // Relative names of the data ("sale.db", its backups, "sale.tmp") are taken in it.
    QString workFolder;
    // The files the program ships and only reads: "data.db", "skin/", "help/".
    QString sharedFolder;
    QString iniPath;
};

// The program's configuration: the working folder relative names are taken in ("sale.db",
// "skin/..."), the folder of the shipped files, and the "Settings" section of setup.ini.
class CAppSettings
{
public:
    // Without a shared folder the shipped files are in the working folder.
    CAppSettings(const QString& workFolder, const QString& iniPath,
                 const QString& sharedFolder = {});

    // The places for this executable, started in the current folder: see PlacesFor.
    static CAppPlaces DefaultPlaces();
    // A program installed as a package (its shipped files in ../share/vantrel, none beside it)
    // keeps the user's setup.ini in $XDG_CONFIG_HOME/Vantrel (~/.config/Vantrel) and works in
    // $XDG_DATA_HOME/Vantrel (~/.local/share/Vantrel), both made on the first start with the
    // installed setup.ini and empty data file. Any other program works in the current folder,
    // with setup.ini as IniPathFor says.
    static CAppPlaces PlacesFor(const QString& programFolder, const QString& currentFolder);
    // The folder of the shipped files of an installed program; empty for any other.
    static QString InstalledSharedFolder(const QString& programFolder);
    // Where setup.ini is: beside the executable, or, when that folder is not writable, in the
    // user's configuration folder, seeded from the file beside the executable.
    static QString IniPathFor(const QString& programFolder, const QString& userConfigFolder);

    QString IniPath() const { return m_strIniPath; }
    QString WorkFolder() const { return m_strWorkFolder; }
    QString SharedFolder() const { return m_strSharedFolder; }
    // A path as the program uses it: relative ones within the working folder.
    QString AbsolutePath(const QString& path) const;
    // A shipped file ("data.db", "help/index.html") by its name in the shared folder.
    QString SharedPath(const QString& name) const;
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
    QString m_strSharedFolder;
};
