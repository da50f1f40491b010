#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/jetsql.h"
#include "data/sqldialect.h"
#include "data/sqlite/sqlitedialect.h"
#include "support/datafixture.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {
// The translated statement with each parameter written back in place of its ?.
std::string Sql(const QString& jet, const QSet<QString>& nonText = {})
{
    const jetsql::Translation translation =
        jetsql::Translate(jet, vantrel::sqlite::Dialect(), nonText);
    QString sql;
    size_t next = 0;
    for (QChar c : translation.sql) {
        if (c != u'?') {
            sql += c;
            continue;
        }
        EXPECT_LT(next, translation.parameters.size());
        if (next >= translation.parameters.size())
            return {};
        const jetsql::Parameter& p = translation.parameters[next++];
        if (p.kind == jetsql::Parameter::Text)
            sql += u"'"_s + QString(p.text).replace(u"'"_s, u"''"_s) + u"'"_s;
        else if (p.kind == jetsql::Parameter::Integer)
            sql += u"int:"_s + QString::number(p.integer);
        else
            sql += u"real:"_s + QString::number(p.real);
    }
    EXPECT_EQ(next, translation.parameters.size());
    return sql.toStdString();
}

using JetSqlRecordset = DataTest;
} // namespace

TEST(JetSql, DateLiteralsBecomePaddedStoredText)
{
    EXPECT_EQ(
        Sql(u"SELECT * FROM notice WHERE [time] >= #2024-3-5 0:0:0# AND x < #2024-12-31 23:59:59#"_s),
        "SELECT rowid AS vantrel_rowid, * FROM notice WHERE \"time\" >= '2024-03-05 00:00:00' "
        "AND x < '2024-12-31 23:59:59'");
    EXPECT_EQ(Sql(u"SELECT a FROM t WHERE d >= #2024-2-1# AND e <= #2024-2-29 0:00:00#"_s),
              "SELECT a FROM t WHERE d >= '2024-02-01 00:00:00' AND e <= '2024-02-29 00:00:00'");
    // Not a date: left for the database to reject rather than guessed at.
    EXPECT_EQ(Sql(u"SELECT a FROM t WHERE d = #2024-2-30#"_s),
              "SELECT a FROM t WHERE d = #2024-2-30#");
}

TEST(JetSql, BracketsAndTableColumnNames)
{
    EXPECT_EQ(
        Sql(u"SELECT * FROM [group] WHERE [name] = 'a'"_s),
        "SELECT rowid AS vantrel_rowid, * FROM \"group\" WHERE (\"name\" = 'a' COLLATE NOCASE "
        "AND \"name\" BETWEEN 'A' AND 'a')");
    EXPECT_EQ(Sql(u"SELECT * FROM inputdata, inputdetail WHERE [inputdetail.date] >= 1"_s),
              "SELECT * FROM inputdata, inputdetail WHERE \"inputdetail\".\"date\" >= int:1");
}

TEST(JetSql, StringLiteralsAreNeverTouched)
{
    EXPECT_EQ(Sql(u"SELECT * FROM client WHERE [name] LIKE '%[x] #1-2-3# O''Brien ORDER BY y%'"_s),
              "SELECT rowid AS vantrel_rowid, * FROM client WHERE \"name\" LIKE "
              "'%[x] #1-2-3# O''Brien ORDER BY y%'");
}

TEST(JetSql, OrderByQuotesBareNamesAndSortsInCodePageOrder)
{
    EXPECT_EQ(Sql(u"SELECT * FROM [address] ORDER BY group, user"_s),
              "SELECT rowid AS vantrel_rowid, * FROM \"address\" ORDER BY \"group\" COLLATE GBK, "
              "\"user\" COLLATE GBK");
    EXPECT_EQ(Sql(u"SELECT * FROM inputdata ORDER BY date DESC, paper"_s),
              "SELECT rowid AS vantrel_rowid, * FROM inputdata ORDER BY \"date\" COLLATE GBK DESC, "
              "\"paper\" COLLATE GBK");
    EXPECT_EQ(Sql(u"SELECT * FROM a, b WHERE a.x = b.y ORDER BY b.date"_s),
              "SELECT * FROM a, b WHERE a.x = b.y COLLATE NOCASE ORDER BY \"b\".\"date\" COLLATE "
              "GBK");
    EXPECT_EQ(Sql(u"SELECT x FROM t ORDER BY [name] asc LIMIT 3"_s),
              "SELECT x FROM t ORDER BY \"name\" COLLATE GBK asc LIMIT 3");
    EXPECT_EQ(Sql(u"SELECT x FROM (SELECT x FROM t ORDER BY x) ORDER BY 1"_s),
              "SELECT x FROM (SELECT x FROM t ORDER BY \"x\" COLLATE GBK) ORDER BY 1 COLLATE GBK");
    // A term that is only a direction is left for SQLite to refuse.
    EXPECT_EQ(Sql(u"SELECT x FROM t ORDER BY name, DESC"_s),
              "SELECT x FROM t ORDER BY \"name\" COLLATE GBK, \"DESC\" COLLATE GBK");
}

