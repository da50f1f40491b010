// The address book to and from vCard files: what goes out comes back unchanged, phones' cards
// land in the right fields, duplicates are the address dialog's question, and bad files are
// reported without a half import.
#include "customers/addresscardcommands.h"
#include "customers/addressentry.h"
#include "customers/addressimport.h"
#include "customers/addressimportdlg.h"
#include "customers/addresslist.h"
#include "customers/addressvcard.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "support/controls.h"
#include "support/modal.h"
#include "support/recordviews.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

namespace {

class AddressCardsTest : public RecordViewsTest
{
protected:
    int Add(const AddressEntry& entry)
    {
        CADORecordset recordset(m_db.get());
        EXPECT_TRUE(recordset.Open(u"SELECT * FROM address"_s));
        EXPECT_TRUE(recordset.AddNew());
        recordset.SetFieldText(u"group"_s, entry.group);
        recordset.SetFieldInt(u"sex"_s, entry.sex);
        for (int i = 0; i < kAddressTextFieldCount; ++i)
            recordset.SetFieldText(QString::fromLatin1(AddressTextFields()[size_t(i)].column),
                                   entry.texts[size_t(i)]);
        EXPECT_TRUE(recordset.Update()) << recordset.GetLastError().toStdString();
        int number = -1;
        recordset.GetFieldInt(u"no"_s, number);
        return number;
    }

    // Every entry of the address book in the order the file numbered them.
    std::vector<AddressEntry> Stored()
    {
        std::vector<int> numbers;
        CADORecordset recordset(m_db.get());
        OpenEachRow(recordset, u"SELECT [no] FROM address ORDER BY [no]"_s, [&] {
            int number = 0;
            recordset.GetFieldInt(0, number);
            numbers.push_back(number);
        });
        std::vector<AddressEntry> entries;
        EXPECT_TRUE(LoadAddressEntries(m_db.get(), numbers, entries));
        return entries;
    }

    static void ExpectSame(const AddressEntry& stored, const AddressEntry& expected)
    {
        SCOPED_TRACE(expected.texts[kUser].toStdString());
        EXPECT_EQ(stored.group, expected.group);
        EXPECT_EQ(stored.sex, expected.sex);
        for (int i = 0; i < kAddressTextFieldCount; ++i)
            EXPECT_EQ(stored.texts[size_t(i)], expected.texts[size_t(i)])
                << AddressTextFields()[size_t(i)].column;
    }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    // Imports a file through the import dialog, into `group`, with or without the cards' own
    // categories.
    bool Import(const QString& path, const QString& group, bool cardGroups)
    {
        ModalDriver<CAddressImportDlg> driver(
            [&](CAddressImportDlg& dialog) {
                dialog.GroupCombo()->setEditText(group);
                dialog.CardGroupsBox()->setChecked(cardGroups);
                Click(dialog, u"IDOK"_s);
            },
            false);
        return ImportAddressCards(m_doc, &m_window, path);
    }

