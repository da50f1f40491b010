#include "app/dataconnections.h"

#include "app/appsettings.h"
#include "data/adodatabase.h"
#include "data/adox.h"
#include "data/compaction.h"
#include "data/datafilekind.h"
#include "data/datafileusers.h"
#include "data/datasource.h"
#include "data/filemaintenance.h"
#include "data/workstations.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {
const QString kAreaDataFile = u"data.db"_s;
} // namespace

CDataConnections::CDataConnections(const CAppSettings& settings)
    : m_settings(settings), m_pCatalog(std::make_unique<CADOXCatalog>())
{
}

CDataConnections::~CDataConnections() = default;

void CDataConnections::SetDataPath(const QString& path)
{
    m_strDbPath = path;
    m_server.reset();
    m_serverPassword.clear();
}

void CDataConnections::UseServer(const CServerSettings& server, const QString& password)
{
    m_strDbPath.clear();
    m_server = server;
    m_serverPassword = password;
}

QString CDataConnections::DataFilePath() const
{
    return m_server ? QString() : m_settings.AbsolutePath(m_strDbPath);
}

QString CDataConnections::DataConnectionString() const
{
    if (m_server)
        return m_server->ConnectionString(m_serverPassword, m_settings.WorkFolder());
    return CADODatabase::ConnectionStringFor(DataFilePath());
}

QString CDataConnections::DataSourceName() const
{
    return m_server ? m_server->Shown() : QDir::toNativeSeparators(DataFilePath());
}

const vantrel::db::FileMaintenance* CDataConnections::FileCare() const
{
    return vantrel::db::FileMaintenanceFor(DataConnectionString());
}

void CDataConnections::OpenAreaDatabase()
{
    m_pAreaDb = std::make_unique<CADODatabase>();
    m_pAreaDb->Open(CADODatabase::ConnectionStringFor(m_settings.SharedPath(kAreaDataFile)));
}

void CDataConnections::CompactDataFile()
{
    const vantrel::db::FileMaintenance* care = FileCare();
    if (!care)
        return;
    const QString path = DataFilePath();
    m_users = std::make_unique<DataFileUsers>(path);
    if (HoldsDataTables(InspectDataFile(path)))
        care->Compact(path, *m_users, nullptr);
    m_users->LockShared();
}

void CDataConnections::OpenDatabase()
{
    m_pCatalog->Open(DataConnectionString());
    m_pDb = std::make_unique<CADODatabase>();
    m_pDb->Open(DataConnectionString());
    JoinWorkstations();
}

void CDataConnections::UseDatabase(std::unique_ptr<CADODatabase> database)
{
    m_pDb = std::move(database);
    JoinWorkstations();
}

void CDataConnections::JoinWorkstations()
{
    m_workstations.reset();
    if (!m_pDb || !m_pDb->IsOpen() || !vantrel::db::NamesServer(m_pDb->GetConnectionString()))
        return;
    m_workstations = vantrel::db::JoinWorkstations(m_pDb->GetActiveConnection());
    // Working unseen by the others would let a restore replace the data under this program.
    if (!m_workstations)
        m_pDb->Close();
}

void CDataConnections::Close()
{
    m_workstations.reset();
    if (m_bDbReady) {
        if (m_pDb && m_pDb->IsOpen())
            m_pDb->Close();
        if (m_pAreaDb && m_pAreaDb->IsOpen())
            m_pAreaDb->Close();
    }
    m_users.reset();
}
