// Passwords and byte lengths need the code-page converter: start-up refuses to go on without it.
#include "app/startup.h"
#include "app/vantrelapp.h"
#include "data/gbktext.h"
#include "kit/messages.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(StartUpCodePage, TheConverterIsThereAndWithoutItStartUpStops)
{
    ASSERT_TRUE(GbkAvailable());
    EXPECT_EQ(ToGbk(u"中A"_s), QByteArray("\xD6\xD0"
                                          "A"));
    MessageRecorder messages;
    EXPECT_TRUE(CStartUp::CheckCodePage(true));
    EXPECT_TRUE(messages.Texts().isEmpty());
    EXPECT_FALSE(CStartUp::CheckCodePage(false));
    EXPECT_EQ(messages.Texts(), QStringList{u"无法创建GBK编码转换，程序无法运行！"_s});
}
