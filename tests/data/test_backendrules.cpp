#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/datasource.h"
#include "data/dbcatalogue.h"
#include "data/dbconnection.h"
#include "data/eachrow.h"
#include "data/filemaintenance.h"
#include "support/datafixture.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Adds a client through a recordset; whether the row was written.
bool AddClient(CADODatabase& db, int no, const QString& name)
{
    CADORecordset rs(&db);
    return rs.Open(u"SELECT * FROM client"_s) && rs.AddNew() && rs.SetFieldInt(u"no"_s, no) &&
           rs.SetFieldText(u"name"_s, name) && rs.Update();
}

} // namespace

using BackendRules = DataTest;

// Inside a transaction a refused statement undoes itself alone: the rows before and after it
// are committed, as they are on a file.
TEST_P(BackendRules, ARefusedStatementInATransactionLeavesTheOthersStanding)
{
    auto db = Open();
    ASSERT_TRUE(db->BeginTransaction()) << db->GetLastError().toStdString();
    EXPECT_FALSE(db->BeginTransaction()); // one at a time; the open one goes on
    EXPECT_TRUE(AddClient(*db, 1, u"甲"_s));
    CADORecordset picture(db.get()); // a picture's number is the table's key: never twice
    ASSERT_TRUE(picture.Open(u"SELECT * FROM materialimage"_s));
    for (const QString& path : {u"a.png"_s, u"b.png"_s}) {
        ASSERT_TRUE(picture.AddNew());
        picture.SetFieldInt(u"no"_s, 5);
        picture.SetFieldText(u"path"_s, path);
        EXPECT_EQ(picture.Update(), path == u"a.png"_s) << path.toStdString();
    }
    CADORecordset missing(db.get());
    EXPECT_FALSE(missing.Open(u"SELECT * FROM nosuchtable"_s));
    EXPECT_TRUE(AddClient(*db, 2, u"乙"_s));
    EXPECT_TRUE(db->CommitTransaction()) << db->GetLastError().toStdString();
    EXPECT_EQ(QueryValue(u"SELECT count(*) || ':' || min(name) || max(name) FROM client"_s),
              u"2:乙甲"_s);
    // The row written just before the refused one stands too.
    EXPECT_EQ(QueryValue(u"SELECT group_concat(path) FROM materialimage"_s), u"a.png"_s);
}

// A write transaction waits for another workstation's, and gives up as busy after the timeout.
TEST_P(BackendRules, WritersTakeTurns)
{
    auto holder = Open();
    auto other = std::make_unique<CADODatabase>();
    other->SetConnectionTimeout(1);
    ASSERT_TRUE(other->Open(ConnectionString())) << other->GetLastError().toStdString();
    ASSERT_TRUE(holder->BeginTransaction());
    EXPECT_FALSE(other->BeginTransaction());
    EXPECT_EQ(other->GetLastErrorKind(), vantrel::db::ErrorKind::Busy)
        << other->GetLastError().toStdString();
    EXPECT_TRUE(holder->CommitTransaction());
    EXPECT_TRUE(other->BeginTransaction()) << other->GetLastError().toStdString();
    EXPECT_TRUE(other->CommitTransaction());
}

// The fields of a table are its own columns, with no column of the backend's among them;
// text beyond the code page and a question mark in a literal come back as written.
TEST_P(BackendRules, FieldsAndTextAreThoseWritten)
{
    auto db = Open();
    const QString name = u"表情😀与𠀀?'"_s;
    ASSERT_TRUE(AddClient(*db, 7, name));
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client WHERE [name] = '表情😀与𠀀?'''"_s))
        << rs.GetLastError().toStdString();
    ASSERT_EQ(rs.GetRecordCount(), 1);
    EXPECT_EQ(rs.GetFieldCount(), static_cast<int>(Columns(u"client"_s).size()));
    QString read;
    EXPECT_TRUE(rs.GetFieldText(u"name"_s, read));
    EXPECT_EQ(read, name);
    rs.Edit();
    EXPECT_TRUE(rs.SetFieldText(u"city"_s, u"上海?"_s));
    EXPECT_TRUE(rs.Update()) << rs.GetLastError().toStdString();

    CADORecordset marked(db.get());
    ASSERT_TRUE(marked.Open(u"SELECT 'a?b' AS mark, city FROM client WHERE [no] = 7"_s))
        << marked.GetLastError().toStdString();
    ASSERT_EQ(marked.GetRecordCount(), 1);
    EXPECT_TRUE(marked.GetFieldText(u"mark"_s, read));
    EXPECT_EQ(read, u"a?b"_s);
    EXPECT_TRUE(marked.GetFieldText(u"city"_s, read));
    EXPECT_EQ(read, u"上海?"_s);
}

// A field left empty sorts before every value going up and after every value going down, text,
// number or date alike, so that both backends list the rows in one order.
TEST_P(BackendRules, EmptyFieldsSortBeforeEveryValue)
{
    Exec(u"INSERT INTO address (no, [group], [user]) VALUES (1, '同学', '甲'), (2, NULL, '乙'), "
         "(3, 'Alpha', '丙')"_s);
    Exec(u"INSERT INTO outputdata (no, date, paper, sum) VALUES (1, '2024-03-05 00:00:00', 'A', "
         "5), (2, NULL, 'B', NULL), (3, '2024-03-06 00:00:00', 'C', 1)"_s);
    auto db = Open();
    const auto listed = [&](const QString& sql, const QString& field) {
        CADORecordset rs(db.get());
        QStringList values;
        EXPECT_TRUE(OpenEachRow(rs, sql, [&] {
            QString value;
            rs.GetFieldText(field, value);
            values << value;
        })) << rs.GetLastError().toStdString();
        return values.join(u'|');
    };
    EXPECT_EQ(listed(u"SELECT * FROM [address] ORDER BY group, user"_s, u"user"_s), u"乙|丙|甲"_s);
    EXPECT_EQ(listed(u"SELECT * FROM [address] ORDER BY [group] DESC"_s, u"user"_s), u"甲|丙|乙"_s);
    EXPECT_EQ(listed(u"SELECT * FROM outputdata ORDER BY date DESC"_s, u"paper"_s), u"C|A|B"_s);
    EXPECT_EQ(listed(u"SELECT * FROM outputdata ORDER BY sum, paper"_s, u"paper"_s), u"B|C|A"_s);
}

