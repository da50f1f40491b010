// The program's one file dialog: a saved file's name keeps to the file type chosen, and a
// command's next dialog starts where its last file was.
#include "kit/filechoice.h"
#include "support/modal.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString OfferedName(QFileDialog& dialog)
{
    auto* edit = dialog.findChild<QLineEdit*>(u"fileNameEdit"_s);
    return edit ? edit->text() : QString();
}

// Picks a file type as the user does, in the dialog's list of types.
void PickFilter(QFileDialog& dialog, int index)
{
    auto* types = dialog.findChild<QComboBox*>(u"fileTypeCombo"_s);
    ASSERT_NE(types, nullptr);
    types->setCurrentIndex(index);
    types->activated(index);
}

} // namespace

TEST(FileChoice, ASavedNameEndsInItsFileTypeAndTheFolderIsKept)
{
    QTemporaryDir dir;
    FileChoice choice;
    choice.kind = FileChoice::Kind::Save;
    choice.objectName = u"chooseExportFile"_s;
    choice.filters = {u"Excel 文件 (*.xlsx)"_s, u"CSV 文件 (*.csv)"_s};
    choice.fileName = u"本月销售"_s;
    choice.lastFolder = std::make_shared<QString>(dir.path());
    QString filter;
    {
        ModalDriver<QFileDialog> driver([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), u"chooseExportFile"_s);
            EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
            EXPECT_EQ(OfferedName(dialog), u"本月销售.xlsx"_s);
            PickFilter(dialog, 1);
            EXPECT_EQ(OfferedName(dialog), u"本月销售.csv"_s);
            dialog.selectFile(QDir(dir.path()).filePath(u"sub/汇总"_s));
            QMetaObject::invokeMethod(&dialog, "accept");
        });
        ASSERT_TRUE(QDir(dir.path()).mkdir(u"sub"_s));
        EXPECT_EQ(ChooseFile(nullptr, choice, &filter),
                  QDir(dir.path()).filePath(u"sub/汇总.csv"_s));
    }
    EXPECT_EQ(filter, u"CSV 文件 (*.csv)"_s);
    EXPECT_EQ(*choice.lastFolder, QDir(dir.path()).filePath(u"sub"_s));

    // Two types of one suffix: a typed name stays when the other is picked; the next dialog
    // starts in the folder kept.
    choice.filters = {u"vCard 3.0 文件 (*.vcf)"_s, u"vCard 4.0 文件 (*.vcf)"_s};
    ModalDriver<QFileDialog> driver([&](QFileDialog& dialog) {
        EXPECT_EQ(QDir(dialog.directory()).absolutePath(), QDir(dir.path()).filePath(u"sub"_s));
        dialog.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"朋友.vcf"_s);
        PickFilter(dialog, 1);
        EXPECT_EQ(OfferedName(dialog), u"朋友.vcf"_s);
        dialog.reject();
    });
    EXPECT_TRUE(ChooseFile(nullptr, choice, &filter).isEmpty());
}
