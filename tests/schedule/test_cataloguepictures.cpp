#include "kit/picturepreviewdlg.h"
#include "schedule/cataloguefixture.h"
#include "support/modal.h"

#include <QFile>

namespace {

class CataloguePicturesTest : public CatalogueTest
{
protected:
    CataloguePicturesTest()
    {
        m_file.Exec(
            u"INSERT INTO material (no, number, name) VALUES (1, 'A', '铜线'), (2, 'B', '钢板')"_s);
    }

    QStringList StoredPaths() const
    {
        QStringList paths;
        const int count = Count(u"materialimage"_s);
        for (int i = 0; i < count; ++i)
            paths << Value(
                u"SELECT path FROM materialimage ORDER BY no LIMIT 1 OFFSET %1"_s.arg(i));
        return paths;
    }
};

TEST_F(CataloguePicturesTest, PicturesInTheHomeDirectoryAreStoredRelativeToIt)
{
    Open();
    m_chosen = {Picture(u"a.png"_s)};
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"请先从左侧列表中选择一条产品记录！"_s}));
    EXPECT_EQ(Count(u"materialimage"_s), 0);

    m_messages.Clear();
    ClickItem(1);
    // A subfolder stays in the path, and so does the file's own spelling; the home directory
    // itself matches without regard to case.
    const QString home = m_home;
    const QString upper = home.toUpper();
    m_chosen = {Picture(u"Sub Dir/Photo O'Brien 钢.PNG"_s)};
    m_chosen[0].replace(0, home.size(), upper);
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(StoredPaths(), QStringList({u"Sub Dir/Photo O'Brien 钢.PNG"_s}));
    EXPECT_EQ(Value(u"SELECT id FROM materialimage"_s), u"2"_s);
    EXPECT_EQ(PicturePaths(), StoredPaths());
    EXPECT_EQ(m_dialog->ShownPath(), u"Sub Dir/Photo O'Brien 钢.PNG"_s);
    EXPECT_TRUE(m_dialog->Frame()->Picture().IsLoaded());
    EXPECT_EQ(m_dialog->Frame()->cursor().shape(), Qt::PointingHandCursor);

    // Outside the home directory, or holding it only further on: refused.
    const QString outside = DataFile().Dir() + u"/elsewhere/"_s;
    QDir().mkpath(outside + m_home);
    m_chosen = {DataFile().Dir() + u"/a.png"_s, outside + m_home + u"a.png"_s};
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList(2, u"图片不在图片主目录下，无法保存！"_s));
    EXPECT_EQ(Count(u"materialimage"_s), 1);

    // Several files picked at once are all attached; cancelling attaches none.
    m_messages.Clear();
    m_chosen = {Picture(u"b.jpg"_s), Picture(u"c.bmp"_s)};
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_EQ(PicturePaths(),
              QStringList({u"Sub Dir/Photo O'Brien 钢.PNG"_s, u"b.jpg"_s, u"c.bmp"_s}));
    m_chosen.clear();
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_EQ(Count(u"materialimage"_s), 3);
    EXPECT_TRUE(m_messages.Texts().isEmpty());

    // The other item has none; the first one's come back.
    ClickItem(0);
    EXPECT_TRUE(PicturePaths().isEmpty());
    ClickItem(1);
    EXPECT_EQ(PicturePaths().size(), 3);
}

TEST_F(CataloguePicturesTest, WithoutAHomeDirectoryTheWholePathIsStored)
{
    Open(QString());
    ClickItem(0);
    m_chosen = {Picture(u"x.png"_s)};
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(StoredPaths(), m_chosen);
    ClickPicture(0);
    EXPECT_TRUE(m_dialog->Frame()->Picture().IsLoaded());
}

TEST_F(CataloguePicturesTest, FrameOpensThePreviewAtThePicturesSize)
{
    Picture(u"wide.png"_s, QSize(200, 100));
    m_file.Exec(u"INSERT INTO materialimage (id, path) VALUES (1, 'wide.png')"_s);
    Open();
    ClickFrame(); // nothing shown: nothing happens
    ClickItem(0);
    ClickPicture(0);
    EXPECT_EQ(m_dialog->Frame()->Picture().Width(), 200);
    QSize client;
    {
        ModalDriver<CPicturePreviewDlg> preview(
            [&client](CPicturePreviewDlg& dialog) { client = dialog.size(); });
        ClickFrame();
    }
    EXPECT_EQ(client, QSize(200, 100));
    EXPECT_TRUE(m_messages.Texts().isEmpty());

    // The file goes while it is shown.
    QFile::remove(m_home + u"wide.png"_s);
    ClickFrame();
    EXPECT_EQ(m_messages.Texts(), QStringList({u"图片不存在，无法打开！"_s}));
}