TEST(JetSql, WhereValuesBecomeParametersElsewhereTheyStay)
{
    const jetsql::Translation a = jetsql::Translate(
        u"SELECT * FROM outputdetail WHERE [paper] = 12"_s, vantrel::sqlite::Dialect());
    const jetsql::Translation b = jetsql::Translate(
        u"SELECT * FROM outputdetail WHERE [paper] = 13"_s, vantrel::sqlite::Dialect());
    EXPECT_EQ(a.sql, b.sql); // one prepared statement serves both
    EXPECT_EQ(
        Sql(u"SELECT * FROM inputdata WHERE [sum] >= 1.500000 AND [sum] <= 2e3 ORDER BY 2 LIMIT 5"_s),
        "SELECT rowid AS vantrel_rowid, * FROM inputdata WHERE \"sum\" >= real:1.5 AND \"sum\" <= "
        "real:2000 ORDER BY 2 COLLATE GBK LIMIT 5");
    EXPECT_EQ(Sql(u"SELECT 'x', 3 FROM t1 WHERE c = 'it''s'"_s),
              "SELECT 'x', 3 FROM t1 WHERE (c = 'it''s' COLLATE NOCASE AND c BETWEEN 'IT''S' AND "
              "'it''s')");
    EXPECT_EQ(jetsql::Translate(u"SELECT 'x', 3 FROM t1"_s, vantrel::sqlite::Dialect()).sql,
              u"SELECT 'x', 3 FROM t1"_s);
    // A sign before a number is part of its value; a minus between two operands subtracts.
    EXPECT_EQ(Sql(u"SELECT * FROM t WHERE [no] <> -1 AND (+2 < a OR b IN (-3, - 4.5)) AND "
                  "c - 1 > -d"_s,
                  {u"no"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s}),
              "SELECT rowid AS vantrel_rowid, * FROM t WHERE \"no\" <> int:-1 AND (int:2 < a OR "
              "b IN (int:-3, real:-4.5)) AND c - int:1 > -d");
    // Columns that never hold text sort by their own order and can use their indexes.
    EXPECT_EQ(Sql(u"SELECT * FROM notice ORDER BY time DESC, content"_s, {u"time"_s}),
              "SELECT rowid AS vantrel_rowid, * FROM notice ORDER BY \"time\" DESC, \"content\" "
              "COLLATE GBK");
    // So do bracketed names, and names the query's one table holds as numbers.
    EXPECT_EQ(Sql(u"SELECT * FROM notice ORDER BY [time], [notice.no], no, content"_s,
                  {u"notice.time"_s, u"notice.no"_s}),
              "SELECT rowid AS vantrel_rowid, * FROM notice ORDER BY \"time\", \"notice\".\"no\", "
              "\"no\", \"content\" COLLATE GBK");
}

namespace {

// A backend unlike SQLite in every piece its dialect gives.
class MarkedDialect final : public vantrel::db::Dialect
{
public:
    QString RowIdentity() const override { return u"ident"_s; }
    QString ReturningRow() const override { return u" RETURNING ident, *"_s; }
    QString SameValue(const QString& column) const override { return column + u" SAME ?"_s; }
    QString HoldsBytes(const QString& column) const override { return column + u" IS BYTES"_s; }
    QString CaseBlind() const override { return u" /*ci*/"_s; }
    bool NarrowsCaseBlindEquality() const override { return false; }
    QString TextOrder(const QString& expression) const override
    {
        return expression + u" /*order*/"_s;
    }
    QString LikeEscape() const override { return u" /*no escape*/"_s; }
    QString NullOrder(bool descending) const override
    {
        return descending ? u" /*nulls last*/"_s : u" /*nulls first*/"_s;
    }
    QString DateLiteral(const QDate& date, const QTime& time) const override
    {
        return u"DATE<"_s + QDateTime(date, time).toString(u"yyyy-MM-dd hh:mm:ss"_s) + u'>';
    }
    QString InitialsOf(const QString& expression) const override
    {
        return u"initials_of("_s + expression + u')';
    }
    bool StoresInitials() const override { return false; }
    QString OrderedJoin() const override { return u"STRAIGHT JOIN"_s; }
    bool FoldsNames() const override { return true; }
};

} // namespace

TEST(JetSql, TakesEveryBackendDifferenceFromTheDialect)
{
    const MarkedDialect dialect;
    const jetsql::Translation search = jetsql::Translate(
        u"SELECT * FROM client WHERE [Name] = 'Ab' OR pinyin_initials([name]) LIKE 'zs%' "
        "ORDER BY \"Name\", client.No DESC"_s,
        dialect);
    EXPECT_EQ(
        search.sql.toStdString(),
        "SELECT ident AS vantrel_rowid, * FROM client WHERE \"name\" = ? /*ci*/ OR "
        "initials_of(\"name\") LIKE ? /*no escape*/ ORDER BY \"name\" /*order*/ /*nulls first*/, "
        "\"client\".\"no\" /*order*/ DESC /*nulls last*/");
    ASSERT_EQ(search.parameters.size(), 2u);
    EXPECT_EQ(search.parameters[0].text, u"Ab"_s);
    EXPECT_EQ(search.parameters[1].text, u"zs%"_s);
    EXPECT_EQ(jetsql::Translate(u"SELECT #2024-3-5 9:7:0# AS d FROM a CROSS  JOIN b"_s, dialect)
                  .sql.toStdString(),
              "SELECT DATE<2024-03-05 09:07:00> AS d FROM a STRAIGHT JOIN b");
}

