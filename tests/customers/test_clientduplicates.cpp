// The client dialog's duplicate checks find names, numbers and dictionary values in any case of
// their ASCII letters, as the data file compares them.
#include "customers/clientdlg.h"
#include "support/controls.h"
#include "support/recordviews.h"
#include "support/typing.h"

namespace {

class ClientDuplicatesTest : public RecordViewsTest
{
protected:
    ClientDuplicatesTest()
    {
        m_file.Exec(u"UPDATE snnumber SET client = 7"_s);
        m_file.Exec(u"INSERT INTO client (no, name, number) VALUES (1, 'abc', 'Ax-1'), "
                    "(2, '乙公司', 'B02')"_s);
        m_file.Exec(u"INSERT INTO city (name) VALUES ('Shanghai')"_s);
    }

    std::unique_ptr<CClientDlg> Open()
    {
        auto dialog = std::make_unique<CClientDlg>(m_db.get(), m_main);
        dialog->show();
        return dialog;
    }

    const QString m_nameQuestion = u"客户名称已经存在，是否要重复添加？"_s;
    const QString m_numberQuestion = u"客户编号已经存在，是否要重复添加？"_s;
};

TEST_P(ClientDuplicatesTest, ANameOrNumberInAnotherCaseIsADuplicate)
{
    auto dialog = Open();
    RetypeField(*dialog, u"name"_s, u"ABC"_s);
    RetypeField(*dialog, u"number"_s, u"aX-1"_s);

    m_messages.AnswerNext(false);
    Click(*dialog, u"IDOK"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_EQ(m_messages.Messages()[0].text, m_nameQuestion);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"重复"_s);
    EXPECT_TRUE(m_messages.Messages()[0].question);
    EXPECT_EQ(Count(u"client"_s), 2);

    m_messages.Clear();
    m_messages.AnswerNext(true);
    m_messages.AnswerNext(false);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({m_nameQuestion, m_numberQuestion}));
    EXPECT_EQ(Count(u"client"_s), 2);
    EXPECT_TRUE(dialog->isVisible());

    // Saved as typed when the user insists.
    m_messages.Clear();
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.LastText(), u"新数据添加成功！"_s);
    EXPECT_EQ(Value(u"SELECT name || '/' || number FROM client WHERE no = 7"_s), u"ABC/aX-1"_s);

    // A name one letter longer and a number with a trailing blank are other values.
    m_messages.Clear();
    auto other = Open();
    RetypeField(*other, u"name"_s, u"ABCD"_s);
    RetypeField(*other, u"number"_s, u"ax-1 "_s);
    Click(*other, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"新数据添加成功！"_s}));
}

TEST_P(ClientDuplicatesTest, ADictionaryValueInAnotherCaseIsNotFedTwice)
{
    auto dialog = Open();
    RetypeField(*dialog, u"name"_s, u"丙公司"_s);
    RetypeField(*dialog, u"city"_s, u"SHANGHAI"_s);
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"新数据添加成功！"_s}));
    EXPECT_EQ(Value(u"SELECT group_concat(name, '|') FROM city"_s), u"Shanghai"_s);
    EXPECT_EQ(Value(u"SELECT city FROM client WHERE no = 7"_s), u"SHANGHAI"_s);

    m_messages.Clear();
    auto next = Open();
    RetypeField(*next, u"name"_s, u"丁公司"_s);
    RetypeField(*next, u"city"_s, u"Shanghai Pudong"_s);
    Click(*next, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"新数据添加成功！"_s}));
    EXPECT_EQ(Value(u"SELECT group_concat(name, '|') FROM city"_s), u"Shanghai|Shanghai Pudong"_s);
}

INSTANTIATE_TEST_SUITE_P(, ClientDuplicatesTest, EachBackend(), BackendName);

} // namespace
