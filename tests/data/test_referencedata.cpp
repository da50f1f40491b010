#include "data/referencedata.h"
#include "data/schema.h"
#include "support/tempdata.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

void Write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

QString Query(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    QString value = u"<error>"_s;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return value;
}

TEST(ReferenceData, CsvFieldsLinesAndQuotes)
{
    const std::optional<CsvTable> table = ParseCsv(
        u"\uFEFF名称,号码,说明\r\n匪警,110,公安报警\r\n\r\n\"银行, 总行\",95588,\"说 \"\"一\"\"\"\n"
        "中国移动客服,10086,\n"_s);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->header, (QStringList{u"名称"_s, u"号码"_s, u"说明"_s}));
    ASSERT_EQ(table->rows.size(), 3u);
    EXPECT_EQ(table->rows[0], (QStringList{u"匪警"_s, u"110"_s, u"公安报警"_s}));
    EXPECT_EQ(table->rows[1], (QStringList{u"银行, 总行"_s, u"95588"_s, u"说 \"一\""_s}));
    EXPECT_EQ(table->rows[2], (QStringList{u"中国移动客服"_s, u"10086"_s, QString()}));

    QString error;
    EXPECT_FALSE(ParseCsv(u"a,b\n1,2,3\n"_s, &error));
    EXPECT_TRUE(error.contains(u"row 1"_s)) << error.toStdString();
    EXPECT_FALSE(ParseCsv(u"a,b\n\"1,2\n"_s, &error));
    EXPECT_FALSE(ParseCsv(QString(), &error));
}

// The build's reference file takes the rows of the three files; a file with other columns is
// refused before anything is written.
TEST(ReferenceData, FillsTheReferenceTables)
{
    TempDataFile folder;
    const ReferenceSources sources{folder.Dir() + u"/d.csv"_s, folder.Dir() + u"/i.csv"_s,
                                   folder.Dir() + u"/s.csv"_s};
    Write(sources.domestic,
          "省份,城市,邮编,区号\n广东省,深圳市,518027,0755\n北京市,海淀区,100080,010\n");
    Write(sources.international, "洲,国家及地区,区号\r\n亚洲,日本,81\r\n");
    Write(sources.services, "名称,号码,说明\n中国联通客服,10010,\n");
    const QString path = folder.Dir() + u"/data.db"_s;
    ASSERT_TRUE(CreateReferenceFile(path));

    Write(sources.international, "洲,国家,区号\n亚洲,日本,81\n");
    QString error;
    EXPECT_FALSE(FillReferenceFile(path, sources, &error));
    EXPECT_TRUE(error.contains(u"i.csv"_s)) << error.toStdString();
    EXPECT_EQ(Query(path, "SELECT count(*) FROM section1"), u"0"_s);

    Write(sources.international, "洲,国家及地区,区号\r\n亚洲,日本,81\r\n");
    ASSERT_TRUE(FillReferenceFile(path, sources, &error)) << error.toStdString();
    EXPECT_EQ(Query(path, "SELECT group_concat(city || zip || sections) FROM section1"),
              u"深圳市5180270755,海淀区100080010"_s);
    EXPECT_EQ(Query(path, "SELECT continent || country || sections FROM section2"),
              u"亚洲日本81"_s);
    EXPECT_EQ(Query(path, "SELECT name || number || quote(remark) FROM service"),
              u"中国联通客服10010NULL"_s);
}

} // namespace
