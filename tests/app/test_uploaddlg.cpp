// 文件 > 上传到服务器…: the open data file goes onto an empty server database whole, once.
#include "app/mainframe.h"
#include "app/serverkeyring.h"
#include "app/serversettings.h"
#include "app/uploaddlg.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/recordnumber.h"
#include "kit/commandids.h"
#include "kit/messages.h"
#include "memorypasswords.h"
#include "startfolder.h"
#include "support/pgtestdatabase.h"

#include <QAction>
#include <QCoreApplication>
#include <QHash>

#include <gtest/gtest.h>
#include <libpq-fe.h>

using namespace Qt::StringLiterals;

namespace {

// A database on the test run's server with nothing in it, as an administrator makes one with
// createdb.
class EmptyServerDatabase
{
public:
    EmptyServerDatabase() : m_name(u"vantrel_upload_%1"_s.arg(QCoreApplication::applicationPid()))
    {
        Admin(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(m_name));
        Admin(u"CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'"_s.arg(m_name));
    }
    ~EmptyServerDatabase() { Admin(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(m_name)); }

    CServerSettings Settings() const
    {
        CServerSettings server;
        server.host = qEnvironmentVariable("VANTREL_TEST_PGHOST", u"127.0.0.1"_s);
        server.port = qEnvironmentVariableIntValue("VANTREL_TEST_PGPORT");
        server.database = m_name;
        server.user = u"vantrel"_s;
        return server;
    }

private:
    static void Admin(const QString& sql)
    {
        pg_conn* db = PQconnectdb(PgTestDatabase::ServerConninfo(u"postgres"_s).toUtf8());
        PGresult* result = PQexec(db, sql.toUtf8());
        EXPECT_EQ(PQresultStatus(result), PGRES_COMMAND_OK) << PQerrorMessage(db);
        PQclear(result);
        PQfinish(db);
    }

    QString m_name;
};

int ServerCount(const CServerSettings& server, const QString& table)
{
    CADODatabase db;
    CADORecordset rs(&db);
    if (!db.Open(server.ConnectionString({})) || !rs.Open(u"SELECT * FROM "_s + table))
        return -1;
    return rs.GetRecordCount();
}

TEST(UploadCommand, CopiesTheFileOntoAnEmptyServerDatabaseOnceAndCanMakeItTheWorkstations)
{
    StartFolder folder;
    folder.Data().Exec(u"INSERT INTO client (no, name) VALUES (1, '华达'), (2, '张三贸易'), "
                       "(3, 'IBM中国')"_s);
    folder.Data().Exec(u"INSERT INTO outputdata (no, paper, client, sum) VALUES (1, 'S1', "
                       "'华达', 1200.5)"_s);
    folder.Data().Exec(u"UPDATE snnumber SET client = 4"_s);
    EmptyServerDatabase server;
    QHash<QString, QString> keyring;
    auto app = folder.MakeApp();
    app->SetServerPasswords(std::make_unique<MemoryPasswords>(keyring));
    app->Connections().SetDataPath(u"sale.db"_s);
    app->Connections().OpenDatabase();
    app->Session().SetUser(u"管理员"_s);
    app->Session().Rights().SetAll(true);
    CMainFrame frame(*app);
    MessageRecorder messages;
    messages.AnswerNext(true);
    {
        ModalDriver<CUploadDlg> driver([&](CUploadDlg& dialog) {
            dialog.SetServer(server.Settings(), {});
            dialog.accept();
        });
        frame.Action(ID_FILE_UPLOAD)->trigger();
    }
    const QString shown = server.Settings().Shown();
    ASSERT_EQ(messages.Texts().size(), 3) << messages.Texts().join(u'|').toStdString();
    EXPECT_TRUE(messages.Texts()[0].startsWith(u"数据已上传到数据库服务器 %1：\n"_s.arg(shown)))
        << messages.Texts()[0].toStdString();
    EXPECT_TRUE(messages.Texts()[0].contains(u"客户：3 条"_s));
    EXPECT_TRUE(messages.Texts()[0].contains(u"销售单：1 条"_s));
    EXPECT_EQ(messages.Texts()[1], u"是否让本机从下次启动起使用这个数据库服务器？"_s);
    EXPECT_EQ(messages.Texts()[2], u"请重新启动程序，本机将使用数据库服务器 %1。"_s.arg(shown));
    // The workstation starts on the server next time.
    EXPECT_EQ(CServerSettings::ReadKind(app->Settings()), DataSourceKind::Server);
    EXPECT_EQ(CServerSettings::Read(app->Settings()), server.Settings());

    // The server holds the file's records and goes on with its numbers.
    EXPECT_EQ(ServerCount(server.Settings(), u"client"_s), 3);
    EXPECT_EQ(ServerCount(server.Settings(), u"outputdata"_s), 1);
    CADODatabase onServer;
    ASSERT_TRUE(onServer.Open(server.Settings().ConnectionString({})));
    CADORecordset counter(&onServer);
    EXPECT_EQ(TakeRecordNumber(counter, RecordKind::Client).number, 4);

    // A database that holds records is never added to: the dialog stays for another one.
    folder.Data().Exec(u"INSERT INTO client (no, name) VALUES (5, '第四家')"_s);
    messages.Clear();
    {
        ModalDriver<CUploadDlg> driver([&](CUploadDlg& dialog) {
            dialog.accept();
            EXPECT_TRUE(dialog.isVisible());
            dialog.reject();
        });
        frame.Action(ID_FILE_UPLOAD)->trigger();
    }
    ASSERT_EQ(messages.Texts().size(), 1);
    EXPECT_TRUE(messages.LastText().startsWith(u"上传失败，服务器上的数据库没有任何改动：\n"_s))
        << messages.LastText().toStdString();
    EXPECT_EQ(ServerCount(server.Settings(), u"client"_s), 3);
    app->ExitInstance();
}

} // namespace
