#include "kit/skinengine.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString ShippedSkin(const QString& fileName)
{
    return QString::fromUtf8(VANTREL_SOURCE_DIR "/src/res/skin/") + fileName;
}

const QStringList kPartNames = {
    u"NormalFolder"_s,         u"SelectedFolder"_s,  u"HoverFolder"_s,
    u"HighlightItem"_s,        u"PressedItem"_s,     u"UpArrowButton"_s,
    u"PressedUpArrowButton"_s, u"DownArrowButton"_s, u"PressedDownArrowButton"_s,
};

QImage Blank(QSize size = QSize(60, 40))
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::magenta);
    return image;
}

int ChangedPixels(const QImage& image, const QRect& area)
{
    int changed = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            changed += image.pixelColor(x, y) != QColor(Qt::magenta);
    return changed;
}

class SkinEngineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_engine.Initialise();
    }
    void TearDown() override { m_engine.Shutdown(); }

    QString Write(const QString& name, const QString& text)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text.toUtf8());
        return path;
    }

    CSkinEngine m_engine;
    QTemporaryDir m_dir;
};

const QString kSolidSkin = uR"(
[Skin]
Name = Solid
Format = 1
[Colors]
paint = #2040c0
[Dialog]
Window = #102030
StyleSheet = <<<
QPushButton { color: #123456; }
>>>
[MainFrame]
StyleSheet = <<<
QMainWindow { background: #abcdef; }
>>>
[SkinOutlookBar]
ItemText = #fedcba
[SkinOutlookBar.BackImg]
Fill = linear(vertical, #ff0000, #0000ff)
[SkinOutlookBar.NormalFolder]
Fill = @paint
)"_s;

} // namespace

TEST_F(SkinEngineTest, ShippedSkinsLoadAndDrawEveryBarImage)
{
    QSignalSpy changed(&m_engine, &CSkinEngine::SkinChanged);
    const QStringList skins = {u"xpsteel.smf"_s, u"amber.smf"_s, u"midnight.smf"_s};
    QSet<QRgb> backgrounds;
    for (const QString& skin : skins) {
        SCOPED_TRACE(skin.toStdString());
        ASSERT_TRUE(m_engine.LoadSkinFile(ShippedSkin(skin))) << m_engine.LastError().toStdString();
        EXPECT_FALSE(m_engine.CurrentSkinName().isEmpty());
        EXPECT_TRUE(m_engine.SetDialogSkin(u"Dialog"_s));
        EXPECT_FALSE(qApp->styleSheet().isEmpty());

        const CSkinEngine::SkinObject bar = m_engine.OpenSkinObject(u"SkinOutlookBar"_s);
        ASSERT_NE(bar, 0);
        const QRect target(10, 8, 40, 22);
        for (const QString& part : kPartNames) {
            QImage image = Blank();
            QPainter painter(&image);
            EXPECT_TRUE(m_engine.DrawPart(bar, part, painter, target)) << part.toStdString();
            painter.end();
            EXPECT_GT(ChangedPixels(image, target), 0) << part.toStdString();
            EXPECT_EQ(ChangedPixels(image, QRect(0, 0, 60, 7)), 0) << part.toStdString();
        }
        QImage background = Blank();
        QPainter painter(&background);
        EXPECT_TRUE(m_engine.DrawBackground(bar, u"BackImg"_s, painter, background.rect()));
        painter.end();
        EXPECT_EQ(ChangedPixels(background, background.rect()), 60 * 40);
        backgrounds.insert(background.pixel(30, 20));
        m_engine.CloseSkinObject(bar);
    }
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(backgrounds.size(), 3) << "each skin has a look of its own";
    // The default skin's dialogs are steel grey.
    ASSERT_TRUE(m_engine.LoadSkinFile(ShippedSkin(u"xpsteel.smf"_s)));
    ASSERT_TRUE(m_engine.SetDialogSkin(u"Dialog"_s));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(u"#e8ecf1"_s));
}

