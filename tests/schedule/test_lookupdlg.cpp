#include "customers/customerrecords.h"
#include "data/adorecordset.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "schedule/lookupdlg.h"
#include "schedule/phonebookdlg.h"
#include "schedule/schedulecommands.h"
#include "schedule/schedulerecords.h"
#include "support/controls.h"
#include "support/featurecommands.h"
#include "support/modal.h"
#include "support/recordviews.h"
#include "views/featurecontext.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The reference file as the build makes it, copied beside the test's data file.
class LookupTest : public RecordViewsTest
{
protected:
    LookupTest()
    {
        const QString copy = DataFile().Dir() + u"/data.db"_s;
        EXPECT_TRUE(QFile::copy(QString::fromUtf8(VANTREL_REFERENCE_FILE), copy));
        EXPECT_TRUE(m_reference.Open(CADODatabase::ConnectionStringFor(copy)));
    }

    // The rows of column `column` of the main list.
    QStringList Column(int column) const
    {
        QStringList texts;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            texts << m_main->List().GetItemText(row, column);
        return texts;
    }

    // The number of rows a statement on the reference file gives; -1 when it does not run.
    int Rows(const QString& sql)
    {
        CADORecordset recordset(&m_reference);
        return recordset.Open(sql) ? recordset.GetRecordCount() : -1;
    }

    CADODatabase m_reference;
};

using ZipQueryDlgTest = LookupTest;
using PhoneBookDlgTest = LookupTest;

// Searches a part of the lookup: field position, text, then the part's button.
void Search(CZipQueryDlg& dialog, bool domestic, int field, const QString& text)
{
    QComboBox* choice = domestic ? dialog.DomesticField() : dialog.InternationalField();
    QLineEdit* edit = domestic ? dialog.DomesticText() : dialog.InternationalText();
    choice->setCurrentIndex(field);
    Paste(edit, text);
    Click(dialog, domestic ? u"IDC_DOMESTICQUERY"_s : u"IDC_INTERNATIONALQUERY"_s);
}

TEST_F(ZipQueryDlgTest, ChoicesInOrderFirstChosenAndEnterSearchesThePartTyping)
{
    CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), u"邮编、电话区号查询"_s);
    EXPECT_EQ(Items(dialog.DomesticField()),
              (QStringList{u"省份"_s, u"城市"_s, u"邮编"_s, u"区号"_s}));
    EXPECT_EQ(Items(dialog.InternationalField()),
              (QStringList{u"洲"_s, u"国家及地区"_s, u"区号"_s}));
    EXPECT_EQ(dialog.DomesticField()->currentIndex(), 0);
    EXPECT_EQ(dialog.InternationalField()->currentIndex(), 0);

    auto* domestic = Find<QPushButton>(dialog, u"IDC_DOMESTICQUERY"_s);
    auto* international = Find<QPushButton>(dialog, u"IDC_INTERNATIONALQUERY"_s);
    dialog.activateWindow();
    dialog.InternationalText()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(international->isDefault());
    EXPECT_FALSE(domestic->isDefault());
    dialog.DomesticField()->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(domestic->isDefault());
    EXPECT_FALSE(international->isDefault());
}

