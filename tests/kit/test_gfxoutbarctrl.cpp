#include "kit/gfxoutbarctrl.h"
#include "kit/skinengine.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct SEntry
{
    int folder;
    const char16_t* text;
    int icon;
};

// The main frame's navigation content.
const char16_t* const kFolders[] = {u"查询搜索", u"资料管理", u"实用查询", u"帮助"};
const SEntry kItems[] = {
    {0, u"客户", 13},     {0, u"约会", 1},      {0, u"便笺", 2},      {0, u"提醒", 3},
    {0, u"采购", 6},      {0, u"销售", 7},      {0, u"查找", 4},      {0, u"统计", 17},
    {0, u"导出", 5},      {0, u"通讯录", 15},   {1, u"客户", 13},     {1, u"联系人", 0},
    {1, u"约会", 1},      {1, u"便笺", 2},      {1, u"提醒", 3},      {1, u"采购单", 6},
    {1, u"销售单", 7},    {1, u"采购明细", 6},  {1, u"销售明细", 7},  {1, u"原材料资料", 18},
    {1, u"产品资料", 18}, {1, u"通讯录", 15},   {1, u"分类属性", 16}, {1, u"权限分配", 16},
    {1, u"修改密码", 16}, {1, u"设置", 16},     {2, u"邮编区号", 14}, {2, u"常用电话", 14},
    {3, u"帮助", 8},      {3, u"访问我站", 10}, {3, u"给我来信", 11},
};

QColor IconColour(int index)
{
    return QColor::fromHsv((index * 37) % 360, 200, 200).toRgb();
}

// Colours compared as the 8-bit pixels the image holds.
QRgb Pixel(const QImage& image, const QPoint& point)
{
    return image.pixel(point) | 0xff000000u;
}

QRgb Rgb(const QColor& colour)
{
    return colour.rgb() | 0xff000000u;
}

COutBarImageList MakeIcons(int side)
{
    COutBarImageList list(QSize(side, side));
    for (int i = 0; i < 19; ++i) {
        QPixmap pixmap(side, side);
        pixmap.fill(IconColour(i));
        list.Add(QIcon(pixmap));
    }
    return list;
}

QString ShippedSkin(const QString& fileName)
{
    return QString::fromUtf8(VANTREL_SOURCE_DIR "/src/res/skin/") + fileName;
}

class OutBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window.resize(130, 400);
        auto* layout = new QVBoxLayout(&m_window);
        layout->setContentsMargins(0, 0, 0, 0);
        // Plain look unless a test loads a skin.
        m_bar = new CGfxOutBarCtrl(&m_window, CGfxOutBarCtrl::kMainFrameFlags, &m_engine);
        layout->addWidget(m_bar);
        m_bar->SetImageList(MakeIcons(32), CGfxOutBarCtrl::kLargeImageList);
        m_bar->SetAnimationDelay(-1);
        for (const char16_t* name : kFolders)
            m_bar->AddFolder(QString::fromUtf16(name));
        for (const SEntry& entry : kItems)
            m_bar->InsertItem(entry.folder, -1, QString::fromUtf16(entry.text), entry.icon);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        ASSERT_EQ(m_bar->size(), QSize(130, 400));
    }

    QImage Grab() const { return m_bar->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QPoint IconCentre(int item) const { return m_bar->Geometry().ItemRects(item)->icon.center(); }
    QPoint HeaderCentre(int folder) const { return m_bar->Geometry().FolderRect(folder).center(); }
    void Click(const QPoint& point) { QTest::mouseClick(m_bar, Qt::LeftButton, {}, point); }
    void OpenNow(int folder)
    {
        m_bar->OpenFolder(folder);
        ASSERT_EQ(m_bar->OpenFolderIndex(), folder);
    }
    QStringList Texts(int folder) const
    {
        QStringList texts;
        for (int i = 0; i < m_bar->ItemCount(folder); ++i)
            texts << m_bar->ItemText(folder, i);
        return texts;
    }

    CSkinEngine m_engine;
    QWidget m_window;
    CGfxOutBarCtrl* m_bar = nullptr;
};

} // namespace

