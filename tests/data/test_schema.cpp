#include "data/adodatabase.h"
#include "data/schema.h"
#include "support/datafixture.h"
#include "support/tempdata.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

struct TableColumns
{
    const char* table;
    QStringList columns;
};

const QStringList kDictionary = {u"name"_s};
const QStringList kOrder = {u"no"_s,        u"date"_s,      u"paper"_s,   u"item"_s,
                            u"bargain"_s,   u"client"_s,    u"linkman"_s, u"goods"_s,
                            u"unit"_s,      u"number"_s,    u"sum"_s,     u"detail"_s,
                            u"warehouse"_s, u"principal"_s, u"square"_s,  u"remark"_s};
const QStringList kDetail = {u"no"_s,     u"paper"_s,  u"date"_s,   u"number"_s, u"sum"_s,
                             u"person"_s, u"taster"_s, u"detail"_s, u"remark"_s};
const QStringList kImage = {u"no"_s, u"id"_s, u"path"_s};

// Every table of the data file with its columns; `power` is made at sign-in, not here.
const TableColumns kDataFile[] = {
    {"snnumber",
     {u"client"_s, u"linkman"_s, u"appoint"_s, u"inputdata"_s, u"outputdata"_s, u"inputdetail"_s,
      u"outputdetail"_s}},
    {"client",
     {u"no"_s,   u"name"_s,     u"number"_s,    u"corporation"_s, u"operator"_s, u"property"_s,
      u"type"_s, u"vocation"_s, u"important"_s, u"credit"_s,      u"country"_s,  u"province"_s,
      u"city"_s, u"people"_s,   u"turnover"_s,  u"address"_s,     u"zip"_s,      u"site"_s,
      u"bank"_s, u"account"_s,  u"tax"_s,       u"survey"_s,      u"remark"_s}},
    {"linkman",
     {u"no"_s,        u"client"_s, u"name"_s,        u"number"_s,    u"sex"_s,     u"nation"_s,
      u"important"_s, u"credit"_s, u"country"_s,     u"province"_s,  u"city"_s,    u"branch"_s,
      u"duty"_s,      u"mobile"_s, u"officephone"_s, u"homephone"_s, u"fax"_s,     u"qq"_s,
      u"msn"_s,       u"email1"_s, u"email2"_s,      u"birthday"_s,  u"like"_s,    u"education"_s,
      u"technical"_s, u"id"_s,     u"location"_s,    u"loczip"_s,    u"address"_s, u"adrzip"_s,
      u"holiday"_s,   u"remark"_s}},
    {"client_property", kDictionary},
    {"client_type", kDictionary},
    {"client_vocation", kDictionary},
    {"important", kDictionary},
    {"credit", kDictionary},
    {"country", kDictionary},
    {"province", kDictionary},
    {"city", kDictionary},
    {"operator", kDictionary},
    {"people", kDictionary},
    {"turnover", kDictionary},
    {"appoint",
     {u"no"_s, u"linkman"_s, u"time"_s, u"length"_s, u"place"_s, u"content"_s, u"notice"_s}},
    {"notepaper", {u"no"_s, u"time"_s, u"weather"_s, u"caption"_s, u"content"_s}},
    {"notice", {u"no"_s, u"time"_s, u"endtime"_s, u"content"_s}},
    {"inputdata", kOrder},
    {"outputdata", kOrder},
    {"inputdetail", kDetail},
    {"outputdetail", kDetail},
    {"material",
     {u"no"_s, u"number"_s, u"name"_s, u"client"_s, u"price"_s, u"property"_s, u"remark"_s}},
    {"product", {u"no"_s, u"number"_s, u"name"_s, u"price"_s, u"property"_s, u"remark"_s}},
    {"materialimage", kImage},
    {"productimage", kImage},
    {"group", {u"name"_s}},
    {"address",
     {u"no"_s,          u"group"_s,       u"user"_s,     u"sex"_s,     u"mobile"_s, u"pas"_s,
      u"homephone"_s,   u"officephone"_s, u"qq"_s,       u"msn"_s,     u"email1"_s, u"email2"_s,
      u"birthday"_s,    u"like"_s,        u"company"_s,  u"branch"_s,  u"duty"_s,   u"fax"_s,
      u"companyaddr"_s, u"companyzip"_s,  u"homeaddr"_s, u"homezip"_s, u"remark"_s}},
};

