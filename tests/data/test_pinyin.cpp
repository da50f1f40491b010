#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/pinyin.h"
#include "support/datafixture.h"
#include "support/tempdata.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <future>

using namespace Qt::StringLiterals;

namespace {

QStringList Names(CADODatabase& db, const QString& sql)
{
    CADORecordset rs(&db);
    QStringList names;
    const bool ran = OpenEachRow(rs, sql, [&] {
        QString name;
        rs.GetFieldText(u"name"_s, name);
        names << name;
    });
    EXPECT_TRUE(ran) << sql.toStdString() << ": " << rs.GetLastError().toStdString();
    return names;
}

QString NameSearch(const QString& value)
{
    return u"SELECT * FROM client WHERE "_s + InitialsCondition(u"[name]"_s, value) +
           u" ORDER BY [name]"_s;
}

} // namespace

TEST(Pinyin, InitialsOfChineseLatinAndMixedNames)
{
    EXPECT_EQ(PinyinInitials(u"张三"_s), u"zs"_s);
    EXPECT_EQ(PinyinInitials(u"北京华达"_s), u"bjhd"_s);
    // A character read in the context of its word: 重 is "chong" in 重庆.
    EXPECT_EQ(PinyinInitials(u"重庆银行"_s), u"cqyx"_s);
    EXPECT_EQ(PinyinInitials(u"IBM中国"_s), u"ibmzg"_s);
    EXPECT_EQ(PinyinInitials(u"Zoë 公司"_s), u"zoegs"_s);
    EXPECT_EQ(PinyinInitials(u"Ａ公司（3号楼）"_s), u"agshl"_s);
    EXPECT_EQ(PinyinInitials(u"北京·华达"_s), u"bjhd"_s);
    EXPECT_EQ(PinyinInitials(u"2024"_s), QString());
    EXPECT_EQ(PinyinInitials(QString()), QString());

    EXPECT_TRUE(IsInitialsValue(u"zs"_s));
    EXPECT_TRUE(IsInitialsValue(u"BJhd"_s));
    for (const QString& value :
         {QString(), u"张s"_s, u"z s"_s, u"zs1"_s, u"ｚｓ"_s, u"z%"_s, u"z'"_s, u"zé"_s})
        EXPECT_FALSE(IsInitialsValue(value)) << value.toStdString();
}

TEST(Pinyin, ThreadsReadNamesAtTheSameTime)
{
    auto read = [] {
        QStringList initials;
        for (int i = 0; i < 50; ++i)
            initials << PinyinInitials(u"重庆银行"_s) << PinyinInitials(u"北京华达"_s);
        return initials;
    };
    auto other = std::async(std::launch::async, read);
    const QStringList here = read();
    const QStringList there = other.get();
    EXPECT_EQ(here, there);
    EXPECT_EQ(here.count(u"cqyx"_s), 50);
    EXPECT_EQ(here.count(u"bjhd"_s), 50);
}

TEST(Pinyin, ConnectionsFindNamesByTheirInitialsAndTheFileStaysPlain)
{
    TempDataFile file;
    file.Exec(u"INSERT INTO client (no, name) VALUES (1, '张三'), (2, '张三丰'), "
              "(3, '北京华达'), (4, 'Acme'), (5, NULL), (6, '赵四')"_s);
    const QString schema = file.QueryValue(u"SELECT group_concat(sql) FROM sqlite_master"_s);
    auto db = file.Open();

    EXPECT_EQ(Names(*db, NameSearch(u"zs"_s)), QStringList({u"张三"_s, u"张三丰"_s, u"赵四"_s}));
    EXPECT_EQ(Names(*db, NameSearch(u"ZSF"_s)), QStringList({u"张三丰"_s}));
    EXPECT_TRUE(Names(*db, NameSearch(u"zsx"_s)).isEmpty());
    EXPECT_EQ(Names(*db, NameSearch(u"bjhd"_s)), QStringList({u"北京华达"_s}));
    // Initials begin the name's: the middle of them finds nothing.
    EXPECT_TRUE(Names(*db, NameSearch(u"jhd"_s)).isEmpty());
    EXPECT_EQ(Names(*db, NameSearch(u"ac"_s)), QStringList({u"Acme"_s}));

    // A renamed client is read again under its new name, on the same connection.
    file.Exec(u"UPDATE client SET name = '李四' WHERE no = 1"_s);
    EXPECT_EQ(Names(*db, NameSearch(u"zs"_s)), QStringList({u"张三丰"_s, u"赵四"_s}));
    EXPECT_EQ(Names(*db, NameSearch(u"ls"_s)), QStringList({u"李四"_s}));

    // Nothing of the search is stored: the file reads the same in any SQLite program.
    EXPECT_EQ(file.QueryValue(u"SELECT group_concat(sql) FROM sqlite_master"_s), schema);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM client"_s), u"6"_s);
}

using PinyinSearch = DataTest;

// Names written by the program, renamed, or brought in past it are all found by their
// initials, on every backend.
TEST_P(PinyinSearch, NamesWrittenRenamedOrCopiedInAreFoundByTheirInitials)
{
    auto db = Open();
    {
        CADORecordset rs(db.get());
        ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s)) << rs.GetLastError().toStdString();
        for (const auto& [no, name] :
             {std::pair{1, u"张三"_s}, {2, u"北京华达"_s}, {3, u"Acme"_s}}) {
            ASSERT_TRUE(rs.AddNew());
            rs.SetFieldInt(u"no"_s, no);
            rs.SetFieldText(u"name"_s, name);
            ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
        }
        // What * selects is the program's columns alone.
        EXPECT_EQ(rs.GetFieldCount(), 23);
    }
    EXPECT_EQ(Names(*db, NameSearch(u"ZS"_s)), QStringList({u"张三"_s}));
    EXPECT_EQ(Names(*db, NameSearch(u"bjh"_s)), QStringList({u"北京华达"_s}));

    {
        CADORecordset rs(db.get());
        ASSERT_TRUE(rs.Open(u"SELECT * FROM client WHERE no = 1"_s));
        rs.Edit();
        rs.SetFieldText(u"name"_s, u"李四"_s);
        ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
    }
    EXPECT_TRUE(Names(*db, NameSearch(u"zs"_s)).isEmpty());
    EXPECT_EQ(Names(*db, NameSearch(u"ls"_s)), QStringList({u"李四"_s}));

    // Rows written past the recordsets (support/testdatabase.h fills their initials as the
    // program does for rows copied in).
    Exec(u"INSERT INTO client (no, name) VALUES (4, '赵四'); "
         "INSERT INTO address ([user], [group]) VALUES ('王五', '朋友')"_s);
    EXPECT_EQ(Names(*db, NameSearch(u"zs"_s)), QStringList({u"赵四"_s}));
    CADORecordset rs(db.get());
    ASSERT_TRUE(
        rs.Open(u"SELECT * FROM address WHERE "_s + InitialsCondition(u"[user]"_s, u"ww"_s)));
    EXPECT_EQ(rs.GetRecordCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(, PinyinSearch, EachBackend(), BackendName);