TEST(JetSql, OnlySimpleSingleTableSelectsAreUpdatable)
{
    EXPECT_EQ(
        jetsql::Translate(u"SELECT * FROM client WHERE [no] = 3"_s, vantrel::sqlite::Dialect())
            .updatableTable,
        u"client"_s);
    EXPECT_EQ(
        jetsql::Translate(u"select * from [group]"_s, vantrel::sqlite::Dialect()).updatableTable,
        u"group"_s);
    EXPECT_TRUE(jetsql::Translate(u"SELECT * FROM a, b"_s, vantrel::sqlite::Dialect())
                    .updatableTable.isEmpty());
    EXPECT_TRUE(jetsql::Translate(u"SELECT name FROM client"_s, vantrel::sqlite::Dialect())
                    .updatableTable.isEmpty());
    EXPECT_TRUE(jetsql::Translate(u"SELECT * FROM a INNER JOIN b ON a.x = b.y"_s,
                                  vantrel::sqlite::Dialect())
                    .updatableTable.isEmpty());
}

// A sign before a number of the WHERE clause is part of its value: the server cannot take the
// sign of a value it is yet to be given.
TEST_P(JetSqlRecordset, SignedNumbersOfTheWhereClauseAreValues)
{
    Exec(u"INSERT INTO outputdata (no, paper, sum) VALUES (1, 'A', -3), (2, 'B', -2), "
         "(3, 'C', 0.5), (4, 'D', 20)"_s);
    auto db = Open();
    CADORecordset recordset(db.get());
    QStringList papers;
    EXPECT_TRUE(OpenEachRow(recordset,
                            u"SELECT * FROM outputdata WHERE [no] <> -1 AND [sum] > -2.5 AND "
                            "[sum] - 1 < 10 ORDER BY [no]"_s,
                            [&] {
                                QString paper;
                                recordset.GetFieldText(u"paper"_s, paper);
                                papers << paper;
                            }))
        << recordset.GetLastError().toStdString();
    EXPECT_EQ(papers, (QStringList{u"B"_s, u"C"_s}));
}

// Statements the dialogs write, mangled at random (a fixed seed, so every run tries the same
// ones): the translation never reads outside the text, and the database either answers or says
// why not. Run under the sanitizers, this finds what no hand-written case thought of.
TEST_P(JetSqlRecordset, MangledStatementsFailCleanly)
{
    auto db = Open();
    Exec(u"INSERT INTO client ([no], [name]) VALUES (1, '张三''s')"_s);
    const QStringList seeds = {
        u"SELECT * FROM client WHERE [name] LIKE '%a''b%' ORDER BY name"_s,
        u"SELECT * FROM outputdata WHERE date >= #2024-1-1 0:0:0# AND date <= "
        "#2024-12-31 23:59:59# ORDER BY date DESC"_s,
        u"SELECT client.name, linkman.name FROM client, linkman WHERE client.no = "
        "linkman.client ORDER BY [client.name]"_s,
        u"SELECT * FROM [address] WHERE [no] = 3 ORDER BY group, user"_s,
        u"SELECT * FROM linkman WHERE [client] = 12 AND name = '张三' OR number <> 'x'"_s,
    };
    const QString pieces = u"'\"[]#%_-.,;:()*=<> \nSELECTFROMWHEREORDERBYLIKEASCDESC0123张"_s;
    std::mt19937 random(20261208);
    int answered = 0;
    for (int round = 0; round < 10000; ++round) {
        QString sql = seeds[random() % seeds.size()];
        for (int edit = 0, edits = 1 + int(random() % 6); edit < edits; ++edit) {
            const qsizetype at = qsizetype(random() % (sql.size() + 1));
            const QChar piece = pieces[random() % pieces.size()];
            switch (random() % 4) {
            case 0:
                sql.insert(at, piece);
                break;
            case 1:
                sql.remove(at, 1 + random() % 5);
                break;
            case 2:
                if (at < sql.size())
                    sql[at] = piece;
                break;
            default:
                sql.truncate(at);
                break;
            }
        }
        CADORecordset recordset(db.get());
        if (recordset.Open(sql))
            ++answered;
        else
            ASSERT_FALSE(recordset.GetLastError().isEmpty()) << sql.toStdString();
    }
    EXPECT_GT(answered, 0);
}

INSTANTIATE_TEST_SUITE_P(, JetSqlRecordset, EachBackend(), BackendName);
