#include "kit/messages.h"
#include "support/modal.h"

#include <QAbstractButton>
#include <QMessageBox>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

TEST(Messages, ARecorderOverAnotherTakesTheMessagesUntilItEndsThenBoxesShowAgain)
{
    {
        MessageRecorder outer;
        Inform(nullptr, u"一"_s);
        {
            MessageRecorder inner;
            inner.AnswerNext(false);
            Warn(nullptr, u"二"_s, u"标题"_s);
            EXPECT_FALSE(Ask(nullptr, u"三"_s, u"问题"_s));
            EXPECT_TRUE(Ask(nullptr, u"四"_s, u"问题"_s)); // the script is used up: Yes
            ASSERT_EQ(inner.Messages().size(), 3u);
            EXPECT_TRUE(inner.Messages()[0].warning);
            EXPECT_EQ(inner.Messages()[0].caption, u"标题"_s);
            EXPECT_TRUE(inner.Messages()[1].question);
            EXPECT_FALSE(inner.Messages()[1].warning);
        }
        Inform(nullptr, u"五"_s);
        EXPECT_EQ(outer.Texts(), (QStringList{u"一"_s, u"五"_s}));
        EXPECT_FALSE(outer.Messages()[1].warning);
    }
    EXPECT_EQ(InstalledMessageSink(), nullptr);

    // With no sink a failure shows as a warning box under the program's name, and a question
    // asks Yes or No.
    {
        ModalDriver<QMessageBox> box([](QMessageBox& shown) {
            EXPECT_EQ(shown.icon(), QMessageBox::Warning);
            EXPECT_EQ(shown.windowTitle(), u"Vantrel"_s);
            EXPECT_EQ(shown.text(), u"失败"_s);
            shown.button(QMessageBox::Ok)->click();
        });
        Warn(nullptr, u"失败"_s);
    }
    {
        ModalDriver<QMessageBox> box([](QMessageBox& shown) {
            EXPECT_EQ(shown.standardButtons(), QMessageBox::Yes | QMessageBox::No);
            shown.button(QMessageBox::No)->click();
        });
        EXPECT_FALSE(Ask(nullptr, u"继续？"_s, u"问题"_s));
    }
}

} // namespace