// Every shipped skin styles the boxes' borders and draws their arrows from the images beside
// it: the time pickers, date pickers and combo boxes of its dialogs show them.
TEST_F(SkinEngineTest, ShippedSkinsDrawSpinAndDropDownArrows)
{
    for (const QString& skin : {u"xpsteel.smf"_s, u"amber.smf"_s, u"midnight.smf"_s}) {
        SCOPED_TRACE(skin.toStdString());
        const QImage up(ShippedSkin(QFileInfo(skin).baseName() + u"/up.png"_s));
        ASSERT_FALSE(up.isNull());
        // The colour of the arrows: the image's middle, fully covered.
        const QColor ink = up.pixelColor(up.width() / 2, up.height() - 1);
        ASSERT_EQ(ink.alpha(), 255);

        ASSERT_TRUE(m_engine.LoadSkinFile(ShippedSkin(skin)));
        ASSERT_TRUE(m_engine.SetDialogSkin(u"Dialog"_s));
        QDialog dialog;
        auto* layout = new QVBoxLayout(&dialog);
        auto* time = new QTimeEdit(QTime(10, 0), &dialog);
        auto* date = new QDateTimeEdit(&dialog);
        date->setCalendarPopup(true);
        auto* combo = new QComboBox(&dialog);
        combo->addItem(u"北京"_s);
        for (QWidget* box : std::initializer_list<QWidget*>{time, date, combo})
            layout->addWidget(box);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        // Pixels of the arrows' colour in the box's right end, above and below its middle.
        auto inkPixels = [&](QWidget* box, bool upper) {
            const QImage shot = box->grab().toImage();
            int count = 0;
            const int middle = shot.height() / 2;
            for (int y = upper ? 0 : middle; y < (upper ? middle : shot.height()); ++y)
                for (int x = shot.width() - 20; x < shot.width(); ++x)
                    count += shot.pixelColor(x, y) == ink;
            return count;
        };
        EXPECT_GE(inkPixels(time, true), 3) << "up arrow";
        EXPECT_GE(inkPixels(time, false), 3) << "down arrow";
        EXPECT_GE(inkPixels(date, true) + inkPixels(date, false), 3) << "date drop-down";
        EXPECT_GE(inkPixels(combo, true) + inkPixels(combo, false), 3) << "combo drop-down";
    }
}

TEST_F(SkinEngineTest, UnloadableFileKeepsThePreviousLook)
{
    const QString good = Write(u"good.smf"_s, kSolidSkin);
    ASSERT_TRUE(m_engine.LoadSkinFile(good)) << m_engine.LastError().toStdString();
    ASSERT_TRUE(m_engine.SetDialogSkin(u"Dialog"_s));
    QSignalSpy changed(&m_engine, &CSkinEngine::SkinChanged);

    const QStringList broken = {
        u""_s,
        u"[Dialog]\nWindow = #fff\n"_s,                                  // no [Skin]
        u"[Skin]\nFormat = 1\n"_s,                                       // no name
        u"[Skin]\nName = X\nFormat = 2\n"_s,                             // unknown format
        u"[Skin]\nName = X\njust some words\n"_s,                        // not key = value
        u"[Skin]\nName = X\n[Dialog]\nWindow = #12345z\n"_s,             // bad colour
        u"[Skin]\nName = X\n[Dialog]\nWallpaper = #123456\n"_s,          // unknown key
        u"[Skin]\nName = X\n[Dialog]\nStyleSheet = <<<\nQWidget {}\n"_s, // unterminated block
        u"[Skin]\nName = X\n[SkinOutlookBar.BackImg]\nFill = @nowhere\n"_s,
        u"[Skin]\nName = X\n[SkinOutlookBar.BackImg]\nFil = #ffffff\n"_s,
        u"[Skin]\nName = X\n[SkinOutlookBar.BackImg]\nImage = missing.png\n"_s,
        u"[Skin]\nName = X\n[SkinOutlookBar.BackImg]\nFill = linear(diagonal, #fff, #000)\n"_s,
        u"[Skin]\nName = X\n[SkinOutlookBar.BackImg]\n"_s, // draws nothing
        u"[Skin]\nName = X\n[Skin]\nName = Y\n"_s,         // repeated section
    };
    for (qsizetype i = 0; i < broken.size(); ++i) {
        SCOPED_TRACE(broken[i].toStdString());
        const QString path = Write(u"broken%1.smf"_s.arg(i), broken[i]);
        EXPECT_FALSE(m_engine.LoadSkinFile(path));
        EXPECT_FALSE(m_engine.LastError().isEmpty());
    }
    EXPECT_FALSE(m_engine.LoadSkinFile(m_dir.filePath(u"absent.smf"_s)));
    EXPECT_EQ(changed.count(), 0);

    EXPECT_EQ(m_engine.CurrentSkinPath(), good);
    EXPECT_EQ(m_engine.CurrentSkinName(), u"Solid"_s);
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(u"#102030"_s));
    const CSkinEngine::SkinObject bar = m_engine.OpenSkinObject(u"SkinOutlookBar"_s);
    ASSERT_NE(bar, 0);
    QImage image = Blank();
    QPainter painter(&image);
    EXPECT_TRUE(m_engine.DrawPart(bar, u"NormalFolder"_s, painter, image.rect()));
    painter.end();
    EXPECT_EQ(image.pixelColor(5, 5), QColor(u"#2040c0"_s));
    m_engine.CloseSkinObject(bar);
}

