#include "customers/contactcommands.h"
#include "customers/customerrecords.h"
#include "customers/linkmandlg.h"
#include "data/adorecordset.h"
#include "kit/autocompletelist.h"
#include "support/modal.h"
#include "support/printers.h"
#include "support/recordviews.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A fresh data file with three clients, the record views over it and the contact dialog
// registered as the main window registers it.
class LinkmanTest : public RecordViewsTest
{
protected:
    LinkmanTest()
    {
        m_file.Exec(u"INSERT INTO client ([no], [name]) VALUES (1, '华东商贸'), "
                    "(2, 'Lee''s [Co]'), (3, '北方机械')"_s);
        RegisterContactDialog(m_doc);
    }

    std::unique_ptr<CLinkmanDlg> NewDialog()
    {
        auto dialog = std::make_unique<CLinkmanDlg>(m_db.get(), Lower());
        return dialog;
    }

    static void SetText(CLinkmanDlg& dialog, const QString& field, const QString& text)
    {
        QWidget* control = dialog.Control(field);
        if (auto* edit = qobject_cast<QLineEdit*>(control))
            edit->setText(text);
        else if (auto* combo = qobject_cast<QComboBox*>(control))
            combo->setEditText(text);
        else
            ADD_FAILURE() << "no edit for " << field.toStdString();
    }

    static void SetBirthday(CLinkmanDlg& dialog, const QString& year, const QString& month,
                            const QString& day)
    {
        dialog.YearEdit()->setText(year);
        dialog.MonthEdit()->setText(month);
        dialog.DayEdit()->setText(day);
    }

    // The number of stored contacts, or of those that meet a condition.
    int Contacts(const QString& where = u"1 = 1"_s) const
    {
        return Count(u"linkman WHERE "_s + where);
    }

    // A stored contact's columns as the access layer reads them.
    QString Field(int no, const QString& field) const
    {
        CADORecordset recordset(m_db.get());
        EXPECT_TRUE(recordset.Open(u"SELECT * FROM linkman WHERE [no] = %1"_s.arg(no)));
        EXPECT_EQ(recordset.GetRecordCount(), 1);
        recordset.MoveFirst();
        QString text;
        recordset.GetFieldText(field, text);
        return text;
    }
    QDate Birthday(int no) const
    {
        CADORecordset recordset(m_db.get());
        EXPECT_TRUE(recordset.Open(u"SELECT * FROM linkman WHERE [no] = %1"_s.arg(no)));
        recordset.MoveFirst();
        QDateTime stamp;
        recordset.GetFieldDate(u"birthday"_s, stamp);
        EXPECT_EQ(stamp.time(), QTime(0, 0));
        return stamp.date();
    }

    // Adds a contact through the dialog; returns the dialog's last message.
    QString Add(const QString& name, const QString& client, const QString& number = {})
    {
        auto dialog = NewDialog();
        dialog->show();
        SetText(*dialog, u"name"_s, name);
        dialog->ClientBox().SetText(client);
        SetText(*dialog, u"number"_s, number);
        dialog->OnOK();
        return m_messages.LastText();
    }

    // The client list as a client query leaves it, and a click on a client.
    void ShowClients()
    {
        m_main->SetCategory(CustomerCategory::kClients);
        m_main->SetCurrentQuery(u"SELECT * FROM client"_s);
        CRecordListModel& list = m_main->List();
        list.Clear();
        list.InsertColumn(-1, u"名称"_s, Qt::AlignLeft, 200);
        list.InsertColumn(-1, QString(), Qt::AlignLeft, 0);
        list.AppendRow({u"华东商贸"_s, u"1"_s});
        list.AppendRow({u"Lee's [Co]"_s, u"2"_s});
        CRecordListModel& lower = Lower()->List();
        lower.Clear();
        for (int column = 0; column < 31; ++column)
            lower.InsertColumn(-1, u"c%1"_s.arg(column));
        lower.InsertColumn(-1, QString(), Qt::AlignLeft, 0);
        m_window.show();
    }
    void ClickClient(int row)
    {
        m_main->SelectRow(row);
        m_main->OnClickRow(row);
    }
};

