#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/notecommands.h"
#include "schedule/notelist.h"
#include "schedule/notepaperdlg.h"
#include "schedule/notepaperquerydlg.h"
#include "schedule/schedulerecords.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "views/featurecontext.h"

#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>

namespace {

// Notes on 1 and 2 January 2009 and one of "today", 12 June 2024 by the program's clock; the
// weather of the last is NULL.
class NotepaperTest : public RecordViewsTest
{
protected:
    NotepaperTest()
    {
        m_file.Exec(u"INSERT INTO notepaper (no, time, weather, caption, content) VALUES "
                    "(1, '2009-01-01 00:00:00', '晴', '元旦', '新年第一天'), "
                    "(2, '2009-01-02 00:00:00', '雪', 'O''Neil 来访', '谈[合同]'), "
                    "(3, '2024-06-12 00:00:00', NULL, '周会', '讨论')"_s);
        RegisterNoteCommands(m_context);
        m_window.show();
    }

    // 查询搜索 > 便笺, with `query` run on the open dialog.
    void Query(const std::function<void(CNotepaperQueryDlg&)>& query)
    {
        ModalDriver<CNotepaperQueryDlg> driver([&](CNotepaperQueryDlg& dialog) {
            query(dialog);
            EXPECT_FALSE(dialog.isVisible());
        });
        m_commands.Run(ID_QUERY_NOTE);
    }
    void QueryDays(QDate start, QDate end)
    {
        Query([&](CNotepaperQueryDlg& dialog) {
            Find<QDateTimeEdit>(dialog, u"IDC_STARTDATE"_s)->setDate(start);
            Find<QDateTimeEdit>(dialog, u"IDC_ENDDATE"_s)->setDate(end);
            Click(dialog, u"IDC_QUERYDATE"_s);
        });
    }
    void QueryText(const QString& edit, const QString& button, const QString& text)
    {
        Query([&](CNotepaperQueryDlg& dialog) {
            Paste(Find<QLineEdit>(dialog, edit), text);
            Click(dialog, button);
        });
    }
    // The numbers of the listed notes, in list order.
    QStringList Listed() const
    {
        QStringList numbers;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            numbers << RowTexts(m_main->List(), row).constLast();
        return numbers;
    }
    QString Stored(int no, const QString& field) const
    {
        return Value(u"SELECT %1 FROM notepaper WHERE no = %2"_s.arg(field).arg(no));
    }