TEST_F(SkinEngineTest, SkinWithoutTheBarObjectGivesNoHandle)
{
    // Saved by a Windows editor: byte-order mark and CR LF line ends.
    const QString path = Write(
        u"plain.smf"_s, u"\uFEFF[Skin]\r\nName = Plain\r\n[Dialog]\r\nWindow = #eeeeee\r\n"_s);
    QSignalSpy changed(&m_engine, &CSkinEngine::SkinChanged);
    ASSERT_TRUE(m_engine.LoadSkinFile(path));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(m_engine.OpenSkinObject(u"SkinOutlookBar"_s), 0);

    QImage image = Blank();
    QPainter painter(&image);
    EXPECT_FALSE(m_engine.DrawPart(0, u"NormalFolder"_s, painter, image.rect()));
    EXPECT_FALSE(m_engine.DrawBackground(0, u"BackImg"_s, painter, image.rect()));
    painter.end();
    EXPECT_EQ(ChangedPixels(image, image.rect()), 0);
}

TEST_F(SkinEngineTest, DrawPartPaintsTheNamedImageIntoItsRectangle)
{
    // A nine-patch picture: red 4-pixel corners, a blue centre.
    QImage patch(12, 12, QImage::Format_ARGB32);
    patch.fill(Qt::blue);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            if ((x < 4 || x >= 8) && (y < 4 || y >= 8))
                patch.setPixelColor(x, y, Qt::red);
    ASSERT_TRUE(patch.save(m_dir.filePath(u"patch.png"_s)));
    const QString path = Write(u"parts.smf"_s, kSolidSkin + uR"(
[SkinOutlookBar.HighlightItem]
Image = patch.png
Margins = 4
[SkinOutlookBar.PressedItem]
Fill = #00ff00
Border = #000000
)"_s);
    ASSERT_TRUE(m_engine.LoadSkinFile(path)) << m_engine.LastError().toStdString();
    const CSkinEngine::SkinObject bar = m_engine.OpenSkinObject(u"SkinOutlookBar"_s);
    ASSERT_NE(bar, 0);

    QImage image = Blank(QSize(100, 80));
    QPainter painter(&image);
    const QRect box(20, 10, 40, 30);
    EXPECT_TRUE(m_engine.DrawPart(bar, u"NormalFolder"_s, painter, box));
    EXPECT_TRUE(m_engine.DrawPart(bar, u"HighlightItem"_s, painter, QRect(0, 50, 60, 30)));
    EXPECT_TRUE(m_engine.DrawPart(bar, u"PressedItem"_s, painter, QRect(70, 10, 20, 20)));
    EXPECT_FALSE(m_engine.DrawPart(bar, u"NoSuchImage"_s, painter, QRect(0, 0, 100, 80)));
    painter.end();

    EXPECT_EQ(ChangedPixels(image, box), 40 * 30);
    EXPECT_EQ(image.pixelColor(20, 10), QColor(u"#2040c0"_s));
    EXPECT_EQ(image.pixelColor(59, 39), QColor(u"#2040c0"_s));
    EXPECT_EQ(image.pixelColor(19, 10), QColor(Qt::magenta));
    EXPECT_EQ(image.pixelColor(60, 39), QColor(Qt::magenta));
    EXPECT_EQ(image.pixelColor(40, 40), QColor(Qt::magenta));
    // Nine-patch corners keep their size while the centre stretches.
    EXPECT_EQ(image.pixelColor(1, 51), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(58, 78), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(30, 65), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(6, 65), QColor(Qt::blue));
    // Border on the edge, fill inside.
    EXPECT_EQ(image.pixelColor(70, 20), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(80, 20), QColor(Qt::green));

    // A vertical gradient runs from its first colour at the top to its last at the bottom.
    QImage gradient = Blank(QSize(10, 100));
    QPainter gradientPainter(&gradient);
    EXPECT_TRUE(m_engine.DrawBackground(bar, u"BackImg"_s, gradientPainter, gradient.rect()));
    gradientPainter.end();
    EXPECT_GT(gradient.pixelColor(5, 0).red(), 240);
    EXPECT_GT(gradient.pixelColor(5, 99).blue(), 240);
    EXPECT_EQ(m_engine.ObjectColor(bar, u"ItemText"_s, Qt::black), QColor(u"#fedcba"_s));
    EXPECT_EQ(m_engine.ObjectColor(bar, u"FolderText"_s, Qt::black), QColor(Qt::black));
    m_engine.CloseSkinObject(bar);
}

