#include "app/logindlg.h"
#include "app/serverkeyring.h"
#include "app/serverpassworddlg.h"
#include "app/serversettings.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "app/workpathdlg.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/datafilekind.h"
#include "data/datasource.h"
#include "data/dbcatalogue.h"
#include "data/dbconnection.h"
#include "data/serverprobe.h"
#include "kit/messages.h"
#include "memorypasswords.h"
#include "startfolder.h"
#include "support/controls.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHash>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using vantrel::db::ProbeServer;
using vantrel::db::ServerProbe;

namespace {

// A password with everything a connection string treats specially.
const QString kAnnaPassword = u"an'na \\ pw dbname=postgres"_s;

// A port nobody listens on, for now.
int FreePort()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(probe);
    return ntohs(address.sin_port);
}

// A server of its own for these tests, offering TLS and asking for passwords
// (pgserver.sh start-secure): anna owns the databases, bert has no rights on any.
class SecureServer : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_port = FreePort();
        s_dir = u"/tmp/vantrel-secure-pg-%1"_s.arg(QCoreApplication::applicationPid());
        ASSERT_EQ(QProcess::execute(Script(), {u"start-secure"_s, s_dir, QString::number(s_port)}),
                  0);
        Admin(u"CREATE ROLE anna LOGIN PASSWORD '%1'; CREATE ROLE bert LOGIN PASSWORD 'bert'"_s.arg(
            QString(kAnnaPassword).replace(u"'"_s, u"''"_s)));
    }
    static void TearDownTestSuite() { QProcess::execute(Script(), {u"stop"_s, s_dir}); }
    static QString Script()
    {
        return QStringLiteral(VANTREL_SOURCE_DIR "/tests/support/pgserver.sh");
    }

    // Runs statements ("; " between them) one by one as the server's superuser, on `database`.
    static void Admin(const QString& statements, const QString& database = u"postgres"_s)
    {
        const QByteArray conninfo =
            u"host=127.0.0.1 port=%1 user=vantrel dbname=%2 sslmode=disable"_s.arg(s_port)
                .arg(database)
                .toUtf8();
        PGconn* db = PQconnectdb(conninfo.constData());
        for (const QString& sql : statements.split(u"; "_s)) {
            PGresult* result = PQexec(db, sql.toUtf8().constData());
            EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << PQerrorMessage(db);
            PQclear(result);
        }
        PQfinish(db);
    }
    static CServerSettings Server(const QString& user, const QString& database)
    {
        CServerSettings server;
        server.host = u"127.0.0.1"_s;
        server.port = s_port;
        server.user = user;
        server.database = database;
        return server;
    }
    static ServerProbe Probe(const CServerSettings& server, const QString& password)
    {
        return ProbeServer(server.ConnectionString(password)).outcome;
    }

    static inline int s_port = 0;
    static inline QString s_dir;
};

TEST(ServerSettings, EveryValueStaysOneValueOfTheConnectionString)
{
    StartFolder folder;
    CServerSettings server;
    server.host = u"db host"_s;
    server.port = 6543;
    server.database = u"sales' dbname=postgres \\"_s;
    server.user = u"an\\'na"_s;
    server.encryption = ServerEncryption::Verified;
    server.caFile = u"ca dir/root's.crt"_s;
    const QString string = server.ConnectionString(u"p w' user=root \\"_s, folder.Dir());
    QString conninfo;
    ASSERT_TRUE(vantrel::db::NamesServer(string, &conninfo));

    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(conninfo.toUtf8().constData(), &error);
    ASSERT_NE(options, nullptr) << error;
    QHash<QString, QString> values;
    for (PQconninfoOption* option = options; option->keyword; ++option)
        if (option->val)
            values[QString::fromUtf8(option->keyword)] = QString::fromUtf8(option->val);
    PQconninfoFree(options);
    EXPECT_EQ(values[u"host"_s], u"db host"_s);
    EXPECT_EQ(values[u"port"_s], u"6543"_s);
    EXPECT_EQ(values[u"dbname"_s], u"sales' dbname=postgres \\"_s);
    EXPECT_EQ(values[u"user"_s], u"an\\'na"_s);
    EXPECT_EQ(values[u"password"_s], u"p w' user=root \\"_s);
    EXPECT_EQ(values[u"sslmode"_s], u"verify-full"_s);
    EXPECT_EQ(values[u"sslrootcert"_s], folder.Dir() + u"/ca dir/root's.crt"_s);

    // Without a password none is named; a required encryption checks no certificate.
    server.encryption = ServerEncryption::Required;
    const QString plain = server.ConnectionString({});
    EXPECT_FALSE(plain.contains(u"password"_s));
    EXPECT_FALSE(plain.contains(u"sslrootcert"_s));
    EXPECT_TRUE(plain.contains(u"sslmode=require"_s));

    // setup.ini keeps them as they were, and which kind of data the workstation uses.
    auto app = folder.MakeApp();
    EXPECT_EQ(CServerSettings::ReadKind(app->Settings()), DataSourceKind::File);
    ASSERT_TRUE(server.Write(app->Settings()));
    ASSERT_TRUE(CServerSettings::WriteKind(app->Settings(), DataSourceKind::Server));
    EXPECT_EQ(CServerSettings::Read(app->Settings()), server);
    EXPECT_EQ(CServerSettings::ReadKind(app->Settings()), DataSourceKind::Server);
    EXPECT_EQ(server.Shown(), u"an\\'na@db host:6543/sales' dbname=postgres \\"_s);
}

