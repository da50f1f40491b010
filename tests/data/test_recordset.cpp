#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/adox.h"
#include "data/eachrow.h"
#include "data/schema.h"
#include "data/sqltext.h"
#include "data/storedvalues.h"
#include "support/datafixture.h"
#include "support/tempdata.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Adds a client through the recordset, as the dialogs do.
void AddClient(CADODatabase& db, int no, const QString& name, const QString& remark = {})
{
    CADORecordset rs(&db);
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s)) << rs.GetLastError().toStdString();
    ASSERT_TRUE(rs.AddNew());
    EXPECT_TRUE(rs.SetFieldInt(u"no"_s, no));
    EXPECT_TRUE(rs.SetFieldText(u"name"_s, name));
    EXPECT_TRUE(rs.SetFieldText(u"remark"_s, remark));
    ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
}

QStringList Names(CADODatabase& db, const QString& sql, const QString& field = u"name"_s)
{
    CADORecordset rs(&db);
    QStringList names;
    if (!rs.Open(sql)) {
        ADD_FAILURE() << rs.GetLastError().toStdString();
        return names;
    }
    const int count = rs.GetRecordCount();
    if (count >= 1)
        rs.MoveFirst();
    for (int i = 0; i < count; ++i) {
        QString name;
        EXPECT_TRUE(rs.GetFieldText(field, name));
        names << name;
        rs.MoveNext();
    }
    return names;
}

using Recordset = DataTest;
using EachRow = DataTest;
using Transactions = DataTest;

} // namespace

TEST_P(Recordset, NullsEmptyTextAndWideIntegers)
{
    auto db = Open();
    AddClient(*db, 40000, u"甲公司"_s, u""_s);
    EXPECT_EQ(QueryValue(u"SELECT typeof(remark) || typeof(number) FROM client"_s), u"nullnull"_s);

    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client WHERE [no] = 40000"_s));
    ASSERT_EQ(rs.GetRecordCount(), 1);
    rs.MoveFirst();
    int no = 0;
    EXPECT_TRUE(rs.GetFieldInt(u"NO"_s, no)); // names match without regard to case
    EXPECT_EQ(no, 40000);
    QString text = u"x"_s;
    int number = 5;
    double real = 5.0;
    QDateTime date = QDateTime::currentDateTime();
    EXPECT_TRUE(rs.GetFieldText(u"remark"_s, text));
    EXPECT_TRUE(rs.GetFieldInt(u"number"_s, number));
    EXPECT_TRUE(rs.GetFieldDouble(u"number"_s, real));
    EXPECT_TRUE(rs.GetFieldDate(u"number"_s, date));
    EXPECT_EQ(text, QString());
    EXPECT_EQ(number, 0);
    EXPECT_EQ(real, 0.0);
    EXPECT_TRUE(date.isNull());
    EXPECT_FALSE(rs.GetFieldText(u"nosuchfield"_s, text));

    CADORecordset empty(db.get());
    ASSERT_TRUE(empty.Open(u"SELECT * FROM client WHERE [no] = 1"_s));
    EXPECT_EQ(empty.GetRecordCount(), 0);
    EXPECT_FALSE(empty.GetFieldText(u"name"_s, text)); // no current row
}

TEST_P(Recordset, WritesNeedAnEditAndUpdateWithoutOneDoesNothing)
{
    auto db = Open();
    AddClient(*db, 1, u"原名"_s);
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client WHERE [no] = 1"_s));
    EXPECT_FALSE(rs.SetFieldText(u"name"_s, u"新名"_s));
    EXPECT_TRUE(rs.Update());
    EXPECT_EQ(QueryValue(u"SELECT name FROM client"_s), u"原名"_s);

    rs.Edit();
    EXPECT_TRUE(rs.SetFieldText(u"name"_s, u"新名"_s));
    QString pending;
    EXPECT_TRUE(rs.GetFieldText(u"name"_s, pending));
    EXPECT_EQ(pending, u"新名"_s);
    rs.CancelUpdate();
    EXPECT_TRUE(rs.Update());
    EXPECT_EQ(QueryValue(u"SELECT name FROM client"_s), u"原名"_s);

    rs.Edit();
    EXPECT_TRUE(rs.SetFieldText(u"name"_s, u"新名"_s));
    EXPECT_TRUE(rs.Update());
    EXPECT_EQ(QueryValue(u"SELECT name FROM client"_s), u"新名"_s);

    // Closing with a change pending cancels it.
    rs.Edit();
    rs.SetFieldText(u"name"_s, u"丢弃"_s);
    rs.Close();
    EXPECT_EQ(QueryValue(u"SELECT name FROM client"_s), u"新名"_s);

    // A join cannot be changed; the failure is reported, not thrown.
    CADORecordset join(db.get());
    ASSERT_TRUE(join.Open(u"SELECT * FROM client, linkman"_s));
    EXPECT_FALSE(join.AddNew());
    EXPECT_TRUE(join.GetLastError().contains(
        u"Description = Current Recordset does not support updating."_s))
        << join.GetLastError().toStdString();
}

