// Clients and contacts imported from spreadsheets: the fields suggested by the headers, the
// report of what will be added and skipped under the dialogs' own rules, the rows, numbers and
// dictionary values written in one go, and nothing written when any of it fails.
#include "customers/importdlg.h"
#include "data/adorecordset.h"
#include "support/recordviews.h"
#include "support/xlsxfiles.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class ImportDlgTest : public RecordViewsTest
{
protected:
    ImportDlgTest()
    {
        m_file.Exec(u"UPDATE snnumber SET client = 7, linkman = 40;"
                    "INSERT INTO client (no, name, number) VALUES (1, 'abc', 'Ax-1'), "
                    "(2, '甲公司', 'J1'), (3, '乙公司', NULL);"
                    "INSERT INTO linkman (no, client, name, number) VALUES (30, 2, '张三', 'Z1');"
                    "INSERT INTO city (name) VALUES ('Shanghai');"
                    "INSERT INTO important (name) VALUES ('VIP')"_s);
    }

    QString Path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }

    QString WriteCsv(const QString& text) const
    {
        QFile file(Path(u"import.csv"_s));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        return file.fileName();
    }

    std::unique_ptr<CImportDlg> Open(ImportKind kind, const QString& path)
    {
        auto dialog = std::make_unique<CImportDlg>(kind, m_db.get(), m_doc);
        EXPECT_TRUE(dialog->Load(path));
        dialog->show();
        return dialog;
    }

    static QStringList Suggested(const CImportDlg& dialog, int columns)
    {
        QStringList fields;
        for (int column = 0; column < columns; ++column)
            fields << dialog.FieldBox(column)->currentText();
        return fields;
    }

    QStringList MainNames() const
    {
        QStringList names;
        for (int row = 0; row < m_main->List().GetItemCount(); ++row)
            names << m_main->List().GetItemText(row, 0);
        return names;
    }

    bool OnSqlite() const { return QByteArray(GetParam().name) == "sqlite"; }

    QTemporaryDir m_dir;
};

TEST_P(ImportDlgTest, ClientsAreAddedUnlessTheClientDialogWouldStopOrAsk)
{
    const QString remark(100000, u'长');
    const QString path =
        WriteCsv(u"客户名称,编号,城市,电话,备注\n"
                 "丙公司,C1,SHANGHAI,021-1,第一\n" // 2: added; the city is known in another case
                 "ABC,X9,,,\n"                     // 3: the name is held, letters aside
                 "丁公司,ax-1,,,\n"                // 4: the number is held
                 ",B1,,,\n"                        // 5: no name
                 "戊'公司,E1,,,\n"                 // 6: a quote the client dialog refuses
                 "丙公司,C2,,,\n"                  // 7: an earlier row has the name
                 "己公司,c1,,,\n"                  // 8: an earlier row has the number
                 "庚公司,G1,北京,,,多出来的一列\n" // 9: more cells than the header
                 "辛公司,X1,,,%1\n"                // 10: a remark longer than the field
                 "\"壬 公司\",,Beijing,,\"两行\n备注\"\n" // 11: added
                 "癸公司,,beijing,,\n"_s.arg(remark));    // 12: added; the city is fed once
    auto dialog = Open(ImportKind::Clients, path);
    EXPECT_EQ(Suggested(*dialog, 5),
              QStringList({u"名称"_s, u"编号"_s, u"市"_s, u"（不导入）"_s, u"备注"_s}));
    EXPECT_EQ(dialog->Preview()->rowCount(), 11);
    EXPECT_EQ(dialog->Preview()->item(9, 4)->text(), u"两行\n备注"_s);
    EXPECT_EQ(dialog->ReportText(), u"将添加 3 行，跳过 8 行。\n"
                                    "列数多于标题行：1 行（第 9 行）\n"
                                    "客户名称为空：1 行（第 5 行）\n"
                                    "客户名称或编号含有',\",[,]等符号：1 行（第 6 行）\n"
                                    "内容超过字段长度：1 行（第 10 行）\n"
                                    "客户名称已经存在：1 行（第 3 行）\n"
                                    "客户编号已经存在：1 行（第 4 行）\n"
                                    "名称或编号与文件中前面的行重复：2 行（第 7、8 行）"_s);

    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"导入完成：添加了 3 个客户，跳过 8 行。"_s}));
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(Value(u"SELECT group_concat(name || '/' || ifnull(number, '-') || '/' || "
                    "ifnull(city, '-'), '|') FROM (SELECT * FROM client WHERE no >= 7 ORDER BY "
                    "no) t"_s),
              u"丙公司/C1/SHANGHAI|壬 公司/-/Beijing|癸公司/-/beijing"_s);
    EXPECT_EQ(Value(u"SELECT remark FROM client WHERE no = 8"_s), u"两行\n备注"_s);
    EXPECT_EQ(Value(u"SELECT client FROM snnumber"_s), u"10"_s);
    EXPECT_EQ(Value(u"SELECT group_concat(name, '|') FROM (SELECT name FROM city ORDER BY "
                    "name) t"_s),
              u"Beijing|Shanghai"_s);
    // The main list shows what was added.
    EXPECT_EQ(m_main->Caption(), u"客户列表"_s);
    EXPECT_EQ(MainNames().size(), 3);
    EXPECT_TRUE(MainNames().contains(u"壬 公司"_s));

    // The same file again adds nothing: every name is held now.
    m_messages.Clear();
    auto again = Open(ImportKind::Clients, path);
    EXPECT_TRUE(again->ReportText().startsWith(u"将添加 0 行，跳过 11 行。"_s));
    Click(*again, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"没有可以导入的行。"_s}));
    EXPECT_EQ(Count(u"client"_s), 6);
    EXPECT_EQ(Value(u"SELECT client FROM snnumber"_s), u"10"_s);
}