TEST_F(OutBarTest, HoldsTheMainFrameContent)
{
    EXPECT_EQ(m_bar->FolderCount(), 4);
    EXPECT_EQ(m_bar->FolderName(1), u"资料管理"_s);
    EXPECT_EQ(m_bar->ItemCount(0), 10);
    EXPECT_EQ(m_bar->ItemCount(1), 16);
    EXPECT_EQ(m_bar->ItemCount(2), 2);
    EXPECT_EQ(m_bar->ItemCount(3), 3);
    EXPECT_EQ(m_bar->ItemText(1, 9), u"原材料资料"_s);
    EXPECT_EQ(m_bar->ItemImage(0, 7), 17);
    EXPECT_EQ(m_bar->InsertItem(7, 0, u"x"_s), -1);
    EXPECT_EQ(m_bar->InsertItem(2, 99, u"末尾"_s), 2);
    EXPECT_EQ(m_bar->InsertItem(2, 0, u"开头"_s), 0);
    EXPECT_EQ(Texts(2), (QStringList{u"开头"_s, u"邮编区号"_s, u"常用电话"_s, u"末尾"_s}));

    // Every visible item of the first folder reports its own index.
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    const COutBarGeometry geometry = m_bar->Geometry();
    const int visible = geometry.LastFullyVisibleItem() + 1;
    ASSERT_GE(visible, 4);
    for (int i = 0; i < visible; ++i)
        Click(IconCentre(i));
    ASSERT_EQ(notify.count(), visible);
    for (int i = 0; i < visible; ++i) {
        EXPECT_EQ(notify[i][0].toInt(), CGfxOutBarCtrl::kNotifyItemClicked);
        EXPECT_EQ(notify[i][1].toInt(), i);
    }
    EXPECT_EQ(m_bar->LastClickedItem(), visible - 1);
}

TEST_F(OutBarTest, GeometryAndHitTestInLargeIconMode)
{
    COutBarGeometry g = m_bar->Geometry();
    EXPECT_EQ(g.FolderRect(0), QRect(0, -1, 130, 22));
    EXPECT_EQ(g.FolderRect(1), QRect(0, 400 - 66, 130, 22));
    EXPECT_EQ(g.FolderRect(3), QRect(0, 378, 130, 22));
    EXPECT_TRUE(g.FolderRect(4).isNull());
    EXPECT_EQ(g.ItemArea(), QRect(0, 21, 130, 400 - 21 - 66));

    const SOutBarItemRects first = *g.ItemRects(0);
    EXPECT_EQ(first.icon, QRect(49, 26, 32, 32));
    EXPECT_EQ(first.label.top(), 26 + 32 + 3);
    EXPECT_NEAR(first.label.center().x(), 65, 1);
    const SOutBarItemRects second = *g.ItemRects(1);
    EXPECT_EQ(second.icon.top(), first.box.bottom() + 1 + 8);
    EXPECT_FALSE(g.ItemRects(10));

    EXPECT_EQ(g.HitTest(first.icon.center()), (SOutBarHit{SOutBarHit::Item, 0}));
    EXPECT_EQ(g.HitTest(first.label.center()), (SOutBarHit{SOutBarHit::Item, 0}));
    EXPECT_EQ(g.HitTest(QPoint(65, first.label.top() - 2)), (SOutBarHit{SOutBarHit::Item, 0}));
    EXPECT_EQ(g.HitTest(QPoint(3, first.icon.center().y())), SOutBarHit{});
    EXPECT_EQ(g.HitTest(QPoint(65, second.icon.top() - 2)), SOutBarHit{});
    EXPECT_EQ(g.HitTest(QPoint(10, 5)), (SOutBarHit{SOutBarHit::Folder, 0}));
    EXPECT_EQ(g.HitTest(QPoint(10, 390)), (SOutBarHit{SOutBarHit::Folder, 3}));
    EXPECT_EQ(g.HitTest(second.icon.center()), (SOutBarHit{SOutBarHit::Item, 1}));

    // With folder 2 open, folders 0 to 2 stack at the top and folder 3 alone at the bottom.
    OpenNow(2);
    g = m_bar->Geometry();
    EXPECT_EQ(g.FolderRect(1), QRect(0, 21, 130, 22));
    EXPECT_EQ(g.FolderRect(2), QRect(0, 43, 130, 22));
    EXPECT_EQ(g.FolderRect(3), QRect(0, 378, 130, 22));
    EXPECT_EQ(g.ItemArea(), QRect(0, 65, 130, 378 - 65));
    EXPECT_EQ(g.ItemRects(0)->icon.topLeft(), QPoint(49, 70));
    EXPECT_EQ(m_bar->HitTest(g.ItemRects(1)->icon.center()), (SOutBarHit{SOutBarHit::Item, 1}));
    EXPECT_EQ(m_bar->HitTest(QPoint(65, 300)), SOutBarHit{});
}

