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
    const QByteArray a = u"北京"_s.toUtf8();
    const QByteArray b = u"阿里"_s.toUtf8();
    EXPECT_GT(CompareGbkUtf8(a.constData(), int(a.size()), b.constData(), int(b.size())), 0);
}