    QTemporaryDir m_dir;
};

AddressEntry Entry(const QString& group, const QString& user, int sex,
                   std::initializer_list<std::pair<AddressText, QString>> texts = {})
{
    AddressEntry entry;
    entry.group = group;
    entry.sex = sex;
    entry.texts[kUser] = user;
    for (const auto& [field, text] : texts)
        entry.texts[field] = text;
    return entry;
}

TEST_P(AddressCardsTest, ListedEntriesGoOutAndComeBackUnchanged)
{
    EXPECT_FALSE(ExportAddressCards(m_doc, &m_window, m_dir.filePath(u"x.vcf"_s), false));
    EXPECT_EQ(m_messages.LastText(), u"请先用“查询搜索 > 通讯录”在列表中列出要导出的联系人！"_s);

    AddressEntry full = Entry(u"同学"_s, u"张三"_s, 0);
    const QString texts[kAddressTextFieldCount] = {u"张三"_s,
                                                   u"139 0000 0000"_s,
                                                   u"0755-1234567"_s,
                                                   u"+86 (10) 8888-8888;ext=2"_s,
                                                   u"010-1234,5678"_s,
                                                   u"12345"_s,
                                                   u"zs@hotmail.com"_s,
                                                   u"zs@example.com"_s,
                                                   u"z\\s@例子.中国"_s,
                                                   u"1990-3-5"_s,
                                                   u"读书, 旅行; 围棋\\"_s,
                                                   u"华强科技"_s,
                                                   u"研发部"_s,
                                                   u"经理"_s,
                                                   u"0755-7654321"_s,
                                                   u"深圳市南山区科技园1号, A座"_s,
                                                   u"518000"_s,
                                                   u"北京市海淀区\n中关村"_s,
                                                   u"100080"_s,
                                                   u"第一行\n第二行 "_s + QString(5000, u'长') +
                                                       u" 😀𪚥"_s};
    std::copy(std::begin(texts), std::end(texts), full.texts.begin());
    const std::vector<AddressEntry> originals = {
        full,
        Entry(u"Family, Friends;\\"_s, u"O'Brien, Mary-Jane 😀"_s, 1,
              {{kBirthday, u"三月初五"_s}, {kEmail1, u"mj@example.com"_s}}),
        Entry(QString(), u"欧阳修"_s, 1, {{kBirthday, u"1990-03-05"_s}, {kHomeZip, u"100080"_s}}),
        Entry(u"同学"_s, u"𪚥李"_s, 0, {{kCompany, QString()}, {kBranch, u"只有部门"_s}}),
    };
    std::map<int, AddressEntry> byNumber;
    for (const AddressEntry& entry : originals)
        byNumber[Add(entry)] = entry;
    Add(Entry(u"同学"_s, u"不列出"_s, 0));
    ASSERT_TRUE(ShowAddressList(m_doc, m_db.get(),
                                u"SELECT * FROM [address] WHERE [user] <> '不列出' "
                                "ORDER BY group, user"_s));
    std::vector<AddressEntry> listed;
    for (int row = 0; row < m_main->List().GetItemCount(); ++row) {
        int number = -1;
        ASSERT_TRUE(m_main->List().RecordNumber(row, number));
        listed.push_back(byNumber.at(number));
    }
    ASSERT_EQ(listed.size(), 4u);

    auto pathOf = [this](bool version4) {
        return m_dir.filePath(version4 ? u"v4.vcf"_s : u"v3.vcf"_s);
    };
    for (const bool version4 : {false, true}) {
        SCOPED_TRACE(version4 ? "4.0" : "3.0");
        const QString path = pathOf(version4);
        m_messages.Clear();
        ASSERT_TRUE(ExportAddressCards(m_doc, &m_window, path, version4));
        EXPECT_EQ(m_messages.Texts(), QStringList{u"已把 4 个联系人导出到“%1”。"_s.arg(path)});
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.count("BEGIN:VCARD\r\n"), 4);
        EXPECT_TRUE(bytes.contains(version4 ? "VERSION:4.0\r\n" : "VERSION:3.0\r\n"));
        EXPECT_TRUE(bytes.contains("\r\nFN:张三\r\nN:张;三;;;\r\nCATEGORIES:同学\r\n"));
        EXPECT_TRUE(bytes.contains("\r\nN:欧阳;修;;;\r\n"));
        EXPECT_TRUE(bytes.contains("\r\nCATEGORIES:Family\\, Friends\\;\\\\\r\n"));
        EXPECT_TRUE(bytes.contains(version4 ? "\r\nBDAY:19900305\r\n" : "\r\nBDAY:1990-03-05\r\n"));
        // A birthday not written as the program writes dates stays the user's text.
        EXPECT_TRUE(bytes.contains("\r\nBDAY;VALUE=text:1990-03-05\r\n"));
        EXPECT_TRUE(bytes.contains("\r\nBDAY;VALUE=text:三月初五\r\n"));
        EXPECT_TRUE(bytes.contains(version4 ? "\r\nTEL;VALUE=text;TYPE=cell:139 0000 0000\r\n"
                                            : "\r\nTEL;TYPE=CELL:139 0000 0000\r\n"));
        EXPECT_TRUE(
            bytes.contains(version4 ? "\r\nADR;TYPE=home:;;北京市海淀区\\n中关村;;;100080;\r\n"
                                    : "\r\nADR;TYPE=HOME:;;北京市海淀区\\n中关村;;;100080;\r\n"));
        EXPECT_TRUE(bytes.contains("\r\nORG:华强科技;研发部\r\n"));
        EXPECT_FALSE(bytes.contains("不列出"));
    }