TEST_P(ImportDlgTest, ContactsJoinTheirClientsFromAWorkbook)
{
    const QByteArray rows =
        xlsxfiles::InlineRow(1, {u"姓名"_s, u"所属客户"_s, u"性别"_s, u"生日"_s, u"邮编"_s,
                                 u"邮编"_s, u"重要度"_s, u"Mobile"_s}) +
        // 2: another client's 张三 is no duplicate; the birthday is a day number
        "<row r=\"2\">" + xlsxfiles::Inline("A2", u"张三"_s) +
        xlsxfiles::Inline("B2", u"乙公司"_s) + xlsxfiles::Inline("C2", u"女"_s) +
        "<c r=\"D2\" s=\"1\"><v>31048</v></c>" + xlsxfiles::Inline("E2", u"100001"_s) +
        xlsxfiles::Inline("F2", u"200002"_s) + xlsxfiles::Inline("G2", u"vip"_s) +
        "<c r=\"H2\"><v>13800138000</v></c></row>" +
        xlsxfiles::InlineRow(3, {u"张三"_s, u"甲公司"_s}) +            // the client has him
        xlsxfiles::InlineRow(4, {u"李四"_s, u"丙公司"_s}) +            // no such client
        xlsxfiles::InlineRow(5, {u"王五"_s, u"甲公司"_s, u"未知"_s}) + // no sex
        xlsxfiles::InlineRow(6, {u"赵六"_s, u"甲公司"_s, u"男"_s, u"1985-13-1"_s}) +
        xlsxfiles::InlineRow(7,
                             {u"钱七"_s, u"甲公司"_s, u"M"_s, u"1990/2/31"_s, {}, {}, u"VIP"_s}) +
        xlsxfiles::InlineRow(8, {u"孙八"_s, u"甲公司 "_s}); // blanks trimmed
    const QByteArray styles =
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>";
    const QString path = Path(u"contacts.xlsx"_s);
    ASSERT_TRUE(xlsxfiles::WriteWorkbook(path, xlsxfiles::Sheet(rows), {}, styles));

    auto dialog = Open(ImportKind::Contacts, path);
    EXPECT_EQ(Suggested(*dialog, 8),
              QStringList({u"姓名"_s, u"所属客户"_s, u"性别"_s, u"生日"_s, u"工作地址邮编"_s,
                           u"家庭地址邮编"_s, u"重要度"_s, u"手机"_s}));
    EXPECT_EQ(dialog->ReportText(), u"将添加 3 行，跳过 4 行。\n"
                                    "性别或生日无法识别：2 行（第 5、6 行）\n"
                                    "所属客户不存在：1 行（第 4 行）\n"
                                    "客户所属联系人姓名已经存在：1 行（第 3 行）"_s);
    // Without the client column nothing can be imported.
    dialog->FieldBox(1)->setCurrentIndex(0);
    EXPECT_TRUE(dialog->ReportText().startsWith(u"将添加 0 行，跳过 7 行。"_s));
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"请指定哪一列是联系人的“所属客户”！"_s}));
    // A field chosen for a second column leaves the first.
    dialog->FieldBox(1)->setCurrentIndex(dialog->FieldBox(1)->findText(u"姓名"_s));
    EXPECT_EQ(dialog->FieldBox(0)->currentText(), u"（不导入）"_s);
    dialog->FieldBox(0)->setCurrentIndex(dialog->FieldBox(0)->findText(u"姓名"_s));
    dialog->FieldBox(1)->setCurrentIndex(dialog->FieldBox(1)->findText(u"所属客户"_s));

    m_messages.Clear();
    Click(*dialog, u"IDOK"_s);
    EXPECT_EQ(m_messages.Texts(), QStringList({u"导入完成：添加了 3 个联系人，跳过 4 行。"_s}));
    EXPECT_EQ(Value(u"SELECT group_concat(no || ':' || client || ':' || name || ':' || sex || "
                    "':' || ifnull(loczip, '-') || ':' || ifnull(adrzip, '-') || ':' || "
                    "ifnull(important, '-') || ':' || ifnull(mobile, '-'), '|') FROM (SELECT * "
                    "FROM linkman WHERE no >= 40 ORDER BY no) t"_s),
              u"40:3:张三:1:100001:200002:vip:13800138000|41:2:钱七:0:-:-:VIP:-|"
              "42:2:孙八:0:-:-:-:-"_s);
    EXPECT_EQ(Value(u"SELECT linkman FROM snnumber"_s), u"43"_s);
    // The contact dialog compares dictionary values exactly: "vip" joins "VIP".
    EXPECT_EQ(Count(u"important"_s), 2);
    CADORecordset recordset(m_db.get());
    ASSERT_TRUE(recordset.Open(u"SELECT * FROM linkman WHERE [no] >= 40 ORDER BY [no]"_s));
    ASSERT_EQ(recordset.GetRecordCount(), 3);
    QDateTime birthday;
    recordset.MoveFirst();
    recordset.GetFieldDate(u"birthday"_s, birthday);
    EXPECT_EQ(birthday, QDateTime(QDate(1985, 1, 1), QTime(0, 0)));
    recordset.MoveNext();
    recordset.GetFieldDate(u"birthday"_s, birthday);
    EXPECT_EQ(birthday, QDateTime(QDate(1990, 2, 28), QTime(0, 0)));
    recordset.MoveNext();
    recordset.GetFieldDate(u"birthday"_s, birthday); // none given: the dialog's default
    EXPECT_EQ(birthday, QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    // The clients that received contacts are listed.
    QStringList names = MainNames();
    names.sort();
    EXPECT_EQ(names, QStringList({u"乙公司"_s, u"甲公司"_s}));
}

