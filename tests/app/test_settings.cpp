#include "app/chinesetranslation.h"
#include "app/inifile.h"
#include "app/settingsdlg.h"
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "kit/skinengine.h"
#include "startfolder.h"
#include "support/controls.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(IniFile, ReadsAndWritesLikeTheProfileFunctions)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(u"setup.ini"_s);
    EXPECT_EQ(inifile::ReadString(ini, u"Settings"_s, u"Skin"_s, u"xpsteel.smf"_s),
              u"xpsteel.smf"_s);
    ASSERT_TRUE(inifile::WriteString(ini, u"Settings"_s, u"Path"_s, u"/srv/共享/sale.db"_s));
    EXPECT_EQ(inifile::ReadString(ini, u"settings"_s, u"PATH"_s), u"/srv/共享/sale.db"_s);

    {
        QFile file(ini);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(
            "; written by hand\r\n[Other]\r\nSkin=no\r\n\r\n[Settings]\r\n"
            "Skin = \"amber.smf\"\r\nPicPath=/home/ann/Pictures, 2024/\r\n\r\n[Last]\r\nx=1\r\n");
    }
    EXPECT_EQ(inifile::ReadString(ini, u"Settings"_s, u"Skin"_s), u"amber.smf"_s);
    EXPECT_EQ(inifile::ReadString(ini, u"Settings"_s, u"PicPath"_s),
              u"/home/ann/Pictures, 2024/"_s);
    ASSERT_TRUE(inifile::WriteString(ini, u"Settings"_s, u"Skin"_s, u"midnight.smf"_s));
    ASSERT_TRUE(inifile::WriteString(ini, u"Settings"_s, u"Path"_s, u"sale.db"_s));
    QFile file(ini);
    file.open(QIODevice::ReadOnly);
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              u"; written by hand\n[Other]\nSkin=no\n\n[Settings]\nSkin=midnight.smf\n"
              "PicPath=/home/ann/Pictures, 2024/\nPath=sale.db\n\n[Last]\nx=1\n"_s);
}

TEST(IniFile, BesideTheProgramOrInTheUsersFolder)
{
    QTemporaryDir program;
    QTemporaryDir user;
    EXPECT_EQ(CAppSettings::IniPathFor(program.path(), user.path()),
              program.filePath(u"setup.ini"_s));
    // A folder nobody may write to, as for a program installed for the whole system.
    const QString userFolder = user.filePath(u"Vantrel"_s);
    EXPECT_EQ(CAppSettings::IniPathFor(u"/proc"_s, userFolder), userFolder + u"/setup.ini"_s);
    EXPECT_TRUE(QFileInfo(userFolder).isDir());
}

namespace {
struct SettingsFixture
{
    StartFolder folder;
    std::unique_ptr<CVantrelApp> app;

    SettingsFixture()
    {
        for (const QString& skin : {u"xpsteel.smf"_s, u"amber.smf"_s, u"midnight.smf"_s})
            folder.AddSkin(skin);
        folder.WriteIni("[Settings]\nSkin=midnight.smf\nPicPath=/srv/Pictures/\n");
        app = folder.MakeApp();
        CStartUp(*app).ChooseSkin();
    }
};
} // namespace

