// Two workstations on one data file: a change made through a recordset reaches the row that
// was read, or nothing at all.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "support/tempdata.h"

#include <QVariantMap>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Adds a row through the recordset, as the dialogs do.
void AddRow(CADODatabase& db, const QString& table, const QVariantMap& fields)
{
    CADORecordset rs(&db);
    ASSERT_TRUE(rs.Open(u"SELECT * FROM "_s + table)) << rs.GetLastError().toStdString();
    ASSERT_TRUE(rs.AddNew());
    for (auto field = fields.begin(); field != fields.end(); ++field)
        if (field.value().typeId() == QMetaType::Int)
            rs.SetFieldInt(field.key(), field.value().toInt());
        else
            rs.SetFieldText(field.key(), field.value().toString());
    ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
}

// Opens `sql` on one row, as a dialog does before it writes.
void OpenOne(CADORecordset& rs, const QString& sql)
{
    ASSERT_TRUE(rs.Open(sql)) << rs.GetLastError().toStdString();
    ASSERT_EQ(rs.GetRecordCount(), 1) << sql.toStdString();
}

void DeleteOne(CADODatabase& db, const QString& sql)
{
    CADORecordset rs(&db);
    OpenOne(rs, sql);
    ASSERT_TRUE(rs.Delete()) << rs.GetLastError().toStdString();
}

// Neither an edit nor a delete reaches the row `stale` holds.
void ExpectRefused(CADORecordset& stale, const QString& field)
{
    stale.Edit();
    EXPECT_TRUE(stale.SetFieldText(field, u"改过"_s));
    EXPECT_FALSE(stale.Update());
    EXPECT_EQ(stale.GetLastErrorCode(), CADORecordset::kRowChangedError);
    EXPECT_TRUE(stale.GetLastError().contains(u"Row cannot be located for updating"_s))
        << stale.GetLastError().toStdString();
    EXPECT_EQ(stale.GetEditStatus(), CADORecordset::dbEditNone);
    EXPECT_FALSE(stale.Delete());
    EXPECT_EQ(stale.GetLastErrorCode(), CADORecordset::kRowChangedError);
    EXPECT_EQ(stale.GetRecordCount(), 1);
}

TEST(RowChanges, ARowReplacedOrDeletedMeanwhileIsLeftAlone)
{
    TempDataFile file;
    auto a = file.Open();
    auto b = file.Open();
    for (int no = 1; no <= 3; ++no)
        AddRow(*b, u"client"_s, {{u"no"_s, no}, {u"name"_s, u"客户%1"_s.arg(no)}});
    const QString rowid = file.QueryValue(u"SELECT rowid FROM client WHERE no = 3"_s);

    CADORecordset stale(a.get());
    OpenOne(stale, u"SELECT * FROM client WHERE [no] = 3"_s);
    DeleteOne(*b, u"SELECT * FROM client WHERE [no] = 3"_s);
    AddRow(*b, u"client"_s, {{u"no"_s, 4}, {u"name"_s, u"他人的客户"_s}});
    ASSERT_EQ(file.QueryValue(u"SELECT rowid FROM client WHERE no = 4"_s), rowid);
    ExpectRefused(stale, u"name"_s);

    OpenOne(stale, u"SELECT * FROM client WHERE [no] = 2"_s);
    DeleteOne(*b, u"SELECT * FROM client WHERE [no] = 2"_s);
    ExpectRefused(stale, u"name"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT group_concat(no || name || ifnull(city, ''), ',') "
                              "FROM client"_s),
              u"1客户1,4他人的客户"_s);

    // Changed but still the same numbered row: the edit lands, and so does the delete.
    OpenOne(stale, u"SELECT * FROM client WHERE [no] = 1"_s);
    file.Exec(u"UPDATE client SET name = '甲公司' WHERE no = 1"_s);
    stale.Edit();
    stale.SetFieldText(u"city"_s, u"上海"_s);
    EXPECT_TRUE(stale.Update()) << stale.GetLastError().toStdString();
    EXPECT_EQ(file.QueryValue(u"SELECT name || city FROM client WHERE no = 1"_s), u"甲公司上海"_s);
    EXPECT_TRUE(stale.Delete()) << stale.GetLastError().toStdString();
    EXPECT_EQ(file.QueryValue(u"SELECT group_concat(no) FROM client"_s), u"4"_s);
}

TEST(RowChanges, AnUnnumberedRowIsKnownByEveryValueAsRead)
{
    TempDataFile file;
    auto a = file.Open();
    auto b = file.Open();
    file.Exec(u"INSERT INTO city (name) VALUES ('北京'), ('上海')"_s);
    const QString rowid = file.QueryValue(u"SELECT rowid FROM city WHERE name = '上海'"_s);

    CADORecordset stale(a.get());
    OpenOne(stale, u"SELECT * FROM city WHERE [name] = '上海'"_s);
    DeleteOne(*b, u"SELECT * FROM city WHERE [name] = '上海'"_s);
    AddRow(*b, u"city"_s, {{u"name"_s, u"广州"_s}});
    ASSERT_EQ(file.QueryValue(u"SELECT rowid FROM city WHERE name = '广州'"_s), rowid);
    ExpectRefused(stale, u"name"_s);
    EXPECT_EQ(file.QueryValue(u"SELECT group_concat(name, ',') FROM city"_s), u"北京,广州"_s);

    // Unchanged, it is written again and again (the cursor keeps what was stored), then deleted.
    OpenOne(stale, u"SELECT * FROM city WHERE [name] = '北京'"_s);
    for (const QString& name : {u"北京市"_s, u"北京"_s}) {
        stale.Edit();
        stale.SetFieldText(u"name"_s, name);
        EXPECT_TRUE(stale.Update()) << stale.GetLastError().toStdString();
    }
    EXPECT_TRUE(stale.Delete()) << stale.GetLastError().toStdString();
    EXPECT_EQ(file.QueryValue(u"SELECT group_concat(name, ',') FROM city"_s), u"广州"_s);

    // NULL matches NULL; any other column changed meanwhile does not match.
    file.Exec(u"UPDATE snnumber SET client = 10, appoint = NULL"_s);
    OpenOne(stale, u"SELECT * FROM snnumber"_s);
    stale.Edit();
    stale.SetFieldInt(u"client"_s, 11);
    ASSERT_TRUE(stale.Update()) << stale.GetLastError().toStdString();
    file.Exec(u"UPDATE snnumber SET linkman = linkman + 1"_s);
    stale.Edit();
    stale.SetFieldInt(u"client"_s, 12);
    EXPECT_FALSE(stale.Update());
    EXPECT_EQ(file.QueryValue(u"SELECT client || ',' || linkman || ',' || ifnull(appoint, 'null') "
                              "FROM snnumber"_s),
              u"11,2,null"_s);
}

} // namespace