TEST_P(LinkmanTest, AddsAContactWithItsClientNumberAndDefaults)
{
    auto dialog = NewDialog();
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    EXPECT_EQ(dialog->windowTitle(), u"联系人管理"_s);
    // Clients in the users' order, the first one chosen; the birthday at its default.
    const QStringList expected = {u"Lee's [Co]"_s, u"北方机械"_s, u"华东商贸"_s};
    ASSERT_EQ(dialog->ClientBox().GetCount(), 3);
    for (int i = 0; i < 3; ++i) {
        QString text;
        dialog->ClientBox().GetLBText(i, text);
        EXPECT_EQ(text, expected[i]);
        EXPECT_EQ(dialog->Clients()[size_t(i)].m_strName, expected[i]);
    }
    EXPECT_EQ(dialog->ClientBox().Text(), u"Lee's [Co]"_s);
    EXPECT_EQ(dialog->YearEdit()->text(), u"1900"_s);
    EXPECT_TRUE(dialog->findChild<QRadioButton*>(u"male"_s)->isChecked());

    // The client box completes what is typed; Enter takes the first match and closes its
    // list, not the dialog.
    SetText(*dialog, u"name"_s, u"王五"_s);
    QComboBox* client = dialog->findChild<QComboBox*>(u"client"_s);
    dialog->activateWindow();
    client->setFocus();
    client->lineEdit()->clear();
    TypeInto(client, u"北"_s);
    ASSERT_TRUE(dialog->ClientBox().List()->isVisible());
    QTest::keyClick(client, Qt::Key_Return);
    EXPECT_FALSE(dialog->ClientBox().List()->isVisible());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(m_messages.Messages().empty());
    EXPECT_EQ(dialog->ClientBox().Text(), u"北方机械"_s);

    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"新数据添加成功！"_s});
    EXPECT_EQ(dialog->result(), int(QDialog::Accepted));
    EXPECT_EQ(Contacts(), 1);
    EXPECT_EQ(Field(1, u"name"_s), u"王五"_s);
    EXPECT_EQ(Field(1, u"client"_s), u"3"_s);
    EXPECT_EQ(Field(1, u"sex"_s), u"0"_s);
    EXPECT_EQ(Birthday(1), QDate(1900, 1, 1));
    // The next contact takes the next number.
    EXPECT_EQ(Add(u"赵六"_s, u"华东商贸"_s), u"新数据添加成功！"_s);
    EXPECT_EQ(Field(2, u"client"_s), u"1"_s);
}

TEST_P(LinkmanTest, RefusesMissingNamesUnknownClientsAndBadBirthdays)
{
    auto dialog = NewDialog();
    dialog->show();
    dialog->OnOK();
    EXPECT_EQ(m_messages.LastText(), u"联系人姓名必须填写！"_s);

    SetText(*dialog, u"name"_s, u"张三"_s);
    struct Case
    {
        const char16_t* year;
        const char16_t* month;
        const char16_t* day;
        const char16_t* message;
    };
    const Case cases[] = {
        {u"1899", u"1", u"1", u"年份输入有误，必须在1900——2050年之间！"},
        {u"abc", u"1", u"1", u"年份输入有误，必须在1900——2050年之间！"},
        {u"", u"1", u"1", u"年份输入有误，必须在1900——2050年之间！"},
        {u"2051", u"13", u"1", u"年份输入有误，必须在1900——2050年之间！"},
        {u"1980", u"13", u"1", u"月份输入有误，必须在1——12之间！"},
        {u"1980", u"x1", u"1", u"月份输入有误，必须在1——12之间！"},
        {u"1980", u"2", u"0", u"日期输入有误，必须在1——31之间！"},
        {u"1980", u"2", u"-1", u"日期输入有误，必须在1——31之间！"},
        {u"1980", u"2", u"1.5", u"日期输入有误，必须在1——31之间！"},
    };
    for (const Case& c : cases) {
        SetBirthday(*dialog, QString::fromUtf16(c.year), QString::fromUtf16(c.month),
                    QString::fromUtf16(c.day));
        dialog->OnOK();
        EXPECT_EQ(m_messages.LastText(), QString::fromUtf16(c.message))
            << QString::fromUtf16(c.year).toStdString() << "-"
            << QString::fromUtf16(c.month).toStdString() << "-"
            << QString::fromUtf16(c.day).toStdString();
    }

    SetBirthday(*dialog, u"1980"_s, u"2"_s, u"3"_s);
    dialog->ClientBox().SetText(u"华东"_s); // the beginning of a client is no client
    dialog->OnOK();
    EXPECT_EQ(m_messages.LastText(), u"没有找到所属客户，添加失败！"_s);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Contacts(), 0);
}

