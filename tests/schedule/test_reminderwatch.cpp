#include "data/adorecordset.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/appointcommands.h"
#include "schedule/appointdlg.h"
#include "schedule/noticedlg.h"
#include "schedule/remindercommands.h"
#include "schedule/remindersdue.h"
#include "schedule/reminderwatch.h"
#include "schedule/reminderwindow.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "views/featurecontext.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>

namespace {

QDateTime At(int hour, int minute, int second = 0, int day = 5)
{
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute, second));
}

// Reminders on 5 March 2024: 4 from 9:00 to 10:00, 6 from 9:30 to 9:45, 8 whose end (8:00)
// precedes its start (11:00). Appointments with 张三 of 甲公司 at 14:00, one flagged 定时提醒,
// one not; 北方公司 (first in the client box) has a contact without appointments.
class ReminderWatchTest : public RecordViewsTest
{
protected:
    ReminderWatchTest()
    {
        m_file.Exec(u"INSERT INTO notice (no, time, endtime, content) VALUES "
                    "(4, '2024-03-05 09:00:00', '2024-03-05 10:00:00', '交''月报'''), "
                    "(6, '2024-03-05 09:30:00', '2024-03-05 09:45:00', NULL), "
                    "(8, '2024-03-05 11:00:00', '2024-03-05 08:00:00', '反了')"_s);
        m_file.Exec(u"INSERT INTO client (no, name) VALUES (1, '甲公司'), (2, '北方公司')"_s);
        m_file.Exec(u"INSERT INTO linkman (no, client, name) VALUES (1, 1, '张三'), "
                    "(2, 2, '李四')"_s);
        m_file.Exec(u"INSERT INTO appoint (no, linkman, time, place, content, notice) VALUES "
                    "(1, 1, '2024-03-05 14:00:00', '会议室', '签合同', 1), "
                    "(2, 1, '2024-03-05 14:00:00', '门口', '不提醒', 0)"_s);
    }

    // The numbers of the due entries, "r4" for reminder 4, "a1" for appointment 1; fresh ones
    // marked with "*".
    QStringList Due(CRemindersDue& due)
    {
        QStringList shown;
        for (const DueEntry& entry : due.Check())
            shown << (entry.kind == DueEntry::Reminder ? u"r"_s : u"a"_s) +
                         QString::number(entry.no) + (entry.fresh ? u"*"_s : QString());
        return shown;
    }
    CRemindersDue NewDue() { return CRemindersDue(m_db.get(), m_app.Clock()); }

    CAppContext m_app;
    FixedClock m_clock{m_app, At(8, 0)};
    FeatureCommands m_commands;
    CFeatureContext m_context{m_app, m_doc, m_commands, &m_window};
};

TEST_P(ReminderWatchTest, RemindersAreDueInTheirWindowOnceUntilPutAway)
{
    CRemindersDue due = NewDue();
    m_clock.Set(At(8, 59, 59));
    EXPECT_EQ(Due(due), QStringList());
    m_clock.Set(At(9, 0));
    EXPECT_EQ(Due(due), QStringList{u"r4*"_s});
    // Still listed, but no longer new.
    m_clock.Set(At(9, 1));
    EXPECT_EQ(Due(due), QStringList{u"r4"_s});
    m_clock.Set(At(9, 30));
    EXPECT_EQ(Due(due), (QStringList{u"r4"_s, u"r6*"_s}));

    // 稍后提醒: back ten minutes later, new again.
    std::vector<DueEntry> entries = due.Check();
    ASSERT_EQ(entries.size(), 2u);
    due.Snooze(entries[0]);
    EXPECT_EQ(Due(due), QStringList{u"r6"_s});
    m_clock.Set(At(9, 39, 59));
    EXPECT_EQ(Due(due), QStringList{u"r6"_s});
    m_clock.Set(At(9, 40));
    EXPECT_EQ(Due(due), (QStringList{u"r4*"_s, u"r6"_s}));

    // 知道了: gone for the run, though its window lasts.
    due.Acknowledge(due.Check()[0]);
    m_clock.Set(At(9, 45));
    EXPECT_EQ(Due(due), QStringList{u"r6"_s});
    m_clock.Set(At(9, 45, 1));
    EXPECT_EQ(Due(due), QStringList());

    // A reminder whose end precedes its start is never due.
    for (const QDateTime& moment : {At(8, 0), At(9, 0), At(11, 0), At(12, 0)}) {
        m_clock.Set(moment);
        CRemindersDue fresh = NewDue();
        EXPECT_FALSE(Due(fresh).contains(u"r8*"_s)) << moment.toString().toStdString();
    }
    // Another run knows nothing of this one: the window's last second still counts.
    m_clock.Set(At(10, 0));
    CRemindersDue another = NewDue();
    EXPECT_EQ(Due(another), QStringList{u"r4*"_s});
}