TEST_P(ImportDlgTest, AFailureHalfWayLeavesEverythingAsItWas)
{
    // The third row cannot be written.
    if (OnSqlite())
        m_file.Exec(u"CREATE TRIGGER refuse BEFORE INSERT ON client WHEN NEW.name = '坏公司' "
                    "BEGIN SELECT RAISE(ABORT, 'refused'); END"_s);
    else
        m_file.Exec(u"CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                    "RAISE EXCEPTION 'refused'; END $$; CREATE TRIGGER refuse BEFORE INSERT ON "
                    "client FOR EACH ROW WHEN (NEW.name = '坏公司') EXECUTE FUNCTION refuse()"_s);
    auto dialog =
        Open(ImportKind::Clients, WriteCsv(u"名称,市\n好公司,杭州\n又一家,苏州\n坏公司,南京\n"_s));
    EXPECT_TRUE(dialog->ReportText().startsWith(u"将添加 3 行，跳过 0 行。"_s));
    Click(*dialog, u"IDOK"_s);
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_TRUE(m_messages.Messages()[0].warning);
    EXPECT_TRUE(m_messages.LastText().startsWith(u"导入失败，没有导入任何数据。"_s))
        << m_messages.LastText().toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Count(u"client"_s), 3);
    EXPECT_EQ(Count(u"city"_s), 1);
    EXPECT_EQ(Value(u"SELECT client FROM snnumber"_s), u"7"_s);

    // Files that cannot be imported say why and open no dialog.
    m_messages.Clear();
    QFile cut(Path(u"cut.xlsx"_s));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write("PK\x03\x04\x14\0\0\0\x08\0"_ba);
    cut.close();
    CImportDlg broken(ImportKind::Clients, m_db.get(), m_doc);
    EXPECT_FALSE(broken.Load(cut.fileName()));
    EXPECT_EQ(
        m_messages.Texts(),
        QStringList(
            {u"Excel 工作簿已损坏或不完整，无法读取。请在 Excel 中打开并重新保存后再导入。"_s}));
    m_messages.Clear();
    EXPECT_FALSE(broken.Load(WriteCsv(u"名称,电话\n"_s)));
    EXPECT_EQ(m_messages.Texts(), QStringList({u"文件中只有标题行，没有可以导入的数据。"_s}));
}

INSTANTIATE_TEST_SUITE_P(, ImportDlgTest, EachBackend(), BackendName);

} // namespace
