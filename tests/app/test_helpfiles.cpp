#include "app/contactinfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringDecoder>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The help as it lies in the source tree; the build copies the folder beside the program.
QDir HelpFolder()
{
    return QDir(QString::fromUtf8(VANTREL_SOURCE_DIR "/src/res/help"));
}

QString ReadPage(const QDir& folder, const QString& name)
{
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    return utf8.hasError() ? QString() : text;
}

QStringList Links(const QString& page)
{
    static const QRegularExpression link(uR"re((?:href|src)\s*=\s*"([^"]*)")re"_s);
    QStringList found;
    for (auto match = link.globalMatch(page); match.hasNext();)
        found << match.next().captured(1);
    return found;
}

} // namespace

TEST(HelpFiles, EveryPageIsReachableFromTheContentsAndWorksOffline)
{
    const QDir folder = HelpFolder();
    ASSERT_TRUE(folder.exists(u"index.html"_s)) << folder.absolutePath().toStdString();
    const QStringList pages = folder.entryList({u"*.html"_s}, QDir::Files);
    ASSERT_GE(pages.size(), 8);

    const QSet<QString> fromContents = [&] {
        const QStringList links = Links(ReadPage(folder, u"index.html"_s));
        return QSet<QString>(links.begin(), links.end());
    }();
    for (const QString& name : pages) {
        SCOPED_TRACE(name.toStdString());
        const QString page = ReadPage(folder, name);
        ASSERT_FALSE(page.isEmpty()) << "missing or not UTF-8";
        EXPECT_TRUE(page.contains(u"<html lang=\"zh-CN\">"_s));
        EXPECT_TRUE(page.contains(u"<meta charset=\"utf-8\">"_s));
        EXPECT_TRUE(page.contains(u"href=\"style.css\""_s));
        EXPECT_TRUE(name == u"index.html"_s || fromContents.contains(name))
            << "not in the contents";
        for (const QString& target : Links(page)) {
            EXPECT_FALSE(target.contains(u':'))
                << "points outside the help: " << target.toStdString();
            const QString file = target.section(u'#', 0, 0);
            EXPECT_TRUE(file.isEmpty() || folder.exists(file))
                << "broken link " << target.toStdString();
        }
    }
}

TEST(HelpFiles, AboutPageNamesTheAddressesTheHelpMenuOpens)
{
    const QString about = ReadPage(HelpFolder(), u"about.html"_s);
    EXPECT_TRUE(about.contains(QString::fromUtf16(kVantrelWebSite)));
    EXPECT_TRUE(about.contains(QString::fromUtf16(kVantrelSupportMail)));
    EXPECT_TRUE(QString::fromUtf16(kVantrelWebSite).startsWith(u"https://"_s));
    EXPECT_TRUE(QString::fromUtf16(kVantrelSupportMail).contains(u'@'));
}