    for (const bool version4 : {false, true}) {
        SCOPED_TRACE(version4 ? "4.0" : "3.0");
        const QString path = pathOf(version4);
        // Into an empty address book, each card into its own category.
        m_file.Exec(u"DELETE FROM address; DELETE FROM \"group\""_s);
        m_messages.Clear();
        ASSERT_TRUE(Import(path, QString(), true));
        EXPECT_EQ(m_messages.Texts(), QStringList{u"已导入 4 个联系人。"_s});
        std::vector<AddressEntry> stored = Stored();
        ASSERT_EQ(stored.size(), 4u);
        for (size_t i = 0; i < stored.size(); ++i)
            ExpectSame(stored[i], listed[i]);
        EXPECT_EQ(Count(u"\"group\""_s), 2);
        EXPECT_EQ(m_main->List().GetItemCount(), 4); // the list shows what was added

        // Once more into a group of their own: everything but the group as before.
        m_messages.Clear();
        ASSERT_TRUE(Import(path, u"新分组"_s, false));
        stored = Stored();
        ASSERT_EQ(stored.size(), 8u);
        for (size_t i = 0; i < 4; ++i) {
            AddressEntry expected = listed[i];
            expected.group = u"新分组"_s;
            ExpectSame(stored[i + 4], expected);
        }
        EXPECT_EQ(m_main->List().GetItemCount(), 4);
    }
}

TEST(AddressCards, PhonesCardsLandInTheirFieldsAndWhatHasNoPlaceIsReported)
{
    const QByteArray file =
        "BEGIN:VCARD\r\nVERSION:2.1\r\n"
        "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8B;=E5=B0=8F=E6=98=8E;;;\r\n"
        "FN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E7=8E=8B=E5=B0=8F=E6=98=8E\r\n"
        "TEL;CELL;PREF:13800000000\r\nTEL;HOME:010-1111\r\nTEL;WORK:010-2222\r\n"
        "TEL;WORK;FAX:010-3333\r\nTEL;CELL:13900000000\r\n"
        "EMAIL;HOME:a@b.cn\r\nEMAIL;WORK:c@d.cn\r\nEMAIL:e@f.cn\r\n"
        "ADR;HOME:;;朝阳路1号;朝阳区;北京;100020;中国\r\n"
        "PHOTO;ENCODING=BASE64;JPEG:/9j/4AAQ\r\nSkZJRgAB\r\nAQEASABI\r\n\r\n"
        "BDAY:19850712\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Smith;John;Q.;Dr.;Jr.\r\n"
        "ORG:Acme Inc.;Sales;East\r\nTITLE:Manager\r\nitem1.TEL;type=pref:555-0100\r\n"
        "TEL;TYPE=x-pas:0755-1\r\nADR;TYPE=WORK:;Suite 5;1 Main St;Springfield;IL;62701;USA\r\n"
        "BDAY;X-APPLE-OMIT-YEAR=1604:1604-03-05\r\nURL:https://example.com\r\n"
        "IMPP:x-qq:10001\r\nX-GENDER:Male\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:李四\r\nGENDER:F\r\nBDAY:--0412\r\n"
        "TEL;VALUE=uri;TYPE=\"voice,home\":tel:+86-10-5555\r\nHOBBY:围棋\r\n"
        "CATEGORIES:老乡,同学\r\nNOTE:备注\r\nEND:VCARD\r\n";
    const AddressCardsRead read = ReadAddressCards(file);
    ASSERT_TRUE(read.skipped.empty());
    ASSERT_EQ(read.cards.size(), 3u);

    const AddressEntry& wang = read.cards[0].entry;
    EXPECT_EQ(wang.texts[kUser], u"王小明"_s);
    EXPECT_EQ(wang.texts[kMobile], u"13800000000"_s);
    EXPECT_EQ(wang.texts[kHomePhone], u"010-1111"_s);
    EXPECT_EQ(wang.texts[kOfficePhone], u"010-2222"_s);
    EXPECT_EQ(wang.texts[kFax], u"010-3333"_s);
    EXPECT_EQ(wang.texts[kEmail1], u"a@b.cn"_s);
    EXPECT_EQ(wang.texts[kEmail2], u"c@d.cn"_s);
    EXPECT_EQ(wang.texts[kHomeAddr], u"中国北京朝阳区朝阳路1号"_s);
    EXPECT_EQ(wang.texts[kHomeZip], u"100020"_s);
    EXPECT_EQ(wang.texts[kBirthday], u"1985-7-12"_s);

    const AddressEntry& john = read.cards[1].entry;
    EXPECT_EQ(john.texts[kUser], u"Dr. John Q. Smith Jr."_s);
    EXPECT_EQ(john.sex, 0);
    EXPECT_EQ(john.texts[kCompany], u"Acme Inc."_s);
    EXPECT_EQ(john.texts[kBranch], u"Sales"_s);
    EXPECT_EQ(john.texts[kDuty], u"Manager"_s);
    EXPECT_EQ(john.texts[kMobile], u"555-0100"_s); // a number of no kind: the first free field
    EXPECT_EQ(john.texts[kPas], u"0755-1"_s);
    EXPECT_EQ(john.texts[kCompanyAddr], u"Suite 5, 1 Main St, Springfield, IL, USA"_s);
    EXPECT_EQ(john.texts[kCompanyZip], u"62701"_s);
    EXPECT_EQ(john.texts[kBirthday], u"3-5"_s);
    EXPECT_EQ(john.texts[kQq], u"10001"_s);

    const AddressEntry& li = read.cards[2].entry;
    EXPECT_EQ(li.sex, 1);
    EXPECT_EQ(li.group, u"老乡"_s);
    EXPECT_EQ(li.texts[kBirthday], u"4-12"_s);
    EXPECT_EQ(li.texts[kHomePhone], u"+86-10-5555"_s);
    EXPECT_EQ(li.texts[kLike], u"围棋"_s);
    EXPECT_EQ(li.texts[kRemark], u"备注"_s);

    EXPECT_EQ(AddressImportReport(3, {}, 0, read.cards),
              u"已导入 3 个联系人。\n有 3 张名片中的部分资料在通讯录中没有对应的栏目，没有导入："
              "CATEGORIES 1 处、EMAIL 1 处、ORG 1 处、PHOTO 1 处、TEL 1 处、URL 1 处。"_s);
}

