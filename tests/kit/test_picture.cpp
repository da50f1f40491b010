#include "kit/messages.h"
#include "kit/picture.h"
#include "kit/pictureframe.h"
#include "kit/picturepath.h"
#include "kit/picturepreviewdlg.h"
#include "kit/picturethumbnails.h"
#include "support/awkwardpictures.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;
using awkwardpictures::AnimatedGif;
using awkwardpictures::HugeBmpHeader;

namespace {

// A picture of the size given, written in the format its name ends in.
QString WritePicture(const QString& path, QSize size)
{
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QPainter(&image).fillRect(QRect(QPoint(0, 0), size / 2), Qt::yellow);
    EXPECT_TRUE(image.save(path)) << path.toStdString();
    return path;
}

QString WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

class PictureTest : public ::testing::Test
{
protected:
    QString Path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    MessageRecorder m_messages;
};

TEST_F(PictureTest, LoadsAPictureAndReportsItsSize)
{
    for (const QString& name : {u"a.bmp"_s, u"a.jpg"_s, u"a.png"_s}) {
        const QString path = WritePicture(Path(name), QSize(200, 100));
        CPicture picture;
        EXPECT_TRUE(picture.Load(path)) << name.toStdString();
        EXPECT_EQ(picture.Width(), 200);
        EXPECT_EQ(picture.Height(), 100);
        EXPECT_EQ(picture.Size(), QFileInfo(path).size());

        QImage canvas(20, 10, QImage::Format_RGB32);
        canvas.fill(Qt::black);
        QPainter painter(&canvas);
        EXPECT_TRUE(picture.Render(&painter, canvas.rect()));
        painter.end();
        // Stretched into the rectangle: the yellow quarter lands top left.
        EXPECT_EQ(QColor(canvas.pixel(2, 2)).red() > 200, true) << name.toStdString();
        EXPECT_LT(QColor(canvas.pixel(17, 8)).red(), 100);

        // A second picture replaces the first; Free leaves nothing.
        EXPECT_TRUE(picture.Load(WritePicture(Path(u"b.png"_s), QSize(30, 40))));
        EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(30, 40));
        picture.Free();
        EXPECT_FALSE(picture.IsLoaded());
        EXPECT_EQ(picture.Width() + picture.Height() + picture.Size(), 0);
        QPainter again(&canvas);
        EXPECT_FALSE(picture.Render(&again, canvas.rect()));
        EXPECT_FALSE(picture.Render(nullptr, canvas.rect()));
    }
    EXPECT_TRUE(m_messages.Texts().isEmpty());

    CPicture fromMemory;
    QFile file(Path(u"a.png"_s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(fromMemory.LoadFromBuffer(file.readAll()));
    EXPECT_EQ(fromMemory.Width(), 200);
    EXPECT_FALSE(fromMemory.LoadFromBuffer("no picture"));
}

TEST_F(PictureTest, MissingFileIsReportedAndNonPictureIsNot)
{
    CPicture picture;
    EXPECT_TRUE(picture.Load(WritePicture(Path(u"a.png"_s), QSize(8, 8))));
    EXPECT_FALSE(picture.Load(Path(u"gone.jpg"_s)));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_EQ(picture.Size(), 0);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"CPicture Error"_s);
    EXPECT_FALSE(m_messages.Messages()[0].text.isEmpty());
    EXPECT_LE(m_messages.Messages()[0].text.size(), 255);

    m_messages.Clear();
    const QString text = WriteBytes(Path(u"note.jpg"_s), "This is a shopping list, not a picture.");
    EXPECT_FALSE(picture.Load(text));
    EXPECT_FALSE(picture.IsLoaded());
    EXPECT_EQ(picture.Width(), 0);
    EXPECT_EQ(picture.Size(), QFileInfo(text).size());
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_F(PictureTest, BadFilesNeitherCrashNorHang)
{
    // A photograph cut off half way.
    const QString whole = WritePicture(Path(u"whole.jpg"_s), QSize(640, 480));
    QFile jpeg(whole);
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly));
    const QString cut = WriteBytes(Path(u"cut.jpg"_s), jpeg.read(jpeg.size() / 2));
    const QString huge = WriteBytes(Path(u"huge.bmp"_s), HugeBmpHeader());
    const QString animation = WriteBytes(Path(u"many.gif"_s), AnimatedGif(500));
    const QString named =
        WritePicture(Path(u"my pictures/图片 O'Brien's \"best\".png"_s), QSize(12, 6));

