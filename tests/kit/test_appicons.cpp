#include "kit/appicons.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <set>

namespace {

// The positions the navigation bar's items use, folder by folder.
const std::set<int> kUsedNavigationPositions = {
    13, 1,  2,  3, 6, 7, 4, 17, 5, 15,                         // 查询搜索
    13, 0,  1,  2, 3, 6, 7, 6,  7, 18, 18, 15, 16, 16, 16, 16, // 资料管理
    14, 14,                                                    // 实用查询
    8,  10, 11,                                                // 帮助
};

// A real picture: some transparent and some drawn pixels, and more than one colour drawn.
void ExpectDrawn(const QPixmap& pixmap, int size, const char* what)
{
    SCOPED_TRACE(what);
    ASSERT_FALSE(pixmap.isNull());
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image.size(), QSize(size, size));
    std::set<QRgb> colours;
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 200) {
                ++opaque;
                colours.insert(pixel | 0xFF000000u);
            }
        }
    }
    EXPECT_GT(opaque, size * size / 8) << "almost nothing drawn";
    EXPECT_LT(opaque, size * size) << "a filled square, not an icon";
    EXPECT_GT(colours.size(), 8u) << "a flat picture";
}

} // namespace

TEST(AppIcons, EveryNavigationItemHasADrawnIconInEachSize)
{
    for (int position = 0; position < kNavigationIconCount; ++position) {
        const QIcon icon = NavigationIcon(position);
        const std::string what = "navigation position " + std::to_string(position);
        ASSERT_FALSE(icon.isNull()) << what;
        if (!kUsedNavigationPositions.contains(position))
            continue;
        ExpectDrawn(icon.pixmap(32, 32), 32, what.c_str());
        ExpectDrawn(icon.pixmap(16, 16), 16, what.c_str());
        EXPECT_TRUE(icon.availableSizes().contains(QSize(64, 64))) << what;
    }
}

TEST(AppIcons, NavigationMeaningsHaveTheirOwnPictures)
{
    // Items that mean different things must not look alike: compare the 32 x 32 pixels.
    std::set<QByteArray> pictures;
    for (const int position : kUsedNavigationPositions) {
        const QImage image = NavigationIcon(position).pixmap(32, 32).toImage();
        pictures.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(pictures.size(), kUsedNavigationPositions.size());
}

TEST(AppIcons, PositionsOutsideTheListsGiveNoIcon)
{
    EXPECT_TRUE(NavigationIcon(-1).isNull());
    EXPECT_TRUE(NavigationIcon(kNavigationIconCount).isNull());
    EXPECT_TRUE(ListIcon(-1).isNull());
    EXPECT_TRUE(ListIcon(kListIconCount).isNull());
}

TEST(AppIcons, ListAndProgramIconsAreDrawn)
{
    for (int position = 0; position < kListIconCount; ++position)
        ExpectDrawn(ListIcon(position).pixmap(16, 16), 16, "list icon");
    const QIcon program = ProgramIcon();
    for (const int size : {16, 32, 48, 64, 128})
        ExpectDrawn(program.pixmap(size, size), size, "program icon");
}