TEST(Settings, SkinListFillsWhenDroppedDownAndAPickIsSavedAtOnce)
{
    SettingsFixture fixture;
    CSettingsDlg dialog(*fixture.app);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"杂项设置"_s);
    EXPECT_EQ(dialog.SkinList()->count(), 0);
    EXPECT_EQ(dialog.PicturePathEdit()->text(), u"/srv/Pictures/"_s);

    dialog.SkinList()->showPopup();
    EXPECT_EQ(Items(dialog.SkinList()), (QStringList{u"amber"_s, u"midnight"_s, u"xpsteel"_s}));
    EXPECT_EQ(dialog.SkinList()->currentText(), u"midnight"_s);
    dialog.SkinList()->hidePopup();

    // Picking a skin loads it and saves it; Cancel does not undo that.
    dialog.SkinList()->setCurrentIndex(0);
    Q_EMIT dialog.SkinList()->activated(0);
    EXPECT_EQ(fixture.app->SkinName(), u"amber.smf"_s);
    EXPECT_EQ(fixture.app->Settings().ReadSetting(u"Skin"_s), u"amber.smf"_s);
    EXPECT_EQ(fixture.app->SkinEngine().CurrentSkinPath(),
              QDir(fixture.folder.Dir()).filePath(u"skin/amber.smf"_s));
    dialog.reject();
    EXPECT_EQ(fixture.app->Settings().ReadSetting(u"Skin"_s), u"amber.smf"_s);
    EXPECT_EQ(fixture.app->Settings().ReadSetting(u"PicPath"_s), u"/srv/Pictures/"_s);

    // A skin file named in capitals is loaded and saved by its real name.
    fixture.folder.AddSkin(u"Blue.SMF"_s);
    dialog.FillSkins();
    const int blue = dialog.SkinList()->findText(u"Blue"_s);
    ASSERT_GE(blue, 0);
    Q_EMIT dialog.SkinList()->activated(blue);
    EXPECT_EQ(fixture.app->Settings().ReadSetting(u"Skin"_s), u"Blue.SMF"_s);
    EXPECT_EQ(fixture.app->SkinEngine().CurrentSkinPath(),
              QDir(fixture.folder.Dir()).filePath(u"skin/Blue.SMF"_s));
}

TEST(Settings, ACurrentSkinThatIsGoneSelectsTheFirstWithoutSaving)
{
    SettingsFixture fixture;
    fixture.app->SetSkinName(u"gone.smf"_s);
    CSettingsDlg dialog(*fixture.app);
    dialog.show();
    dialog.FillSkins();
    EXPECT_EQ(dialog.SkinList()->currentIndex(), 0);
    EXPECT_EQ(fixture.app->SkinName(), u"amber.smf"_s);
    EXPECT_EQ(fixture.app->Settings().ReadSetting(u"Skin"_s), u"midnight.smf"_s);

    // No skins at all: the list stays empty.
    QDir(QDir(fixture.folder.Dir()).filePath(u"skin"_s)).removeRecursively();
    dialog.FillSkins();
    EXPECT_EQ(dialog.SkinList()->count(), 0);
}

TEST(Settings, PictureFolder)
{
    SettingsFixture fixture;
    CSettingsDlg dialog(*fixture.app);
    dialog.show();
    QSignalSpy changed(fixture.app.get(), &CVantrelApp::PicturePathChanged);
    auto* browse = dialog.findChild<QPushButton*>(u"IDC_BROWSE"_s);
    ASSERT_NE(browse, nullptr);
    EXPECT_EQ(browse->text(), u">>"_s);

    // Cancelling the folder browser still ends the typed text in a separator.
    dialog.PicturePathEdit()->setText(u"/Home/Ann/Shop"_s);
    {
        ModalDriver<QFileDialog> driver([](QFileDialog& files) { files.reject(); });
        QTest::mouseClick(browse, Qt::LeftButton);
    }
    EXPECT_EQ(dialog.PicturePathEdit()->text(), u"/Home/Ann/Shop/"_s);

    // A chosen folder replaces the text.
    QTemporaryDir pictures;
    {
        ModalDriver<QFileDialog> driver([&](QFileDialog& files) {
            files.selectFile(pictures.path());
            static_cast<QDialog&>(files).accept();
        });
        QTest::mouseClick(browse, Qt::LeftButton);
    }
    EXPECT_EQ(dialog.PicturePathEdit()->text(), pictures.path() + u'/');

    // OK keeps the case of the folder names, which matters here.
    dialog.PicturePathEdit()->setText(u"/Home/Ann/Shop/"_s);
    dialog.findChild<QDialogButtonBox*>(u"buttons"_s)->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(fixture.app->Settings().ReadSetting(u"PicPath"_s), u"/Home/Ann/Shop/"_s);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), u"/Home/Ann/Shop/"_s);
}

TEST(ChineseTranslation, StandardButtonsReadChinese)
{
    ASSERT_TRUE(InstallChineseTranslation(*QCoreApplication::instance()));
    QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                             QDialogButtonBox::Yes | QDialogButtonBox::No);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Ok)->text(), u"确定"_s);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), u"取消"_s);
    EXPECT_EQ(buttons.button(QDialogButtonBox::Yes)->text().remove(u'&'), u"是(Y)"_s);
    EXPECT_EQ(buttons.button(QDialogButtonBox::No)->text().remove(u'&'), u"否(N)"_s);
}
