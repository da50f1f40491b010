#include "customers/clientdlg.h"
#include "customers/clientlist.h"
#include "support/controls.h"
#include "support/recordviews.h"
#include "support/typing.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

class ClientDlgTest : public RecordViewsTest
{
protected:
    ClientDlgTest()
    {
        m_file.Exec(u"UPDATE snnumber SET client = 7"_s);
        m_file.Exec(u"INSERT INTO client (no, name, number, city) VALUES "
                    "(1, '甲公司', 'A01', '北京'), (2, '乙公司', 'B02', NULL)"_s);
        m_file.Exec(u"INSERT INTO city (name) VALUES ('上海'), ('北京'), ('Xi''an')"_s);
        m_file.Exec(u"INSERT INTO people (name) VALUES ('100-500')"_s);
    }

    // A dialog as the opener leaves it: members set, then shown.
    std::unique_ptr<CClientDlg> Open(int modifyNo = -1, int item = -1,
                                     const QVariantMap& fields = {})
    {
        auto dialog = std::make_unique<CClientDlg>(m_db.get(), m_main);
        if (modifyNo >= 0) {
            dialog->m_bModify = 1;
            dialog->m_nNo = modifyNo;
            dialog->m_nItem = item;
        }
        dialog->SetFieldTexts(fields);
        dialog->show();
        return dialog;
    }

    // A text too long to type key by key.
    static void PasteText(CClientDlg& dialog, const QString& field, const QString& text)
    {
        QWidget* control = dialog.Control(field);
        ASSERT_NE(control, nullptr) << field.toStdString();
        Paste(control, text);
    }

    static QStringList ComboItems(CClientDlg& dialog, const QString& field)
    {
        auto* combo = qobject_cast<QComboBox*>(dialog.Control(field));
        return combo ? Items(combo) : QStringList();
    }

    QString Counter() const { return Value(u"SELECT client FROM snnumber"_s); }
};

TEST_P(ClientDlgTest, ForbiddenCharactersAreRefusedBeforeTheDataFileIsTouched)
{
    // Clients that already carry the refused texts: a look-up before the refusal would ask
    // about a duplicate first.
    m_file.Exec(u"INSERT INTO client (no, name, number) VALUES (3, 'O''Neil', 'C\"3'), "
                "(4, '丙公司', '[C3'), (5, '丁公司', 'C3]')"_s);
    auto dialog = Open();
    Click(*dialog, u"IDOK"_s);
    RetypeField(*dialog, u"name"_s, u"O'Neil"_s);
    Click(*dialog, u"IDOK"_s);
    RetypeField(*dialog, u"name"_s, u"丙公司"_s);
    for (const QString& number : {u"C\"3"_s, u"[C3"_s, u"C3]"_s}) {
        RetypeField(*dialog, u"number"_s, number);
        Click(*dialog, u"IDOK"_s);
    }
    EXPECT_EQ(
        m_messages.Texts(),
        QStringList({u"客户名称必须填写！"_s, u"客户名称不能含有',\",[,]等符号！"_s,
                     u"客户编号不能含有',\",[,]等符号！"_s, u"客户编号不能含有',\",[,]等符号！"_s,
                     u"客户编号不能含有',\",[,]等符号！"_s}));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Count(u"client"_s), 5);
    EXPECT_EQ(Counter(), u"7"_s);
}

TEST_P(ClientDlgTest, DuplicatePromptsComeInTurnAndNoConsumesNoNumber)
{
    auto dialog = Open();
    RetypeField(*dialog, u"name"_s, u"甲公司"_s);
    RetypeField(*dialog, u"number"_s, u"B02"_s);

    // No to the name: the number is not asked about.
    m_messages.AnswerNext(false);
    Click(*dialog, u"IDOK"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text, u"客户名称已经存在，是否要重复添加？"_s);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"重复"_s);
    EXPECT_TRUE(m_messages.Messages()[0].question);

    // Yes to the name, No to the number (taken by another client).
    m_messages.Clear();
    m_messages.AnswerNext(true);
    m_messages.AnswerNext(false);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"客户名称已经存在，是否要重复添加？"_s,
                                               u"客户编号已经存在，是否要重复添加？"_s}));
    EXPECT_EQ(Count(u"client"_s), 2);
    EXPECT_EQ(Counter(), u"7"_s);
    EXPECT_TRUE(dialog->isVisible());

    // Yes to both: saved with the counter's number.
    m_messages.Clear();
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.LastText(), u"新数据添加成功！"_s);
    EXPECT_EQ(Count(u"client WHERE name = '甲公司'"_s), 2);
    EXPECT_EQ(Value(u"SELECT number FROM client WHERE no = 7"_s), u"B02"_s);
    EXPECT_EQ(Counter(), u"8"_s);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);

    // An empty number is nobody's duplicate.
    m_messages.Clear();
    auto second = Open();
    RetypeField(*second, u"name"_s, u"丁公司"_s);
    Click(*second, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"新数据添加成功！"_s}));
}

