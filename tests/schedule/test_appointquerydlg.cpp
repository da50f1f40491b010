#include "data/adorecordset.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/appointdlg.h"
#include "schedule/appointquerydlg.h"
#include "schedule/schedulecommands.h"
#include "schedule/schedulerecords.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "support/typing.h"
#include "views/featurecontext.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <memory>

namespace {

const QString kDay = u"[time] >= #2024-3-5 0:0:0# AND [time] <= #2024-3-5 23:59:59#"_s;

// Appointments around 5 March 2024, at the edges of the day, with contacts of two clients, a
// contact whose client is gone and a contact that is gone.
class AppointQueryDlgTest : public RecordViewsTest
{
protected:
    AppointQueryDlgTest()
    {
        m_file.Exec(u"INSERT INTO client (no, name) VALUES (1, '甲公司'), (2, 'O''Brien')"_s);
        m_file.Exec(u"INSERT INTO linkman (no, client, name) VALUES (10, 1, '张三'), "
                    "(11, 1, '李四'), (12, 2, 'Tom'), (13, 9, '孤儿')"_s);
        m_file.Exec(u"INSERT INTO appoint (no, linkman, time, length, place, content, notice) "
                    "VALUES (1, 10, '2024-03-05 00:00:00', '1小时', '会议室', '谈''合同''', 1), "
                    "(2, 11, '2024-03-05 23:59:59', NULL, NULL, NULL, 0), "
                    "(3, 12, '2024-03-05 12:00:00', '半天', '[工厂]', '看货 😀', 0), "
                    "(4, 10, '2024-03-04 23:59:59', NULL, NULL, '前一天', 0), "
                    "(5, 10, '2024-03-06 00:00:00', NULL, NULL, '后一天', 0), "
                    "(6, 13, '2024-03-05 08:00:00', NULL, NULL, NULL, 0), "
                    "(7, 99, '2024-03-05 09:00:00', NULL, NULL, NULL, 0)"_s);
        RegisterScheduleCommands(CFeatureContext{m_app, m_doc, m_commands, &m_window});
        // The frame runs the commands the lists post.
        QObject::connect(&m_doc, &CVantrelDoc::CommandPosted, &m_window,
                         [this](int id) { m_commands.Run(id); });
    }

    CAppointQueryDlg& Open()
    {
        m_dialog = std::make_unique<CAppointQueryDlg>(m_doc, m_app.Clock());
        m_dialog->show();
        return *m_dialog;
    }

    static void SetDays(CAppointQueryDlg& dialog, const QDate& start, const QDate& end)
    {
        dialog.StartPicker()->setDate(start);
        dialog.EndPicker()->setDate(end);
    }

    // Column `column` of every listed row.
    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            texts << m_main->List().GetItemText(row, column);
        return texts;
    }

    // "Today" is the day of the appointments.
    CAppContext m_app;
    FixedClock m_clock{m_app, QDateTime(QDate(2024, 3, 5), QTime(10, 0))};
    FeatureCommands m_commands;
    std::unique_ptr<CAppointQueryDlg> m_dialog;
};