TEST_P(LinkmanTest, BirthdayBeyondTheMonthIsStoredAsItsLastDay)
{
    auto dialog = NewDialog();
    dialog->show();
    SetText(*dialog, u"name"_s, u"二月"_s);
    SetBirthday(*dialog, u"2001"_s, u"2"_s, u"31"_s);
    dialog->findChild<QRadioButton*>(u"female"_s)->setChecked(true);
    dialog->OnOK();
    EXPECT_EQ(m_messages.LastText(), u"新数据添加成功！"_s);
    EXPECT_EQ(Birthday(1), QDate(2001, 2, 28));
    EXPECT_EQ(Field(1, u"sex"_s), u"1"_s);
    EXPECT_EQ(CLinkmanDlg::BirthdayDate(2000, 2, 31), QDate(2000, 2, 29));
    EXPECT_EQ(CLinkmanDlg::BirthdayDate(2001, 4, 31), QDate(2001, 4, 30));
    EXPECT_EQ(CLinkmanDlg::BirthdayDate(2001, 12, 31), QDate(2001, 12, 31));
}

TEST_P(LinkmanTest, DuplicatesAreJudgedWithinTheClient)
{
    const QString name = u"O'Brien \"[%2]\""_s;
    EXPECT_EQ(Add(name, u"华东商贸"_s, u"N-1"_s), u"新数据添加成功！"_s);
    // The same name and number under another client: no question.
    m_messages.Clear();
    EXPECT_EQ(Add(name, u"Lee's [Co]"_s, u"N-1"_s), u"新数据添加成功！"_s);
    EXPECT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(Field(2, u"name"_s), name);
    EXPECT_EQ(Field(2, u"client"_s), u"2"_s);

    // Under the same client, typed names with quotes and brackets are found as typed.
    m_messages.Clear();
    m_messages.AnswerNext(false);
    EXPECT_EQ(Add(name, u"Lee's [Co]"_s), u"客户所属联系人姓名已经存在，是否要重复添加？"_s);
    EXPECT_EQ(m_messages.Messages().back().caption, u"重复"_s);
    EXPECT_EQ(Contacts(), 2);
    m_messages.Clear();
    m_messages.AnswerNext(false);
    EXPECT_EQ(Add(u"别人"_s, u"Lee's [Co]"_s, u"N-1"_s),
              u"客户所属联系人编号已经存在，是否要重复添加？"_s);
    EXPECT_EQ(Contacts(), 2);
    m_messages.Clear();
    m_messages.AnswerNext(true);
    EXPECT_EQ(Add(name, u"Lee's [Co]"_s), u"新数据添加成功！"_s);
    EXPECT_EQ(Contacts(u"[client] = 2"_s), 2);
}

