#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/appointdlg.h"
#include "schedule/schedulecommands.h"
#include "support/featurecommands.h"
#include "support/fixedclock.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "support/typing.h"
#include "views/featurecontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>

namespace {

// Two clients whose names begin alike, the first with two contacts, the second with none; a
// third client with an apostrophe. 张三 has two appointments at the same time and one with
// nothing but its time.
class AppointDlgTest : public RecordViewsTest
{
protected:
    AppointDlgTest()
    {
        m_file.Exec(u"INSERT INTO client (no, name) VALUES (1, '北京华达'), "
                    "(2, '北京华达分公司'), (3, 'O''Neil')"_s);
        m_file.Exec(u"INSERT INTO linkman (no, client, name) VALUES (10, 1, '张三'), "
                    "(11, 1, '李四'), (12, 3, 'Tom')"_s);
        m_file.Exec(u"INSERT INTO appoint (no, linkman, time, length, place, content, notice) "
                    "VALUES (1, 10, '2024-03-05 09:30:00', '1小时', '会议室', '谈合同', 1), "
                    "(2, 10, '2024-03-05 09:30:00', '半天', '工厂', '看货', 0), "
                    "(3, 10, '2024-03-01 08:05:07', NULL, NULL, NULL, 0), "
                    "(4, 11, '2024-04-01 10:00:00', '2小时', '茶馆', '叙旧', 0)"_s);
        m_file.Exec(u"UPDATE snnumber SET appoint = 5"_s);
    }

    static QStringList Row(const CAppointDlg& dialog, int row)
    {
        QStringList texts;
        for (int column = 0; column < CAppointDlg::kColumnCount; ++column) {
            const QTableWidgetItem* item = dialog.List()->item(row, column);
            texts << (item ? item->text() : u"<none>"_s);
        }
        return texts;
    }

    static QStringList Numbers(const CAppointDlg& dialog)
    {
        QStringList numbers;
        for (int row = 0; row < dialog.List()->rowCount(); ++row)
            numbers << Row(dialog, row).last();
        return numbers;
    }

    static void ChooseContact(CAppointDlg& dialog, const QString& name)
    {
        dialog.ContactBox()->setCurrentIndex(dialog.ContactBox()->findText(name));
    }

