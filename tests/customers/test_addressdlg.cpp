#include "customers/addresscommands.h"
#include "customers/addressdlg.h"
#include "customers/customerrecords.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "support/controls.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "support/typing.h"
#include "views/featurecontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>

namespace {

class AddressDlgTest : public RecordViewsTest
{
protected:
    AddressDlgTest()
    {
        m_file.Exec(u"INSERT INTO [group] (name) VALUES ('同学'), ('客户'), ('Alpha')"_s);
        m_file.Exec(u"INSERT INTO address (no, [group], [user], sex, mobile) VALUES "
                    "(1, '同学', '周七', 1, '13900000000')"_s);
    }

    std::unique_ptr<CAddressDlg> Open(int modifyNo = -1, int item = -1,
                                      const QVariantMap& fields = {})
    {
        auto dialog = std::make_unique<CAddressDlg>(m_db.get(), m_main);
        if (modifyNo >= 0) {
            dialog->m_bModify = 1;
            dialog->m_nNo = modifyNo;
            dialog->m_nItem = item;
        }
        dialog->SetFieldValues(fields);
        dialog->show();
        return dialog;
    }

    static QStringList Groups(const CAddressDlg& dialog) { return Items(dialog.GroupCombo()); }
};

TEST_P(AddressDlgTest, ANewGroupIsStoredAndOfferedAndAnEmptyOneMakesNoGroup)
{
    auto dialog = Open();
    // The groups in the users' order, the first chosen for a new entry.
    EXPECT_EQ(Groups(*dialog), QStringList({u"Alpha"_s, u"客户"_s, u"同学"_s}));
    EXPECT_EQ(dialog->FieldText(u"group"_s), u"Alpha"_s);
    EXPECT_TRUE(dialog->MaleButton()->isChecked());
    EXPECT_TRUE(dialog->ContinuousBox()->isEnabled());

    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"联系人姓名必须填写！"_s}));

    m_messages.Clear();
    dialog->ContinuousBox()->setChecked(true);
    RetypeField(*dialog, u"group"_s, u"家人"_s);
    RetypeField(*dialog, u"user"_s, u"张三"_s);
    dialog->FemaleButton()->click();
    RetypeField(*dialog, u"pas"_s, u"0755-123"_s);
    RetypeField(*dialog, u"birthday"_s, u"三月初五"_s);
    RetypeField(*dialog, u"like"_s, u"O'Neil 的书"_s);
    RetypeField(*dialog, u"homezip"_s, u"518000"_s);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"添加成功！"_s}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Groups(*dialog), QStringList({u"Alpha"_s, u"家人"_s, u"客户"_s, u"同学"_s}));
    EXPECT_EQ(Count(u"\"group\" WHERE name = '家人'"_s), 1);
    const QString entry = u" FROM address WHERE [user] = '张三'"_s;
    EXPECT_EQ(Value(u"SELECT \"group\" || '|' || sex || '|' || pas || '|' || birthday || '|' || "
                    "\"like\" || '|' || homezip"_s +
                    entry),
              u"家人|1|0755-123|三月初五|O'Neil 的书|518000"_s);
    EXPECT_EQ(Value(u"SELECT typeof(mobile) || typeof(remark)"_s + entry), u"nullnull"_s);
    EXPECT_EQ(Value(u"SELECT no > 1"_s + entry), u"1"_s); // numbered by the file

    // No group: the entry has none, and no nameless group is made.
    m_messages.Clear();
    RetypeField(*dialog, u"group"_s, QString());
    RetypeField(*dialog, u"user"_s, u"李四"_s);
    dialog->ContinuousBox()->setChecked(false);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"添加成功！"_s}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Value(u"SELECT typeof(\"group\") FROM address WHERE [user] = '李四'"_s), u"null"_s);
    EXPECT_EQ(Count(u"\"group\""_s), 4);
    EXPECT_EQ(Count(u"\"group\" WHERE name IS NULL OR name = ''"_s), 0);

    // The next dialog offers the new group.
    auto next = Open();
    EXPECT_TRUE(Groups(*next).contains(u"家人"_s));
}

