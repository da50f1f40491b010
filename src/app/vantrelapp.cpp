#include "app/vantrelapp.h"

#include "app/serverkeyring.h"
#include "app/startup.h"
#include "kit/skinengine.h"

#include <QWidget>

CVantrelApp::CVantrelApp(const QString& workFolder, const QString& iniPath, CSkinEngine& skin,
                         QObject* parent)
    : CVantrelApp(CAppPlaces{workFolder, {}, iniPath}, skin, parent)
{
}

CVantrelApp::CVantrelApp(const CAppPlaces& places, CSkinEngine& skin, QObject* parent)
    : CAppContext(parent), m_settings(places.workFolder, places.iniPath, places.sharedFolder),
      m_connections(m_settings), m_skin(skin),
      m_serverPasswords(std::make_unique<CKeyringPasswords>())
{
}

CVantrelApp::~CVantrelApp()
{
    m_pMainWnd.reset();
}

bool CVantrelApp::InitInstance()
{
    return CStartUp(*this).Run();
}

int CVantrelApp::ExitInstance()
{
    m_pMainWnd.reset();
    m_connections.Close();
    m_skin.Shutdown();
    return 0;
}

void CVantrelApp::SetServerPasswords(std::unique_ptr<IServerPasswords> passwords)
{
    m_serverPasswords = std::move(passwords);
}

QString CVantrelApp::BackupFolder() const
{
    return m_settings.BackupFoldersFor(m_connections.DataFilePath()).constFirst();
}

QWidget* CVantrelApp::SetMainWindow(std::unique_ptr<QWidget> window)
{
    m_pMainWnd = std::move(window);
    return m_pMainWnd.get();
}

#include "moc_vantrelapp.cpp"