TEST_F(OutBarTest, GeometryAndHitTestInSmallIconMode)
{
    m_bar->SetFlags(m_bar->Flags() | CGfxOutBarCtrl::kSmallIcons);
    m_bar->SetImageList(MakeIcons(16), CGfxOutBarCtrl::kSmallImageList);
    const COutBarGeometry g = m_bar->Geometry();
    const QFontMetrics metrics(m_bar->font());
    const int height = std::max(16, metrics.height());
    const int labelWidth = metrics.horizontalAdvance(u"客户"_s);

    const SOutBarItemRects first = *g.ItemRects(0);
    EXPECT_EQ(first.box, QRect(5, 26, 2 + 16 + 4 + labelWidth, height));
    EXPECT_EQ(first.icon, QRect(7, 26 + (height - 16) / 2, 16, 16));
    EXPECT_EQ(first.label.left(), 7 + 16 + 4);
    const SOutBarItemRects second = *g.ItemRects(1);
    EXPECT_EQ(second.box.top(), first.box.bottom() + 1 + 10);

    // The whole box hits, also between icon and label; right of it nothing does.
    EXPECT_EQ(g.HitTest(QPoint(first.icon.right() + 2, first.box.center().y())),
              (SOutBarHit{SOutBarHit::Item, 0}));
    EXPECT_EQ(g.HitTest(first.label.center()), (SOutBarHit{SOutBarHit::Item, 0}));
    EXPECT_EQ(g.HitTest(QPoint(first.box.right() + 3, first.box.center().y())), SOutBarHit{});
    EXPECT_EQ(g.HitTest(QPoint(10, second.box.top() - 3)), SOutBarHit{});

    // Ten small items fit: no arrows.
    EXPECT_FALSE(g.DownArrowShown());
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    Click(g.ItemRects(9)->label.center());
    ASSERT_EQ(notify.count(), 1);
    EXPECT_EQ(notify[0][1].toInt(), 9);
}

