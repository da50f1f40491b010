#include "app/printcommands.h"
#include "kit/commandids.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/recordviews.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace {

class PrintCommandsTest : public RecordViewsTest
{
protected:
    PrintCommandsTest() { RegisterPrintCommands(m_doc, m_commands, &m_window); }

    FeatureCommands m_commands;
};

TEST_F(PrintCommandsTest, PreviewShowsTheListOnSidewaysPagesWhenItIsWide)
{
    // An empty list has nothing to print: no dialog opens.
    {
        NoDialog none;
        m_commands.Run(ID_FILE_PRINT_PREVIEW);
        m_commands.Run(ID_FILE_PRINT);
    }
    EXPECT_EQ(m_messages.Texts(),
              (QStringList{u"当前列表中没有可打印的内容！"_s, u"当前列表中没有可打印的内容！"_s}));

    QStringList titles;
    for (int column = 0; column < 12; ++column)
        titles << u"列%1"_s.arg(column);
    titles << QString();
    std::vector<QStringList> rows(150, QStringList(13, u"文字"_s));
    FillMain(0, {}, titles, rows);
    int pages = 0;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    {
        ModalDriver<QPrintPreviewDialog> preview([&](QPrintPreviewDialog& dialog) {
            auto* widget = dialog.findChild<QPrintPreviewWidget*>();
            ASSERT_NE(widget, nullptr);
            QTRY_VERIFY(widget->pageCount() > 0);
            pages = widget->pageCount();
            orientation = widget->orientation();
        });
        m_commands.Run(ID_FILE_PRINT_PREVIEW);
    }
    // Twelve columns of 100 pixels need a sideways page; 150 rows need several.
    EXPECT_EQ(orientation, QPageLayout::Landscape);
    EXPECT_GT(pages, 3);
}

} // namespace
