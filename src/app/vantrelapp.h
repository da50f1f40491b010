#pragma once

#include "app/appsettings.h"
#include "app/dataconnections.h"
#include "app/session.h"
#include "kit/appcontext.h"

#include <QString>

#include <memory>

class CSkinEngine;
class IServerPasswords;
class QWidget;

// The application object: for the whole run it holds the configuration, the connections, the
// signed-in session, the main window and the skin engine the program draws with, and is what
// the windows know of the program. Start-up (InitInstance, see CStartUp) settles them in a fixed
// order.
//
// Relative names ("sale.db", "skin/...") are taken in the working folder, which is the current
// directory for the program run from its build folder; the shipped files ("data.db", "skin/",
// "help/") are in the shared folder (CAppSettings::PlacesFor).
class CVantrelApp : public CAppContext
{
    Q_OBJECT
public:
    // The engine outlives the application object.
    CVantrelApp(const QString& workFolder, const QString& iniPath, CSkinEngine& skin,
                QObject* parent = nullptr);
    CVantrelApp(const CAppPlaces& places, CSkinEngine& skin, QObject* parent = nullptr);
    ~CVantrelApp() override;
    CVantrelApp(const CVantrelApp&) = delete;
    CVantrelApp& operator=(const CVantrelApp&) = delete;

    // The whole start-up; false means stop: the program then ends without a main window.
    bool InitInstance();
    // Shut-down: closes the connections and lets go of the skin. Returns the exit code.
    int ExitInstance();

    const CAppSettings& Settings() const { return m_settings; }
    CDataConnections& Connections() { return m_connections; }
    const CDataConnections& Connections() const { return m_connections; }
    CSession& Session() { return m_session; }
    const CSession& Session() const { return m_session; }
    CSkinEngine& SkinEngine() const { return m_skin; }

    // The skin file in use, as named in the skin folder.
    QString SkinName() const { return m_strSkin; }
    void SetSkinName(const QString& name) { m_strSkin = name; }

    // Where the server's password is kept between runs: the desktop's keyring, unless another
    // store was put in its place (tests keep theirs in memory).
    IServerPasswords& ServerPasswords() const { return *m_serverPasswords; }
    void SetServerPasswords(std::unique_ptr<IServerPasswords> passwords);

    // The folder backups of the data file in use go to.
    QString BackupFolder() const;

    QWidget* MainWindow() const { return m_pMainWnd.get(); }
    // Takes the main window for the run; returns it.
    QWidget* SetMainWindow(std::unique_ptr<QWidget> window);

    CADODatabase* Database() const override { return m_connections.Database(); }
    CADODatabase* ReferenceDatabase() const override { return m_connections.ReferenceDatabase(); }

private:
    CAppSettings m_settings;
    CDataConnections m_connections;
    CSession m_session;
    CSkinEngine& m_skin;
    QString m_strSkin;
    std::unique_ptr<IServerPasswords> m_serverPasswords;
    std::unique_ptr<QWidget> m_pMainWnd;
};