// Where no keyring answers, nothing is kept, and nothing is read back: never a file in its place.
TEST(ServerPasswords, WithoutAKeyringNothingIsKeptAnywhere)
{
    const QByteArray bus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/vantrel-test-bus");
    CKeyringPasswords keyring(2000);
    EXPECT_FALSE(keyring.Store(u"anna@host:5432/sales"_s, u"secret"_s));
    EXPECT_EQ(keyring.Read(u"anna@host:5432/sales"_s), std::nullopt);
    if (bus.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus);
}

TEST_F(SecureServer, TheProbeTellsWhatStandsInTheWay)
{
    Admin(u"CREATE DATABASE sales OWNER anna; CREATE DATABASE closed OWNER anna; "
          "REVOKE CONNECT ON DATABASE closed FROM PUBLIC"_s);
    Admin(u"CREATE TABLE kept (a int); ALTER TABLE kept OWNER TO anna"_s, u"closed"_s);
    Admin(u"CREATE DATABASE stocked OWNER anna"_s);
    Admin(u"CREATE TABLE client (a int); ALTER TABLE client OWNER TO anna"_s, u"stocked"_s);

    EXPECT_EQ(Probe(Server(u"anna"_s, u"sales"_s), kAnnaPassword), ServerProbe::Works);
    CServerSettings closedPort = Server(u"anna"_s, u"sales"_s);
    closedPort.port = FreePort();
    EXPECT_EQ(Probe(closedPort, kAnnaPassword), ServerProbe::NoServer);
    EXPECT_EQ(Probe(Server(u"anna"_s, u"sales"_s), {}), ServerProbe::PasswordNeeded);
    EXPECT_EQ(Probe(Server(u"anna"_s, u"sales"_s), u"an'na"_s), ServerProbe::WrongPassword);
    EXPECT_EQ(Probe(Server(u"nobody"_s, u"sales"_s), u"x"_s), ServerProbe::WrongPassword);
    EXPECT_EQ(Probe(Server(u"anna"_s, u"missing"_s), kAnnaPassword), ServerProbe::NoDatabase);
    // bert may sign in, but not make tables in anna's empty database, nor read her tables,
    // nor connect to a database closed to him.
    EXPECT_EQ(Probe(Server(u"bert"_s, u"sales"_s), u"bert"_s), ServerProbe::NoRights);
    EXPECT_EQ(Probe(Server(u"bert"_s, u"stocked"_s), u"bert"_s), ServerProbe::NoRights);
    EXPECT_EQ(Probe(Server(u"bert"_s, u"closed"_s), u"bert"_s), ServerProbe::NoRights);
    EXPECT_EQ(Probe(Server(u"anna"_s, u"stocked"_s), kAnnaPassword), ServerProbe::Works);

    // Encryption: required, verified against the server's own certificate, or against one
    // that did not sign it.
    CServerSettings encrypted = Server(u"anna"_s, u"sales"_s);
    encrypted.encryption = ServerEncryption::Required;
    EXPECT_EQ(Probe(encrypted, kAnnaPassword), ServerProbe::Works);
    encrypted.encryption = ServerEncryption::Verified;
    encrypted.caFile = s_dir + u"/server.crt"_s;
    EXPECT_EQ(Probe(encrypted, kAnnaPassword), ServerProbe::Works);
    encrypted.caFile = s_dir + u"/other.crt"_s;
    EXPECT_EQ(Probe(encrypted, kAnnaPassword), ServerProbe::CertificateUntrusted);

    // The tests' plain server offers no encryption at all.
    CServerSettings plain;
    plain.host = u"127.0.0.1"_s;
    plain.port = qEnvironmentVariableIntValue("VANTREL_TEST_PGPORT");
    plain.user = u"vantrel"_s;
    plain.database = u"postgres"_s;
    ASSERT_NE(plain.port, 0);
    EXPECT_EQ(Probe(plain, {}), ServerProbe::Works);
    plain.encryption = ServerEncryption::Required;
    EXPECT_EQ(Probe(plain, {}), ServerProbe::EncryptionRefused);
    plain.encryption = ServerEncryption::Verified;
    plain.caFile = s_dir + u"/server.crt"_s;
    EXPECT_EQ(Probe(plain, {}), ServerProbe::EncryptionRefused);
}