TEST_P(AppointQueryDlgTest, TimeQueryListsWholeDaysWithTheNamesAsTheyAreNow)
{
    auto& dialog = Open();
    EXPECT_EQ(dialog.windowTitle(), u"约会记录分类查询"_s);
    EXPECT_EQ(dialog.HelpText(), u"    请注意：如果您要按客户或按联系人查询，请先选择时间范围，再去"
                                 "选择指定的客户或联系人。时间范围是所有查询的前提条件。"_s);
    EXPECT_TRUE(dialog.TimeButton()->isDefault());
    EXPECT_EQ(dialog.StartPicker()->date(), QDate(2024, 3, 5));
    EXPECT_EQ(dialog.EndPicker()->date(), QDate(2024, 3, 5));

    // A start after the end is refused; the dialog stays and the list is untouched.
    SetDays(dialog, QDate(2024, 3, 6), QDate(2024, 3, 5));
    QTest::mouseClick(dialog.TimeButton(), Qt::LeftButton);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"起始时间必须小于终止时间！"_s});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(m_main->Category(), kNoCategory);
    m_messages.Clear();

    SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
    QTest::mouseClick(dialog.TimeButton(), Qt::LeftButton);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(m_main->Category(), ScheduleCategory::kAppointments);
    EXPECT_NE(TextView(), nullptr);
    const QString sql = u"SELECT * FROM appoint WHERE "_s + kDay + u" ORDER BY time DESC"_s;
    EXPECT_EQ(m_main->CurrentQuery(), sql);
    EXPECT_EQ(ColumnTitles(m_main->List()),
              (QStringList{u"客户"_s, u"联系人"_s, u"日期时间"_s, u"时长"_s, u"地点"_s, u"内容"_s,
                           QString()}));
    // 0:0:0 and 23:59:59 of the day are in, the day before and after are out.
    EXPECT_EQ(Column(6), (QStringList{u"2"_s, u"3"_s, u"7"_s, u"6"_s, u"1"_s}));
    EXPECT_EQ(RowTexts(m_main->List(), 0),
              (QStringList{u"甲公司"_s, u"李四"_s, u"2024-3-5  23:59:59"_s, {}, {}, {}, u"2"_s}));
    EXPECT_EQ(RowTexts(m_main->List(), 1),
              (QStringList{u"O'Brien"_s, u"Tom"_s, u"2024-3-5  12:0:0"_s, u"半天"_s, u"[工厂]"_s,
                           u"看货 😀"_s, u"3"_s}));
    // A contact that is gone leaves both names empty; a client that is gone, its own.
    EXPECT_EQ(RowTexts(m_main->List(), 2).mid(0, 2), (QStringList{{}, {}}));
    EXPECT_EQ(RowTexts(m_main->List(), 3).mid(0, 2), (QStringList{QString(), u"孤儿"_s}));
    EXPECT_EQ(m_main->List().GetItemImage(0), 3);

    // A click shows the appointment's text below; NULL text shows empty.
    LeftClick(*m_main, 4);
    EXPECT_EQ(TextView()->Text(), u"谈'合同'"_s);
    LeftClick(*m_main, 0);
    EXPECT_EQ(TextView()->Text(), QString());

    // A text of 64,000 bytes (32,000 Chinese characters) is shown whole.
    m_file.Exec(u"UPDATE appoint SET content = '%1' WHERE no = 2"_s.arg(QString(32000, u'长')));
    auto& again = Open();
    SetDays(again, QDate(2024, 3, 5), QDate(2024, 3, 5));
    QTest::mouseClick(again.TimeButton(), Qt::LeftButton);
    LeftClick(*m_main, 0);
    EXPECT_EQ(TextView()->Text(), QString(32000, u'长'));
}

TEST_P(AppointQueryDlgTest, ClientAndContactQueriesNameTheChosenParties)
{
    auto& dialog = Open();
    // 甲公司 is first; its contacts sorted: 李四 (li) before 张三 (zhang).
    EXPECT_EQ(dialog.ClientBox().Text(), u"甲公司"_s);
    EXPECT_EQ(dialog.ContactBox()->currentText(), u"李四"_s);
    // Enter presses the query of the control that took the focus.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    dialog.ContactBox()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.ContactButton()->isDefault());
    EXPECT_FALSE(dialog.TimeButton()->isDefault());
    dialog.EndPicker()->setFocus();
    QCoreApplication::processEvents();
    EXPECT_TRUE(dialog.TimeButton()->isDefault());

    SetDays(dialog, QDate(2024, 3, 4), QDate(2024, 3, 5));
    // The client's contacts, as loaded, are those of the range's rows listed.
    QTest::mouseClick(dialog.ClientButton(), Qt::LeftButton);
    EXPECT_EQ(Column(6), (QStringList{u"2"_s, u"1"_s, u"4"_s}));
    EXPECT_EQ(Column(0), (QStringList(3, u"甲公司"_s)));
    EXPECT_EQ(Column(1), (QStringList{u"李四"_s, u"张三"_s, u"张三"_s}));
    EXPECT_EQ(m_main->CurrentQuery(),
              u"SELECT * FROM appoint WHERE [time] >= #2024-3-4 0:0:0# AND [time] <= "
              "#2024-3-5 23:59:59# ORDER BY time DESC"_s);

    auto& contact = Open();
    SetDays(contact, QDate(2024, 3, 5), QDate(2024, 3, 6));
    contact.ContactBox()->setCurrentIndex(contact.ContactBox()->findText(u"张三"_s));
    QTest::mouseClick(contact.ContactButton(), Qt::LeftButton);
    EXPECT_EQ(m_main->CurrentQuery(),
              u"SELECT * FROM appoint WHERE [time] >= #2024-3-5 0:0:0# AND [time] <= "
              "#2024-3-6 23:59:59# AND [linkman] = 10 ORDER BY time DESC"_s);
    EXPECT_EQ(Column(6), (QStringList{u"5"_s, u"1"_s}));
    EXPECT_EQ(RowTexts(m_main->List(), 1).mid(0, 6),
              (QStringList{u"甲公司"_s, u"张三"_s, u"2024-3-5  0:0:0"_s, u"1小时"_s, u"会议室"_s,
                           u"谈'合同'"_s}));

    // No client, or no contact, is refused with the query's own words.
    auto& refused = Open();
    Retype(refused.ClientCombo(), u"O'Brie"_s);
    EXPECT_EQ(refused.ContactBox()->count(), 0);
    QTest::mouseClick(refused.ContactButton(), Qt::LeftButton);
    refused.ClientCombo()->lineEdit()->clear();
    QTest::mouseClick(refused.ClientButton(), Qt::LeftButton);
    QTest::mouseClick(refused.ContactButton(), Qt::LeftButton);
    EXPECT_EQ(m_messages.Texts(), (QStringList{u"您还没有选择联系人！"_s, u"您还没有选择客户"_s,
                                               u"您还没有选择客户！"_s}));
    EXPECT_TRUE(refused.isVisible());
    // A name that is no client's lists nothing, and closes all the same.
    TypeInto(refused.ClientCombo(), u"无此客户"_s);
    QTest::mouseClick(refused.ClientButton(), Qt::LeftButton);
    EXPECT_FALSE(refused.isVisible());
    EXPECT_EQ(m_main->List().GetItemCount(), 0);
}