    static void ClickRow(CAppointDlg& dialog, int row)
    {
        QTableWidget* list = dialog.List();
        const QRect cell = list->visualItemRect(list->item(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    }

    static void Press(CAppointDlg& dialog, const QString& button)
    {
        QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    }

    CAppContext m_app;
    FixedClock m_clock{m_app, QDateTime(QDate(2024, 8, 1), QTime(14, 25, 36))};
};

// The list's columns show an appointment's time and place whole, however long.
TEST_P(AppointDlgTest, ListColumnsShowTimesAndPlacesWhole)
{
    m_file.Exec(u"INSERT INTO appoint (no, linkman, time, place, notice) VALUES "
                "(6, 11, '2026-12-10 23:40:58', '深圳市南山区科技园南区高新南七道', 0)"_s);
    CAppointDlg dialog(m_db.get(), m_app.Clock());
    dialog.show();
    ASSERT_EQ(dialog.ContactBox()->currentText(), u"李四"_s);
    QTableWidget* list = dialog.List();
    ASSERT_EQ(list->item(0, 0)->text(), u"2026-12-10  23:40:58"_s);
    for (int column : {0, 1}) {
        const QString text = list->item(0, column)->text();
        EXPECT_GE(list->columnWidth(column), list->fontMetrics().horizontalAdvance(text) + 6)
            << text.toStdString();
    }
    EXPECT_TRUE(list->isColumnHidden(CAppointDlg::kNumber));
}

TEST_P(AppointDlgTest, OpensAtTheFirstClientsFirstContactNewestFirst)
{
    CAppointDlg dialog(m_db.get(), m_app.Clock());
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"约会记录"_s);
    EXPECT_EQ(
        dialog.HelpText(),
        u"    请先选择客户，再选择联系人，之后会出现与该联系人的所有约会记录列表，此时可以对约会"
        "记录进行添加、修改或删除的操作。 "_s);
    QStringList titles;
    for (int column = 0; column < CAppointDlg::kColumnCount; ++column)
        titles << dialog.List()->horizontalHeaderItem(column)->text();
    EXPECT_EQ(titles, (QStringList{u"时间"_s, u"地点"_s, u"时长"_s, u"内容"_s, u"提醒"_s, {}}));
    EXPECT_TRUE(dialog.List()->isColumnHidden(CAppointDlg::kNumber));
    EXPECT_EQ(dialog.DatePicker()->date(), QDate(2024, 8, 1));
    EXPECT_EQ(dialog.TimePicker()->time(), QTime(14, 25, 36));

    // The sorted boxes: 北京华达 first; its contacts 李四 (li) before 张三 (zhang).
    EXPECT_EQ(dialog.ClientBox().Text(), u"北京华达"_s);
    EXPECT_EQ(dialog.ContactBox()->currentText(), u"李四"_s);
    EXPECT_EQ(Numbers(dialog), QStringList{u"4"_s});

    ChooseContact(dialog, u"张三"_s);
    // Equal times are both listed; an appointment of nothing but a time shows empty texts.
    ASSERT_EQ(dialog.List()->rowCount(), 3);
    QStringList equal{Row(dialog, 0).last(), Row(dialog, 1).last()};
    equal.sort();
    EXPECT_EQ(equal, (QStringList{u"1"_s, u"2"_s}));
    const int first = Row(dialog, 0).last() == u"1"_s ? 0 : 1;
    EXPECT_EQ(Row(dialog, first), (QStringList{u"2024-3-5  9:30:0"_s, u"会议室"_s, u"1小时"_s,
                                               u"谈合同"_s, u"是"_s, u"1"_s}));
    EXPECT_EQ(Row(dialog, 1 - first)[4], u"否"_s);
    EXPECT_EQ(Row(dialog, 2), (QStringList{u"2024-3-1  8:5:7"_s, {}, {}, {}, u"否"_s, u"3"_s}));
    EXPECT_EQ(dialog.RememberedRow(), -1);

    // A click loads the stored appointment into the controls.
    ClickRow(dialog, first);
    EXPECT_EQ(dialog.RememberedRow(), first);
    EXPECT_EQ(dialog.DatePicker()->date(), QDate(2024, 3, 5));
    EXPECT_EQ(dialog.TimePicker()->time(), QTime(9, 30, 0));
    EXPECT_EQ(dialog.PlaceEdit()->text(), u"会议室"_s);
    EXPECT_EQ(dialog.LengthEdit()->text(), u"1小时"_s);
    EXPECT_EQ(dialog.ContentEdit()->toPlainText(), u"谈合同"_s);
    EXPECT_TRUE(dialog.NoticeBox()->isChecked());
    ClickRow(dialog, 2);
    EXPECT_EQ(dialog.ContentEdit()->toPlainText(), QString());
    EXPECT_FALSE(dialog.NoticeBox()->isChecked());
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_P(AppointDlgTest, TypingAClientNameRefillsTheContactsOnEveryKeystroke)
{
    CAppointDlg dialog(m_db.get(), m_app.Clock());
    dialog.show();
    ChooseContact(dialog, u"张三"_s);
    ASSERT_EQ(dialog.List()->rowCount(), 3);

    QComboBox* client = dialog.ClientCombo();
    client->lineEdit()->selectAll();
    QTest::keyClick(client->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(dialog.ContactBox()->count(), 0);
    // Only an exact name lists contacts; a client without any leaves the list as it was.
    const QString name = u"北京华达分公司"_s;
    for (qsizetype typed = 1; typed <= name.size(); ++typed) {
        TypeInto(client, name.mid(typed - 1, 1));
        EXPECT_EQ(dialog.ContactBox()->count(), typed == 4 ? 2 : 0) << typed;
    }
    EXPECT_EQ(dialog.ClientBox().Text(), name);
    EXPECT_EQ(dialog.ContactBox()->currentText(), QString());
    // After "北京华达" the list showed 李四's appointment, and keeps it.
    EXPECT_EQ(Numbers(dialog), QStringList{u"4"_s});

    Retype(client, u"O'Neil"_s);
    EXPECT_EQ(dialog.ContactBox()->currentText(), u"Tom"_s);
    EXPECT_EQ(dialog.List()->rowCount(), 0);

    // Nothing to add an appointment to: no contact is chosen.
    Retype(client, u"北京华达分公司"_s);
    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"你还没有选择联系人！"_s});
    EXPECT_EQ(Count(u"appoint"_s), 4);
}

TEST_P(AppointDlgTest, AddStoresAwkwardTextsWholeUnderTheNextNumber)
{
    CAppointDlg dialog(m_db.get(), m_app.Clock());
    dialog.show();
    ChooseContact(dialog, u"张三"_s);
    dialog.DatePicker()->setDate(QDate(2025, 12, 31));
    dialog.TimePicker()->setTime(QTime(23, 59, 59));
    const QString place = u"O'Brien's \"Bar\" [2楼] 😀 (东门)"_s;
    const QString length = u"1'30\""_s;
    Paste(dialog.PlaceEdit(), place);
    Retype(dialog.LengthEdit(), length);
    // 64,000 bytes: 26 of ASCII, then 31,987 Chinese characters of two.
    const QString content = u"'; DROP TABLE appoint; --\n"_s + QString(31987, u'长');
    Paste(dialog.ContentEdit(), content + u"多"_s);
    EXPECT_EQ(dialog.ContentEdit()->toPlainText(), content);
    dialog.NoticeBox()->setChecked(true);

    Press(dialog, u"IDC_ADD"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty()); // an add confirms nothing
    EXPECT_EQ(Value(u"SELECT appoint FROM snnumber"_s), u"6"_s);
    EXPECT_EQ(Value(u"SELECT linkman || '|' || time || '|' || notice FROM appoint WHERE no = 5"_s),
              u"10|2025-12-31 23:59:59|1"_s);
    EXPECT_EQ(Value(u"SELECT place FROM appoint WHERE no = 5"_s), place);
    EXPECT_EQ(Value(u"SELECT length FROM appoint WHERE no = 5"_s), length);
    EXPECT_EQ(Value(u"SELECT content FROM appoint WHERE no = 5"_s), content);
    // The new row goes to the end, unsorted, and reads back whole.
    ASSERT_EQ(dialog.List()->rowCount(), 4);
    EXPECT_EQ(Row(dialog, 3),
              (QStringList{u"2025-12-31  23:59:59"_s, place, length, content, u"是"_s, u"5"_s}));
    ClickRow(dialog, 2);
    ClickRow(dialog, 3);
    EXPECT_EQ(dialog.ContentEdit()->toPlainText(), content);
    EXPECT_EQ(dialog.PlaceEdit()->text(), place);

    // A place of 64,000 characters is stored whole; the edit takes no more.
    Paste(dialog.PlaceEdit(), QString(CAppointDlg::kMaxTextLength, u'地') + u"多"_s);
    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(
        Value(u"SELECT length(place) || substr(place, length(place)) FROM appoint WHERE no = 6"_s),
        u"64000地"_s);

    // A table that cannot be written says so; the number taken is spent.
    m_file.Exec(u"DROP TABLE appoint"_s);
    Press(dialog, u"IDC_ADD"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"无法添加新记录！"_s});
    EXPECT_EQ(dialog.List()->rowCount(), 5);
    EXPECT_EQ(Value(u"SELECT appoint FROM snnumber"_s), u"8"_s);
}

TEST_P(AppointDlgTest, ModifyMovesAnAppointmentToTheContactNowChosen)
{
    CAppointDlg dialog(m_db.get(), m_app.Clock());
    dialog.show();
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"您还没有选择要修改的记录！"_s});
    m_messages.Clear();

    ChooseContact(dialog, u"张三"_s);
    ClickRow(dialog, 2); // appointment 3
    // Another contact chosen in the box rebuilds the list and forgets the clicked row.
    ChooseContact(dialog, u"李四"_s);
    EXPECT_EQ(dialog.RememberedRow(), -1);
    ChooseContact(dialog, u"张三"_s);
    ClickRow(dialog, 2);
    dialog.TimePicker()->setTime(QTime(14, 0, 0));
    Retype(dialog.PlaceEdit(), u"李四's 办公室"_s);
    // 修改 writes whichever contact the box names, even when the list still shows another's
    // appointments: the box is set here without the list following it.
    {
        const QSignalBlocker quiet(dialog.ContactBox());
        dialog.ContactBox()->setCurrentIndex(dialog.ContactBox()->findText(u"李四"_s));
    }
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"修改成功！"_s});
    EXPECT_EQ(Value(u"SELECT linkman || '|' || time || '|' || place FROM appoint WHERE no = 3"_s),
              u"11|2024-03-01 14:00:00|李四's 办公室"_s);
    // The row stays in this list until it is rebuilt, rewritten.
    EXPECT_EQ(Row(dialog, 2)[0], u"2024-3-1  14:0:0"_s);
    EXPECT_EQ(Row(dialog, 2)[1], u"李四's 办公室"_s);
    EXPECT_EQ(dialog.List()->rowCount(), 3);
    ChooseContact(dialog, u"张三"_s);
    EXPECT_EQ(dialog.List()->rowCount(), 2);
    EXPECT_FALSE(Numbers(dialog).contains(u"3"_s));
    ChooseContact(dialog, u"李四"_s);
    EXPECT_EQ(Numbers(dialog), (QStringList{u"4"_s, u"3"_s}));
}