    static inline const QDate kToday{2024, 6, 12};
    CAppContext m_app;
    FixedClock m_clock{m_app, QDateTime(kToday, QTime(23, 59, 59))};
    FeatureCommands m_commands;
    CFeatureContext m_context{m_app, m_doc, m_commands, &m_window};
};

TEST_P(NotepaperTest, QueriesListNotesWithTheirWeekdayTheLatestDayFirst)
{
    QueryDays(QDate(2009, 1, 1), QDate(2009, 1, 1));
    EXPECT_EQ(m_main->Category(), ScheduleCategory::kNotes);
    EXPECT_EQ(m_main->Caption(), u"便笺"_s);
    ASSERT_NE(TextView(), nullptr);
    EXPECT_EQ(ColumnTitles(m_main->List()),
              (QStringList{u"日期"_s, u"天气"_s, u"标题"_s, u"内容"_s, QString()}));
    ASSERT_EQ(Listed(), QStringList{u"1"_s});
    EXPECT_EQ(RowTexts(m_main->List(), 0),
              (QStringList{u"2009-1-1  星期四"_s, u"晴"_s, u"元旦"_s, u"新年第一天"_s, u"1"_s}));
    EXPECT_EQ(m_main->List().GetItemImage(0), 3);
    LeftClick(*m_main, 0);
    EXPECT_EQ(TextView()->Text(), u"新年第一天"_s);

    // Today's note is inside today's range, 0:0:0 to 23:59:59; its weather is listed empty.
    QueryDays(kToday, kToday);
    ASSERT_EQ(Listed(), QStringList{u"3"_s});
    EXPECT_EQ(RowTexts(m_main->List(), 0)[1], QString());
    // A reversed range finds nothing.
    QueryDays(QDate(2009, 1, 2), QDate(2009, 1, 1));
    EXPECT_EQ(Listed(), QStringList());
    QueryDays(QDate(2009, 1, 1), QDate(2009, 1, 2));
    EXPECT_EQ(Listed(), (QStringList{u"2"_s, u"1"_s}));

    // One character anywhere in the caption; quotes and brackets are searched as typed.
    QueryText(u"IDC_CAPTION"_s, u"IDC_QUERYCAPTION"_s, u"会"_s);
    EXPECT_EQ(Listed(), QStringList{u"3"_s});
    QueryText(u"IDC_CAPTION"_s, u"IDC_QUERYCAPTION"_s, u"'"_s);
    EXPECT_EQ(Listed(), QStringList{u"2"_s});
    QueryText(u"IDC_CONTENT"_s, u"IDC_QUERYCONTENT"_s, u"[合同]"_s);
    EXPECT_EQ(Listed(), QStringList{u"2"_s});
    EXPECT_EQ(m_main->CurrentQuery(),
              u"SELECT * FROM notepaper WHERE [content] LIKE '%[合同]%' ORDER BY time DESC"_s);
    QueryText(u"IDC_CONTENT"_s, u"IDC_QUERYCONTENT"_s, u"没有的"_s);
    EXPECT_EQ(Listed(), QStringList());
    Query([](CNotepaperQueryDlg& dialog) { Click(dialog, u"IDC_QUERYALL"_s); });
    EXPECT_EQ(Listed(), (QStringList{u"3"_s, u"2"_s, u"1"_s}));
}

TEST_P(NotepaperTest, EnterQueriesTheGroupThatHasTheFocus)
{
    Query([](CNotepaperQueryDlg& dialog) {
        dialog.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        using enum CNotepaperQueryDlg::Group;
        const std::pair<const char16_t*, CNotepaperQueryDlg::Group> controls[] = {
            {u"IDC_CAPTION", kCaptionGroup},
            {u"IDC_ENDDATE", kDateGroup},
            {u"IDC_CONTENT", kContentGroup},
            {u"IDC_STARTDATE", kDateGroup},
            {u"IDC_CAPTION", kCaptionGroup}};
        for (const auto& [name, group] : controls) {
            Find<QWidget>(dialog, QString::fromUtf16(name))->setFocus(Qt::TabFocusReason);
            QCoreApplication::processEvents();
            for (auto other : {kDateGroup, kCaptionGroup, kContentGroup})
                EXPECT_EQ(dialog.QueryButton(other)->isDefault(), other == group);
        }
        auto* caption = Find<QLineEdit>(dialog, u"IDC_CAPTION"_s);
        TypeInto(caption, u"元"_s);
        QTest::keyClick(caption, Qt::Key_Return);
    });
    EXPECT_EQ(Listed(), QStringList{u"1"_s});
}

TEST_P(NotepaperTest, NewNoteShowsItsWeekdayAndNeedsCaptionAndText)
{
    CNotepaperDlg dialog(m_db.get(), m_main, TextView(), m_app.Clock(), &m_window);
    dialog.show();
    EXPECT_EQ(dialog.DatePicker()->date(), kToday);
    dialog.DatePicker()->setDate(QDate(2009, 1, 1));
    EXPECT_EQ(dialog.WeekdayText(), u"星期四"_s);
    dialog.DatePicker()->setDate(QDate(2009, 1, 4));
    EXPECT_EQ(dialog.WeekdayText(), u"星期日"_s);

    Click(dialog, u"IDOK"_s);
    RetypeField(dialog, u"caption"_s, u"标题"_s);
    Click(dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), (QStringList{u"您还没有填写标题！"_s, u"您还没有填写内容！"_s}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(Count(u"notepaper"_s), 3);

    // 250 characters and no more; a long text with quotes, brackets and emoji is kept whole.
    Paste(dialog.Control(u"caption"_s), QString(300, u'题'));
    EXPECT_EQ(dialog.Control(u"caption"_s)->property("text").toString(), QString(250, u'题'));
    const QString content = u"他说：\"别'忘'了[带]伞\" 😀\n"_s.repeated(2000).left(64000);
    Paste(dialog.Control(u"content"_s), content);
    m_messages.Clear();
    Click(dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Stored(4, u"time"_s), u"2009-01-04 00:00:00"_s);
    EXPECT_EQ(Stored(4, u"caption"_s), QString(250, u'题'));
    EXPECT_EQ(Stored(4, u"content"_s), content);
    EXPECT_EQ(Stored(4, u"weather IS NULL"_s), u"1"_s);
    // The list is not touched by an add.
    EXPECT_EQ(m_main->List().GetItemCount(), 0);
}

TEST_P(NotepaperTest, ModifyFromTheListMovesTheNoteAndRewritesItsRow)
{
    ShowNoteList(m_doc, u"SELECT * FROM notepaper ORDER BY time DESC"_s);
    ASSERT_EQ(Listed(), (QStringList{u"3"_s, u"2"_s, u"1"_s}));
    {
        ModalDriver<CNotepaperDlg> driver([](CNotepaperDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 1);
            EXPECT_EQ(dialog.DatePicker()->date(), QDate(2009, 1, 2));
            EXPECT_EQ(dialog.WeekdayText(), u"星期五"_s);
            EXPECT_EQ(dialog.Control(u"caption"_s)->property("text").toString(), u"O'Neil 来访"_s);
            dialog.DatePicker()->setDate(QDate(2010, 2, 28));
            RetypeField(dialog, u"weather"_s, QString());
            RetypeField(dialog, u"content"_s, u"改'过"_s);
            Click(dialog, u"IDOK"_s);
        });
        DoubleClick(*m_main, 1);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(RowTexts(m_main->List(), 1), (QStringList{u"2010-2-28  星期日"_s, QString(),
                                                        u"O'Neil 来访"_s, u"改'过"_s, u"2"_s}));
    EXPECT_EQ(TextView()->Text(), u"改'过"_s);
    EXPECT_EQ(Stored(2, u"time || '|' || (weather IS NULL) || '|' || content"_s),
              u"2010-02-28 00:00:00|1|改'过"_s);
    EXPECT_EQ(Count(u"notepaper"_s), 3);

    // A note deleted meanwhile cannot be saved; the dialog keeps the input.
    m_messages.Clear();
    CNotepaperDlg gone(m_db.get(), m_main, TextView(), m_app.Clock(), &m_window);
    gone.m_bModify = 1;
    gone.m_nNo = 99;
    gone.m_strCaption = u"旧"_s;
    gone.m_strContent = u"旧的"_s;
    gone.show();
    Click(gone, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"找不到此数据！"_s});
    EXPECT_TRUE(gone.isVisible());
    EXPECT_EQ(Count(u"notepaper"_s), 3);
}

INSTANTIATE_TEST_SUITE_P(, NotepaperTest, EachBackend(), BackendName);

} // namespace
