// A client dialog whose save cannot reach the server: it says so, with the reason, keeps the
// dialog open with what was typed, and saves on OK once the server takes connections again.
#include "customers/clientdlg.h"
#include "kit/controltext.h"
#include "support/controls.h"
#include "support/pgtestdatabase.h"
#include "support/recordviews.h"
#include "support/typing.h"

#include <libpq-fe.h>

namespace {

class ClientSaveLostTest : public RecordViewsTest
{
protected:
    // New sessions of the database refused, or taken again (said from another database: a
    // database cannot refuse the session that says it).
    void AllowConnections(bool allowed)
    {
        pg_conn* server =
            PQconnectdb(PgTestDatabase::ServerConninfo(u"postgres"_s).toUtf8().constData());
        const QString sql = u"ALTER DATABASE %1 ALLOW_CONNECTIONS %2"_s.arg(
            Value(u"SELECT current_database()"_s), allowed ? u"true"_s : u"false"_s);
        PQclear(PQexec(server, sql.toUtf8().constData()));
        PQfinish(server);
    }
};

TEST_P(ClientSaveLostTest, SaysTheServerCannotBeReachedAndKeepsTheInputUntilItCan)
{
    m_file.Exec(u"UPDATE snnumber SET client = 7"_s);
    auto dialog = std::make_unique<CClientDlg>(m_db.get(), m_main);
    dialog->show();
    RetypeField(*dialog, u"name"_s, u"新公司"_s);
    RetypeField(*dialog, u"number"_s, u"N-1"_s);

    // The server ends this workstation's session and takes no new one, as while it restarts.
    AllowConnections(false);
    EXPECT_EQ(Value(u"SELECT count(pg_terminate_backend(pid, 5000)) FROM pg_stat_activity "
                    "WHERE datname = current_database() AND pid <> pg_backend_pid()"_s),
              u"1"_s);
    Click(*dialog, u"IDOK"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    const MessageRecorder::Message& said = m_messages.Messages().front();
    EXPECT_TRUE(said.text.startsWith(u"无法连接数据库服务器\n\n"_s) &&
                said.text.contains(u"not currently accepting connections"_s) && said.warning)
        << said.text.toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ControlText(dialog->Control(u"name"_s)), u"新公司"_s);
    EXPECT_EQ(Count(u"client"_s), 0);
    EXPECT_EQ(Value(u"SELECT client FROM snnumber"_s), u"7"_s);

    // Back, the same OK saves.
    AllowConnections(true);
    m_messages.Clear();
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_EQ(Value(u"SELECT name || '|' || number || '|' || no FROM client"_s), u"新公司|N-1|7"_s);
}

// Only a server can be away.
INSTANTIATE_TEST_SUITE_P(, ClientSaveLostTest, ::testing::Values(DataBackends().back()),
                         BackendName);

} // namespace