TEST_P(AddressDlgTest, TheDuplicateQuestionComesOnlyWithinOneGroup)
{
    const QString question = u"同分类下已经存在该联系人，是否要重复添加？"_s;
    auto dialog = Open();
    dialog->ContinuousBox()->setChecked(true);
    RetypeField(*dialog, u"group"_s, u"客户"_s);
    RetypeField(*dialog, u"user"_s, u"周七"_s);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"添加成功！"_s}));

    m_messages.Clear();
    RetypeField(*dialog, u"group"_s, u"同学"_s);
    m_messages.AnswerNext(false);
    Click(*dialog, u"IDOK"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text, question);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"重复"_s);
    EXPECT_TRUE(m_messages.Messages()[0].question);
    EXPECT_EQ(Count(u"address WHERE [user] = '周七'"_s), 2);

    m_messages.Clear();
    m_messages.AnswerNext(true);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({question, u"添加成功！"_s}));
    EXPECT_EQ(Count(u"address WHERE [user] = '周七' AND \"group\" = '同学'"_s), 2);

    // Entries without a group are one group too.
    m_messages.Clear();
    RetypeField(*dialog, u"group"_s, QString());
    RetypeField(*dialog, u"user"_s, u"孙八"_s);
    Click(*dialog, u"IDOK"_s);
    m_messages.AnswerNext(false);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"添加成功！"_s, question}));
    EXPECT_EQ(Count(u"address WHERE [user] = '孙八'"_s), 1);

    // A modify never finds the entry itself.
    m_messages.Clear();
    auto modify = Open(1, -1, {{u"group"_s, u"同学"_s}, {u"user"_s, u"周七"_s}, {u"sex"_s, 1}});
    EXPECT_FALSE(modify->ContinuousBox()->isEnabled());
    EXPECT_EQ(modify->FieldText(u"group"_s), u"同学"_s);
    EXPECT_TRUE(modify->FemaleButton()->isChecked());
    m_file.Exec(u"DELETE FROM address WHERE no <> 1"_s);
    RetypeField(*modify, u"remark"_s, u"大学同学"_s);
    Click(*modify, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"修改成功！"_s}));
    EXPECT_EQ(Value(u"SELECT remark || sex FROM address WHERE no = 1"_s), u"大学同学1"_s);
}

TEST_P(AddressDlgTest, WithoutTheGroupTableTheUserIsToldToUpgrade)
{
    m_file.Exec(u"DROP TABLE \"group\""_s);
    auto dialog = Open();
    EXPECT_EQ(m_messages.Texts(), QStringList({u"请先升级数据库！"_s}));
    EXPECT_EQ(dialog->GroupCombo()->count(), 0);
    EXPECT_EQ(dialog->FieldText(u"group"_s), QString());

    m_messages.Clear();
    RetypeField(*dialog, u"group"_s, u"同学"_s);
    RetypeField(*dialog, u"user"_s, u"张三"_s);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"储存分类失败！"_s}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Count(u"address"_s), 1);
}

TEST_P(AddressDlgTest, TheMainListAddsAndModifiesThroughTheRegisteredCommands)
{
    CAppContext app;
    FeatureCommands commands;
    RegisterAddressCommands(CFeatureContext{app, m_doc, commands, &m_window});
    ASSERT_TRUE(m_doc.Dialogs().Has(CustomerDialog::kAddressBook));
    {
        ModalDriver<CAddressDlg> add([](CAddressDlg& dialog) {
            EXPECT_EQ(dialog.m_bModify, 0);
            RetypeField(dialog, u"user"_s, u"吴九"_s);
            Click(dialog, u"IDOK"_s);
        });
        commands.Run(ID_MANAGE_ADDRESS);
    }
    EXPECT_EQ(Value(u"SELECT \"group\" FROM address WHERE [user] = '吴九'"_s), u"Alpha"_s);

    FillMain(CustomerCategory::kAddressBook, u"SELECT * FROM [address]"_s,
             {u"分类"_s, u"姓名"_s, u"性别"_s, QString()},
             {{u"Alpha"_s, u"吴九"_s, u"男"_s, u"9"_s}, {u"同学"_s, u"周七"_s, u"女"_s, u"1"_s}});
    m_messages.Clear();
    {
        ModalDriver<CAddressDlg> modify([](CAddressDlg& dialog) {
            EXPECT_EQ(dialog.m_nNo, 1);
            EXPECT_EQ(dialog.FieldText(u"mobile"_s), u"13900000000"_s);
            dialog.MaleButton()->click();
            RetypeField(dialog, u"user"_s, u"周七七"_s);
            Click(dialog, u"IDOK"_s);
        });
        DoubleClick(*m_main, 1);
    }
    EXPECT_EQ(m_messages.Texts(), QStringList({u"修改成功！"_s}));
    EXPECT_EQ(RowTexts(m_main->List(), 1), QStringList({u"同学"_s, u"周七七"_s, u"男"_s, u"1"_s}));
    EXPECT_EQ(Value(u"SELECT [user] || sex FROM address WHERE no = 1"_s), u"周七七0"_s);

    // An entry deleted meanwhile is not found.
    m_file.Exec(u"DELETE FROM address WHERE no = 1"_s);
    m_messages.Clear();
    auto gone = Open(1, 1, {{u"user"_s, u"周七七"_s}});
    Click(*gone, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"找不到此记录，修改失败！"_s}));
    EXPECT_TRUE(gone->isVisible());
}

INSTANTIATE_TEST_SUITE_P(, AddressDlgTest, EachBackend(), BackendName);

} // namespace
