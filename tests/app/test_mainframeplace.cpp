#include "app/mainframe.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "startfolder.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class MainFramePlaceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_app = m_folder.MakeApp();
        m_app->Connections().UseDatabase(m_folder.Data().Open());
        m_app->Session().SetUser(u"张三"_s);
    }

    static QRect Area() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    // Most of the free area, centred in it.
    static void ExpectLargeAndCentred(const QRect& normal)
    {
        const QRect area = Area();
        EXPECT_TRUE(area.contains(normal));
        EXPECT_GE(normal.width(), area.width() * 3 / 4);
        EXPECT_GE(normal.height(), area.height() * 3 / 4);
        EXPECT_LE((normal.center() - area.center()).manhattanLength(), 2);
    }

    StartFolder m_folder;
    std::unique_ptr<CVantrelApp> m_app;
};

TEST_F(MainFramePlaceTest, OpensLargeAndCentredThenWhereTheUserLeftIt)
{
    const QByteArray settings =
        "[Settings]\nSkin=xpsteel.smf\nPath=/data/sale.db\nPicPath=/pics/\n";
    m_folder.WriteIni(settings);
    const QRect area = Area();
    const QRect left(area.left() + 30, area.top() + 20, 700, 520);
    {
        // The first time: maximised, over a normal size that holds where nothing maximises it.
        CMainFrame frame(*m_app);
        frame.ShowAtSavedPlace();
        EXPECT_TRUE(frame.isMaximized());
        ExpectLargeAndCentred(frame.normalGeometry());
        frame.showNormal();
        frame.setGeometry(left);
        frame.close();
    }
    EXPECT_TRUE(m_folder.IniText().startsWith(settings)) << m_folder.IniText().toStdString();
    {
        CMainFrame frame(*m_app);
        frame.ShowAtSavedPlace();
        EXPECT_FALSE(frame.isMaximized());
        EXPECT_EQ(frame.geometry(), left);
        // Maximised when closed: maximised again, over the same normal place.
        frame.showMaximized();
        frame.close();
    }
    {
        CMainFrame frame(*m_app);
        frame.ShowAtSavedPlace();
        EXPECT_TRUE(frame.isMaximized());
        EXPECT_EQ(frame.normalGeometry(), left);
    }

    // A place on no screen now (a screen since unplugged), or one that cannot be read: the
    // first time's place.
    for (const QByteArray& window : {QByteArray("Geometry=5000,4000,700,520\nMaximized=0\n"),
                                     QByteArray("Geometry=30,20,wide\nMaximized=0\n")}) {
        m_folder.WriteIni("[Window]\n" + window);
        CMainFrame frame(*m_app);
        frame.ShowAtSavedPlace();
        EXPECT_TRUE(frame.isMaximized()) << window.toStdString();
        ExpectLargeAndCentred(frame.normalGeometry());
    }
}

} // namespace
