#include "data/citycodes.h"
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

// The build's reference file takes the rows of the files, its cities with their city-wide
// postcodes and a municipality with a row of its own; a file with other columns, or a city
// table that disagrees with the places, is refused before anything is written.
TEST(ReferenceData, FillsTheReferenceTables)
{
    TempDataFile folder;
    const ReferenceSources sources{folder.Dir() + u"/d.csv"_s, folder.Dir() + u"/c.csv"_s,
                                   folder.Dir() + u"/i.csv"_s, folder.Dir() + u"/s.csv"_s};
    Write(sources.domestic,
          "省份,城市,邮编,区号\n广东省,深圳市,518027,0755\n北京市,海淀区,100080,010\n");
    Write(sources.cities, "省份,城市,邮编,依据,下辖,例外,说明\n广东省,深圳市,519000,公布,,,\n"
                          "北京市,北京市,100000,公布,海淀区,,直辖市\n");
    Write(sources.international, "洲,国家,区号\n亚洲,日本,81\n");
    Write(sources.services, "名称,号码,说明\n中国联通客服,10010,\n");
    const QString path = folder.Dir() + u"/data.db"_s;
    ASSERT_TRUE(CreateReferenceFile(path));

    QString error;
    EXPECT_FALSE(FillReferenceFile(path, sources, &error));
    EXPECT_TRUE(error.contains(u"i.csv"_s)) << error.toStdString();
    Write(sources.international, "洲,国家及地区,区号\r\n亚洲,日本,81\r\n");
    EXPECT_FALSE(FillReferenceFile(path, sources, &error));
    EXPECT_TRUE(error.contains(u"深圳市 518027 does not share the first 3 digits of 519000"_s))
        << error.toStdString();
    EXPECT_EQ(Query(path, "SELECT count(*) FROM section1"), u"0"_s);
    EXPECT_EQ(Query(path, "SELECT count(*) FROM section2"), u"0"_s);

    Write(sources.cities, "省份,城市,邮编,依据,下辖,例外,说明\n广东省,深圳市,518000,公布,,,\n"
                          "北京市,北京市,100000,公布,海淀区,,直辖市\n");
    ASSERT_TRUE(FillReferenceFile(path, sources, &error)) << error.toStdString();
    EXPECT_EQ(Query(path, "SELECT group_concat(province || city || zip || sections) FROM section1"),
              u"广东省深圳市5180000755,北京市北京市100000010,北京市海淀区100080010"_s);
    EXPECT_EQ(Query(path, "SELECT continent || country || sections FROM section2"),
              u"亚洲日本81"_s);
    EXPECT_EQ(Query(path, "SELECT name || number || quote(remark) FROM service"),
              u"中国联通客服10010NULL"_s);
}

// The faults of a city table against a few places of 河北省 and 北京市, one line each.
std::string CityFaults(const char* cities)
{
    const std::optional<CsvTable> places = ParseCsv(
        u"省份,城市,邮编,区号\n河北省,保定市,071052,0312\n河北省,涿州市,072750,0312\n"
        "河北省,安国市,071200,0312\n北京市,海淀区,100080,010\n北京市,顺义区,101300,010\n"_s);
    const std::optional<CsvTable> table =
        ParseCsv(u"省份,城市,邮编,依据,下辖,例外,说明\n"_s + QString::fromUtf8(cities));
    if (!places || !table)
        return "<not parsed>";
    return CheckCityCodes(*places, *table).join(u'\n').toStdString();
}