// The postcode and area-code tables of the reference file.
const TableColumns kReferenceFile[] = {
    {"section1", {u"province"_s, u"city"_s, u"zip"_s, u"sections"_s}},
    {"section2", {u"continent"_s, u"country"_s, u"sections"_s}},
    {"service", {u"name"_s, u"number"_s, u"remark"_s}},
};

// The texts of the first column of a statement's rows, read from a file as it is.
QStringList Texts(const QString& path, const QString& sql)
{
    QStringList texts;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) !=
        SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << path.toStdString();
        sqlite3_close(db);
        return texts;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sql.toStdString() << ": " << sqlite3_errmsg(db);
    while (statement && sqlite3_step(statement) == SQLITE_ROW)
        texts << QString::fromUtf8(
            reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return texts;
}

// The tables a file holds, by name, without SQLite's own.
QStringList TablesOf(const QString& path)
{
    return Texts(path, u"SELECT name FROM sqlite_master WHERE type = 'table' "
                       "AND name NOT LIKE 'sqlite%' ORDER BY name"_s);
}

// A table's columns, in their order.
QStringList ColumnsOf(const QString& path, const char* table)
{
    return Texts(path, u"SELECT name FROM pragma_table_info('%1') ORDER BY cid"_s.arg(
                           QString::fromUtf8(table)));
}

QStringList Sorted(QStringList names)
{
    names.sort();
    return names;
}

using Schema = DataTest;

} // namespace

TEST_P(Schema, EveryTableHoldsItsColumns)
{
    QStringList names;
    for (const TableColumns& table : kDataFile) {
        names << QString::fromUtf8(table.table);
        // Which columns a table has is fixed; their order is the layout's own.
        EXPECT_EQ(Sorted(Columns(QString::fromUtf8(table.table))), Sorted(table.columns))
            << table.table;
    }
    EXPECT_EQ(Tables(), Sorted(names));

    // The users table, made at sign-in, has its columns in this order.
    const QStringList power = {
        u"user"_s,    u"pas"_s,      u"maddress"_s,      u"mappoint"_s,  u"mbasic"_s,
        u"mclient"_s, u"minput"_s,   u"minputdetail"_s,  u"mlinkman"_s,  u"mnote"_s,
        u"mnotice"_s, u"moutput"_s,  u"moutputdetail"_s, u"mmaterial"_s, u"mproduct"_s,
        u"ssearch"_s, u"saddress"_s, u"sappoint"_s,      u"sclient"_s,   u"sexport"_s,
        u"sinput"_s,  u"snote"_s,    u"snotice"_s,       u"soutput"_s,   u"sstat"_s};
    for (const QString& statement : schema::CreateStatements(schema::PowerTable()))
        Exec(statement);
    EXPECT_EQ(Columns(u"power"_s), power);
}