TEST_F(CataloguePicturesTest, RemovedFilesAreListedMarkedAndLeaveTheFrameEmpty)
{
    Picture(u"kept.png"_s);
    Picture(u"sub/old.png"_s);
    m_file.Exec(u"INSERT INTO materialimage (id, path) VALUES (1, 'kept.png'), (1, 'gone.png'),"
                "(1, 'SUB/OLD.PNG'), (1, 'note.jpg')"_s);
    QFile note(m_home + u"note.jpg"_s);
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("not a picture");
    note.close();
    Open();
    ClickItem(0);
    EXPECT_EQ(PicturePaths(),
              QStringList({u"kept.png"_s, u"gone.png"_s, u"SUB/OLD.PNG"_s, u"note.jpg"_s}));
    CCataloguePictureList* list = m_dialog->PictureList();
    ASSERT_TRUE(list->WaitForThumbnails(5000));
    EXPECT_TRUE(list->HasThumbnail(0));
    EXPECT_FALSE(list->IsMarkedMissing(0));
    EXPECT_TRUE(list->IsMarkedMissing(1));
    EXPECT_TRUE(list->item(1, 0)->text().contains(u"（文件不存在）"_s));
    // A path an older data file stored in other letters is still found.
    EXPECT_TRUE(list->HasThumbnail(2));
    EXPECT_FALSE(list->IsMarkedMissing(3));

    ClickPicture(0);
    EXPECT_EQ(m_dialog->ShownPath(), u"kept.png"_s);
    ClickPicture(1);
    EXPECT_FALSE(m_dialog->Frame()->Picture().IsLoaded());
    EXPECT_TRUE(m_dialog->ShownPath().isEmpty());
    EXPECT_EQ(m_dialog->Frame()->cursor().shape(), Qt::ArrowCursor);
    {
        NoDialog none;
        ClickFrame();
    }
    ClickPicture(2);
    EXPECT_TRUE(m_dialog->Frame()->Picture().IsLoaded());
    ClickPicture(3); // no picture in it: empty frame, no message
    EXPECT_FALSE(m_dialog->Frame()->Picture().IsLoaded());
    EXPECT_TRUE(m_dialog->ShownPath().isEmpty());
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_F(CataloguePicturesTest, DeleteRemovesThePictureSelectedAndShownAndKeepsItsFile)
{
    const QString file = Picture(u"a.png"_s);
    Picture(u"b.png"_s);
    m_file.Exec(u"INSERT INTO materialimage (no, id, path) VALUES (5, 1, 'a.png'), (6, 1, 'b.png'),"
                "(7, 1, 'gone.png')"_s);
    Open();
    ClickItem(0);
    CCataloguePictureList* list = m_dialog->PictureList();
    Click(*m_dialog, u"IDC_DELETEPICTURE"_s); // none chosen
    EXPECT_TRUE(m_messages.Texts().isEmpty());

    ClickPicture(0);
    m_messages.AnswerNext(false);
    Click(*m_dialog, u"IDC_DELETEPICTURE"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text, u"您是否确认要删除这张图片的路径？"_s);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"警告"_s);
    EXPECT_EQ(Count(u"materialimage"_s), 3);

    // Yes: that row goes, its file stays, and nothing is selected or shown after, so a second
    // 删除 does nothing.
    Click(*m_dialog, u"IDC_DELETEPICTURE"_s);
    EXPECT_EQ(StoredPaths(), QStringList({u"b.png"_s, u"gone.png"_s}));
    EXPECT_EQ(PicturePaths(), StoredPaths());
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(list->SelectedRow(), -1);
    EXPECT_TRUE(m_dialog->ShownPath().isEmpty());
    EXPECT_FALSE(m_dialog->Frame()->Picture().IsLoaded());
    m_messages.Clear();
    Click(*m_dialog, u"IDC_DELETEPICTURE"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_EQ(Count(u"materialimage"_s), 2);

    // A picture added is selected as it is shown, and it is the one 删除 then removes.
    m_chosen = {Picture(u"c.png"_s)};
    Click(*m_dialog, u"IDC_ADDPICTURE"_s);
    EXPECT_EQ(list->SelectedRow(), 2);
    EXPECT_EQ(m_dialog->ShownPath(), u"c.png"_s);
    EXPECT_TRUE(m_dialog->Frame()->Picture().IsLoaded());
    Click(*m_dialog, u"IDC_DELETEPICTURE"_s);
    EXPECT_EQ(StoredPaths(), QStringList({u"b.png"_s, u"gone.png"_s}));
    EXPECT_EQ(PicturePaths(), StoredPaths());
    EXPECT_EQ(list->SelectedRow(), -1);
    EXPECT_FALSE(m_dialog->Frame()->Picture().IsLoaded());

    // Another workstation removed the rows meanwhile.
    m_file.Exec(u"DELETE FROM materialimage"_s);
    ClickPicture(1);
    Click(*m_dialog, u"IDC_DELETEPICTURE"_s);
    EXPECT_EQ(m_messages.LastText(), u"没有找到要删除的记录！"_s);
}

TEST_F(CataloguePicturesTest, ManyPicturesAreAllListedAndClosingWhileLoadingIsSafe)
{
    for (int i = 0; i < 5; ++i)
        Picture(u"p%1.jpg"_s.arg(i), QSize(1600, 1200));
    QString rows;
    for (int i = 0; i < 200; ++i)
        rows += u"%1(1, 'p%2.jpg')"_s.arg(i ? u","_s : QString()).arg(i % 7);
    m_file.Exec(u"INSERT INTO materialimage (id, path) VALUES "_s + rows);
    Open();
    // How long listing them takes is measured in bench_catalogue.
    ClickItem(0);
    EXPECT_EQ(PicturePaths().size(), 200);
    m_dialog.reset(); // thumbnails still on their way
    QCoreApplication::processEvents();
}

} // namespace
