// vCard files as phones and address books write them: folded lines, escapes, the three
// spellings of a parameter, the encodings of older phones, and files that are not what they
// claim to be.
#include "data/vcard.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray Card(const QByteArray& body, const QByteArray& version = "3.0")
{
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "END:VCARD\r\n";
}

const VCardProperty& Only(const VCardReadResult& read, QStringView name)
{
    static const VCardProperty none;
    if (read.cards.size() != 1 || !read.cards[0].Find(name)) {
        ADD_FAILURE() << "no single card with " << name.toString().toStdString();
        return none;
    }
    return *read.cards[0].Find(name);
}

} // namespace

TEST(VCard, LongLinesFoldAt75OctetsAndUnfoldToTheSameText)
{
    // 73 octets after "NOTE:" in three-byte characters and escapes that a fold must not split.
    const QString note = u"张三李四，王五;赵六\\"_s.repeated(12) + u"\n末尾😀𪚥"_s;
    VCardWriter writer(VCardVersion::V4);
    writer.Begin();
    writer.AddText("NOTE", {}, note);
    writer.Add("X-SHORT", {}, QString(70, u'a')); // 7 + 1 + 70 = 78 octets: folded once
    writer.Add("X-EXACT", {}, QString(67, u'b')); // 75 octets: kept on one line
    writer.End();
    const QByteArray bytes = writer.Bytes();

    EXPECT_TRUE(bytes.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\nNOTE:"));
    EXPECT_TRUE(bytes.endsWith("\r\nEND:VCARD\r\n"));
    EXPECT_FALSE(bytes.contains("\n\n"));
    QList<QByteArray> lines = bytes.split('\n');
    ASSERT_TRUE(lines.takeLast().isEmpty());
    int continued = 0;
    for (QByteArray line : lines) {
        ASSERT_TRUE(line.endsWith('\r')) << line.toStdString();
        line.chop(1);
        EXPECT_LE(line.size(), 75) << line.toStdString();
        // Each physical line is whole UTF-8 and ends on no lone escaping backslash.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(line);
        Q_UNUSED(text);
        EXPECT_FALSE(utf8.hasError()) << line.toStdString();
        const qsizetype length = line.size();
        qsizetype backslashes = 0;
        while (backslashes < length && line[length - 1 - backslashes] == '\\')
            ++backslashes;
        EXPECT_EQ(backslashes % 2, 0) << line.toStdString();
        continued += line.startsWith(' ') ? 1 : 0;
    }
    EXPECT_GE(continued, 4);
    EXPECT_TRUE(bytes.contains("X-SHORT:" + QByteArray(67, 'a') + "\r\n aaa\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nX-EXACT:" + QByteArray(67, 'b') + "\r\n"));

    const VCardReadResult read = ReadVCards(bytes);
    ASSERT_EQ(read.cards.size(), 1u);
    EXPECT_EQ(read.cards[0].version, u"4.0"_s);
    EXPECT_EQ(read.cards[0].Find(u"NOTE")->Text(), note);
    EXPECT_EQ(read.cards[0].Find(u"X-SHORT")->Text(), QString(70, u'a'));
    // A fold by tab, and LF alone as the line end, read as well.
    const VCardReadResult tabbed = ReadVCards("BEGIN:VCARD\nVERSION:3.0\nFN:Jo\n\thn\nEND:VCARD\n");
    EXPECT_EQ(Only(tabbed, u"FN").Text(), u"John"_s);
}

TEST(VCard, EscapesAndSeparatorsSplitOnlyWhereUnescaped)
{
    EXPECT_EQ(EscapeVCardText(u"a,b;c\\d\ne\r\nf"_s), u"a\\,b\\;c\\\\d\\ne\\nf"_s);
    const VCardReadResult read =
        ReadVCards(Card("ADR;TYPE=work:;;南山区\\;科技园\\, 1号;深圳;广东;518000;中国\r\n"
                        "CATEGORIES:同学,老乡\\,广东,\r\n"
                        "NOTE:第一行\\n第二行\\N第三行 C:\\temp\\\\x\r\n"));
    ASSERT_EQ(read.cards.size(), 1u);
    const VCard& card = read.cards[0];
    EXPECT_EQ(card.Find(u"ADR")->Components(),
              QStringList({QString(), QString(), u"南山区;科技园, 1号"_s, u"深圳"_s, u"广东"_s,
                           u"518000"_s, u"中国"_s}));
    EXPECT_EQ(card.Find(u"CATEGORIES")->Values(),
              QStringList({u"同学"_s, u"老乡,广东"_s, QString()}));
    // An unknown escape keeps its backslash, as 2.1 cards write paths.
    EXPECT_EQ(card.Find(u"NOTE")->Text(), u"第一行\n第二行\n第三行 C:\\temp\\x"_s);
}

TEST(VCard, ParametersReadInEveryVersionsSpelling)
{
    const VCardReadResult read =
        ReadVCards(Card("TEL;TYPE=work,voice:1\r\n"
                        "tel;type=WORK;type=VOICE:2\r\n"
                        "TEL;WORK;VOICE;PREF:3\r\n"
                        "item1.TEL;TYPE=\"home,voice\";X-LABEL=\"a:b;c\":4\r\n"
                        "EMAIL;TYPE=INTERNET:a@b.c\r\n"));
    ASSERT_EQ(read.cards.size(), 1u);
    const std::vector<VCardProperty>& tel = read.cards[0].properties;
    ASSERT_EQ(tel.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tel[size_t(i)].name, u"TEL"_s);
        EXPECT_TRUE(tel[size_t(i)].HasType(u"work")) << i;
        EXPECT_TRUE(tel[size_t(i)].HasType(u"VOICE")) << i;
        EXPECT_FALSE(tel[size_t(i)].HasType(u"home")) << i;
        EXPECT_EQ(tel[size_t(i)].Text(), QString::number(i + 1));
    }
    EXPECT_TRUE(tel[2].HasType(u"pref"));
    EXPECT_EQ(tel[3].group, u"item1"_s);
    EXPECT_TRUE(tel[3].HasType(u"home"));
    EXPECT_EQ(tel[3].Parameter(u"x-label"), QStringList{u"a:b;c"_s});
    EXPECT_EQ(tel[3].Text(), u"4"_s);
    EXPECT_EQ(tel[4].name, u"EMAIL"_s);
}