// Rows added one after another through one recordset: each writes just the fields it sets,
// whatever the one before wrote, and a reopened recordset writes its own columns.
TEST_P(Recordset, RowsAddedInTurnWriteTheFieldsEachSets)
{
    auto db = Open();
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s));
    const auto add = [&](int no, const QString& name, const QString* remark) {
        ASSERT_TRUE(rs.AddNew());
        EXPECT_TRUE(rs.SetFieldInt(u"no"_s, no));
        EXPECT_TRUE(rs.SetFieldText(u"name"_s, name));
        if (remark) {
            EXPECT_TRUE(rs.SetFieldText(u"remark"_s, *remark));
        }
        ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
    };
    const QString remark = u"备注"_s;
    add(1, u"甲"_s, &remark);
    add(2, u"乙"_s, nullptr);
    add(3, u"丙"_s, &remark);
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client WHERE no < 0"_s));
    add(4, u"丁"_s, &remark);
    ASSERT_TRUE(rs.Open(u"SELECT * FROM linkman"_s));
    ASSERT_TRUE(rs.AddNew());
    EXPECT_TRUE(rs.SetFieldInt(u"no"_s, 7));
    EXPECT_TRUE(rs.SetFieldText(u"name"_s, u"张三"_s));
    ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
    QStringList clients;
    for (int no = 1; no <= 4; ++no)
        clients << QueryValue(
            u"SELECT name || ':' || coalesce(remark, '-') FROM client WHERE no = %1"_s.arg(no));
    EXPECT_EQ(clients, (QStringList{u"甲:备注"_s, u"乙:-"_s, u"丙:备注"_s, u"丁:备注"_s}));
    EXPECT_EQ(QueryValue(u"SELECT name FROM linkman WHERE no = 7"_s), u"张三"_s);
}