// A text is stored whole or not at all: the server, whose texts cannot hold a NUL character,
// refuses one that does, where it would keep only what comes before it.
TEST_P(BackendRules, ATextIsStoredWholeOrRefused)
{
    const QString name = QString::fromUtf16(u"甲\0乙", 3);
    auto db = Open();
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s));
    ASSERT_TRUE(rs.AddNew());
    rs.SetFieldInt(u"no"_s, 1);
    rs.SetFieldText(u"name"_s, name);
    const bool onFile = QLatin1StringView(GetParam().name) == "sqlite"_L1;
    EXPECT_EQ(rs.Update(), onFile) << rs.GetLastError().toStdString();
    EXPECT_EQ(QueryValue(u"SELECT count(*) FROM client"_s), onFile ? u"1"_s : u"0"_s);
    CADORecordset stored(db.get());
    QString read;
    EXPECT_TRUE(OpenEachRow(stored, u"SELECT * FROM client"_s,
                            [&] { stored.GetFieldText(u"name"_s, read); }));
    EXPECT_EQ(read, onFile ? name : QString());
}

// In a LIKE pattern only % and _ are special: a backslash, as in a folder's name, is itself.
TEST_P(BackendRules, ABackslashInAPatternStandsForItself)
{
    Exec(u"INSERT INTO client (no, name, remark) VALUES (1, 'A', 'C:\\docs\\报价'), "
         "(2, 'B', 'C:docs'), (3, 'C', 'x\\'), (4, 'D', 'x')"_s);
    auto db = Open();
    const auto found = [&](const QString& sql) {
        CADORecordset rs(db.get());
        QStringList names;
        EXPECT_TRUE(OpenEachRow(rs, sql + u" ORDER BY [no]"_s,
                                [&] {
                                    QString name;
                                    rs.GetFieldText(u"name"_s, name);
                                    names << name;
                                }))
            << sql.toStdString() << ": " << rs.GetLastError().toStdString();
        return names.join(u'|');
    };
    EXPECT_EQ(found(u"SELECT * FROM client WHERE [remark] LIKE '%C:\\docs%'"_s), u"A"_s);
    EXPECT_EQ(found(u"SELECT * FROM client WHERE [remark] LIKE '%\\'"_s), u"C"_s);
    EXPECT_EQ(found(u"SELECT * FROM client WHERE remark LIKE 'x\\' OR [remark] LIKE '_:d%'"_s),
              u"B|C"_s);
}

INSTANTIATE_TEST_SUITE_P(, BackendRules, EachBackend(), BackendName);

// A column another workstation adds shows in the next reading of a statement run before.
TEST_P(BackendRules, AColumnAddedElsewhereShowsAtOnce)
{
    auto db = Open();
    ASSERT_TRUE(AddClient(*db, 1, u"甲"_s));
    CADORecordset rs(db.get());
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s));
    EXPECT_LT(rs.GetFieldIndex(u"extra"_s), 0);
    auto other = Open();
    ASSERT_TRUE(other->GetActiveConnection()->Schema().AddColumn(
        u"client"_s, {u"extra"_s, schema::ColumnType::Text}));
    ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s)) << rs.GetLastError().toStdString();
    EXPECT_GE(rs.GetFieldIndex(u"extra"_s), 0);
    QString name;
    EXPECT_TRUE(rs.GetFieldText(u"name"_s, name));
    EXPECT_EQ(name, u"甲"_s);
}

// A server is named by its provider and a libpq connection string; it has no data file, and
// one that cannot be reached says so.
TEST(DataSources, AServerIsNamedByItsProvider)
{
    const QString server = u"Provider=PostgreSQL;host=127.0.0.1 port=1 dbname=sales"_s;
    QString conninfo;
    EXPECT_TRUE(vantrel::db::NamesServer(server, &conninfo));
    EXPECT_EQ(conninfo, u"host=127.0.0.1 port=1 dbname=sales"_s);
    EXPECT_TRUE(vantrel::db::DataSourceOf(server).isEmpty());
    EXPECT_EQ(vantrel::db::FileMaintenanceFor(server), nullptr);
    const QString file = CADODatabase::ConnectionStringFor(u"/data/sale.db"_s);
    EXPECT_FALSE(vantrel::db::NamesServer(file));
    EXPECT_EQ(vantrel::db::DataSourceOf(file), u"/data/sale.db"_s);
    EXPECT_NE(vantrel::db::FileMaintenanceFor(file), nullptr);

    vantrel::db::Error error;
    EXPECT_EQ(vantrel::db::OpenDataSource(server, 1, error), nullptr);
    EXPECT_EQ(error.kind, vantrel::db::ErrorKind::CantOpen);
    EXPECT_EQ(error.source, u"PostgreSQL"_s);
}