// Fills the server page and presses OK.
void ChooseServer(CWorkPathDlg& dialog, const CServerSettings& server, const QString& password)
{
    Find<QRadioButton>(dialog, u"IDC_USESERVER"_s)->click();
    Find<QLineEdit>(dialog, u"IDC_SERVERHOST"_s)->setText(server.host);
    Find<QSpinBox>(dialog, u"IDC_SERVERPORT"_s)->setValue(server.port);
    Find<QLineEdit>(dialog, u"IDC_SERVERDATABASE"_s)->setText(server.database);
    Find<QLineEdit>(dialog, u"IDC_SERVERUSER"_s)->setText(server.user);
    Find<QLineEdit>(dialog, u"IDC_SERVERPASSWORD"_s)->setText(password);
    QTest::mouseClick(
        dialog.findChild<QDialogButtonBox*>(u"buttons"_s)->button(QDialogButtonBox::Ok),
        Qt::LeftButton);
}

TEST_F(SecureServer, TheWorkPathDialogSetsUpAnEmptyDatabaseAndRefusesAForeignOne)
{
    Admin(u"CREATE DATABASE fresh OWNER anna; CREATE DATABASE places OWNER anna"_s);
    Admin(u"CREATE TABLE bookmarks (url text); ALTER TABLE bookmarks OWNER TO anna"_s, u"places"_s);
    StartFolder folder;
    QFile::remove(folder.DataPath());
    QHash<QString, QString> keyring;
    MessageRecorder messages;
    auto app = folder.MakeApp();
    app->SetServerPasswords(std::make_unique<MemoryPasswords>(keyring));
    ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
        ChooseServer(dialog, Server(u"anna"_s, u"places"_s), kAnnaPassword);
        ChooseServer(dialog, Server(u"anna"_s, u"fresh"_s), u"wrong"_s);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(folder.IniText().isEmpty());
        Click(dialog, u"IDC_TESTCONNECTION"_s);
        Find<QLineEdit>(dialog, u"IDC_SERVERPASSWORD"_s)->setText(kAnnaPassword);
        Click(dialog, u"IDC_TESTCONNECTION"_s);
        ChooseServer(dialog, Server(u"anna"_s, u"fresh"_s), kAnnaPassword);
    });
    ASSERT_TRUE(CStartUp(*app).SettleDatabasePath());
    EXPECT_EQ(messages.Texts(),
              (QStringList{u"所选数据库不是本软件的数据库，请重新选择！"_s,
                           u"无法连接数据库服务器：\n用户名或密码错误。"_s, u"用户名或密码错误。"_s,
                           u"连接成功，这个数据库可以使用。"_s}));

    // The settings are kept, the password only in the keyring.
    const CServerSettings fresh = Server(u"anna"_s, u"fresh"_s);
    EXPECT_EQ(CServerSettings::ReadKind(app->Settings()), DataSourceKind::Server);
    EXPECT_EQ(CServerSettings::Read(app->Settings()), fresh);
    EXPECT_FALSE(folder.IniText().contains("an'na"));
    EXPECT_EQ(keyring.value(fresh.Shown()), kAnnaPassword);
    ASSERT_TRUE(app->Connections().UsesServer());
    EXPECT_TRUE(app->Connections().DataFilePath().isEmpty());

    // The empty database became a data file's equal; the foreign one was not touched.
    CADODatabase database;
    ASSERT_TRUE(database.Open(app->Connections().DataConnectionString()));
    EXPECT_EQ(InspectDataFile(database), DataFileKind::Ours);
    CADODatabase places;
    ASSERT_TRUE(places.Open(Server(u"anna"_s, u"places"_s).ConnectionString(kAnnaPassword)));
    EXPECT_EQ(places.GetActiveConnection()->Schema().Tables(), QStringList{u"bookmarks"_s});
}