TEST_F(ZipQueryDlgTest, DomesticSearchesListPostcodesAndAreaCodes)
{
    {
        CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
        dialog.show();
        Search(dialog, true, 1, u"深圳"_s);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(m_main->Category(), ScheduleCategory::kDomesticCodes);
    EXPECT_EQ(m_doc.InfoText(), u"国内邮编、区号"_s);
    EXPECT_EQ(ColumnTitles(m_main->List()),
              (QStringList{u"省份"_s, u"城市"_s, u"邮编"_s, u"区号"_s}));
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(m_main->List().ColumnAt(column).width, 160);
    ASSERT_EQ(m_main->List().GetItemCount(), 1);
    EXPECT_EQ(RowTexts(m_main->List(), 0),
              (QStringList{u"广东省"_s, u"深圳市"_s, u"518000"_s, u"0755"_s}));
    EXPECT_TRUE(m_main->CurrentQuery().isEmpty());
    EXPECT_NE(Lower(), nullptr);

    // Area code "10" lists every code that contains it anywhere: 010 (北京市 and its 16
    // districts), 0310 (2), 0410 (3), 0510 (3) and 0710 (4).
    {
        CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
        Search(dialog, true, 3, u"10"_s);
    }
    const QStringList codes = Column(3);
    EXPECT_EQ(codes.size(), 29);
    EXPECT_EQ(codes.count(u"010"_s), 17);
    EXPECT_EQ(codes.count(u"0310"_s), 2);
    EXPECT_EQ(codes.count(u"0710"_s), 4);
    for (const QString& code : codes)
        EXPECT_TRUE(code.contains(u"10"_s)) << code.toStdString();

    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

// A city lists its city-wide postcode and is found by it; the municipalities are found as
// cities by their short and full names, and as provinces with their districts.
TEST_F(ZipQueryDlgTest, CitiesListTheirCityWidePostcodes)
{
    const auto search = [this](int field, const QString& text) {
        CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
        Search(dialog, true, field, text);
        QList<QStringList> rows;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            rows << RowTexts(m_main->List(), row);
        return rows;
    };
    const QStringList beijing{u"北京市"_s, u"北京市"_s, u"100000"_s, u"010"_s};
    EXPECT_EQ(search(1, u"北京"_s), QList<QStringList>{beijing});
    EXPECT_EQ(search(1, u"北京市"_s), QList<QStringList>{beijing});
    EXPECT_EQ(search(1, u"上海"_s),
              (QList<QStringList>{{u"上海市"_s, u"上海市"_s, u"200000"_s, u"021"_s}}));
    EXPECT_EQ(search(1, u"天津市"_s),
              (QList<QStringList>{{u"天津市"_s, u"天津市"_s, u"300000"_s, u"022"_s}}));
    EXPECT_EQ(search(1, u"重庆"_s),
              (QList<QStringList>{{u"重庆市"_s, u"重庆市"_s, u"400000"_s, u"023"_s}}));
    const QStringList guangzhou{u"广东省"_s, u"广州市"_s, u"510000"_s, u"020"_s};
    EXPECT_EQ(search(1, u"广州"_s), QList<QStringList>{guangzhou});
    EXPECT_EQ(search(2, u"510000"_s), QList<QStringList>{guangzhou});
    EXPECT_EQ(search(2, u"100000"_s), QList<QStringList>{beijing});

    // By province: the city first, then its sixteen districts with their own codes.
    const QList<QStringList> districts = search(0, u"北京"_s);
    ASSERT_EQ(districts.size(), 17);
    EXPECT_EQ(districts.front(), beijing);
    EXPECT_TRUE(districts.contains(QStringList{u"北京市"_s, u"海淀区"_s, u"100080"_s, u"010"_s}));
    // 广东省: its 21 cities with their city-wide codes and 20 county-level cities.
    const QList<QStringList> guangdong = search(0, u"广东"_s);
    EXPECT_EQ(guangdong.size(), 41);
    EXPECT_TRUE(guangdong.contains(guangzhou));
    EXPECT_TRUE(guangdong.contains(QStringList{u"广东省"_s, u"深圳市"_s, u"518000"_s, u"0755"_s}));
    EXPECT_TRUE(guangdong.contains(QStringList{u"广东省"_s, u"江门市"_s, u"529000"_s, u"0750"_s}));
    EXPECT_TRUE(guangdong.contains(QStringList{u"广东省"_s, u"台山市"_s, u"529200"_s, u"0750"_s}));
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_F(ZipQueryDlgTest, InternationalSearchesListDiallingCodes)
{
    {
        CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
        Search(dialog, false, 1, u"日本"_s);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(m_main->Category(), ScheduleCategory::kInternationalCodes);
    EXPECT_EQ(m_doc.InfoText(), u"国际区号"_s);
    EXPECT_EQ(ColumnTitles(m_main->List()), (QStringList{u"洲"_s, u"国家及地区"_s, u"区号"_s}));
    ASSERT_EQ(m_main->List().GetItemCount(), 1);
    EXPECT_EQ(RowTexts(m_main->List(), 0), (QStringList{u"亚洲"_s, u"日本"_s, u"81"_s}));

    {
        CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
        Search(dialog, false, 2, u"86"_s);
    }
    EXPECT_TRUE(Column(1).contains(u"中国"_s));
    EXPECT_TRUE(Column(1).contains(u"中国台湾"_s)); // 886
    {
        CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
        Search(dialog, false, 0, u"北美"_s);
    }
    EXPECT_TRUE(Column(1).contains(u"美国"_s));
    EXPECT_TRUE(Column(1).contains(u"加拿大"_s));
    EXPECT_EQ(Column(0).count(u"北美洲"_s), Column(0).size());
}

TEST_F(ZipQueryDlgTest, EmptySearchTextIsRefusedAndTheDialogStays)
{
    FillMain(CustomerCategory::kClients, u"SELECT * FROM client"_s, {u"名称"_s, QString()},
             {{u"甲"_s, u"1"_s}});
    CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
    dialog.show();
    Click(dialog, u"IDC_DOMESTICQUERY"_s);
    Search(dialog, false, 1, QString());
    EXPECT_EQ(m_messages.Texts(), (QStringList{u"搜索内容必须填写！"_s, u"搜索内容必须填写！"_s}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(m_main->Category(), CustomerCategory::kClients);
    EXPECT_EQ(m_main->List().GetItemCount(), 1);
}

// Without its reference file (data.db missing or unreadable) the lookup still closes and leaves
// the list empty under its new columns.
TEST_F(ZipQueryDlgTest, StatementThatDoesNotRunLeavesTheListEmpty)
{
    FillMain(CustomerCategory::kClients, u"SELECT * FROM client"_s, {u"名称"_s, QString()},
             {{u"甲"_s, u"1"_s}});
    CADODatabase closed;
    CZipQueryDlg dialog(&closed, m_doc, &m_window);
    dialog.show();
    Search(dialog, false, 1, u"日本"_s);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_main->Category(), ScheduleCategory::kInternationalCodes);
    EXPECT_EQ(ColumnTitles(m_main->List()), (QStringList{u"洲"_s, u"国家及地区"_s, u"区号"_s}));
    EXPECT_EQ(m_main->List().GetItemCount(), 0);
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

// Quotes, wildcards, very long texts and statement fragments are searched for as text: no
// statement fails, none reads another table, the reference file keeps its rows.
TEST_F(ZipQueryDlgTest, BadInputIsOnlyText)
{
    const QStringList texts{u"'"_s,
                            u"O'Brien"_s,
                            u"北京' OR '1'='1"_s,
                            u"'; DROP TABLE section1; --"_s,
                            u"x' UNION SELECT name, sql, 1, 1 FROM sqlite_master --"_s,
                            u"[北京]"_s,
                            u"#2024-1-1#"_s,
                            QString(10000, u'京')};
    for (const QString& text : texts) {
        for (int field = 0; field < 4; ++field)
            EXPECT_EQ(Rows(CZipQueryDlg::DomesticStatement(field, text)), 0)
                << text.left(40).toStdString();
        for (int field = 0; field < 3; ++field)
            EXPECT_EQ(Rows(CZipQueryDlg::InternationalStatement(field, text)), 0)
                << text.left(40).toStdString();
        CZipQueryDlg dialog(&m_reference, m_doc, &m_window);
        Search(dialog, true, 1, text);
        EXPECT_EQ(m_main->List().GetItemCount(), 0);
        EXPECT_EQ(m_main->List().GetColumnCount(), 4);
    }
    // A percent sign is the substring search's own wildcard, as the lookup has always taken it.
    EXPECT_EQ(Rows(CZipQueryDlg::DomesticStatement(0, u"%"_s)), 790);
    EXPECT_EQ(Rows(u"SELECT * FROM section1"_s), 790);
    EXPECT_EQ(Rows(u"SELECT * FROM section2"_s), 245);
    EXPECT_TRUE(CZipQueryDlg::DomesticStatement(4, u"x"_s).isEmpty());
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_F(PhoneBookDlgTest, ListsAndSearchesTheCommonNumbers)
{
    {
        CPhoneBookDlg dialog(&m_reference, m_doc, &m_window);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), u"常用电话查询"_s);
        Click(dialog, u"IDC_PHONEQUERY"_s); // nothing typed: all of them
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(m_main->Category(), ScheduleCategory::kPhoneNumbers);
    EXPECT_EQ(m_doc.InfoText(), u"常用电话"_s);
    EXPECT_EQ(ColumnTitles(m_main->List()), (QStringList{u"名称"_s, u"号码"_s, u"说明"_s}));
    EXPECT_EQ(m_main->List().GetItemCount(), 26);
    EXPECT_EQ(RowTexts(m_main->List(), 0), (QStringList{u"匪警"_s, u"110"_s, u"公安报警"_s}));

    const auto search = [this](const QString& text) {
        CPhoneBookDlg dialog(&m_reference, m_doc, &m_window);
        Paste(dialog.SearchText(), text);
        Click(dialog, u"IDC_PHONEQUERY"_s);
        return Column(0);
    };
    EXPECT_EQ(search(u"110"_s), (QStringList{u"匪警"_s, u"短信报警"_s})); // by number
    EXPECT_EQ(search(u"医疗"_s), QStringList{u"急救中心"_s});             // by description
    EXPECT_EQ(search(u"银行"_s).size(), 6);                               // by name
    EXPECT_EQ(search(u"中国联通客服"_s), QStringList{u"中国联通客服"_s});
    EXPECT_EQ(RowTexts(m_main->List(), 0), (QStringList{u"中国联通客服"_s, u"10010"_s, QString()}));
    for (const QString& text :
         {u"'"_s, u"' OR '1'='1"_s, u"x' UNION SELECT 1, 2, 3 --"_s, QString(10000, u'a')}) {
        EXPECT_EQ(Rows(CPhoneBookDlg::QueryStatement(text)), 0) << text.left(40).toStdString();
        EXPECT_TRUE(search(text).isEmpty());
    }
    EXPECT_TRUE(m_messages.Texts().isEmpty());
}

TEST_F(LookupTest, ToolsCommandsOpenTheLookups)
{
    CAppContext app;
    app.SetDatabases(m_db.get(), &m_reference);
    FeatureCommands commands;
    RegisterScheduleCommands(CFeatureContext{app, m_doc, commands, &m_window});
    {
        const ModalDriver<CZipQueryDlg> driver([this](CZipQueryDlg& dialog) {
            EXPECT_EQ(dialog.parentWidget(), &m_window);
            Search(dialog, true, 1, u"深圳"_s);
        });
        commands.Run(ID_TOOLS_ZIP);
    }
    EXPECT_EQ(Column(3), QStringList{u"0755"_s});
    {
        const ModalDriver<CPhoneBookDlg> driver([this](CPhoneBookDlg& dialog) {
            EXPECT_EQ(dialog.parentWidget(), &m_window);
            Paste(dialog.SearchText(), u"12345"_s);
            Click(dialog, u"IDC_PHONEQUERY"_s);
        });
        commands.Run(ID_TOOLS_PHONE);
    }
    EXPECT_EQ(Column(0), QStringList{u"政务服务便民热线"_s});
}

} // namespace