    // How long these take is measured in bench_catalogue.
    for (const QString& path : {cut, huge, animation, named}) {
        CPicture picture;
        const bool loaded = picture.Load(path);
        if (path == animation || path == named) {
            EXPECT_TRUE(loaded) << path.toStdString();
        }
        if (path == huge) {
            EXPECT_LE(qint64(picture.Image().width()) * picture.Image().height(),
                      qint64(8192) * 8192);
        }
    }
    CPicture picture;
    EXPECT_TRUE(picture.Load(animation));
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(1, 1));
    EXPECT_TRUE(picture.Load(named));
    EXPECT_EQ(picture.Width(), 12);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_F(PictureTest, PreviewShowsThePictureAtItsSizeOrFittedToTheScreen)
{
    CPicturePreviewDlg preview;
    preview.SetPath(WritePicture(Path(u"a.png"_s), QSize(200, 100)));
    preview.show();
    EXPECT_EQ(preview.windowTitle(), u"图片预览窗口"_s);
    EXPECT_EQ(preview.size(), QSize(200, 100));
    EXPECT_EQ(preview.Picture().Width(), 200);
    const QRect area = preview.screen()->availableGeometry();
    EXPECT_TRUE(area.contains(preview.frameGeometry()));
    QTest::keyClick(&preview, Qt::Key_Return);
    EXPECT_FALSE(preview.isVisible());

    // Larger than the screen: reduced to fit, shape kept, never off the top left.
    const QSize big(area.width() * 3, area.height() * 2);
    CPicturePreviewDlg large;
    large.SetPath(WritePicture(Path(u"big.png"_s), big));
    large.show();
    EXPECT_TRUE(area.contains(large.frameGeometry()));
    EXPECT_GE(large.x(), area.left());
    EXPECT_GE(large.y(), area.top());
    EXPECT_NEAR(double(large.width()) / large.height(), 1.5, 0.02);
    EXPECT_NEAR(double(large.width()), double(area.width() - 16), 1.0);

    EXPECT_EQ(CPicturePreviewDlg::ClientSizeFor(QSize(200, 100), QSize(800, 600)), QSize(200, 100));
    EXPECT_EQ(CPicturePreviewDlg::ClientSizeFor(QSize(4000, 1000), QSize(800, 600)),
              QSize(800, 200));
    EXPECT_EQ(CPicturePreviewDlg::ClientSizeFor(QSize(1000, 3000), QSize(800, 600)),
              QSize(200, 600));
}

TEST_F(PictureTest, FrameShowsItsPictureAndReportsClicks)
{
    CPictureFrame frame;
    frame.resize(100, 80);
    frame.show();
    QSignalSpy clicks(&frame, &CPictureFrame::clicked);
    QTest::mouseClick(&frame, Qt::LeftButton, {}, QPoint(50, 40));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(&frame, Qt::RightButton, {}, QPoint(50, 40));
    EXPECT_EQ(clicks.count(), 1);

    EXPECT_TRUE(frame.ShowPicture(WritePicture(Path(u"a.png"_s), QSize(200, 100))));
    const QImage shown = frame.grab().toImage();
    EXPECT_GT(QColor(shown.pixel(20, 15)).red(), 200);
    frame.Clear();
    EXPECT_FALSE(frame.Picture().IsLoaded());
    EXPECT_EQ(frame.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(PictureTest, StoredPathsAreRelativeToTheHomeAndFoundWhateverTheirCase)
{
    QString relative;
    EXPECT_TRUE(RelativePicturePath(u"/data/Pics/"_s, u"/data/pics/Sub/A.JPG"_s, relative));
    EXPECT_EQ(relative, u"Sub/A.JPG"_s);
    EXPECT_FALSE(RelativePicturePath(u"/data/Pics/"_s, u"/other/data/Pics/a.jpg"_s, relative));
    EXPECT_TRUE(RelativePicturePath(QString(), u"/anywhere/a.jpg"_s, relative));
    EXPECT_EQ(relative, u"/anywhere/a.jpg"_s);
    // Only the leading home directory goes, not a later folder of the same name.
    EXPECT_TRUE(RelativePicturePath(u"/p/"_s, u"/p/x/p/a.jpg"_s, relative));
    EXPECT_EQ(relative, u"x/p/a.jpg"_s);

    const QString home = m_dir.path() + u"/Pics/"_s;
    const QString real = WritePicture(home + u"Sub Dir/Photo 图.PNG"_s, QSize(4, 4));
    EXPECT_EQ(ResolvePicturePath(home, u"Sub Dir/Photo 图.PNG"_s), real);
    EXPECT_EQ(ResolvePicturePath(home, u"sub dir/photo 图.png"_s), real);
    EXPECT_EQ(ResolvePicturePath(m_dir.path() + u"/pics/"_s, u"sub dir/photo 图.png"_s), real);
    EXPECT_EQ(ResolvePicturePath(home, u"sub dir/gone.png"_s), home + u"sub dir/gone.png"_s);
}

TEST_F(PictureTest, ThumbnailsArriveInTheBackgroundAndMissingFilesAreTold)
{
    const QString home = m_dir.path() + u"/"_s;
    WritePicture(Path(u"big.png"_s), QSize(400, 200));
    WriteBytes(Path(u"text.gif"_s), "GIF? no");
    CThumbnailLoader loader(QSize(40, 40));
    QSignalSpy loaded(&loader, &CThumbnailLoader::Loaded);
    loader.Request(1, home, u"big.png"_s);
    loader.Request(2, home, u"gone.png"_s);
    loader.Request(3, home, u"text.gif"_s);
    ASSERT_TRUE(loader.WaitForDone(5000));
    ASSERT_EQ(loaded.count(), 3);
    for (const QList<QVariant>& arguments : loaded) {
        const int key = arguments[0].toInt();
        const QImage image = arguments[1].value<QImage>();
        EXPECT_EQ(arguments[2].toBool(), key != 2) << key;
        if (key == 1)
            EXPECT_EQ(image.size(), QSize(40, 20));
        else
            EXPECT_TRUE(image.isNull()) << key;
    }

    // Cancelled requests deliver nothing; a loader destroyed while reading goes safely.
    loaded.clear();
    for (int i = 0; i < 50; ++i)
        loader.Request(i, home, u"big.png"_s);
    loader.CancelAll();
    EXPECT_TRUE(loader.WaitForDone(5000));
    EXPECT_EQ(loaded.count(), 0);
    auto doomed = std::make_unique<CThumbnailLoader>(QSize(40, 40));
    for (int i = 0; i < 50; ++i)
        doomed->Request(i, home, u"big.png"_s);
    doomed.reset();
    QCoreApplication::processEvents();
}

} // namespace