TEST_F(OutBarTest, ArrowsFollowTheScrollPositionOfALongFolder)
{
    OpenNow(1);
    COutBarGeometry g = m_bar->Geometry();
    ASSERT_TRUE(g.DownArrowShown());
    EXPECT_FALSE(g.UpArrowShown());
    const QRect down = g.DownArrowRect();
    const QRect up = g.UpArrowRect();
    const int side = down.width();
    EXPECT_EQ(down, QRect(130 - 5 - side, g.ItemArea().bottom() + 1 - 5 - side, side, side));
    EXPECT_EQ(up, QRect(130 - 5 - side, g.ItemArea().top() + 5, side, side));
    EXPECT_EQ(m_bar->HitTest(down.center()), (SOutBarHit{SOutBarHit::DownArrow, 0}));
    EXPECT_EQ(m_bar->HitTest(up.center()), SOutBarHit{});

    // Drawn where shown: the arrow's face differs from the plain background.
    const QColor background = m_bar->palette().color(QPalette::Mid);
    QImage image = Grab();
    EXPECT_NE(Pixel(image, QPoint(down.center())), Rgb(background));
    EXPECT_EQ(Pixel(image, QPoint(up.center())), Rgb(background));

    Click(down.center());
    EXPECT_EQ(m_bar->FirstVisibleItem(), 1);
    g = m_bar->Geometry();
    EXPECT_TRUE(g.UpArrowShown());
    EXPECT_TRUE(g.DownArrowShown());
    EXPECT_EQ(g.ItemRects(1)->icon.top(), g.ItemArea().top() + 5);
    EXPECT_NE(m_bar->HitTest(g.ItemRects(0)->icon.center()).kind, SOutBarHit::Item);
    image = Grab();
    EXPECT_NE(Pixel(image, QPoint(up.center())), Rgb(background));

    int clicks = 1;
    while (m_bar->Geometry().DownArrowShown() && clicks < 20) {
        Click(down.center());
        ++clicks;
    }
    g = m_bar->Geometry();
    EXPECT_FALSE(g.DownArrowShown());
    EXPECT_FALSE(g.CanScrollDown());
    EXPECT_EQ(g.LastFullyVisibleItem(), 15);
    const int last = m_bar->FirstVisibleItem();
    Click(down.center()); // the hidden arrow is no arrow any more
    EXPECT_EQ(m_bar->FirstVisibleItem(), last);
    EXPECT_EQ(Pixel(Grab(), QPoint(down.center())), Rgb(background));

    // Holding the up arrow repeats, one item a tick of the repeat timer; the press itself
    // does not scroll.
    QTest::mousePress(m_bar, Qt::LeftButton, {}, up.center());
    EXPECT_EQ(m_bar->FirstVisibleItem(), last);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_bar->FirstVisibleItem() <= last - 2; }, 3000));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, up.center());
    const int afterRelease = m_bar->FirstVisibleItem();
    EXPECT_LT(afterRelease, last - 2);
    // Released before the top: the repeating stops there. Three periods of the 300 ms timer
    // would scroll again if it went on.
    ASSERT_GT(afterRelease, 0);
    QTest::qWait(3 * 300);
    EXPECT_EQ(m_bar->FirstVisibleItem(), afterRelease);

    // The wheel scrolls one item a notch; opening a folder starts at its top.
    const auto wheel = [&](int delta) {
        const QPointF at(65, 200);
        QWheelEvent event(at, m_bar->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(m_bar, &event);
    };
    wheel(-120);
    EXPECT_EQ(m_bar->FirstVisibleItem(), afterRelease + 1);
    wheel(60);
    wheel(60);
    EXPECT_EQ(m_bar->FirstVisibleItem(), afterRelease);
    m_bar->OpenFolder(1);
    EXPECT_EQ(m_bar->FirstVisibleItem(), 0);
}

TEST_F(OutBarTest, HeaderClicksOpenTheFolderReleasedOver)
{
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    Click(HeaderCentre(0));
    EXPECT_EQ(m_bar->OpenFolderIndex(), 0);
    EXPECT_EQ(notify.count(), 0);

    QTest::mousePress(m_bar, Qt::LeftButton, {}, HeaderCentre(1));
    QTest::mouseMove(m_bar, HeaderCentre(2));
    QTest::mouseMove(m_bar, HeaderCentre(3));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, HeaderCentre(3));
    EXPECT_EQ(m_bar->OpenFolderIndex(), 3);
    ASSERT_EQ(notify.count(), 1);
    EXPECT_EQ(notify[0][0].toInt(), CGfxOutBarCtrl::kNotifyFolderOpened);
    EXPECT_EQ(notify[0][1].toInt(), 3);

    // Pressing a header and releasing over the items opens nothing.
    QTest::mousePress(m_bar, Qt::LeftButton, {}, HeaderCentre(0));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, m_bar->Geometry().ItemArea().center());
    EXPECT_EQ(m_bar->OpenFolderIndex(), 3);
    EXPECT_EQ(notify.count(), 1);

    // The open-folder operation always notifies, also for the open folder, and forgets the
    // last clicked item.
    Click(IconCentre(1));
    EXPECT_EQ(m_bar->LastClickedItem(), 1);
    notify.clear();
    m_bar->OpenFolder(3);
    ASSERT_EQ(notify.count(), 1);
    EXPECT_EQ(notify[0][1].toInt(), 3);
    EXPECT_EQ(m_bar->LastClickedItem(), -1);
    m_bar->OpenFolder(9);
    EXPECT_EQ(notify.count(), 1);
}

