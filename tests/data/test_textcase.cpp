// Text compared as Jet compares it: =, <> and IN without regard to the case of ASCII letters,
// while numbers, dates and columns without text keep their plain comparisons and indexes.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/jetsql.h"
#include "data/sqlite/sqlitedialect.h"
#include "support/datafixture.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
const QSet<QString> kNonText = {u"no"_s, u"date"_s, u"linkman.client"_s};

// The translated statement with its text parameters written back in place of their ?.
std::string Sql(const QString& jet)
{
    const jetsql::Translation translation =
        jetsql::Translate(jet, vantrel::sqlite::Dialect(), kNonText);
    QString sql = translation.sql;
    for (const jetsql::Parameter& p : translation.parameters) {
        const QString value = p.kind == jetsql::Parameter::Text
                                  ? u"'"_s + QString(p.text).replace(u"'"_s, u"''"_s) + u"'"_s
                                  : QString::number(p.integer);
        sql.replace(sql.indexOf(u'?'), 1, value);
    }
    return sql.toStdString();
}

// One column of every row a statement returns, sorted, joined with '|'.
QString Column(CADODatabase& db, const QString& sql, const QString& field = u"name"_s)
{
    CADORecordset rs(&db);
    QStringList values;
    EXPECT_TRUE(OpenEachRow(rs, sql, [&] {
        QString value;
        rs.GetFieldText(field, value);
        values << value;
    })) << rs.GetLastError().toStdString();
    values.sort();
    return values.join(u'|');
}

using TextCaseQueries = DataTest;
} // namespace

TEST(TextCase, TextComparisonsBecomeCaseBlind)
{
    // An equality with a text also searches the range of its spellings (ASCII letters only).
    EXPECT_EQ(Sql(u"SELECT a FROM t WHERE [n] = 'O''Brien Ä' OR NOT (t.m == 'x')"_s),
              "SELECT a FROM t WHERE (\"n\" = 'O''Brien Ä' COLLATE NOCASE AND \"n\" BETWEEN "
              "'O''BRIEN Ä' AND 'o''brien Ä') OR NOT ((t.m == 'x' COLLATE NOCASE AND t.m BETWEEN "
              "'X' AND 'x'))");
    EXPECT_EQ(Sql(u"SELECT a FROM t WHERE b <> 'x' AND c != d AND [e] IN ('y', 1) AND f NOT IN "
                  "(SELECT g FROM u)"_s),
              "SELECT a FROM t WHERE b <> 'x' COLLATE NOCASE AND c != d COLLATE NOCASE AND \"e\" "
              "COLLATE NOCASE IN ('y', 1) AND f COLLATE NOCASE NOT IN (SELECT g FROM u)");
    // Joins on text; outside WHERE the bounds stay literals. ORDER BY keeps its collation.
    EXPECT_EQ(Sql(u"SELECT * FROM a INNER JOIN b ON a.x = b.y AND a.k = 'Vv' ORDER BY a.k"_s),
              "SELECT * FROM a INNER JOIN b ON a.x = b.y COLLATE NOCASE AND (a.k = 'Vv' COLLATE "
              "NOCASE AND a.k BETWEEN 'VV' AND 'vv') ORDER BY \"a\".\"k\" COLLATE GBK");
    // One side an expression: the other side takes the collation.
    EXPECT_EQ(Sql(u"SELECT a FROM t WHERE b = upper(c) AND 'x' || d = e"_s),
              "SELECT a FROM t WHERE b COLLATE NOCASE = upper(c) AND 'x' || d = e COLLATE NOCASE");
}

TEST(TextCase, OtherComparisonsStayAsWritten)
{
    for (const QString& jet : {
             u"SELECT a FROM t WHERE [no] = 5 AND x = -1 AND y <> 2.5 AND z = NULL AND w = ?"_s,
             u"SELECT a FROM t WHERE [date] = #2024-3-5# AND 'x' <> no AND rowid = c"_s,
             u"SELECT * FROM client, linkman WHERE client.no = [linkman.client] AND b IN (1, -2)"_s,
             u"SELECT a FROM t WHERE b LIKE 'A%' AND b >= 'a' AND c < 'B' AND d <= 'c'"_s,
             u"SELECT a FROM t WHERE b = 'A' COLLATE BINARY AND (b || c) = upper(d)"_s,
             u"SELECT a FROM t WHERE b LIKE 'x = ''y'' <> z IN (w)'"_s,
         }) {
        const std::string sql =
            jetsql::Translate(jet, vantrel::sqlite::Dialect(), kNonText).sql.toStdString();
        EXPECT_EQ(sql.find("NOCASE"), std::string::npos) << sql;
    }
}

TEST_P(TextCaseQueries, RowsFoundAndIndexesUsed)
{
    Exec(u"INSERT INTO client (no, name, number) VALUES (1, 'abc', 'Ä'), (2, 'ABC', 'ä'), "
         "(3, 'Abd', 'ｎ'), (4, 'abcd', 'N'), (5, 'AbC ', 'n')"_s);
    Exec(u"INSERT INTO outputdata (no, paper, client) VALUES (10, 'XS-1', 'Abc')"_s);
    Exec(u"INSERT INTO outputdetail (no, paper) VALUES (20, 10), (21, 11)"_s);
    auto db = Open();
    // Every spelling and nothing else: not a longer name, not one between the bounds ('Abd').
    EXPECT_EQ(Column(*db, u"SELECT * FROM client WHERE [name] = 'aBc'"_s), u"ABC|abc"_s);
    // Letters beyond ASCII keep their case: Ä is not ä, full-width ｎ not n.
    EXPECT_EQ(Column(*db, u"SELECT * FROM client WHERE [number] = 'ä' OR number = 'n'"_s),
              u"ABC|AbC |abcd"_s);
    EXPECT_EQ(Column(*db, u"SELECT * FROM client WHERE [name] <> 'ABC' AND [no] < 5"_s),
              u"Abd|abcd"_s);
    EXPECT_EQ(Column(*db, u"SELECT * FROM client WHERE [name] IN ('ABD', 'abcD')"_s),
              u"Abd|abcd"_s);
    EXPECT_EQ(Column(*db, u"SELECT * FROM client WHERE [name] LIKE 'ab_'"_s), u"ABC|Abd|abc"_s);
    EXPECT_EQ(Column(*db, u"SELECT client.name AS name FROM client, outputdata, outputdetail "
                          "WHERE client.name = outputdata.client AND outputdata.paper = 'xs-1' "
                          "AND outputdata.no = outputdetail.paper"_s),
              u"ABC|abc"_s);

    // How SQLite finds the rows; the server plans for itself.
    if (QLatin1StringView(GetParam().name) != "sqlite"_L1)
        return;
    const auto plan = [&](const QString& sql) {
        return Column(*db, u"EXPLAIN QUERY PLAN "_s + sql, u"detail"_s);
    };
    EXPECT_TRUE(plan(u"SELECT * FROM outputdetail WHERE [paper] = 12"_s)
                    .contains(u"USING INDEX outputdetail_paper (paper=?)"_s));
    EXPECT_TRUE(plan(u"SELECT * FROM outputdata, outputdetail WHERE outputdata.paper = 'x' AND "
                     "outputdata.no = outputdetail.paper"_s)
                    .contains(u"USING INDEX outputdetail_paper (paper=?)"_s));
    EXPECT_TRUE(plan(u"SELECT * FROM client WHERE [name] = 'x'"_s)
                    .contains(u"USING INDEX client_name (name>? AND name<?)"_s));
}

INSTANTIATE_TEST_SUITE_P(, TextCaseQueries, EachBackend(), BackendName);