TEST_P(LinkmanTest, ModifyRewritesTheRowAndNeverCountsItsOwnRow)
{
    ASSERT_EQ(Add(u"甲"_s, u"华东商贸"_s, u"A1"_s), u"新数据添加成功！"_s);
    ASSERT_EQ(Add(u"乙"_s, u"华东商贸"_s, u"A2"_s), u"新数据添加成功！"_s);
    ShowClients();
    ClickClient(0);
    ASSERT_EQ(Lower()->List().GetItemCount(), 2);
    m_messages.Clear();

    // Through the secondary list: the stored row comes into the dialog in modify mode.
    Lower()->SetCurrentRow(1);
    {
        ModalDriver<CLinkmanDlg> contact([&](CLinkmanDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 1);
            EXPECT_EQ(dialog.FieldText(u"name"_s), u"乙"_s);
            EXPECT_EQ(dialog.ClientBox().Text(), u"华东商贸"_s);
            EXPECT_FALSE(dialog.ContinuousBox()->isEnabled());
            EXPECT_EQ(dialog.OkButton()->text(), u"添加"_s);
            SetText(dialog, u"mobile"_s, u"13900000000"_s);
            SetText(dialog, u"like"_s, u"书法"_s);
            SetText(dialog, u"important"_s, u"很重要"_s);
            SetBirthday(dialog, u"1980"_s, u"5"_s, u"6"_s);
            dialog.ClientBox().SetText(u"Lee's [Co]"_s);
            dialog.OnOK();
        });
        Lower()->OnRecordEdit();
    }
    // Its own name and number are no duplicates.
    EXPECT_EQ(m_messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(Field(2, u"mobile"_s), u"13900000000"_s);
    EXPECT_EQ(Field(2, u"like"_s), u"书法"_s);
    EXPECT_EQ(Field(2, u"number"_s), u"A2"_s);
    EXPECT_EQ(Field(2, u"client"_s), u"2"_s);
    EXPECT_EQ(Birthday(2), QDate(1980, 5, 6));
    const CRecordListModel& lower = Lower()->List();
    EXPECT_EQ(lower.GetItemText(1, 0), u"乙"_s);
    EXPECT_EQ(lower.GetItemText(1, 1), u"Lee's [Co]"_s);
    EXPECT_EQ(lower.GetItemText(1, 2), u"A2"_s);
    EXPECT_EQ(lower.GetItemText(1, 3), u"13900000000"_s);
    EXPECT_EQ(lower.GetItemText(1, 11), u"男"_s);
    EXPECT_EQ(lower.GetItemText(1, 13), u"很重要"_s);
    EXPECT_EQ(lower.GetItemText(1, 17), u"1980-5-6"_s);
    EXPECT_EQ(lower.GetItemText(1, 18), u"书法"_s);
    EXPECT_EQ(lower.GetItemText(1, 31), u"2"_s);
    // A new dictionary value is offered from now on, once.
    EXPECT_EQ(m_file.QueryValue(u"SELECT COUNT(*) FROM important WHERE name = '很重要'"_s), u"1"_s);

    // Renaming to the other contact's name of the same client asks.
    m_messages.Clear();
    m_messages.AnswerNext(false);
    Lower()->SetCurrentRow(0);
    {
        ModalDriver<CLinkmanDlg> contact([&](CLinkmanDlg& dialog) {
            SetText(dialog, u"name"_s, u"乙"_s);
            SetText(dialog, u"important"_s, u"很重要"_s);
            dialog.ClientBox().SetText(u"Lee's [Co]"_s);
            dialog.OnOK();
            EXPECT_TRUE(dialog.isVisible());
        });
        Lower()->OnRecordEdit();
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"客户所属联系人姓名已经存在，是否要重复添加？"_s});
    EXPECT_EQ(Field(1, u"name"_s), u"甲"_s);
    EXPECT_EQ(m_file.QueryValue(u"SELECT COUNT(*) FROM important"_s), u"1"_s);
}

TEST_P(LinkmanTest, SecondaryListAddsEditsAndDeletesContacts)
{
    ShowClients();
    ClickClient(1);
    EXPECT_EQ(Lower()->List().GetItemCount(), 0);

    // "增加记录" opens the dialog on the client selected in the main list; the new contact
    // appears under it. "连续添加" keeps the dialog open for the next one.
    {
        ModalDriver<CLinkmanDlg> contact([&](CLinkmanDlg& dialog) {
            EXPECT_EQ(dialog.m_bPresetClient, 1);
            EXPECT_EQ(dialog.ClientBox().Text(), u"Lee's [Co]"_s);
            EXPECT_TRUE(dialog.ContinuousBox()->isEnabled());
            dialog.ContinuousBox()->setChecked(true);
            SetText(dialog, u"name"_s, u"李雷"_s);
            dialog.OnOK();
            EXPECT_TRUE(dialog.isVisible());
            SetText(dialog, u"name"_s, u"韩梅梅"_s);
            dialog.OnOK();
        });
        RightClick(*Lower(), -1, u"ID_RECORD_ADD"_s);
    }
    EXPECT_EQ(m_messages.Texts(), (QStringList{u"新数据添加成功！"_s, u"新数据添加成功！"_s}));
    ASSERT_EQ(Lower()->List().GetItemCount(), 2);
    EXPECT_EQ(Lower()->List().GetItemText(0, 0), u"李雷"_s);
    EXPECT_EQ(Lower()->List().GetItemText(1, 1), u"Lee's [Co]"_s);
    // The appended rows are those a new click on the client shows.
    std::vector<QStringList> appended;
    for (int row = 0; row < 2; ++row) {
        QStringList texts;
        for (int column = 0; column < 32; ++column)
            texts << Lower()->List().GetItemText(row, column);
        appended.push_back(texts);
    }
    ClickClient(1);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 32; ++column)
            EXPECT_EQ(Lower()->List().GetItemText(row, column), appended[size_t(row)][column]);

    // "删除记录" there deletes the contact after the confirmation.
    m_messages.Clear();
    RightClick(*Lower(), 0, u"ID_RECORD_DELETE"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList{u"您确定要删除李雷吗？"_s});
    EXPECT_EQ(Lower()->List().GetItemCount(), 1);
    EXPECT_EQ(Contacts(), 1);
    EXPECT_EQ(Contacts(u"[name] = '韩梅梅'"_s), 1);

    // A contact added to another client is not listed under this one.
    {
        ModalDriver<CLinkmanDlg> contact([&](CLinkmanDlg& dialog) {
            dialog.ClientBox().SetText(u"北方机械"_s);
            SetText(dialog, u"name"_s, u"别处"_s);
            dialog.OnOK();
        });
        Lower()->OnRecordAdd();
    }
    EXPECT_EQ(Contacts(), 2);
    EXPECT_EQ(Lower()->List().GetItemCount(), 1);
}