TEST_F(OutBarTest, ItemClickNeedsPressAndReleaseOnTheSameItem)
{
    m_bar->SetFlags(m_bar->Flags() & ~CGfxOutBarCtrl::kDragItems);
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    QTest::mousePress(m_bar, Qt::LeftButton, {}, IconCentre(2));
    QTest::mouseMove(m_bar, IconCentre(3));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, IconCentre(3));
    QTest::mousePress(m_bar, Qt::LeftButton, {}, IconCentre(2));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, HeaderCentre(2));
    EXPECT_EQ(notify.count(), 0);
    EXPECT_EQ(m_bar->OpenFolderIndex(), 0);
    EXPECT_EQ(m_bar->LastClickedItem(), -1);

    Click(IconCentre(2));
    Click(IconCentre(2));
    ASSERT_EQ(notify.count(), 2);
    for (const QList<QVariant>& arguments : notify) {
        EXPECT_EQ(arguments[0].toInt(), CGfxOutBarCtrl::kNotifyItemClicked);
        EXPECT_EQ(arguments[1].toInt(), 2);
    }
    EXPECT_EQ(m_bar->LastClickedItem(), 2);
}

TEST_F(OutBarTest, APressWhoseReleaseWasLostIsForgotten)
{
    m_bar->SetFlags(m_bar->Flags() & ~CGfxOutBarCtrl::kDragItems);
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    // A pop-up took the mouse between press and release: the bar next sees a move without
    // the button, or a new press.
    QTest::mousePress(m_bar, Qt::LeftButton, {}, IconCentre(2));
    const QPointF at(IconCentre(3));
    QMouseEvent move(QEvent::MouseMove, at, m_bar->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(m_bar, &move);
    Click(IconCentre(1));
    QTest::mousePress(m_bar, Qt::LeftButton, {}, IconCentre(3));
    m_bar->hide();
    m_bar->show();
    Click(IconCentre(4));
    ASSERT_EQ(notify.count(), 2);
    EXPECT_EQ(notify[0][1].toInt(), 1);
    EXPECT_EQ(notify[1][1].toInt(), 4);
}

TEST_F(OutBarTest, DisabledItemIgnoresClicksUntilEnabled)
{
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    const QImage before = m_bar->grab().toImage();
    m_bar->SetItemEnabled(0, 2, false);
    EXPECT_FALSE(m_bar->IsItemEnabled(0, 2));
    EXPECT_NE(m_bar->grab().toImage(), before); // drawn greyed
    Click(IconCentre(2));
    EXPECT_EQ(notify.count(), 0);
    EXPECT_EQ(m_bar->LastClickedItem(), -1);
    m_bar->SetItemEnabled(0, 2, true);
    Click(IconCentre(2));
    ASSERT_EQ(notify.count(), 1);
    EXPECT_EQ(notify[0][1].toInt(), 2);
}

TEST_F(OutBarTest, DroppedItemMovesOnlyWithTheOwnersConsent)
{
    OpenNow(3);
    const QStringList original = Texts(3);
    std::vector<SOutBarDropInfo> asked;
    bool answer = false;
    m_bar->SetDropConsent([&](const SOutBarDropInfo& info) {
        asked.push_back(info);
        return answer;
    });
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    const COutBarGeometry g = m_bar->Geometry();
    const SOutBarItemRects first = *g.ItemRects(0);
    const SOutBarItemRects third = *g.ItemRects(2);
    const QPoint gap(first.box.left() + 3, first.icon.center().y()); // beside the icon: no item

    const auto drag = [&](const QPoint& to) {
        QTest::mousePress(m_bar, Qt::LeftButton, {}, first.icon.center());
        QTest::mouseMove(m_bar, gap);
        QTest::mouseMove(m_bar, to);
    };

    // The insertion mark goes in the gap before the item under the pointer.
    drag(third.icon.center());
    const QImage marked = Grab();
    const int markY = g.InsertMarkY(2);
    EXPECT_GT(markY, g.ItemRects(1)->box.bottom());
    EXPECT_LT(markY, third.box.top());
    EXPECT_EQ(Pixel(marked, QPoint(65, markY)), Rgb(Qt::black));
    EXPECT_EQ(Pixel(marked, QPoint(3, markY - 2)), Rgb(Qt::black)); // triangle above the line
    EXPECT_EQ(Pixel(marked, QPoint(3, markY + 2)), Rgb(Qt::black)); // and below
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, third.icon.center());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].folder, 3);
    EXPECT_EQ(asked[0].oldIndex, 0);
    EXPECT_EQ(asked[0].newIndex, 1);
    EXPECT_EQ(Texts(3), original);
    EXPECT_NE(Pixel(Grab(), QPoint(65, markY)), Rgb(Qt::black));

    answer = true;
    drag(third.icon.center());
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, third.icon.center());
    EXPECT_EQ(Texts(3), (QStringList{original[1], original[0], original[2]}));

    // Below the last item within the area drops at the end.
    const QPoint belowLast(65, third.box.bottom() + 40);
    ASSERT_TRUE(g.ItemArea().contains(belowLast));
    drag(belowLast);
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, belowLast);
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[2].newIndex, 2);
    EXPECT_EQ(Texts(3), (QStringList{original[0], original[2], original[1]}));

    // Dropped back on itself or outside the area: nobody is asked.
    drag(first.icon.center());
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, first.icon.center());
    drag(HeaderCentre(0));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, HeaderCentre(0));
    EXPECT_EQ(asked.size(), 3u);
    EXPECT_EQ(notify.count(), 0) << "a drag is no click";

    // Without the drag flag nothing is dragged.
    m_bar->SetFlags(m_bar->Flags() & ~CGfxOutBarCtrl::kDragItems);
    drag(third.icon.center());
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, third.icon.center());
    EXPECT_EQ(asked.size(), 3u);
}