TEST_P(Recordset, DatesBooleansAndEngineNumbers)
{
    auto db = Open();
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM notepaper"_s));
    ASSERT_TRUE(rs.AddNew());
    rs.SetFieldDate(u"time"_s, QDateTime(QDate(2024, 3, 5), QTime(9, 7, 0)));
    rs.SetFieldText(u"caption"_s, u"标题"_s);
    ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
    int no = 0;
    EXPECT_TRUE(rs.GetFieldInt(u"no"_s, no)); // the number the database gave the new row
    EXPECT_EQ(no, 1);
    QString text;
    EXPECT_TRUE(rs.GetFieldText(u"time"_s, text));
    EXPECT_EQ(text, u"2024-03-05 09:07:00"_s);
    EXPECT_TRUE(rs.GetFieldText(u"time"_s, text, u"%Y年%m月%d日"_s));
    EXPECT_EQ(text, u"2024年03月05日"_s);
    QDateTime date;
    EXPECT_TRUE(rs.GetFieldDate(u"time"_s, date));
    EXPECT_EQ(date, QDateTime(QDate(2024, 3, 5), QTime(9, 7, 0)));
    double day = 0;
    EXPECT_TRUE(rs.GetFieldDouble(u"time"_s, day));
    EXPECT_NEAR(day, 45356.0 + (9 * 3600 + 7 * 60) / 86400.0, 1e-9);
    // By place: the same values, and the day alone; a NULL date is no day.
    const int time = rs.GetFieldIndex(u"TIME"_s);
    ASSERT_GE(time, 0);
    EXPECT_EQ(rs.GetFieldIndex(u"nosuchfield"_s), -1);
    QDate onlyDay;
    EXPECT_TRUE(rs.GetFieldDay(time, onlyDay));
    EXPECT_EQ(onlyDay, QDate(2024, 3, 5));
    EXPECT_TRUE(rs.GetFieldText(rs.GetFieldIndex(u"caption"_s), text));
    EXPECT_EQ(text, u"标题"_s);
    EXPECT_FALSE(rs.GetFieldText(-1, text));
    EXPECT_FALSE(rs.GetFieldText(rs.GetFieldCount(), text));
    ASSERT_TRUE(rs.AddNew());
    rs.SetFieldText(u"caption"_s, u"无日期"_s);
    ASSERT_TRUE(rs.Update());
    EXPECT_TRUE(rs.GetFieldDay(time, onlyDay));
    EXPECT_TRUE(onlyDay.isNull());
    EXPECT_TRUE(rs.GetFieldDate(time, date));
    EXPECT_FALSE(date.isValid());

    const QStringList inRange = Names(
        *db,
        u"SELECT * FROM notepaper WHERE [time] >= #2024-3-5 0:0:0# AND [time] <= #2024-3-5 23:59:59#"_s,
        u"caption"_s);
    EXPECT_EQ(inRange, QStringList{u"标题"_s});
    EXPECT_TRUE(
        Names(*db, u"SELECT * FROM notepaper WHERE [time] >= #2024-3-6 0:0:0#"_s, u"caption"_s)
            .isEmpty());

    // Yes/no columns read as "T"/"F" and -1/0.
    CADOXCatalog catalog;
    ASSERT_TRUE(catalog.Open(ConnectionString()));
    CADOXTable table(&catalog);
    table.Create(u"flags"_s);
    CADOXField field(&table);
    field.Create(u"ok"_s);
    field.SetType(adBoolean);
    table.AddField(field);
    ASSERT_TRUE(catalog.AddTable(table));
    EXPECT_TRUE(catalog.HasTable(u"FLAGS"_s));
    ASSERT_TRUE(rs.Open(u"SELECT * FROM flags"_s));
    for (int value : {1, 0}) {
        rs.AddNew();
        rs.SetFieldInt(u"ok"_s, value);
        ASSERT_TRUE(rs.Update());
    }
    ASSERT_TRUE(rs.Open(u"SELECT * FROM flags"_s));
    rs.MoveFirst();
    int flag = 0;
    EXPECT_TRUE(rs.GetFieldText(u"ok"_s, text));
    EXPECT_EQ(text, u"T"_s);
    EXPECT_TRUE(rs.GetFieldInt(u"ok"_s, flag));
    EXPECT_EQ(flag, -1);
    rs.MoveNext();
    EXPECT_TRUE(rs.GetFieldText(u"ok"_s, text));
    EXPECT_EQ(text, u"F"_s);
}

TEST_P(Recordset, ApostrophesAreFoundAsTyped)
{
    auto db = Open();
    AddClient(*db, 1, u"O'Brien 贸易"_s);
    AddClient(*db, 2, u"其他"_s);
    EXPECT_EQ(Names(*db, u"SELECT * FROM client WHERE [name] LIKE '%%1%' ORDER BY [name]"_s.arg(
                             SqlText(u"o'b"_s))),
              QStringList{u"O'Brien 贸易"_s});
    // An attempt to widen the statement stays a search text.
    EXPECT_TRUE(
        Names(*db, u"SELECT * FROM client WHERE [name] = '%1'"_s.arg(SqlText(u"x' OR '1'='1"_s)))
            .isEmpty());
}

