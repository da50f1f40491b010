#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/datacopy.h"
#include "data/datasource.h"
#include "data/recordnumber.h"
#include "data/schema.h"
#include "data/sqltext.h"
#include "support/datafixture.h"
#include "support/pgtestdatabase.h"
#include "support/tempdata.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using vantrel::db::CopyData;
using vantrel::db::CopyReport;

namespace {

std::vector<const schema::Table*> AllTables()
{
    std::vector<const schema::Table*> tables;
    for (const schema::Table& table : schema::DataTables())
        tables.push_back(&table);
    tables.push_back(&schema::PowerTable());
    return tables;
}

// Three rows in every table, the users' too: texts with Chinese, quotes and line breaks,
// dates with seconds, fractions, yes/no values, a row of NULLs; counters apart from the numbers.
void Fill(const TempDataFile& file)
{
    for (const QString& statement : schema::CreateStatements(schema::PowerTable()))
        file.Exec(statement);
    // By schema::ColumnType: Integer, AutoNumber, Double, Text, LongText, DateTime, YesNo.
    const QString values[] = {u"%1"_s,
                              u"%1"_s,
                              u"%1000.0625"_s,
                              u"'客户''%1'"_s,
                              u"'第一行\n第二行 \"%1\"'"_s,
                              u"'2024-03-0%1 09:07:5%1'"_s,
                              u"%1 - 2"_s};
    for (const schema::Table* table : AllTables())
        for (int row = 1; row <= 3 && QByteArrayView(table->name) != "snnumber"; ++row) {
            QStringList names, rowValues;
            for (const schema::Column& column : table->columns) {
                names << SqlIdentifier(QString::fromUtf8(column.name));
                const bool numbered = QByteArrayView(column.name) == "no";
                rowValues << (numbered   ? QString::number(row * 10)
                              : row == 3 ? u"NULL"_s
                                         : values[static_cast<int>(column.type)].arg(row));
            }
            file.Exec(u"INSERT INTO \"%1\" (%2) VALUES (%3)"_s.arg(
                QString::fromUtf8(table->name), names.join(u", "_s), rowValues.join(u", "_s)));
        }
    file.Exec(u"UPDATE client SET name = '北京华联' WHERE no = 10; "
              "UPDATE materialimage SET path = 'pictures/钢板.jpg' WHERE no = 10; "
              "UPDATE snnumber SET client = 42, linkman = 43, appoint = 44, inputdata = 45, "
              "outputdata = 46, inputdetail = 47, outputdetail = 48"_s);
}

// Every value of every table of a data file with its storage class, row by row.
QStringList Dump(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList lines;
    for (const schema::Table* table : AllTables()) {
        QStringList columns;
        for (const schema::Column& column : table->columns)
            columns << u"typeof(\"%1\") || quote(\"%1\")"_s.arg(QString::fromUtf8(column.name));
        const QByteArray sql = u"SELECT '%1 ' || %2 FROM \"%1\" ORDER BY rowid"_s
                                   .arg(QString::fromUtf8(table->name), columns.join(u" || "_s))
                                   .toUtf8();
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW)
            lines << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(select, 0)));
        sqlite3_finalize(select);
    }
    sqlite3_close(db);
    return lines;
}

int TakeClientNumber(const QString& connectionString)
{
    CADODatabase database;
    database.Open(connectionString);
    CADORecordset recordset(&database);
    return TakeRecordNumber(recordset, RecordKind::Client).number;
}