TEST_F(OutBarTest, FolderSlidesUnlessTheDelayIsNegative)
{
    QSignalSpy notify(m_bar, &CGfxOutBarCtrl::Notify);
    Click(HeaderCentre(2));
    EXPECT_FALSE(m_bar->IsSliding());
    EXPECT_EQ(m_bar->OpenFolderIndex(), 2);
    EXPECT_EQ(notify.count(), 1);

    m_bar->SetAnimationDelay(1);
    Click(HeaderCentre(1)); // an earlier folder: slides down
    EXPECT_TRUE(m_bar->IsSliding());
    EXPECT_EQ(m_bar->OpenFolderIndex(), 2);
    EXPECT_EQ(notify.count(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_bar->IsSliding(); }));
    EXPECT_EQ(m_bar->OpenFolderIndex(), 1);
    ASSERT_EQ(notify.count(), 2);
    EXPECT_EQ(notify[1][1].toInt(), 1);
    // The last frame of the slide is the new state.
    const QImage slidEnd = Grab();
    m_bar->update();
    EXPECT_EQ(Grab(), slidEnd);

    Click(HeaderCentre(3)); // a later folder: slides up
    EXPECT_TRUE(m_bar->IsSliding());
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_bar->OpenFolderIndex() == 3; }));
    EXPECT_EQ(notify.count(), 3);

    // Without the animation flag there is no slide either.
    m_bar->SetFlags(m_bar->Flags() & ~CGfxOutBarCtrl::kAnimateFolders);
    Click(HeaderCentre(0));
    EXPECT_FALSE(m_bar->IsSliding());
    EXPECT_EQ(m_bar->OpenFolderIndex(), 0);
}

