#include "views/clientnames.h"

#include <QCollator>
#include <QLocale>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace Qt::StringLiterals;

namespace {

// The order a Chinese reader looks names up in, by the collation itself.
QStringList CollatedOrder(QStringList names)
{
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    return names;
}

} // namespace

// Order numbers of letters, digits, blanks and '-' take a shorter way to the same order as
// names with Chinese characters take; equal names keep their places.
TEST(SortNames, PlainOrderNumbersSortAsTheCollationSortsThem)
{
    std::mt19937 random(5);
    const QString alphabet = u"09azAZ -"_s;
    QStringList plain;
    for (int i = 0; i < 3000; ++i) {
        QString name;
        const int length = 1 + int(random() % 6);
        for (int c = 0; c < length; ++c)
            name += alphabet[qsizetype(random() % alphabet.size())];
        plain << name;
    }
    plain << u"XS-2024-0010"_s << u"xs-2024-0009"_s << u"XS 2024"_s << u"XS2024"_s;
    QStringList sorted = plain;
    SortNames(sorted);
    EXPECT_EQ(sorted, CollatedOrder(plain));
    // Equal but for their case, in the order given.
    QStringList same{u"xs-1"_s, u"XS-1"_s, u"Xs-1"_s, u"XS-0"_s};
    SortNames(same);
    EXPECT_EQ(same, QStringList({u"XS-0"_s, u"xs-1"_s, u"XS-1"_s, u"Xs-1"_s}));
}