TEST_P(Schema, TheDatabaseNumbersTheRowsOfTablesWithoutACounter)
{
    struct Numbered
    {
        const char* table;
        const char* text; // a text column to tell the rows apart
    };
    // Rows added without a number get 1, then 2, from the database itself; after a row that
    // came with its own number (brought in from elsewhere), the next number above it.
    for (const Numbered& numbered :
         {Numbered{"notepaper", "caption"}, Numbered{"notice", "content"},
          Numbered{"material", "name"}, Numbered{"materialimage", "path"},
          Numbered{"product", "name"}, Numbered{"productimage", "path"},
          Numbered{"address", "[user]"}}) {
        const QString table = QString::fromUtf8(numbered.table);
        const QString text = QString::fromUtf8(numbered.text);
        Exec(
            u"INSERT INTO [%1] (%2) VALUES ('甲'); INSERT INTO [%1] (%2) VALUES ('乙'); "
            "INSERT INTO [%1] (no, %2) VALUES (7, '丙'); INSERT INTO [%1] (%2) VALUES ('丁')"_s.arg(
                table, text));
        EXPECT_EQ(
            QueryValue(u"SELECT group_concat(%2 || no, ',') FROM "
                       "(SELECT %2, no FROM [%1] ORDER BY no) AS numbered"_s.arg(table, text)),
            u"甲1,乙2,丙7,丁8"_s)
            << numbered.table;
    }
}

TEST_P(Schema, NewDatabaseHoldsEveryTableAndOneCounterRow)
{
    for (const schema::Table& table : schema::DataTables()) {
        const QStringList columns = Columns(QString::fromUtf8(table.name));
        for (const schema::Column& column : table.columns)
            EXPECT_EQ(columns.count(QString::fromUtf8(column.name)), 1)
                << table.name << "." << column.name;
    }
    EXPECT_FALSE(Tables().contains(u"power"_s));
    EXPECT_EQ(
        QueryValue(u"SELECT count(*) || ':' || max(client) || max(outputdetail) FROM snnumber"_s),
        u"1:11"_s);
}

TEST_P(Schema, UpgradeAddsMissingTablesAndKeepsRows)
{
    Exec(u"DROP TABLE material; DROP TABLE [group]; DELETE FROM snnumber;"
         "INSERT INTO client (no, name) VALUES (5, '保留');"_s);
    auto db = Open();
    QString error;
    ASSERT_TRUE(UpgradeDatabase(*db, &error)) << error.toStdString();
    const QStringList tables = Tables();
    EXPECT_TRUE(tables.contains(u"material"_s));
    EXPECT_TRUE(tables.contains(u"group"_s));
    EXPECT_EQ(QueryValue(u"SELECT name FROM client WHERE no = 5"_s), u"保留"_s);
    // A counters row made anew starts after the numbers in use.
    EXPECT_EQ(QueryValue(u"SELECT count(*) || ':' || max(client) || ':' || max(outputdata) "
                         "FROM snnumber"_s),
              u"1:6:1"_s);

    // Counters in use are never reset.
    Exec(u"UPDATE snnumber SET client = 42"_s);
    ASSERT_TRUE(UpgradeDatabase(*db, &error));
    EXPECT_EQ(QueryValue(u"SELECT count(*) || ':' || max(client) FROM snnumber"_s), u"1:42"_s);
}

INSTANTIATE_TEST_SUITE_P(, Schema, EachBackend(), BackendName);

TEST(SchemaFile, ANewDataFileIsNeverMadeOverAnExistingOne)
{
    TempDataFile file;
    QString error;
    EXPECT_FALSE(CreateDataFile(file.Path(), &error));
}

TEST(SchemaFile, ReferenceFileHoldsTheLookupTables)
{
    TempDataFile file;
    const QString path = file.Dir() + u"/data.db"_s;
    QString error;
    ASSERT_TRUE(CreateReferenceFile(path, &error)) << error.toStdString();
    CADODatabase db;
    ASSERT_TRUE(db.Open(CADODatabase::ConnectionStringFor(path)));
    EXPECT_TRUE(QFile::exists(path));

    // It holds the two lookup tables and the common numbers, nothing else.
    QStringList names;
    for (const TableColumns& table : kReferenceFile) {
        names << QString::fromUtf8(table.table);
        EXPECT_EQ(Sorted(ColumnsOf(path, table.table)), Sorted(table.columns)) << table.table;
    }
    EXPECT_EQ(TablesOf(path), Sorted(names));
}
