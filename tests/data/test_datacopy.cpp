#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/backup.h"
#include "data/datacopy.h"
#include "data/datafilekind.h"
#include "data/datasource.h"
#include "data/recordnumber.h"
#include "data/schema.h"
#include "support/datafixture.h"
#include "support/pgtestdatabase.h"
#include "support/tempdata.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;
using vantrel::db::Connection;
using vantrel::db::CopyData;
using vantrel::db::CopyReport;

namespace {

std::shared_ptr<Connection> Connect(const QString& connectionString)
{
    vantrel::db::Error error;
    std::shared_ptr<Connection> connection =
        vantrel::db::OpenDataSource(connectionString, 0, error);
    EXPECT_TRUE(connection) << error.message.toStdString();
    return connection;
}

// Rows in every table of the file, the users too: texts with Chinese, quotes and line breaks,
// dates with their seconds, fractions, yes/no values, NULLs, and the counters set apart from
// the numbers in use.
void Fill(const TempDataFile& file)
{
    for (const QString& statement : schema::CreateStatements(schema::PowerTable()))
        file.Exec(statement);
    std::vector<const schema::Table*> tables;
    for (const schema::Table& table : schema::DataTables())
        tables.push_back(&table);
    tables.push_back(&schema::PowerTable());
    for (const schema::Table* table : tables) {
        if (QByteArrayView(table->name) == "snnumber")
            continue;
        for (int row = 1; row <= 3; ++row) {
            QStringList names, values;
            for (const schema::Column& column : table->columns) {
                names << u"\"%1\""_s.arg(QString::fromUtf8(column.name));
                const bool numbered = QByteArrayView(column.name) == "no";
                if (row == 3 && !numbered) { // a row of NULLs beside its number
                    values << u"NULL"_s;
                    continue;
                }
                switch (column.type) {
                case schema::ColumnType::Integer:
                case schema::ColumnType::AutoNumber:
                    values << QString::number(numbered ? row * 10 : row + 100);
                    break;
                case schema::ColumnType::Double:
                    values << u"%1.0625"_s.arg(row * 1000);
                    break;
                case schema::ColumnType::Text:
                    values << u"'客户''%1'"_s.arg(row);
                    break;
                case schema::ColumnType::LongText:
                    values << u"'第一行\n第二行 \"%1\"'"_s.arg(row);
                    break;
                case schema::ColumnType::DateTime:
                    values << u"'2024-03-0%1 09:07:5%1'"_s.arg(row);
                    break;
                case schema::ColumnType::YesNo:
                    values << (row == 1 ? u"-1"_s : u"0"_s);
                    break;
                }
            }
            file.Exec(u"INSERT INTO \"%1\" (%2) VALUES (%3)"_s.arg(
                QString::fromUtf8(table->name), names.join(u", "_s), values.join(u", "_s)));
        }
    }
    file.Exec(u"UPDATE client SET name = '北京华联' WHERE no = 10; "
              "UPDATE materialimage SET path = 'pictures/钢板.jpg' WHERE no = 10; "
              "UPDATE snnumber SET client = 42, linkman = 43, appoint = 44, inputdata = 45, "
              "outputdata = 46, inputdetail = 47, outputdetail = 48"_s);
}

// Every value of every table of a data file, with its storage class, row by row.
QStringList Dump(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QStringList lines;
    std::vector<const schema::Table*> tables;
    for (const schema::Table& table : schema::DataTables())
        tables.push_back(&table);
    tables.push_back(&schema::PowerTable());
    for (const schema::Table* table : tables) {
        QStringList columns;
        for (const schema::Column& column : table->columns)
            columns << u"\"%1\""_s.arg(QString::fromUtf8(column.name));
        const QByteArray sql = u"SELECT %1 FROM \"%2\" ORDER BY rowid"_s
                                   .arg(columns.join(u", "_s), QString::fromUtf8(table->name))
                                   .toUtf8();
        sqlite3_stmt* select = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &select, nullptr) != SQLITE_OK) {
            lines << QString::fromUtf8(table->name) + u": "_s +
                         QString::fromUtf8(sqlite3_errmsg(db));
            continue;
        }
        while (sqlite3_step(select) == SQLITE_ROW) {
            QString line = QString::fromUtf8(table->name);
            for (int c = 0; c < sqlite3_column_count(select); ++c)
                line += u" | %1:%2"_s.arg(sqlite3_column_type(select, c))
                            .arg(QString::fromUtf8(
                                reinterpret_cast<const char*>(sqlite3_column_text(select, c))));
            lines << line;
        }
        sqlite3_finalize(select);
    }
    sqlite3_close(db);
    return lines;
}

int TakeClientNumber(const QString& connectionString)
{
    CADODatabase database;
    if (!database.Open(connectionString))
        return -2;
    CADORecordset recordset(&database);
    return TakeRecordNumber(recordset, RecordKind::Client).number;
}

qint64 RowsOf(const CopyReport& report, const QString& table)
{
    for (const auto& copied : report.tables)
        if (copied.table == table)
            return copied.rows;
    return -1;
}