TEST_F(OutBarTest, PlainLookWithoutASkin)
{
    EXPECT_FALSE(m_bar->HasSkinObject());
    const QPalette palette = m_bar->palette();
    const COutBarGeometry g = m_bar->Geometry();
    const QImage image = Grab();
    const SOutBarItemRects first = *g.ItemRects(0);

    EXPECT_EQ(Pixel(image, QPoint(3, 200)), Rgb(palette.color(QPalette::Mid)));
    EXPECT_EQ(Pixel(image, QPoint(3, HeaderCentre(2).y())), Rgb(palette.color(QPalette::Button)));
    EXPECT_EQ(Pixel(image, QPoint(first.icon.center())), Rgb(IconColour(13)));
    EXPECT_EQ(Pixel(image, QPoint(g.ItemRects(1)->icon.center())), Rgb(IconColour(1)));
    // Labels are drawn in the text colour.
    int textPixels = 0;
    for (int y = first.label.top(); y <= first.label.bottom(); ++y)
        for (int x = first.label.left(); x <= first.label.right(); ++x)
            textPixels += Pixel(image, QPoint(x, y)) != Rgb(palette.color(QPalette::Mid));
    EXPECT_GT(textPixels, 10);

    // No item frames without a skin; the hovered header gets its outline.
    QTest::mouseMove(m_bar, first.icon.center());
    EXPECT_EQ(m_bar->HoverItem(), 0);
    const QImage hovered = Grab();
    const QRect frame = first.icon.adjusted(-3, -3, 3, 3);
    EXPECT_EQ(hovered.copy(frame), image.copy(frame));
    QTest::mouseMove(m_bar, HeaderCentre(2));
    EXPECT_EQ(m_bar->HoverFolder(), 2);
    EXPECT_EQ(m_bar->HoverItem(), -1);
    EXPECT_EQ(m_bar->cursor().shape(), Qt::PointingHandCursor);
    const QRect header = g.FolderRect(2);
    EXPECT_NE(Grab().copy(header), image.copy(header));
    QTest::mouseMove(m_bar, QPoint(3, 200));
    EXPECT_EQ(m_bar->HoverFolder(), -1);
    EXPECT_EQ(m_bar->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(Grab(), image);
}

TEST_F(OutBarTest, SkinImagesAndReloadOnSkinChange)
{
    CSkinEngine& engine = m_engine;
    const QImage plain = Grab();
    ASSERT_TRUE(engine.LoadSkinFile(ShippedSkin(u"xpsteel.smf"_s)));
    EXPECT_TRUE(m_bar->HasSkinObject());
    const QImage skinned = Grab();
    const COutBarGeometry g = m_bar->Geometry();
    EXPECT_NE(Pixel(skinned, QPoint(3, 200)), Pixel(plain, QPoint(3, 200)));
    EXPECT_NE(Pixel(skinned, QPoint(3, HeaderCentre(2).y())),
              Pixel(plain, QPoint(3, HeaderCentre(2).y())));

    // The skin's background image fills the item area: draw it alone and compare.
    QImage expected(m_bar->size(), QImage::Format_RGB32);
    {
        QPainter painter(&expected);
        const CSkinEngine::SkinObject bar = engine.OpenSkinObject(u"SkinOutlookBar"_s);
        ASSERT_TRUE(engine.DrawBackground(bar, u"BackImg"_s, painter, m_bar->rect()));
        ASSERT_TRUE(engine.DrawPart(bar, u"HoverFolder"_s, painter, g.FolderRect(2)));
        engine.CloseSkinObject(bar);
    }
    EXPECT_EQ(Pixel(skinned, QPoint(3, 200)), Pixel(expected, QPoint(3, 200)));
    EXPECT_EQ(Pixel(skinned, QPoint(3, 100)), Pixel(expected, QPoint(3, 100)));

    // Hover: the header takes "HoverFolder", the item a frame around its icon.
    QTest::mouseMove(m_bar, HeaderCentre(2));
    EXPECT_EQ(Pixel(Grab(), QPoint(2, HeaderCentre(2).y())),
              Pixel(expected, QPoint(2, HeaderCentre(2).y())));
    const SOutBarItemRects first = *g.ItemRects(0);
    QTest::mouseMove(m_bar, first.icon.center());
    const QImage hovered = Grab();
    const QRect frame = first.icon.adjusted(-3, -3, 3, 3);
    EXPECT_NE(hovered.copy(frame), skinned.copy(frame));
    EXPECT_EQ(Pixel(hovered, QPoint(first.icon.center())), Rgb(IconColour(13)))
        << "icon over its frame";
    // Pressed looks different again.
    QTest::mousePress(m_bar, Qt::LeftButton, {}, first.icon.center());
    EXPECT_NE(Grab().copy(frame), hovered.copy(frame));
    QTest::mouseRelease(m_bar, Qt::LeftButton, {}, first.icon.center());

    // A skin without bar images brings the plain look back at once, another skin its own.
    QTemporaryDir dir;
    QFile file(dir.filePath(u"bare.smf"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Skin]\nName = Bare\n");
    file.close();
    ASSERT_TRUE(engine.LoadSkinFile(file.fileName()));
    EXPECT_FALSE(m_bar->HasSkinObject());
    QTest::mouseMove(m_bar, QPoint(3, 200));
    EXPECT_EQ(Pixel(Grab(), QPoint(3, 200)), Pixel(plain, QPoint(3, 200)));
    ASSERT_TRUE(engine.LoadSkinFile(ShippedSkin(u"midnight.smf"_s)));
    EXPECT_TRUE(m_bar->HasSkinObject());
    const QColor night = Grab().pixelColor(3, 200);
    EXPECT_LT(night.lightness(), 60);
}

TEST_F(OutBarTest, LastClickedItemIsAnimatedAndKeptFramed)
{
    ASSERT_TRUE(m_engine.LoadSkinFile(ShippedSkin(u"xpsteel.smf"_s)));
    const SOutBarItemRects first = *m_bar->Geometry().ItemRects(0);
    const QRect frame = first.icon.adjusted(-3, -3, 3, 3);
    const QImage rest = Grab();
    Click(first.icon.center());
    QTest::mouseMove(m_bar, QPoint(3, 250));
    EXPECT_EQ(Grab().copy(frame), rest.copy(frame));

    // With the idle animation on, the item gets the pressed frame and its icon moves.
    m_bar->SetAnimationPeriod(5);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Grab().copy(frame) != rest.copy(frame); }));
    // Shifted left and down, then right and down: icon colour outside its rest rectangle.
    const QPoint leftOfRest(first.icon.left() - 1, first.icon.top() + 1);
    const QPoint rightOfRest(first.icon.right() + 1, first.icon.top() + 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Pixel(Grab(), leftOfRest) == Rgb(IconColour(13)); }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Pixel(Grab(), rightOfRest) == Rgb(IconColour(13)); }));
    m_bar->SetAnimationPeriod(0);
    EXPECT_EQ(Grab().copy(frame), rest.copy(frame));

    // With the keep flag the last clicked item stays framed.
    m_bar->SetFlags(m_bar->Flags() | CGfxOutBarCtrl::kKeepSelection);
    EXPECT_NE(Grab().copy(frame), rest.copy(frame));
    m_bar->OpenFolder(0);
    EXPECT_EQ(Grab().copy(frame), rest.copy(frame));
}