TEST_P(Recordset, OrderByAndJoinsReadAsJetDoes)
{
    auto db = Open();
    int no = 1;
    // The code page's order on every backend: NULL first, digits, Latin letters whatever their
    // case, Chinese characters by their code-page bytes (丌 of the rarer ones after 张),
    // characters outside the code page last.
    for (const QString& name : {u"张三"_s, u"𠀀"_s, u"北京"_s, u"丌"_s, u"阿里"_s, u"beta"_s,
                                u"😀"_s, u"1号"_s, u"Alpha"_s, QString()})
        AddClient(*db, no++, name);
    const QStringList ordered{QString(), u"1号"_s,  u"Alpha"_s, u"beta"_s, u"阿里"_s,
                              u"北京"_s, u"张三"_s, u"丌"_s,    u"😀"_s,    u"𠀀"_s};
    EXPECT_EQ(Names(*db, u"SELECT * FROM client ORDER BY name"_s), ordered);
    QStringList reversed = ordered;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Names(*db, u"SELECT * FROM client ORDER BY name DESC"_s), reversed);
    Exec(u"DELETE FROM client"_s);
    for (const QString& name : {u"张三"_s, u"北京"_s, u"阿里"_s, u"beta"_s, u"Alpha"_s})
        AddClient(*db, no++, name);

    Exec(
        u"INSERT INTO outputdata (no, paper, client) VALUES (7, 'S-1', '阿里');"
        "INSERT INTO outputdetail (no, paper, date, sum) VALUES (1, 7, '2024-01-02 00:00:00', "
        "10.5);"
        "INSERT INTO outputdetail (no, paper, date, sum) VALUES (2, 7, '2024-01-01 00:00:00', 4.5);"_s);
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(
        u"SELECT * FROM outputdata, outputdetail WHERE [outputdetail.date] >= #2024-1-1 0:0:0# AND client = '阿里' AND outputdata.no = outputdetail.paper ORDER BY outputdetail.date"_s))
        << rs.GetLastError().toStdString();
    ASSERT_EQ(rs.GetRecordCount(), 2);
    rs.MoveFirst();
    double sum = 0;
    int orderNo = 0;
    QString paper;
    EXPECT_TRUE(rs.GetFieldDouble(u"outputdetail.sum"_s, sum));
    EXPECT_EQ(sum, 4.5);
    EXPECT_TRUE(rs.GetFieldInt(u"outputdata.no"_s, orderNo));
    EXPECT_EQ(orderNo, 7);
    EXPECT_TRUE(rs.GetFieldText(u"outputdata.paper"_s, paper));
    EXPECT_EQ(paper, u"S-1"_s);
    EXPECT_FALSE(rs.GetFieldText(u"paper"_s, paper)); // ambiguous, as in Jet
    EXPECT_TRUE(rs.GetFieldText(u"client"_s, paper)); // only one table has it
}

TEST_P(Recordset, DeleteKeepsWalkingAndErrorsAreReported)
{
    auto db = Open();
    for (int no = 1; no <= 4; ++no)
        AddClient(*db, no, u"客户%1"_s.arg(no));
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client ORDER BY [no]"_s));
    const int count = rs.GetRecordCount();
    rs.MoveFirst();
    for (int i = 0; i < count; ++i) {
        int no = 0;
        rs.GetFieldInt(u"no"_s, no);
        if (no % 2 == 0) {
            EXPECT_TRUE(rs.Delete());
        }
        rs.MoveNext();
    }
    EXPECT_EQ(rs.GetRecordCount(), 2);
    EXPECT_EQ(Names(*db, u"SELECT * FROM client ORDER BY [no]"_s),
              (QStringList{u"客户1"_s, u"客户3"_s}));

    EXPECT_FALSE(rs.Open(u"SELECT * FROM nosuchtable"_s));
    const QString error = rs.GetLastError();
    // Each backend reports in its own words and numbers: SQLite's result code, the server's
    // SQLSTATE (42P01, six bits a character).
    const bool server = QLatin1StringView(GetParam().name) == "postgres"_L1;
    EXPECT_TRUE(error.startsWith(
        server ? u"Query = SELECT * FROM nosuchtable\nCADORecordset Error\n\tCode = 01020084\n"
                 "\tCode meaning = 42P01\n\tSource = PostgreSQL\n"
                 "\tDescription = relation \"nosuchtable\" does not exist\n"_s
               : u"Query = SELECT * FROM nosuchtable\nCADORecordset Error\n\tCode = 00000001\n"
                 "\tCode meaning = SQL logic error\n\tSource = SQLite\n"
                 "\tDescription = no such table: nosuchtable\n"_s))
        << error.toStdString();
    EXPECT_EQ(rs.GetLastErrorCode(), server ? 0x01020084u : 1u);

    // A statement with nothing to run (none given yet, or only a comment) fails each time it
    // is tried, and the recordset stays usable.
    CADORecordset fresh(db.get());
    for (const QString& nothing : {QString(), QString(), u"  -- no statement"_s, QString()}) {
        EXPECT_FALSE(fresh.Open(nothing));
        EXPECT_TRUE(fresh.GetLastError().contains(u"Command text was not set"_s));
    }
    EXPECT_TRUE(fresh.Open(u"SELECT * FROM client"_s));
    EXPECT_EQ(fresh.GetRecordCount(), 2);
}

