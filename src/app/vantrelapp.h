#pragma once

#include "data/rights.h"
#include "kit/appcontext.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

class CADODatabase;
class CADOXCatalog;
class DataFileUsers;
class QWidget;

// The application object: for the whole run it owns the configuration, the skin, the two
// database connections, the signed-in user and that user's rights. Start-up
// (InitInstance) settles them in a fixed order; each step can also be run by itself.
//
// Relative names ("sale.db", "data.db", "skin/...") are taken in the working folder, which is
// the current directory for the program itself.
class CVantrelApp : public CAppContext
{
    Q_OBJECT
public:
    CVantrelApp(const QString& workFolder, const QString& iniPath, QObject* parent = nullptr);
    ~CVantrelApp() override;
    CVantrelApp(const CVantrelApp&) = delete;
    CVantrelApp& operator=(const CVantrelApp&) = delete;

    // The one application object of the run; null when there is none.
    static CVantrelApp* Instance();

    // Where setup.ini is: beside the executable, or, when that folder is not writable (an
    // installation for the whole system), in the user's configuration folder
    // ($XDG_CONFIG_HOME/Vantrel, by default ~/.config/Vantrel), seeded from the installed file.
    static QString DefaultIniPath();
    static QString IniPathFor(const QString& programFolder, const QString& userConfigFolder);

    // The whole start-up; false means stop: the program then ends without a main window.
    bool InitInstance();
    // Shut-down: closes the connections and lets go of the skin. Returns the exit code.
    int ExitInstance();

    // The steps of InitInstance, in their order. The first is given whether the code-page
    // converter exists (GbkAvailable()); without it, it says so and start-up stops.
    static bool CheckCodePage(bool converterAvailable);
    bool ChooseSkin();
    void OpenAreaDatabase();
    bool SettleDatabasePath();
    void CompactDataFile();
    void OpenDatabase();
    // Says at once when the data file cannot be written: read-only, or locked by another program.
    void ReportWriteAccess();
    bool SignIn();
    bool LoadPermissions();
    bool CreateMainWindow();

    // "Settings" section of setup.ini.
    QString ReadSetting(const QString& key, const QString& defaultValue = {}) const;
    bool WriteSetting(const QString& key, const QString& value) const;

    QString WorkFolder() const { return m_strWorkFolder; }
    // A path as the program uses it: relative ones within the working folder.
    QString AbsolutePath(const QString& path) const;
    QString SkinFolder() const;
    // Connection string of the data file in use.
    QString DataConnectionString() const;
    // The data file in use as a full path.
    QString DataFilePath() const { return AbsolutePath(m_strDbPath); }
    // This program's lock on the data file; null before start-up has taken it.
    DataFileUsers* Users() const { return m_users.get(); }

    // The folder backups go to: the one the user picked, else "backup" beside the data file.
    QString BackupFolder() const;
    // Start-up's safety copy: when the newest backup is older than seven days (or there is
    // none), writes one and keeps the newest ten. Failures are reported.
    void AutoBackup(const QDateTime& now);
    QWidget* MainWindow() const;
    // Where backups of a data file are looked for: the backup folder, then the file's own
    // folder, where the upgrade leaves its copies.
    QStringList BackupFoldersFor(const QString& dataFile) const;

    CADODatabase* Database() const override { return m_pDb.get(); }
    CADODatabase* ReferenceDatabase() const override { return m_pAreaDb.get(); }

    // The signed-in user's rights, as sign-in read them from table `power`.
    const CRights& Rights() const { return m_rights; }
    CRights& Rights() { return m_rights; }

    QString m_strUser;
    QString m_strDbPath;
    QString m_strSkin;
    QString m_strIniPath;

    std::unique_ptr<CADODatabase> m_pDb;
    std::unique_ptr<CADODatabase> m_pAreaDb;
    std::unique_ptr<CADOXCatalog> m_pCatalog;
    bool m_bDbReady = false;

private:
    // A damaged data file: offers the newest sound backup in its place. True when restored.
    bool OfferBackupFor(const QString& dataFile);
    // A data file is settled: one of an earlier layout is named as such.
    bool AcceptDataFile();

    QString m_strWorkFolder;
    // Marks the data file as in use by this program for the whole run.
    std::unique_ptr<DataFileUsers> m_users;
    std::unique_ptr<QWidget> m_pMainWnd;
    CRights m_rights;
};
