#include "data/adodatabase.h"
#include "data/schema.h"
#include "support/tempdata.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(Schema, NewDataFileHoldsEveryTableAndOneCounterRow)
{
    TempDataFile file;
    for (const schema::Table& table : schema::DataTables())
        for (const schema::Column& column : table.columns)
            EXPECT_EQ(file.QueryValue(
                          u"SELECT count(*) FROM pragma_table_info('%1') WHERE name = '%2'"_s.arg(
                              QString::fromUtf8(table.name), QString::fromUtf8(column.name))),
                      u"1"_s)
                << table.name << "." << column.name;
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM sqlite_master WHERE name = 'power'"_s),
              u"0"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) || ':' || client || outputdetail FROM snnumber"_s),
              u"1:11"_s);
    QString error;
    EXPECT_FALSE(CreateDataFile(file.Path(), &error)); // never over an existing file
}

TEST(Schema, UpgradeAddsMissingTablesAndKeepsRows)
{
    TempDataFile file;
    file.Exec(u"DROP TABLE material; DROP TABLE [group]; DELETE FROM snnumber;"
              "INSERT INTO client (no, name) VALUES (5, '保留');"_s);
    auto db = file.Open();
    QString error;
    ASSERT_TRUE(UpgradeDatabase(*db, &error)) << error.toStdString();
    EXPECT_EQ(file.QueryValue(
                  u"SELECT count(*) FROM sqlite_master WHERE name IN ('material', 'group')"_s),
              u"2"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT name FROM client WHERE no = 5"_s), u"保留"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM snnumber"_s), u"1"_s);

    // Counters in use are never reset.
    file.Exec(u"UPDATE snnumber SET client = 42"_s);
    ASSERT_TRUE(UpgradeDatabase(*db, &error));
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) || ':' || client FROM snnumber"_s), u"1:42"_s);
}

TEST(Schema, ReferenceFileHoldsTheLookupTables)
{
    TempDataFile file;
    const QString path = file.Dir() + u"/data.db"_s;
    ASSERT_TRUE(CreateReferenceFile(path));
    CADODatabase db;
    ASSERT_TRUE(db.Open(CADODatabase::ConnectionStringFor(path)));
    EXPECT_TRUE(QFile::exists(path));
}