TEST_P(EachRow, VisitsEveryRowInOrderUntilTheVisitorStops)
{
    auto db = Open();
    CADORecordset rs(db.get());
    int visits = 0;
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s));
    EXPECT_EQ(ForEachRow(rs, [&] { ++visits; }), 0);
    EXPECT_EQ(visits, 0);

    for (int no : {3, 1, 4, 2})
        AddClient(*db, no, u"客户%1"_s.arg(no));
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client ORDER BY [no]"_s));
    QStringList seen;
    const auto readName = [&] {
        QString name;
        EXPECT_TRUE(rs.GetFieldText(u"name"_s, name));
        seen << name;
    };
    const QStringList all{u"客户1"_s, u"客户2"_s, u"客户3"_s, u"客户4"_s};
    EXPECT_EQ(ForEachRow(rs, readName), 4);
    EXPECT_EQ(seen, all);
    // A second walk of the same result starts again from its first row.
    seen.clear();
    EXPECT_EQ(ForEachRow(rs, readName), 4);
    EXPECT_EQ(seen, all);

    // Stopping leaves the cursor on the row the visitor stopped at.
    visits = 0;
    const int stoppedAfter = ForEachRow(rs, [&] {
        ++visits;
        int no = 0;
        rs.GetFieldInt(u"no"_s, no);
        return no != 3;
    });
    EXPECT_EQ(stoppedAfter, 3);
    EXPECT_EQ(visits, 3);
    int current = 0;
    EXPECT_TRUE(rs.GetFieldInt(u"no"_s, current));
    EXPECT_EQ(current, 3);
    EXPECT_EQ(ForEachRow(rs, [] { return true; }), 4);
}

TEST_P(EachRow, AForwardWalkReadsAsItStepsWhileOtherStatementsRun)
{
    auto db = Open();
    for (int no = 1; no <= 5; ++no)
        AddClient(*db, no, u"客户%1"_s.arg(no), no == 2 ? QString() : u"备注%1"_s.arg(no));
    const QString sql = u"SELECT * FROM client ORDER BY [no]"_s;
    CADORecordset walk(db.get());
    ASSERT_TRUE(walk.OpenForward(sql)) << walk.GetLastError().toStdString();
    EXPECT_EQ(walk.GetRecordCount(), -1);
    // Nothing of a forward walk can be changed.
    EXPECT_FALSE(walk.Delete());
    EXPECT_FALSE(walk.AddNew());

    QStringList seen;
    CStoredValues values;
    const int remark = walk.GetFieldIndex(u"remark"_s);
    EXPECT_EQ(ForEachRow(walk,
                         [&] {
                             QString name;
                             EXPECT_TRUE(walk.GetFieldText(u"name"_s, name));
                             seen << name;
                             ASSERT_TRUE(walk.StoreField(remark, values, values.AddRow(), 0));
                             // The same statement text and more statements than a connection keeps
                             // run in the middle of the walk, and the walk goes on where it was.
                             EXPECT_EQ(Names(*db, sql).size(), 5);
                             for (int i = 0; i < 60; ++i)
                                 Names(*db, u"SELECT * FROM client WHERE [no] = %1"_s.arg(i));
                         }),
              5);
    EXPECT_EQ(seen, QStringList({u"客户1"_s, u"客户2"_s, u"客户3"_s, u"客户4"_s, u"客户5"_s}));
    EXPECT_TRUE(walk.WalkSucceeded());
    EXPECT_TRUE(walk.IsEOF());
    ASSERT_EQ(values.RowCount(), 5);
    EXPECT_EQ(values.Text(values.At(0, 0)), u"备注1"_s);
    EXPECT_EQ(values.At(1, 0).kind, CStoredValues::Kind::Null);
    EXPECT_EQ(values.Text(values.At(4, 0)), u"备注5"_s);
    // The statement goes back to the connection: the same text walks again, and a static
    // recordset of it still reads every row.
    ASSERT_TRUE(walk.OpenForward(sql));
    EXPECT_EQ(ForEachRow(walk, [] {}), 5);
    EXPECT_EQ(Names(*db, sql).size(), 5);
    // A forward walk of nothing ends at once; of a statement that cannot run, fails.
    ASSERT_TRUE(walk.OpenForward(u"SELECT * FROM client WHERE [no] > 99"_s));
    EXPECT_TRUE(walk.IsEOF());
    EXPECT_EQ(ForEachRow(walk, [] {}), 0);
    EXPECT_FALSE(walk.OpenForward(u"SELECT * FROM nosuchtable"_s));
}