TEST_F(SkinEngineTest, OpenHandleDrawsItsSkinUntilClosed)
{
    ASSERT_TRUE(m_engine.LoadSkinFile(Write(u"a.smf"_s, kSolidSkin)));
    const CSkinEngine::SkinObject first = m_engine.OpenSkinObject(u"SkinOutlookBar"_s);
    ASSERT_TRUE(m_engine.LoadSkinFile(ShippedSkin(u"midnight.smf"_s)));
    const CSkinEngine::SkinObject second = m_engine.OpenSkinObject(u"SkinOutlookBar"_s);
    ASSERT_NE(first, second);

    QImage image = Blank();
    QPainter painter(&image);
    EXPECT_TRUE(m_engine.DrawPart(first, u"NormalFolder"_s, painter, image.rect()));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(u"#2040c0"_s));
    m_engine.CloseSkinObject(first);
    image.fill(Qt::magenta);
    EXPECT_FALSE(m_engine.DrawPart(first, u"NormalFolder"_s, painter, image.rect()));
    EXPECT_TRUE(m_engine.DrawPart(second, u"NormalFolder"_s, painter, image.rect()));
    painter.end();
    EXPECT_NE(image.pixelColor(5, 5), QColor(Qt::magenta));
    m_engine.CloseSkinObject(second);
}

TEST_F(SkinEngineTest, SkinnedWindowFollowsANewSkin)
{
    QMainWindow window;
    ASSERT_TRUE(m_engine.LoadSkinFile(Write(u"a.smf"_s, kSolidSkin)));
    EXPECT_TRUE(m_engine.SkinWindow(&window, u"MainFrame"_s));
    EXPECT_TRUE(window.styleSheet().contains(u"#abcdef"_s));

    ASSERT_TRUE(m_engine.LoadSkinFile(ShippedSkin(u"amber.smf"_s)));
    EXPECT_FALSE(window.styleSheet().contains(u"#abcdef"_s));
    EXPECT_TRUE(window.styleSheet().contains(u"QMenuBar"_s));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(u"#f4ead7"_s));

    m_engine.Shutdown();
    EXPECT_TRUE(window.styleSheet().isEmpty());
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    EXPECT_EQ(m_engine.OpenSkinObject(u"SkinOutlookBar"_s), 0);
}