TEST_P(ReminderWatchTest, FlaggedAppointmentsAreDueFifteenMinutesAheadAndNotAfter)
{
    CRemindersDue due = NewDue();
    m_clock.Set(At(13, 44, 59));
    EXPECT_EQ(Due(due), QStringList());
    m_clock.Set(At(13, 45));
    ASSERT_EQ(Due(due), QStringList{u"a1*"_s});
    const DueEntry entry = due.Check()[0];
    EXPECT_EQ(entry.contact, u"张三"_s);
    EXPECT_EQ(entry.place, u"会议室"_s);
    EXPECT_EQ(entry.content, u"签合同"_s);
    EXPECT_EQ(entry.start, At(14, 0));
    m_clock.Set(At(14, 0));
    EXPECT_EQ(Due(due), QStringList{u"a1"_s});
    m_clock.Set(At(14, 0, 1));
    EXPECT_EQ(Due(due), QStringList());
}

TEST_P(ReminderWatchTest, WindowListsWhatIsDueAndActsOnTheChosenLine)
{
    CReminderWatch watch(m_doc, m_commands, m_app.Clock(), &m_window);
    CReminderWindow& window = *watch.Window();
    m_clock.Set(At(9, 30));
    watch.Check();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), u"提醒"_s);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window.isModal());
    ASSERT_EQ(window.Entries().size(), 2u);
    EXPECT_EQ(CReminderWindow::LineTexts(window.Entries()[0]),
              (QStringList{u"提醒"_s, u"2024-3-5  9:0:0 至 2024-3-5  10:0:0"_s, u"交'月报'"_s}));
    EXPECT_EQ(CReminderWindow::LineTexts(window.Entries()[1])[2], QString());
    EXPECT_EQ(Find<QPlainTextEdit>(window, u"IDC_DUETEXT"_s)->toPlainText(), u"交'月报'"_s);

    // 稍后提醒 on the first line, 知道了 on the other: nothing is left to show.
    Click(window, u"IDC_SNOOZE"_s);
    ASSERT_EQ(window.Entries().size(), 1u);
    EXPECT_EQ(window.Entries()[0].no, 6);
    Click(window, u"IDC_ACKNOWLEDGE"_s);
    EXPECT_FALSE(window.isVisible());
    m_clock.Set(At(9, 39));
    watch.Check();
    EXPECT_FALSE(window.isVisible());
    m_clock.Set(At(9, 40));
    watch.Check();
    ASSERT_TRUE(window.isVisible());
    ASSERT_EQ(window.Entries().size(), 1u);
    EXPECT_EQ(window.Entries()[0].no, 4);

    // Closing the window puts off what it lists.
    window.close();
    m_clock.Set(At(9, 49));
    watch.Check();
    EXPECT_FALSE(window.isVisible());
    m_clock.Set(At(9, 50));
    watch.Check();
    EXPECT_TRUE(window.isVisible());

    // 打开 on an appointment opens 约会记录 at it, under the permission of 资料管理 > 约会, and
    // puts the line away.
    RegisterAppointCommands(m_context);
    window.close();
    m_clock.Set(At(13, 50));
    watch.Check();
    ASSERT_EQ(window.Entries().size(), 1u);
    EXPECT_EQ(
        CReminderWindow::LineTexts(window.Entries()[0]),
        (QStringList{u"约会"_s, u"2024-3-5  14:0:0"_s, u"联系人：张三 地点：会议室 签合同"_s}));
    {
        ModalDriver<CAppointDlg> driver([this](CAppointDlg& dialog) {
            EXPECT_EQ(dialog.ClientBox().Text(), u"甲公司"_s);
            EXPECT_EQ(dialog.ContactBox()->currentText(), u"张三"_s);
            ASSERT_GE(dialog.RememberedRow(), 0);
            EXPECT_EQ(dialog.List()->item(dialog.RememberedRow(), CAppointDlg::kNumber)->text(),
                      u"1"_s);
            EXPECT_TRUE(dialog.List()->item(dialog.RememberedRow(), 0)->isSelected());
            EXPECT_EQ(QDateTime(dialog.DatePicker()->date(), dialog.TimePicker()->time()),
                      At(14, 0));
            EXPECT_EQ(dialog.PlaceEdit()->text(), u"会议室"_s);
            EXPECT_EQ(dialog.ContentEdit()->toPlainText(), u"签合同"_s);
            EXPECT_EQ(dialog.parentWidget(), &m_window);
        });
        Click(window, u"IDC_OPEN"_s);
    }
    EXPECT_EQ(m_commands.PostedWith(), std::vector<int>{ID_MANAGE_APPOINT});
    EXPECT_FALSE(window.isVisible());
    m_clock.Set(At(13, 55));
    watch.Check();
    EXPECT_FALSE(window.isVisible());
}