TEST_P(EachRow, OpenEachRowWalksOnlyAStatementThatRuns)
{
    auto db = Open();
    for (int no = 1; no <= 4; ++no)
        AddClient(*db, no, u"客户%1"_s.arg(no));
    CADORecordset rs(db.get());
    QStringList seen;
    const auto readName = [&] {
        QString name;
        rs.GetFieldText(u"name"_s, name);
        seen << name;
    };
    EXPECT_TRUE(
        OpenEachRow(rs, u"SELECT * FROM client WHERE [no] > 2 ORDER BY [no] DESC"_s, readName));
    EXPECT_EQ(seen, (QStringList{u"客户4"_s, u"客户3"_s}));

    // The rows of the statement before are not walked again.
    seen.clear();
    EXPECT_FALSE(OpenEachRow(rs, u"SELECT * FROM nosuchtable"_s, readName));
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_TRUE(OpenEachRow(rs, u"SELECT * FROM client WHERE [no] > 9"_s, readName));
    EXPECT_TRUE(seen.isEmpty());
}

TEST_P(Transactions, RollBackOrCommit)
{
    auto db = Open();
    ASSERT_TRUE(db->BeginTransaction());
    AddClient(*db, 1, u"回滚"_s);
    ASSERT_TRUE(db->RollbackTransaction());
    ASSERT_TRUE(db->BeginTransaction());
    AddClient(*db, 2, u"提交"_s);
    ASSERT_TRUE(db->CommitTransaction());
    EXPECT_EQ(QueryValue(u"SELECT group_concat(name) FROM client"_s), u"提交"_s);
    EXPECT_FALSE(db->CommitTransaction()); // none open
}

INSTANTIATE_TEST_SUITE_P(, Recordset, EachBackend(), BackendName);
INSTANTIATE_TEST_SUITE_P(, EachRow, EachBackend(), BackendName);
INSTANTIATE_TEST_SUITE_P(, Transactions, EachBackend(), BackendName);

TEST(Database, OpenNeverCreatesAFile)
{
    TempDataFile file;
    CADODatabase missing;
    const QString path = file.Dir() + u"/nothing.db"_s;
    EXPECT_FALSE(missing.Open(CADODatabase::ConnectionStringFor(path)));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(missing.GetLastError().startsWith(
        u"Connection String = Provider=Microsoft.JET.OLEDB.4.0;Data source = "_s + path +
        u";Jet OLEDB:Database Password=lumen3862\nCADODataBase Error\n"_s));
}

TEST(Database, AFileAnotherProgramHoldsIsWaitedForThenRefused)
{
    TempDataFile file;
    sqlite3* holder = nullptr;
    ASSERT_EQ(sqlite3_open(file.Path().toUtf8().constData(), &holder), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(holder, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    CADODatabase db;
    db.SetConnectionTimeout(1);
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(db.Open(file.ConnectionString()));
    EXPECT_GE(waited.elapsed(), 900);
    EXPECT_EQ(db.GetLastErrorCode() & 0xFF, quint32(SQLITE_BUSY));
    sqlite3_exec(holder, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(holder);
    EXPECT_TRUE(db.Open(file.ConnectionString()));
}
