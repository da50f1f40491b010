#include "data/gbktext.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

TEST(GbkText, LengthCountsCodePageBytes)
{
    EXPECT_EQ(GbkLength(u"abc"_s), 3);
    EXPECT_EQ(GbkLength(u"张三"_s), 4);
    EXPECT_EQ(FromGbk(ToGbk(u"北京 Beijing"_s)), u"北京 Beijing"_s);
}

TEST(GbkText, ChineseSortsInPinyinOrderAndAsciiIgnoresCase)
{
    QStringList names{u"张三"_s, u"北京"_s, u"阿里"_s, u"陈东"_s, u"b"_s, u"A"_s, u"a2"_s};
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return CompareGbk(a, b) < 0; });
    EXPECT_EQ(names,
              (QStringList{u"A"_s, u"a2"_s, u"b"_s, u"阿里"_s, u"北京"_s, u"陈东"_s, u"张三"_s}));
    EXPECT_EQ(CompareGbk(u"abc"_s, u"ABC"_s), 0);
    EXPECT_LT(CompareGbk(u"ab"_s, u"abc"_s), 0);
    // The same order over the database's UTF-8, whatever the texts share at their start.
    auto utf8 = [](const QString& x, const QString& y) {
        const QByteArray a = x.toUtf8();
        const QByteArray b = y.toUtf8();
        return CompareGbkUtf8(a.constData(), int(a.size()), b.constData(), int(b.size()));
    };
    EXPECT_EQ(utf8(u"中国a"_s, u"中国A"_s), 0);
    EXPECT_LT(utf8(u"中国a"_s, u"中国B"_s), 0);
    EXPECT_LT(utf8(u"中国"_s, u"中国人"_s), 0);
    EXPECT_GT(utf8(u"北京饭店"_s, u"北京"_s), 0);
    EXPECT_LT(utf8(u"张a"_s, u"张三"_s), 0);      // ASCII before Chinese
    EXPECT_GT(utf8(u"\U0001F600"_s, u"张"_s), 0); // outside the code page: last
    const QByteArray a = u"北京"_s.toUtf8();
    const QByteArray b = u"阿里"_s.toUtf8();
    EXPECT_GT(CompareGbkUtf8(a.constData(), int(a.size()), b.constData(), int(b.size())), 0);
}