TEST_F(SkinEngineTest, PopupMenuReturnsTheChosenAction)
{
    ASSERT_TRUE(m_engine.LoadSkinFile(ShippedSkin(u"xpsteel.smf"_s)));
    QWidget owner;
    QMenu menu;
    menu.addAction(u"添加"_s);
    QAction* second = menu.addAction(u"删除"_s);
    QTimer::singleShot(0, &menu, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_EQ(popup, &menu);
        menu.setActiveAction(second);
        QTest::keyClick(popup, Qt::Key_Return);
    });
    EXPECT_EQ(m_engine.TrackSkinPopupMenu(&menu, QPoint(40, 40), &owner), second);
    EXPECT_TRUE(menu.styleSheet().contains(u"QMenu::item:selected"_s));

    QTimer::singleShot(0, &menu, [&] { QTest::keyClick(&menu, Qt::Key_Escape); });
    EXPECT_EQ(m_engine.TrackSkinPopupMenu(&menu, QPoint(40, 40), &owner), nullptr);
}

TEST_F(SkinEngineTest, WithoutAnEngineThePopupMenuIsPlainAndGuarded)
{
    QMenu menu;
    QAction* chosen = menu.addAction(u"添加"_s);
    auto owner = std::make_unique<QWidget>();
    QTimer::singleShot(0, &menu, [&] {
        menu.setActiveAction(chosen);
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    EXPECT_EQ(TrackPopupMenu(nullptr, &menu, QPoint(40, 40), owner.get()), chosen);
    EXPECT_TRUE(menu.styleSheet().isEmpty());

    // The owner goes while the menu is open: nothing is chosen for anyone.
    QTimer::singleShot(0, &menu, [&] {
        owner.reset();
        menu.setActiveAction(chosen);
        QTest::keyClick(&menu, Qt::Key_Return);
    });
    EXPECT_EQ(TrackPopupMenu(nullptr, &menu, QPoint(40, 40), owner.get()), nullptr);
}

// Each engine keeps its own skin, windows and drawing objects.
TEST_F(SkinEngineTest, TwoEnginesShareNothing)
{
    ASSERT_TRUE(m_engine.LoadSkinFile(Write(u"a.smf"_s, kSolidSkin)));
    const CSkinEngine::SkinObject bar = m_engine.OpenSkinObject(u"SkinOutlookBar"_s);
    ASSERT_NE(bar, 0);
    QMainWindow window;
    ASSERT_TRUE(m_engine.SkinWindow(&window, u"MainFrame"_s));
    QSignalSpy changed(&m_engine, &CSkinEngine::SkinChanged);
    QImage image = Blank();
    QPainter painter(&image);
    {
        CSkinEngine other;
        EXPECT_TRUE(other.CurrentSkinPath().isEmpty());
        EXPECT_EQ(other.OpenSkinObject(u"SkinOutlookBar"_s), 0);
        EXPECT_FALSE(other.DrawPart(bar, u"NormalFolder"_s, painter, image.rect()));
        ASSERT_TRUE(other.LoadSkinFile(ShippedSkin(u"amber.smf"_s)));
        EXPECT_EQ(changed.count(), 0);
        EXPECT_TRUE(window.styleSheet().contains(u"#abcdef"_s));
        EXPECT_EQ(m_engine.CurrentSkinName(), u"Solid"_s);
    }
    // Gone, the other engine leaves this one's window and handle as they were.
    EXPECT_TRUE(window.styleSheet().contains(u"#abcdef"_s));
    EXPECT_TRUE(m_engine.DrawPart(bar, u"NormalFolder"_s, painter, image.rect()));
    m_engine.CloseSkinObject(bar);
}