TEST_P(ClientDlgTest, NewValuesAreStoredAsTypedAndFedToTheirDictionariesOnce)
{
    const QString longSurvey = QString(u"概况很长。"_s).repeated(2000);
    auto dialog = Open();
    // Suggestions in the users' order: Latin letters first, then pinyin.
    EXPECT_EQ(ComboItems(*dialog, u"city"_s), QStringList({u"Xi'an"_s, u"北京"_s, u"上海"_s}));
    EXPECT_EQ(dialog->FieldText(u"city"_s), QString());
    dialog->ContinuousBox()->setChecked(true);

    RetypeField(*dialog, u"name"_s, u"丙公司"_s);
    RetypeField(*dialog, u"corporation"_s, u"O'Brien"_s);
    RetypeField(*dialog, u"city"_s, u"苏州"_s);
    RetypeField(*dialog, u"operator"_s, u"Li's team"_s);
    RetypeField(*dialog, u"people"_s, u"10-50"_s);
    PasteText(*dialog, u"survey"_s, longSurvey);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"新数据添加成功！"_s}));
    // "连续添加": still open with its contents, the new city now offered.
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->FieldText(u"city"_s), u"苏州"_s);
    EXPECT_TRUE(ComboItems(*dialog, u"city"_s).contains(u"苏州"_s));

    EXPECT_EQ(Value(u"SELECT corporation FROM client WHERE no = 7"_s), u"O'Brien"_s);
    EXPECT_EQ(Value(u"SELECT survey FROM client WHERE no = 7"_s), longSurvey);
    EXPECT_EQ(Value(u"SELECT remark FROM client WHERE no = 7"_s), u"<NULL>"_s);
    EXPECT_EQ(Value(u"SELECT zip FROM client WHERE no = 7"_s), u"<NULL>"_s);
    EXPECT_EQ(Count(u"city WHERE name = '苏州'"_s), 1);
    EXPECT_EQ(Count(u"operator WHERE name = 'Li''s team'"_s), 1);
    // Staff size is offered from its dictionary but never added to it.
    EXPECT_EQ(Count(u"people"_s), 1);

    // The next client with the same city adds no second row.
    RetypeField(*dialog, u"name"_s, u"戊公司"_s);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(Value(u"SELECT city FROM client WHERE no = 8"_s), u"苏州"_s);
    EXPECT_EQ(Count(u"city WHERE name = '苏州'"_s), 1);
    EXPECT_EQ(Count(u"operator"_s), 1);
}

TEST_P(ClientDlgTest, ModifyNeverFindsItselfAndRewritesOnlyItsOwnRow)
{
    ShowClientList(m_doc, m_db.get(), u"SELECT * FROM client ORDER BY [name]"_s);
    ASSERT_EQ(m_main->List().GetItemCount(), 2);
    ASSERT_EQ(m_main->List().GetItemText(0, 22), u"1"_s);

    auto dialog =
        Open(1, 0, {{u"name"_s, u"甲公司"_s}, {u"number"_s, u"A01"_s}, {u"city"_s, u"北京"_s}});
    EXPECT_FALSE(dialog->ContinuousBox()->isEnabled());
    EXPECT_EQ(dialog->FieldText(u"city"_s), u"北京"_s);
    RetypeField(*dialog, u"city"_s, u"上海"_s);
    const QString longRemark = u"老客户"_s + QString(u'备').repeated(9997);
    PasteText(*dialog, u"remark"_s, longRemark);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"记录修改成功！"_s}));
    EXPECT_EQ(Value(u"SELECT city FROM client WHERE no = 1"_s), u"上海"_s);
    EXPECT_EQ(Counter(), u"7"_s);
    const QStringList row = RowTexts(m_main->List(), 0);
    EXPECT_EQ(row[0], u"甲公司"_s);
    EXPECT_EQ(row[11], u"上海"_s);
    EXPECT_EQ(row[21], longRemark);
    EXPECT_EQ(Value(u"SELECT remark FROM client WHERE no = 1"_s), longRemark);
    EXPECT_EQ(row[22], u"1"_s);

    // Taking the other client's name asks; No leaves the record as it was.
    m_messages.Clear();
    auto again = Open(1, 0, {{u"name"_s, u"乙公司"_s}, {u"number"_s, u"A01"_s}});
    m_messages.AnswerNext(false);
    Click(*again, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"客户名称已经存在，是否要重复添加？"_s}));
    EXPECT_EQ(Value(u"SELECT name FROM client WHERE no = 1"_s), u"甲公司"_s);

    // A list laid out with fewer columns keeps its layout and its record number.
    m_main->List().Clear();
    m_main->List().InsertColumn(-1, u"名称"_s);
    m_main->List().InsertColumn(-1, u"性质"_s);
    m_main->List().InsertColumn(-1, QString(), Qt::AlignLeft, 0);
    m_main->List().AppendRow({u"乙公司"_s, QString(), u"2"_s});
    m_messages.Clear();
    auto other = Open(2, 0, {{u"name"_s, u"乙公司"_s}, {u"number"_s, u"B02"_s}});
    RetypeField(*other, u"property"_s, u"国企"_s);
    RetypeField(*other, u"tax"_s, u"T-9"_s);
    Click(*other, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"记录修改成功！"_s}));
    EXPECT_EQ(RowTexts(m_main->List(), 0), QStringList({u"乙公司"_s, u"国企"_s, u"2"_s}));
}

TEST_P(ClientDlgTest, AFailedNumberStopsTheAddWithItsMessage)
{
    m_file.Exec(u"DELETE FROM snnumber"_s);
    auto dialog = Open();
    RetypeField(*dialog, u"name"_s, u"丙公司"_s);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"客户编号格式错误！"_s}));
    EXPECT_EQ(Count(u"client"_s), 2);
    EXPECT_TRUE(dialog->isVisible());
}

INSTANTIATE_TEST_SUITE_P(, ClientDlgTest, EachBackend(), BackendName);

} // namespace