TEST(VCard, OlderPhonesEncodingsAndCharsetsAreDecoded)
{
    // 2.1: quoted-printable UTF-8 with a soft line break, GB2312 by CHARSET, a bare encoding,
    // and a fold that keeps its blank.
    const QByteArray old = Card("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E5=BC=A0;=E4=B8=\r\n"
                                "=89;;;\r\n"
                                "NOTE;CHARSET=GB2312;QUOTED-PRINTABLE:=C4=E3=BA=C3 a=3Db\r\n"
                                "TITLE:Sales\r\n Manager\r\n",
                                "2.1");
    const VCardReadResult read = ReadVCards(old);
    ASSERT_EQ(read.cards.size(), 1u);
    EXPECT_EQ(read.cards[0].Find(u"N")->Components(),
              QStringList({u"张"_s, u"三"_s, QString(), QString(), QString()}));
    EXPECT_EQ(read.cards[0].Find(u"NOTE")->Text(), u"你好 a=b"_s);
    EXPECT_EQ(read.cards[0].Find(u"TITLE")->Text(), u"Sales Manager"_s);

    // A whole file in GBK without any CHARSET, as Chinese phones wrote it; UTF-16 and a
    // UTF-8 byte-order mark.
    QStringEncoder gbk("GBK");
    const QByteArray text = Card("FN:" + QByteArray(gbk.encode(u"王小明"_s)) + "\r\n");
    EXPECT_EQ(Only(ReadVCards(text), u"FN").Text(), u"王小明"_s);
    const QString utf16Card = u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:李𪚥😀\r\nEND:VCARD\r\n"_s;
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    EXPECT_EQ(Only(ReadVCards("\xFF\xFE" + QByteArray(utf16.encode(utf16Card))), u"FN").Text(),
              u"李𪚥😀"_s);
    EXPECT_EQ(Only(ReadVCards("\xEF\xBB\xBF" + utf16Card.toUtf8()), u"FN").Text(), u"李𪚥😀"_s);
    // 4.0 parameter values escape with a circumflex.
    const VCardReadResult v4 = ReadVCards(Card("ADR;LABEL=\"1^'号^n深圳\":;;1号;;;;\r\n", "4.0"));
    EXPECT_EQ(Only(v4, u"ADR").Parameter(u"LABEL"), QStringList{u"1\"号\n深圳"_s});
}

TEST(VCard, BadCardsAreSkippedWithTheirLinesAndTheRestRead)
{
    EXPECT_FALSE(ReadVCards("").isVCard);
    EXPECT_FALSE(ReadVCards("名称,电话\r\n张三,139\r\n").isVCard);
    EXPECT_FALSE(
        ReadVCards(QByteArray("PK\x03\x04\x14\x00\x00\x00", 8) + QByteArray(300, '\0')).isVCard);

    const QByteArray file = Card("FN:甲\r\n") +                                     // lines 1-4
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:乙\r\n" +             // 5-7: cut off
                            Card("FN:丙\r\nthis line has no colon\r\nNOTE:x\r\n") + // 8-13
                            Card("FN;CHARSET=X-NOWHERE:丁\r\n") +                   // 14-17
                            Card("FN:" + QByteArray("\xC3\x28", 2) + "\r\n") +      // 18-21
                            "stray text between cards\r\n" +                        // 22
                            Card("FN:戊\r\nNOTE:" + QByteArray(1'000'000, 'n') + "\r\n") + // 23-27
                            "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:己\r\n"; // 28-30: cut off
    const VCardReadResult read = ReadVCards(file);
    EXPECT_TRUE(read.isVCard);
    ASSERT_EQ(read.cards.size(), 2u);
    EXPECT_EQ(read.cards[0].Find(u"FN")->Text(), u"甲"_s);
    EXPECT_EQ(read.cards[0].index, 1);
    EXPECT_EQ(read.cards[1].Find(u"FN")->Text(), u"戊"_s);
    EXPECT_EQ(read.cards[1].index, 6);
    EXPECT_EQ(read.cards[1].line, 23);
    EXPECT_EQ(read.cards[1].Find(u"NOTE")->Text().size(), 1'000'000);

    ASSERT_EQ(read.skipped.size(), 5u);
    auto expect = [&](size_t i, int index, int line, VCardProblem problem, int problemLine) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read.skipped[i].index, index);
        EXPECT_EQ(read.skipped[i].line, line);
        EXPECT_EQ(read.skipped[i].problem, problem);
        EXPECT_EQ(read.skipped[i].problemLine, problemLine);
    };
    expect(0, 2, 5, VCardProblem::Truncated, 8);
    expect(1, 3, 8, VCardProblem::BadLine, 11);
    expect(2, 4, 14, VCardProblem::BadCharset, 16);
    expect(3, 5, 18, VCardProblem::BadEncoding, 20);
    expect(4, 7, 28, VCardProblem::Truncated, 28);
}