// A data file goes onto a server and back into a file with every value as it was; the server
// finds the names by their initials, and both go on numbering where the file stopped.
TEST(DataCopy, AFileGoesOntoTheServerAndBackWhole)
{
    TempDataFile file;
    Fill(file);
    PgTestDatabase server;
    const auto source = OpenBackend(file.ConnectionString());
    const auto target = OpenBackend(server.ConnectionString());
    ASSERT_TRUE(source && target);

    const CopyReport up = CopyData(*source, *target);
    ASSERT_TRUE(up.copied) << up.error.toStdString();
    ASSERT_EQ(up.tables.size(), schema::DataTables().size() + 1);
    EXPECT_EQ(up.tables[1].table + u' ' + QString::number(up.tables[1].rows), u"client 3"_s);
    EXPECT_EQ(up.tables.back().table + u' ' + QString::number(up.tables.back().rows), u"power 3"_s);
    EXPECT_TRUE(vantrel::db::CopiedText(up).contains(u"\n客户：3 条\n"_s));
    EXPECT_EQ(server.QueryValue(u"SELECT name || '/' || name_initials FROM client WHERE no = 10"_s),
              u"北京华联/bjhl"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT date::text FROM outputdetail WHERE no = 20"_s),
              u"2024-03-02 09:07:52"_s);
    // The server's own numbers go on after the copied ones.
    server.Exec(u"INSERT INTO notepaper (caption) VALUES ('新的')"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT max(no) FROM notepaper"_s), u"31"_s);
    server.Exec(u"DELETE FROM notepaper WHERE no = 31"_s);

    QTemporaryDir folder;
    const QString back = folder.filePath(u"back.db"_s);
    ASSERT_TRUE(CreateDataFile(back));
    const CopyReport down =
        CopyData(*target, *OpenBackend(CADODatabase::ConnectionStringFor(back)));
    ASSERT_TRUE(down.copied) << down.error.toStdString();
    EXPECT_EQ(Dump(back).size(), (schema::DataTables().size() * 3) + 1);
    EXPECT_EQ(Dump(back), Dump(file.Path()));
    EXPECT_EQ(TakeClientNumber(server.ConnectionString()), 42);
    EXPECT_EQ(TakeClientNumber(CADODatabase::ConnectionStringFor(back)), 42);
}

using DataCopyInto = DataTest;

// A database that holds records is never copied into; a copy that fails on the way leaves
// the target as it was, and the next copy goes through.
TEST_P(DataCopyInto, RefusesRecordsAndLeavesNothingOfAFailedCopy)
{
    TempDataFile file;
    Fill(file);
    const auto source = OpenBackend(file.ConnectionString());
    const auto target = OpenBackend(ConnectionString());
    ASSERT_TRUE(source && target);
    Exec(u"INSERT INTO [group] (name) VALUES ('老客户')"_s);
    CopyReport report = CopyData(*source, *target);
    EXPECT_FALSE(report.copied);
    EXPECT_TRUE(report.error.contains(u"通讯录分类 1 条"_s)) << report.error.toStdString();
    EXPECT_EQ(QueryValue(u"SELECT count(*) FROM client"_s), u"0"_s);
    Exec(u"DELETE FROM [group]"_s);

    // The address book comes last of the data: bytes there fail the copy after the rest.
    file.Exec(u"UPDATE address SET remark = X'00FF' WHERE no = 20"_s);
    report = CopyData(*source, *target);
    EXPECT_FALSE(report.copied);
    EXPECT_TRUE(report.error.contains(u"address"_s)) << report.error.toStdString();
    EXPECT_EQ(QueryValue(u"SELECT (SELECT count(*) FROM client) + (SELECT count(*) FROM "
                         "outputdetail) + (SELECT count(*) FROM address)"_s),
              u"0"_s);
    EXPECT_EQ(QueryValue(u"SELECT client FROM snnumber"_s), u"1"_s);

    file.Exec(u"UPDATE address SET remark = '好' WHERE no = 20"_s);
    report = CopyData(*source, *target);
    EXPECT_TRUE(report.copied) << report.error.toStdString();
    EXPECT_EQ(QueryValue(u"SELECT count(*) || '/' || max(client) FROM address, snnumber"_s),
              u"3/42"_s);

    // Replacing by a file nobody has signed in to yet empties the data but keeps the users.
    TempDataFile unused;
    report = CopyData(*OpenBackend(unused.ConnectionString()), *target,
                      vantrel::db::CopyInto::Replacing);
    EXPECT_TRUE(report.copied) << report.error.toStdString();
    EXPECT_EQ(QueryValue(u"SELECT (SELECT count(*) FROM address) || '/' || (SELECT count(*) FROM "
                         "power)"_s),
              u"0/3"_s);
}

INSTANTIATE_TEST_SUITE_P(, DataCopyInto, EachBackend(), BackendName);

} // namespace