TEST_P(AppointDlgTest, DeleteKeepsTheRememberedPlaceOnTheRowThatMovedIntoIt)
{
    CAppointDlg dialog(m_db.get(), m_app.Clock());
    dialog.show();
    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"您还没有选择要删除的记录！"_s});
    m_messages.Clear();

    ChooseContact(dialog, u"张三"_s);
    const QStringList before = Numbers(dialog);
    ClickRow(dialog, 1);
    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_TRUE(m_messages.Texts().isEmpty()); // no question, no confirmation
    EXPECT_EQ(Count(u"appoint WHERE no = "_s + before[1]), 0);
    EXPECT_EQ(Numbers(dialog), (QStringList{before[0], before[2]}));
    // Still row 1, now appointment 3, shown chosen with its values.
    EXPECT_EQ(dialog.RememberedRow(), 1);
    EXPECT_EQ(dialog.List()->selectionModel()->selectedRows().value(0).row(), 1);
    EXPECT_EQ(dialog.TimePicker()->time(), QTime(8, 5, 7));

    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(Numbers(dialog), QStringList{before[0]});
    EXPECT_EQ(dialog.RememberedRow(), 1);
    // Past the last row the remembered place names no appointment.
    Press(dialog, u"IDC_DELETE"_s);
    Press(dialog, u"IDC_MODIFY"_s);
    EXPECT_EQ(m_messages.Texts(),
              (QStringList{u"您还没有选择要删除的记录！"_s, u"您还没有选择要修改的记录！"_s}));
    EXPECT_EQ(Count(u"appoint"_s), 2);

    m_messages.Clear();
    ClickRow(dialog, 0);
    m_file.Exec(u"DELETE FROM appoint WHERE no = "_s + before[0]);
    Press(dialog, u"IDC_DELETE"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"没有找到要删除的记录！"_s});
    EXPECT_EQ(dialog.List()->rowCount(), 1);
}
INSTANTIATE_TEST_SUITE_P(, AppointDlgTest, EachBackend(), BackendName);

} // namespace