TEST_P(ReminderWatchTest, ComesUpInTheCornerAndAnswersWhileADialogRuns)
{
    m_window.show();
    CReminderWatch watch(m_doc, m_commands, m_app.Clock(), &m_window);
    CReminderWindow& window = *watch.Window();
    // The user works in a modal dialog when the reminders come.
    QDialog dialog(&m_window);
    dialog.resize(300, 200);
    {
        ModalDriver<QDialog> driver([&](QDialog&) {
            m_clock.Set(At(9, 30));
            watch.Check();
            ASSERT_TRUE(window.isVisible());
            ASSERT_EQ(window.Entries().size(), 2u);
            const QRect area = m_window.screen()->availableGeometry();
            EXPECT_EQ(window.frameGeometry().bottomRight(), area.bottomRight());
            EXPECT_TRUE(area.contains(window.frameGeometry()));

            // A click on 知道了 as the user makes it, through the window system.
            auto* acknowledge = Find<QPushButton>(window, u"IDC_ACKNOWLEDGE"_s);
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {},
                              acknowledge->mapTo(&window, acknowledge->rect().center()));
            ASSERT_EQ(window.Entries().size(), 1u);
            EXPECT_EQ(window.Entries()[0].no, 6);
            // Escape closes it: what it lists comes again ten minutes later.
            QTest::keyClick(window.windowHandle(), Qt::Key_Escape);
            EXPECT_FALSE(window.isVisible());
            EXPECT_TRUE(dialog.isVisible());
        });
        dialog.exec();
    }
    m_clock.Set(At(9, 39, 59));
    watch.Check();
    EXPECT_FALSE(window.isVisible());
    m_clock.Set(At(9, 40));
    watch.Check();
    ASSERT_TRUE(window.isVisible());
    ASSERT_EQ(window.Entries().size(), 1u);
    EXPECT_EQ(window.Entries()[0].no, 6);
}

TEST_P(ReminderWatchTest, SavedReminderIsDueAtOnceAndOpensInItsDialog)
{
    m_clock.Set(At(20, 0, 0, 6));
    CReminderWatch* watch = RegisterReminderCommands(m_context);
    QApplication::processEvents(); // the first check, at sign-in
    CReminderWindow& window = *watch->Window();
    EXPECT_FALSE(window.isVisible());
    {
        ModalDriver<CNoticeDlg> driver([](CNoticeDlg& dialog) {
            auto picker = [&](const QString& name) {
                return qobject_cast<QDateTimeEdit*>(dialog.Control(name));
            };
            picker(u"startdate"_s)->setDate(QDate(2024, 3, 6));
            picker(u"starttime"_s)->setTime(QTime(19, 0));
            picker(u"enddate"_s)->setDate(QDate(2024, 3, 6));
            picker(u"endtime"_s)->setTime(QTime(21, 0));
            Paste(dialog.Control(u"content"_s), u"回电话"_s);
            Click(dialog, u"IDOK"_s);
        });
        m_commands.Run(ID_MANAGE_NOTICE);
    }
    ASSERT_TRUE(window.isVisible());
    ASSERT_EQ(window.Entries().size(), 1u);
    EXPECT_EQ(window.Entries()[0].content, u"回电话"_s);
    const int number = window.Entries()[0].no;

    // 打开 shows it in its dialog; a new window there makes it due anew.
    m_messages.Clear();
    {
        ModalDriver<CNoticeDlg> driver([](CNoticeDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 1);
            EXPECT_EQ(dialog.Control(u"content"_s)->property("plainText").toString(), u"回电话"_s);
            qobject_cast<QDateTimeEdit*>(dialog.Control(u"endtime"_s))->setTime(QTime(22, 0));
            Click(dialog, u"IDOK"_s);
        });
        Click(window, u"IDC_OPEN"_s);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(Value(u"SELECT endtime FROM notice WHERE no = %1"_s.arg(number)),
              u"2024-03-06 22:00:00"_s);
    ASSERT_EQ(window.Entries().size(), 1u);
    EXPECT_TRUE(window.Entries()[0].fresh);
    EXPECT_EQ(window.Entries()[0].end, At(22, 0, 0, 6));
}

TEST_P(ReminderWatchTest, WhatAnotherWorkstationEntersIsDueThereToo)
{
    CReminderWatch watch(m_doc, m_commands, m_app.Clock(), &m_window);
    CReminderWindow& window = *watch.Window();
    m_clock.Set(At(13, 50));
    watch.Start();
    ASSERT_EQ(window.Entries().size(), 1u); // appointment 1, at 14:00
    const std::unique_ptr<CADODatabase> other = m_file.Open();
    CADORecordset recordset(other.get());
    ASSERT_TRUE(recordset.Open(u"INSERT INTO notice (no, time, endtime, content) VALUES "
                               "(9, #2024-3-5 13:00:00#, #2024-3-5 15:00:00#, '别处写的')"_s));
    const auto listed = [&] {
        return window.Entries().size() == 2u && window.Entries()[0].no == 9;
    };
    // A server says so at once; a data file is read again at the next check, each minute.
    if (QByteArrayView(GetParam().name) == "postgres")
        EXPECT_TRUE(QTest::qWaitFor(listed, 2000));
    else
        watch.Check();
    EXPECT_TRUE(listed());
    EXPECT_TRUE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(, ReminderWatchTest, EachBackend(), BackendName);

} // namespace