// The shipped table covers every place and agrees with it; each kind of disagreement is found.
TEST(ReferenceData, CityCodesAgreeWithTheirPlaces)
{
    const QString folder = QString::fromUtf8(VANTREL_REFDATA_DIR);
    QString error;
    const std::optional<CsvTable> domestic = ReadCsv(folder + u"/domestic.csv"_s, &error);
    const std::optional<CsvTable> cities = ReadCsv(folder + u"/citycodes.csv"_s, &error);
    ASSERT_TRUE(domestic && cities) << error.toStdString();
    EXPECT_EQ(CheckCityCodes(*domestic, *cities), QStringList());
    // 333 prefecture-level divisions and the four municipalities.
    QHash<QString, QString> codes;
    for (const QStringList& row : cities->rows)
        if (!row[1].isEmpty())
            codes.insert(row[1], row[2]);
    EXPECT_EQ(codes.size(), 337);
    EXPECT_EQ(codes.value(u"广州市"_s), u"510000"_s);
    EXPECT_EQ(codes.value(u"深圳市"_s), u"518000"_s);
    EXPECT_EQ(codes.value(u"南京市"_s), u"210000"_s);
    EXPECT_EQ(codes.value(u"杭州市"_s), u"310000"_s);
    EXPECT_EQ(codes.value(u"成都市"_s), u"610000"_s);
    EXPECT_EQ(codes.value(u"武汉市"_s), u"430000"_s);
    EXPECT_EQ(codes.value(u"重庆市"_s), u"400000"_s);

    const char* agreeing = "河北省,保定市,071000,推导,涿州市、安国市,涿州市,另一邮区\n"
                           "北京市,北京市,100000,公布,海淀区、顺义区,,直辖市\n";
    EXPECT_EQ(CityFaults(agreeing), "");
    EXPECT_EQ(CityFaults("河北省,保定市,071000,公布,涿州市、安国市,,\n"
                         "北京市,北京市,200000,公布,海淀区、顺义区,,直辖市\n"),
              "citycodes.csv line 2 (河北省 保定市): 涿州市 072750 does not share the first 3 "
              "digits of 071000\n"
              "citycodes.csv line 3 (北京市 北京市): 海淀区 100080 does not share the first 2 "
              "digits of 200000\n"
              "citycodes.csv line 3 (北京市 北京市): 顺义区 101300 does not share the first 2 "
              "digits of 200000");
    EXPECT_EQ(CityFaults("河北省,保定市,071000,公布,涿州市,涿州市、安国市,\n"
                         "北京市,北京市,100000,公布,海淀区、顺义区,,直辖市\n"),
              "citycodes.csv line 2 (河北省 保定市): the exception 安国市 is neither the city "
              "nor one of its places\n"
              "citycodes.csv line 2 (河北省 保定市): exceptions without a reason\n"
              "citycodes.csv: 河北省 安国市 belongs to no city");
    EXPECT_EQ(
        CityFaults("河北省,保定市,071100,推导,涿州市、安国市、定州市,涿州市、安国市,另一邮区\n"
                   "北京市,北京市,10000,公布,海淀区、顺义区、海淀区,,直辖市\n"),
        "citycodes.csv line 2 (河北省 保定市): domestic.csv has no place 定州市 in the "
        "province\n"
        "citycodes.csv line 2 (河北省 保定市): a derived code must be the first four "
        "digits of the city's own code followed by 00\n"
        "citycodes.csv line 2 (河北省 保定市): 安国市 071200 is listed as an exception but "
        "agrees\n"
        "citycodes.csv line 3 (北京市 北京市): the postcode \"10000\" is not six digits\n"
        "citycodes.csv: 北京市 海淀区 is named 2 times");
    EXPECT_EQ(CityFaults("河北省,廊坊市,065000,公布,,,\n"
                         "北京市,,,,海淀区、顺义区,,\n"),
              "citycodes.csv line 2 (河北省 廊坊市): domestic.csv has no such place\n"
              "citycodes.csv line 2 (河北省 廊坊市): a city without a row of its own must list "
              "its districts\n"
              "citycodes.csv line 3 (北京市 ): a row without a city must name its places and say "
              "why\n"
              "citycodes.csv: 河北省 保定市 belongs to no city\n"
              "citycodes.csv: 河北省 涿州市 belongs to no city\n"
              "citycodes.csv: 河北省 安国市 belongs to no city");
}

} // namespace