TEST_P(LinkmanTest, ClientsOfTheSameNameKeepTheirOwnContacts)
{
    // A second client of the first one's name (the client dialog lets the user save it), with
    // a contact of its own.
    m_file.Exec(u"INSERT INTO client ([no], [name]) VALUES (4, '华东商贸')"_s);
    m_file.Exec(u"INSERT INTO linkman ([no], [name], [client]) VALUES (50, '张三', 4)"_s);
    ShowClients();
    m_main->List().AppendRow({u"华东商贸"_s, u"4"_s});
    ClickClient(2);
    ASSERT_EQ(Lower()->List().GetItemCount(), 1);

    // Modifying the contact keeps it with its client, not with the namesake.
    Lower()->SetCurrentRow(0);
    {
        ModalDriver<CLinkmanDlg> contact([&](CLinkmanDlg& dialog) {
            EXPECT_EQ(dialog.ClientBox().Text(), u"华东商贸"_s);
            SetText(dialog, u"mobile"_s, u"13700000000"_s);
            dialog.OnOK();
        });
        Lower()->OnRecordEdit();
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"记录修改成功！"_s});
    EXPECT_EQ(Field(50, u"mobile"_s), u"13700000000"_s);
    EXPECT_EQ(Field(50, u"client"_s), u"4"_s);

    // "增加记录" under the second client gives the new contact to that very client.
    {
        ModalDriver<CLinkmanDlg> contact([&](CLinkmanDlg& dialog) {
            SetText(dialog, u"name"_s, u"王五"_s);
            dialog.OnOK();
        });
        Lower()->OnRecordAdd();
    }
    EXPECT_EQ(Contacts(u"[name] = '王五' AND [client] = 4"_s), 1);
    EXPECT_EQ(Lower()->List().GetItemCount(), 2);

    // Choosing the name afresh in an unrelated add still means the first client of the name.
    EXPECT_EQ(Add(u"赵六"_s, u"华东商贸"_s), u"新数据添加成功！"_s);
    EXPECT_EQ(Contacts(u"[name] = '赵六' AND [client] = 1"_s), 1);

    // Once its client is deleted, a contact still in the lower list is never moved to
    // another client (here: its namesake) behind the user's back.
    m_file.Exec(u"DELETE FROM client WHERE [no] = 4"_s);
    m_messages.Clear();
    Lower()->SetCurrentRow(0);
    {
        ModalDriver<CLinkmanDlg> contact([&](CLinkmanDlg& dialog) {
            EXPECT_EQ(dialog.ClientBox().Text(), QString());
            SetText(dialog, u"mobile"_s, u"13600000000"_s);
            dialog.OnOK();
            EXPECT_TRUE(dialog.isVisible());
            dialog.reject();
        });
        Lower()->OnRecordEdit();
    }
    EXPECT_EQ(m_messages.Texts(), QStringList{u"没有找到所属客户，添加失败！"_s});
    EXPECT_EQ(Field(50, u"client"_s), u"4"_s);
    EXPECT_EQ(Field(50, u"mobile"_s), u"13700000000"_s);
}

INSTANTIATE_TEST_SUITE_P(, LinkmanTest, EachBackend(), BackendName);

} // namespace