TEST_P(AppointQueryDlgTest, ListEditOpensTheDialogAtTheRowAndTheListFollowsItsChanges)
{
    ModalDriver<CAppointQueryDlg> query([this](CAppointQueryDlg& dialog) {
        SetDays(dialog, QDate(2024, 3, 5), QDate(2024, 3, 5));
        QTest::mouseClick(dialog.TimeButton(), Qt::LeftButton);
    });
    m_commands.Run(ID_QUERY_APPOINT);
    ASSERT_EQ(Column(6), (QStringList{u"2"_s, u"3"_s, u"7"_s, u"6"_s, u"1"_s}));

    // "修改记录" on appointment 1 (row 4): the dialog opens at 甲公司 / 张三 with it chosen.
    m_main->SetCurrentRow(4);
    bool opened = false;
    ModalDriver<CAppointDlg> edit([&](CAppointDlg& dialog) {
        opened = true;
        EXPECT_EQ(dialog.ClientBox().Text(), u"甲公司"_s);
        EXPECT_EQ(dialog.ContactBox()->currentText(), u"张三"_s);
        ASSERT_GE(dialog.RememberedRow(), 0);
        EXPECT_EQ(dialog.List()->item(dialog.RememberedRow(), CAppointDlg::kNumber)->text(),
                  u"1"_s);
        EXPECT_EQ(dialog.PlaceEdit()->text(), u"会议室"_s);
        Retype(dialog.PlaceEdit(), u"新会议室"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"IDC_MODIFY"_s), Qt::LeftButton);
        // Appointment 4 (the day before) goes; it is in no row of the main list.
        dialog.ContactBox()->setCurrentIndex(dialog.ContactBox()->findText(u"张三"_s));
        for (int row = 0; row < dialog.List()->rowCount(); ++row)
            if (dialog.List()->item(row, CAppointDlg::kNumber)->text() == u"4"_s) {
                dialog.List()->selectRow(row);
                dialog.OnClickRow();
            }
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"IDC_DELETE"_s), Qt::LeftButton);
    });
    m_main->OnRecordEdit();
    ASSERT_TRUE(opened);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"修改成功！"_s});
    EXPECT_EQ(RowTexts(m_main->List(), 4)[4], u"新会议室"_s);
    EXPECT_EQ(m_main->List().GetItemCount(), 5);

    // Deleting a listed appointment takes its row out of the main list too.
    m_main->SetCurrentRow(0);
    ModalDriver<CAppointDlg> remove([&](CAppointDlg& dialog) {
        EXPECT_EQ(dialog.ContactBox()->currentText(), u"李四"_s);
        QTest::mouseClick(dialog.findChild<QPushButton*>(u"IDC_DELETE"_s), Qt::LeftButton);
    });
    m_main->OnRecordEdit();
    EXPECT_EQ(Column(6), (QStringList{u"3"_s, u"7"_s, u"6"_s, u"1"_s}));
    EXPECT_EQ(Count(u"appoint"_s), 5);

    // "增加记录" opens the dialog to add.
    ModalDriver<CAppointDlg> add(
        [](CAppointDlg& dialog) { EXPECT_EQ(dialog.RememberedRow(), -1); });
    m_main->OnRecordAdd();
}

INSTANTIATE_TEST_SUITE_P(, AppointQueryDlgTest, EachBackend(), BackendName);

} // namespace