// A data file goes onto a server and back into a file with every value as it was, the
// server's searches find the names by their initials, and both go on numbering where the
// file stopped.
TEST(DataCopy, AFileGoesOntoTheServerAndBackWhole)
{
    TempDataFile file;
    Fill(file);
    PgTestDatabase server;
    const auto source = Connect(file.ConnectionString());
    const auto target = Connect(server.ConnectionString());
    ASSERT_TRUE(source && target);

    const CopyReport up = CopyData(*source, *target);
    ASSERT_TRUE(up.copied) << up.error.toStdString();
    EXPECT_EQ(up.tables.size(), schema::DataTables().size() + 1);
    EXPECT_EQ(RowsOf(up, u"client"_s), 3);
    EXPECT_EQ(RowsOf(up, u"snnumber"_s), 1);
    EXPECT_EQ(RowsOf(up, u"power"_s), 3);
    EXPECT_TRUE(vantrel::db::CopiedText(up).contains(u"客户：3 条"_s));
    EXPECT_EQ(server.QueryValue(u"SELECT name || '/' || name_initials FROM client WHERE no = 10"_s),
              u"北京华联/bjhl"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT date::text FROM outputdetail WHERE no = 20"_s),
              u"2024-03-02 09:07:52"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT path FROM materialimage WHERE no = 10"_s),
              u"pictures/钢板.jpg"_s);
    // The server's own numbers go on after the copied ones.
    server.Exec(u"INSERT INTO notepaper (caption) VALUES ('新的')"_s);
    EXPECT_EQ(server.QueryValue(u"SELECT max(no) FROM notepaper"_s), u"31"_s);
    server.Exec(u"DELETE FROM notepaper WHERE no = 31"_s);

    QTemporaryDir folder;
    const QString written = folder.filePath(u"back.db"_s);
    QString error;
    ASSERT_TRUE(CreateDataFile(written, &error)) << error.toStdString();
    const auto back = Connect(CADODatabase::ConnectionStringFor(written));
    ASSERT_TRUE(back);
    const CopyReport down = CopyData(*target, *back);
    ASSERT_TRUE(down.copied) << down.error.toStdString();
    EXPECT_EQ(Dump(written), Dump(file.Path()));
    EXPECT_EQ(Dump(written).size(), (schema::DataTables().size() - 1 + 1) * 3 + 1);

    EXPECT_EQ(TakeClientNumber(server.ConnectionString()), 42);
    EXPECT_EQ(TakeClientNumber(CADODatabase::ConnectionStringFor(written)), 42);
}

using DataCopyInto = DataTest;

// A database that holds records is never copied into; a copy that fails on the way leaves
// the target as it was, and the next copy goes through.
TEST_P(DataCopyInto, RefusesRecordsAndLeavesNothingOfAFailedCopy)
{
    TempDataFile file;
    Fill(file);
    const auto source = Connect(file.ConnectionString());
    const auto target = Connect(ConnectionString());
    ASSERT_TRUE(source && target);
    const QString counters = QueryValue(u"SELECT client FROM snnumber"_s);

    Exec(u"INSERT INTO [group] (name) VALUES ('老客户')"_s);
    CopyReport report = CopyData(*source, *target);
    EXPECT_FALSE(report.copied);
    EXPECT_TRUE(report.tables.empty());
    EXPECT_TRUE(report.error.contains(u"通讯录分类 1 条"_s)) << report.error.toStdString();
    EXPECT_EQ(QueryValue(u"SELECT count(*) FROM client"_s), u"0"_s);
    EXPECT_EQ(QueryValue(u"SELECT name FROM [group]"_s), u"老客户"_s);
    Exec(u"DELETE FROM [group]"_s);

    // The address book is copied last of the data: bytes there fail the copy after every
    // other table went in.
    file.Exec(u"UPDATE address SET remark = X'00FF' WHERE no = 20"_s);
    report = CopyData(*source, *target);
    EXPECT_FALSE(report.copied);
    EXPECT_TRUE(report.error.contains(u"address"_s)) << report.error.toStdString();
    for (const QString& table : {u"client"_s, u"outputdetail"_s, u"material"_s, u"address"_s})
        EXPECT_EQ(QueryValue(u"SELECT count(*) FROM [%1]"_s.arg(table)), u"0"_s)
            << table.toStdString();
    EXPECT_EQ(QueryValue(u"SELECT client FROM snnumber"_s), counters);

    file.Exec(u"UPDATE address SET remark = '好' WHERE no = 20"_s);
    report = CopyData(*source, *target);
    EXPECT_TRUE(report.copied) << report.error.toStdString();
    EXPECT_EQ(QueryValue(u"SELECT count(*) FROM address"_s), u"3"_s);
    EXPECT_EQ(QueryValue(u"SELECT client FROM snnumber"_s), u"42"_s);
}

INSTANTIATE_TEST_SUITE_P(, DataCopyInto, EachBackend(), BackendName);

} // namespace