TEST_F(SecureServer, StartUpOnTheServerTakesTheKeptPasswordOrAsksForIt)
{
    Admin(u"CREATE DATABASE team OWNER anna"_s);
    StartFolder folder;
    folder.AddSkin(u"xpsteel.smf"_s);
    const CServerSettings team = Server(u"anna"_s, u"team"_s);
    QHash<QString, QString> keyring;
    {
        auto app = folder.MakeApp();
        ASSERT_TRUE(team.Write(app->Settings()));
        ASSERT_TRUE(CServerSettings::WriteKind(app->Settings(), DataSourceKind::Server));
    }
    const auto signIn = [](CLoginDlg& dialog) {
        QTest::keyClicks(dialog.PasswordEdit(), u"583016"_s);
        QTest::keyClick(dialog.PasswordEdit(), Qt::Key_Return);
    };
    for (const bool kept : {false, true}) {
        SCOPED_TRACE(kept);
        auto app = folder.MakeApp();
        app->SetServerPasswords(std::make_unique<MemoryPasswords>(keyring));
        ModalDriver<CServerPasswordDlg> asked(
            [](CServerPasswordDlg& dialog) {
                EXPECT_EQ(dialog.windowTitle(), u"数据库服务器密码"_s);
                dialog.PasswordEdit()->setText(kAnnaPassword);
                dialog.accept();
            },
            !kept);
        ModalDriver<CLoginDlg> login(signIn);
        ASSERT_TRUE(app->InitInstance());
        EXPECT_EQ(asked.Opened(), !kept);
        EXPECT_EQ(app->Session().User(), u"管理员"_s);
        // The server database was set up on first use, its administrator made at sign-in;
        // the data file beside the program was neither used nor held.
        EXPECT_EQ(app->Connections().DataSourceName(), team.Shown());
        EXPECT_EQ(app->Connections().Users(), nullptr);
        EXPECT_EQ(app->Connections().FileCare(), nullptr);
        CADORecordset power(app->Database());
        ASSERT_TRUE(power.Open(u"SELECT * FROM power"_s));
        EXPECT_EQ(power.GetRecordCount(), 1);
        power.Close();
        app->ExitInstance();
        keyring[team.Shown()] = kAnnaPassword;
    }
    EXPECT_FALSE(QDir(folder.Dir()).exists(u"backup"_s));

    // A server that does not answer is said, and the dialog opens on the server page, where
    // the user may go back to the data file.
    CServerSettings gone = team;
    gone.port = FreePort();
    MessageRecorder messages;
    auto app = folder.MakeApp();
    ASSERT_TRUE(gone.Write(app->Settings()));
    app->SetServerPasswords(std::make_unique<MemoryPasswords>(keyring));
    keyring[gone.Shown()] = kAnnaPassword;
    ModalDriver<CWorkPathDlg> driver([&](CWorkPathDlg& dialog) {
        EXPECT_TRUE(dialog.ServerChosen());
        EXPECT_EQ(Find<QSpinBox>(dialog, u"IDC_SERVERPORT"_s)->value(), gone.port);
        EXPECT_EQ(Find<QLineEdit>(dialog, u"IDC_SERVERPASSWORD"_s)->text(), kAnnaPassword);
        Find<QRadioButton>(dialog, u"IDC_USEFILE"_s)->click();
        dialog.SetPath(folder.DataPath());
        dialog.accept();
    });
    ModalDriver<CLoginDlg> login(signIn);
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(messages.Texts(),
              QStringList{u"无法连接数据库服务器 %1：\n在这个地址和端口上找不到数据库服务器，"
                          "请检查主机和端口，以及服务器是否已经启动。"_s.arg(gone.Shown())});
    // On the file as before: held for the run, and named as the data for the next start.
    EXPECT_FALSE(app->Connections().UsesServer());
    EXPECT_NE(app->Connections().Users(), nullptr);
    EXPECT_EQ(CServerSettings::ReadKind(app->Settings()), DataSourceKind::File);
    EXPECT_EQ(app->Settings().ReadSetting(u"Path"_s), folder.DataPath());
    app->ExitInstance();
}

} // namespace
