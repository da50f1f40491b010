#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/noticedlg.h"
#include "schedule/remindercommands.h"
#include "schedule/reminderlist.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "views/featurecontext.h"

#include <QDateTimeEdit>
#include <QPlainTextEdit>

namespace {

// One reminder from 9:00 to 10:30 on 5 March 2024, and one with no text.
class NoticeTest : public RecordViewsTest
{
protected:
    NoticeTest()
    {
        m_file.Exec(u"INSERT INTO notice (no, time, endtime, content) VALUES "
                    "(4, '2024-03-05 09:00:00', '2024-03-05 10:30:00', '交报表'), "
                    "(9, '2024-03-06 08:00:00', '2024-03-07 08:00:00', NULL)"_s);
        // The clock stands far from the reminders: the watch stays quiet.
        RegisterReminderCommands(m_context);
        m_window.show();
    }

    static QDateTimeEdit* Picker(CNoticeDlg& dialog, const QString& name)
    {
        return qobject_cast<QDateTimeEdit*>(dialog.Control(name));
    }
    QString Stored(int no) const
    {
        return Value(u"SELECT time || '|' || endtime || '|' || ifnull(content, 'NULL') "
                     "FROM notice WHERE no = %1"_s.arg(no));
    }
    CAppContext m_app;
    FixedClock m_clock{m_app, QDateTime(QDate(2024, 8, 1), QTime(14, 25, 36, 789))};
    FeatureCommands m_commands;
    CFeatureContext m_context{m_app, m_doc, m_commands, &m_window};
};

TEST_P(NoticeTest, SavedWithoutTouchingThePickersStoresTheMomentItOpened)
{
    {
        ModalDriver<CNoticeDlg> driver([](CNoticeDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), u"提醒"_s);
            EXPECT_TRUE(dialog.Control(u"help"_s)
                            ->property("plainText")
                            .toString()
                            .startsWith(u"    此处的时间段并不代表"_s));
            Click(dialog, u"IDOK"_s);
        });
        m_commands.Run(ID_MANAGE_NOTICE);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
    ASSERT_EQ(Count(u"notice"_s), 3);
    const QString start = Value(u"SELECT time FROM notice WHERE no > 9"_s);
    EXPECT_EQ(Value(u"SELECT endtime FROM notice WHERE no > 9"_s), start);
    // The moment the dialog opened, to the second.
    EXPECT_EQ(start, u"2024-08-01 14:25:36"_s);
    EXPECT_EQ(Value(u"SELECT content IS NULL FROM notice WHERE no > 9"_s), u"1"_s);

    // 查询搜索 > 提醒: every reminder, the latest start first; no text lists empty.
    ShowReminderList(m_doc);
    ASSERT_EQ(m_main->List().GetItemCount(), 3);
    EXPECT_EQ(RowTexts(m_main->List(), 1),
              (QStringList{u"2024-3-6  8:0:0"_s, u"2024-3-7  8:0:0"_s, QString(), u"9"_s}));
    EXPECT_EQ(RowTexts(m_main->List(), 2)[0], u"2024-3-5  9:0:0"_s);
}

TEST_P(NoticeTest, ModifyKeepsTheNumberAndAnEndBeforeTheStart)
{
    ShowReminderList(m_doc);
    ASSERT_EQ(RowTexts(m_main->List(), 1).constLast(), u"4"_s);
    const QString text = u"带\"伞\"、O'Neil、[会]😀"_s.repeated(5000).left(64000);
    {
        ModalDriver<CNoticeDlg> driver([&](CNoticeDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 1);
            EXPECT_EQ(Picker(dialog, u"startdate"_s)->date(), QDate(2024, 3, 5));
            EXPECT_EQ(Picker(dialog, u"starttime"_s)->time(), QTime(9, 0));
            EXPECT_EQ(Picker(dialog, u"endtime"_s)->time(), QTime(10, 30));
            EXPECT_EQ(dialog.Control(u"content"_s)->property("plainText").toString(), u"交报表"_s);
            Picker(dialog, u"enddate"_s)->setDate(QDate(2024, 3, 4));
            Picker(dialog, u"endtime"_s)->setTime(QTime(23, 5, 7));
            Paste(dialog.Control(u"content"_s), text);
            Click(dialog, u"IDOK"_s);
        });
        DoubleClick(*m_main, 1);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(Stored(4), u"2024-03-05 09:00:00|2024-03-04 23:05:07|"_s + text);
    EXPECT_EQ(Count(u"notice"_s), 2);
    EXPECT_EQ(RowTexts(m_main->List(), 1),
              (QStringList{u"2024-3-5  9:0:0"_s, u"2024-3-4  23:5:7"_s, text, u"4"_s}));
    EXPECT_EQ(TextView()->Text(), text);

    // "增加记录" of the reminder list opens the empty dialog; the list keeps its rows.
    m_messages.Clear();
    {
        ModalDriver<CNoticeDlg> driver([](CNoticeDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 0);
            Picker(dialog, u"startdate"_s)->setDate(QDate(2025, 1, 1));
            Picker(dialog, u"starttime"_s)->setTime(QTime(0, 0, 0));
            Picker(dialog, u"enddate"_s)->setDate(QDate(2025, 1, 1));
            Picker(dialog, u"endtime"_s)->setTime(QTime(23, 59, 59));
            Paste(dialog.Control(u"content"_s), u"全天"_s);
            Click(dialog, u"IDOK"_s);
        });
        RightClick(*m_main, -1, u"ID_RECORD_ADD"_s);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_EQ(Value(u"SELECT time || '|' || endtime || '|' || content FROM notice WHERE no > 9"_s),
              u"2025-01-01 00:00:00|2025-01-01 23:59:59|全天"_s);
    EXPECT_EQ(m_main->List().GetItemCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(, NoticeTest, EachBackend(), BackendName);

} // namespace