TEST_P(AddressCardsTest, DuplicatesAreAskedPerGroupAndBadCardsCountedInTheReport)
{
    Add(Entry(u"同学"_s, u"周七"_s, 0));
    Add(Entry(QString(), u"孙八"_s, 0));
    // Five lines a card: card n begins on line 5n - 4.
    auto card = [](const QByteArray& lines) {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\n" + lines + "END:VCARD\r\n";
    };
    const QByteArray file =
        card("FN:周七\r\nCATEGORIES:同学\r\n") + card("FN:ZHANG\r\nCATEGORIES:同学\r\n") +
        card("FN:zhang\r\nCATEGORIES:同学\r\n") + card("FN:孙八\r\nNOTE:无分类\r\n") +
        card("FN:李四\r\nCATEGORIES:同学\r\n") + card("FN:  \r\nTEL:123\r\n") +
        card("FN:长备注\r\nNOTE:" + QByteArray(100'000, 'x') + "\r\n") +
        card("FN:控\x01制\r\nTEL:1\r\n") + "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:断了\r\n";
    const QString path = WriteFile(u"同学.vcf"_s, file);
    m_messages.AnswerNext(false); // 同学: leave 周七 and zhang out
    m_messages.AnswerNext(true);  // no group: 孙八 twice
    ASSERT_TRUE(Import(path, QString(), true));
    ASSERT_EQ(m_messages.Messages().size(), 3u);
    EXPECT_EQ(m_messages.Messages()[0].text,
              u"分类“同学”中已经有 周七、zhang。\n同分类下已经存在该联系人，是否要重复添加？"_s);
    EXPECT_EQ(m_messages.Messages()[0].caption, u"重复"_s);
    EXPECT_TRUE(m_messages.Messages()[0].question);
    EXPECT_EQ(
        m_messages.Messages()[1].text,
        u"不属于任何分类的联系人中已经有 孙八。\n同分类下已经存在该联系人，是否要重复添加？"_s);
    EXPECT_EQ(m_messages.Messages()[2].text,
              u"已导入 3 个联系人。\n有 4 张名片无法导入：\n"
              "第 6 张名片（第 26 行）：没有姓名\n"
              "第 7 张名片（第 31 行）：“备注”超过 32767 个字符\n"
              "第 8 张名片（第 36 行）：“姓名”含有控制字符\n"
              "第 9 张名片（第 41 行）：名片不完整，缺少 END:VCARD\n"
              "有 2 个联系人同分类下已经存在，按您的选择没有导入。"_s);
    EXPECT_EQ(Count(u"address WHERE \"user\" = '周七'"_s), 1);
    // The first spelling of a name in the file is the one kept.
    EXPECT_EQ(Count(u"address WHERE lower(\"user\") = 'zhang'"_s), 1);
    EXPECT_EQ(Value(u"SELECT \"user\" FROM address WHERE lower(\"user\") = 'zhang'"_s), u"ZHANG"_s);
    EXPECT_EQ(Count(u"address WHERE \"user\" = '孙八'"_s), 2);
    EXPECT_EQ(Count(u"address WHERE \"user\" = '李四' AND \"group\" = '同学'"_s), 1);
    EXPECT_EQ(m_main->List().GetItemCount(), 3);
}

TEST_P(AddressCardsTest, BadFilesAreRefusedAndAFailedImportLeavesNothing)
{
    const QString notCards = WriteFile(u"客户.vcf"_s, "名称,电话\r\n张三,139\r\n");
    EXPECT_FALSE(ImportAddressCards(m_doc, &m_window, notCards));
    EXPECT_EQ(m_messages.LastText(),
              u"文件“%1”不是vCard名片文件：其中没有一张名片（BEGIN:VCARD）。"_s.arg(notCards));
    EXPECT_FALSE(ImportAddressCards(m_doc, &m_window, m_dir.filePath(u"没有.vcf"_s)));
    EXPECT_TRUE(
        m_messages.LastText().startsWith(u"无法打开文件“%1”"_s.arg(m_dir.filePath(u"没有.vcf"_s))));
    {
        QFile huge(m_dir.filePath(u"大.vcf"_s));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
        ASSERT_TRUE(huge.resize(kAddressCardFileMaxBytes + 1)); // sparse: nothing is written
    }
    EXPECT_FALSE(ImportAddressCards(m_doc, &m_window, m_dir.filePath(u"大.vcf"_s)));
    EXPECT_EQ(m_messages.LastText(),
              u"文件“%1”太大（超过 256 MB），不是名片文件！"_s.arg(m_dir.filePath(u"大.vcf"_s)));
    const QString onlyBad = WriteFile(u"坏.vcf"_s, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:x\r\n");
    EXPECT_FALSE(ImportAddressCards(m_doc, &m_window, onlyBad));
    EXPECT_EQ(m_messages.LastText(), u"文件中没有可以导入的名片。\n有 1 张名片无法导入：\n"
                                     "第 1 张名片（第 1 行）：名片不完整，缺少 END:VCARD"_s);

    // The third card breaks a rule of the file: the two before it and the new group go too.
    m_file.Exec(u"CREATE UNIQUE INDEX address_mobile ON address (mobile)"_s);
    const QString clash = WriteFile(
        u"clash.vcf"_s, "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:甲\r\nTEL;TYPE=CELL:1\r\nEND:VCARD\r\n"
                        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:乙\r\nTEL;TYPE=CELL:2\r\nEND:VCARD\r\n"
                        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:丙\r\nTEL;TYPE=CELL:1\r\nEND:VCARD\r\n");
    m_messages.Clear();
    EXPECT_FALSE(Import(clash, u"新组"_s, false));
    ASSERT_EQ(m_messages.Messages().size(), 1u);
    EXPECT_TRUE(m_messages.LastText().startsWith(u"导入失败，没有导入任何名片！\n"_s));
    EXPECT_EQ(Count(u"address"_s), 0);
    EXPECT_EQ(Count(u"\"group\""_s), 0);

    // Thousands of cards, the last cut off.
    QByteArray many;
    for (int i = 1; i <= 3000; ++i)
        many +=
            "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:联系人" + QByteArray::number(i) + "\r\nEND:VCARD\r\n";
    many += "BEGIN:VCARD\r\nVERSION:4.0\r\n";
    m_messages.Clear();
    ASSERT_TRUE(Import(WriteFile(u"many.vcf"_s, many), u"大家"_s, false));
    EXPECT_EQ(m_messages.LastText(), u"已导入 3000 个联系人。\n有 1 张名片无法导入：\n"
                                     "第 3001 张名片（第 12001 行）：名片不完整，缺少 END:VCARD"_s);
    EXPECT_EQ(Count(u"address WHERE \"group\" = '大家'"_s), 3000);
}

INSTANTIATE_TEST_SUITE_P(, AddressCardsTest, EachBackend(), BackendName);

} // namespace
