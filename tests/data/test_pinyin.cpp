#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/pinyin.h"
#include "support/datafixture.h"
#include "support/tempdata.h"

#include <QStringList>

#include <unicode/translit.h>
#include <unicode/uscript.h>

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <random>

using namespace Qt::StringLiterals;

namespace {

QStringList Names(CADODatabase& db, const QString& sql)
{
    CADORecordset rs(&db);
    QStringList names;
    const bool ran = OpenEachRow(rs, sql, [&] {
        QString name;
        rs.GetFieldText(u"name"_s, name);
        names << name;
    });
    EXPECT_TRUE(ran) << sql.toStdString() << ": " << rs.GetLastError().toStdString();
    return names;
}

QString NameSearch(const QString& value)
{
    return u"SELECT * FROM client WHERE "_s + InitialsCondition(u"[name]"_s, value) +
           u" ORDER BY [name]"_s;
}

// The initials as ICU's "Han-Latin; Latin-ASCII" gives them over each run of Chinese
// characters or of other text, which is how the program read names before its tables: a run of
// Chinese as a whole when ICU parts it into a syllable a character, else one by one.
class IcuInitials
{
public:
    IcuInitials()
    {
        UErrorCode status = U_ZERO_ERROR;
        reader_.reset(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    }

    QString operator()(const QString& text) const
    {
        const icu::UnicodeString source(reinterpret_cast<const char16_t*>(text.utf16()),
                                        int32_t(text.size()));
        QString initials;
        for (int32_t i = 0; i < source.length();) {
            const int32_t start = i;
            const bool han = IsHan(source.char32At(i));
            qsizetype characters = 0;
            for (; i < source.length() && IsHan(source.char32At(i)) == han; ++characters)
                i += U16_LENGTH(source.char32At(i));
            const icu::UnicodeString run(source, start, i - start);
            if (!han) {
                initials += Letters(Read(run));
                continue;
            }
            const QStringList syllables = Read(run).split(u' ', Qt::SkipEmptyParts);
            if (syllables.size() == characters) {
                for (const QString& syllable : syllables)
                    initials += Letters(syllable.left(1));
                continue;
            }
            for (int32_t j = 0; j < run.length(); j += U16_LENGTH(run.char32At(j)))
                initials += Letters(Read(icu::UnicodeString(run.char32At(j)))).left(1);
        }
        return initials;
    }

private:
    static bool IsHan(UChar32 c)
    {
        UErrorCode status = U_ZERO_ERROR;
        return uscript_getScript(c, &status) == USCRIPT_HAN;
    }

    static QString Letters(const QString& text)
    {
        QString letters;
        for (QChar c : text)
            if (c.unicode() < 0x80 && c.isLetter())
                letters += c.toLower();
        return letters;
    }

    QString Read(icu::UnicodeString text) const
    {
        reader_->transliterate(text);
        return QString::fromUtf16(text.getBuffer(), text.length());
    }

    std::unique_ptr<icu::Transliterator> reader_;
};

// The words ICU's rules read otherwise than character by character, such as 重庆.
QStringList RulePhrases()
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Transliterator> rules(
        icu::Transliterator::createInstance("Han-Latin", UTRANS_FORWARD, status));
    icu::UnicodeString text;
    if (rules)
        rules->toRules(text, false);
    QStringList phrases;
    for (const QString& rule : QString::fromUtf16(text.getBuffer(), text.length()).split(u'\n')) {
        if (rule.startsWith(u'[') || rule.startsWith(u"::"_s))
            continue; // a rule for single characters
        QString phrase;
        for (QChar c : rule.section(u'>', 0, 0))
            if (c.script() == QChar::Script_Han || c.isSurrogate())
                phrase += c;
        if (phrase.size() > 1)
            phrases << phrase;
    }
    return phrases;
}

} // namespace

TEST(Pinyin, InitialsOfChineseLatinAndMixedNames)
{
    EXPECT_EQ(PinyinInitials(u"张三"_s), u"zs"_s);
    EXPECT_EQ(PinyinInitials(u"北京华达"_s), u"bjhd"_s);
    // A character read in the context of its word: 重 is "chong" in 重庆.
    EXPECT_EQ(PinyinInitials(u"重庆银行"_s), u"cqyx"_s);
    EXPECT_EQ(PinyinInitials(u"重庆"_s), u"cq"_s);
    EXPECT_EQ(PinyinInitials(u"重要"_s), u"zy"_s);
    EXPECT_EQ(PinyinInitials(u"秘鲁"_s), u"bl"_s);
    EXPECT_EQ(PinyinInitials(u"秘书"_s), u"ms"_s);
    // Beyond the Basic Multilingual Plane: 𪚥 (U+2A6A5) is "zhé".
    EXPECT_EQ(PinyinInitials(u"𪚥公司"_s), u"zgs"_s);
    EXPECT_EQ(PinyinInitials(u"IBM中国"_s), u"ibmzg"_s);
    EXPECT_EQ(PinyinInitials(u"Zoë 公司"_s), u"zoegs"_s);
    EXPECT_EQ(PinyinInitials(u"Łódź Straße"_s), u"lodzstrasse"_s);
    EXPECT_EQ(PinyinInitials(u"Ａ公司（3号楼）"_s), u"agshl"_s);
    EXPECT_EQ(PinyinInitials(u"北京·华达"_s), u"bjhd"_s);
    EXPECT_EQ(PinyinInitials(u"2024"_s), QString());
    EXPECT_EQ(PinyinInitials(QString()), QString());

    EXPECT_TRUE(IsInitialsValue(u"zs"_s));
    EXPECT_TRUE(IsInitialsValue(u"BJhd"_s));
    for (const QString& value :
         {QString(), u"张s"_s, u"z s"_s, u"zs1"_s, u"ｚｓ"_s, u"z%"_s, u"z'"_s, u"zé"_s})
        EXPECT_FALSE(IsInitialsValue(value)) << value.toStdString();
}

// Every word of ICU's rules, and names of common and polyphonic characters, words, Latin
// letters, digits, a character beyond the BMP and characters ICU spaces apart from ideographs
// (々, 〇, the radical ⺀), are read as ICU reads them.
TEST(Pinyin, NamesReadAsIcuReadsThem)
{
    const IcuInitials icu;
    const QStringList phrases = RulePhrases();
    ASSERT_GE(phrases.size(), 3) << "ICU's Han-Latin rules read no words in context";
    QStringList pieces = phrases;
    pieces << u"银行"_s << u"长沙"_s << u"𪚥"_s << u"IBM"_s << u"Zoë"_s << u"Łódź"_s << u"Ａ"_s
           << u"ß"_s << u" "_s << u"·"_s << u"（3号）"_s << u"2024"_s << u"㈱"_s;
    for (QChar c : u"张王李赵北京华达有限公司科技中关村重长行藏秘沈乐和文庆阳鲁々〇⺀⽂"_s)
        pieces << QString(c);

    QStringList names = phrases;
    std::mt19937 random(7);
    while (names.size() < 3000) {
        QString name;
        for (int count = 1 + int(random() % 6); count > 0; --count)
            name += pieces[qsizetype(random() % size_t(pieces.size()))];
        names << name;
    }
    QStringList differences;
    for (const QString& name : names) {
        const QString expected = icu(name);
        if (PinyinInitials(name) != expected)
            differences << name + u" ("_s + PinyinInitials(name) + u", ICU "_s + expected + u')';
    }
    EXPECT_TRUE(differences.isEmpty()) << differences.size() << " of " << names.size() << ": "
                                       << differences.mid(0, 10).join(u", "_s).toStdString();
}

TEST(Pinyin, ThreadsReadNamesAtTheSameTime)
{
    auto read = [] {
        QStringList initials;
        for (int i = 0; i < 50; ++i)
            initials << PinyinInitials(u"重庆银行"_s) << PinyinInitials(u"北京华达"_s);
        return initials;
    };
    auto other = std::async(std::launch::async, read);
    const QStringList here = read();
    const QStringList there = other.get();
    EXPECT_EQ(here, there);
    EXPECT_EQ(here.count(u"cqyx"_s), 50);
    EXPECT_EQ(here.count(u"bjhd"_s), 50);
}

TEST(Pinyin, ConnectionsFindNamesByTheirInitialsAndTheFileStaysPlain)
{
    TempDataFile file;
    file.Exec(u"INSERT INTO client (no, name) VALUES (1, '张三'), (2, '张三丰'), "
              "(3, '北京华达'), (4, 'Acme'), (5, NULL), (6, '赵四')"_s);
    const QString schema = file.QueryValue(u"SELECT group_concat(sql) FROM sqlite_master"_s);
    auto db = file.Open();

    EXPECT_EQ(Names(*db, NameSearch(u"zs"_s)), QStringList({u"张三"_s, u"张三丰"_s, u"赵四"_s}));
    EXPECT_EQ(Names(*db, NameSearch(u"ZSF"_s)), QStringList({u"张三丰"_s}));
    EXPECT_TRUE(Names(*db, NameSearch(u"zsx"_s)).isEmpty());
    EXPECT_EQ(Names(*db, NameSearch(u"bjhd"_s)), QStringList({u"北京华达"_s}));
    // Initials begin the name's: the middle of them finds nothing.
    EXPECT_TRUE(Names(*db, NameSearch(u"jhd"_s)).isEmpty());
    EXPECT_EQ(Names(*db, NameSearch(u"ac"_s)), QStringList({u"Acme"_s}));

    // A renamed client is read again under its new name, on the same connection.
    file.Exec(u"UPDATE client SET name = '李四' WHERE no = 1"_s);
    EXPECT_EQ(Names(*db, NameSearch(u"zs"_s)), QStringList({u"张三丰"_s, u"赵四"_s}));
    EXPECT_EQ(Names(*db, NameSearch(u"ls"_s)), QStringList({u"李四"_s}));

    // Nothing of the search is stored: the file reads the same in any SQLite program.
    EXPECT_EQ(file.QueryValue(u"SELECT group_concat(sql) FROM sqlite_master"_s), schema);
    EXPECT_EQ(file.QueryValue(u"SELECT count(*) FROM client"_s), u"6"_s);
}

using PinyinSearch = DataTest;

// Names written by the program, renamed, or brought in past it are all found by their
// initials, on every backend.
TEST_P(PinyinSearch, NamesWrittenRenamedOrCopiedInAreFoundByTheirInitials)
{
    auto db = Open();
    {
        CADORecordset rs(db.get());
        ASSERT_TRUE(rs.Open(u"SELECT * FROM client"_s)) << rs.GetLastError().toStdString();
        for (const auto& [no, name] :
             {std::pair{1, u"张三"_s}, {2, u"北京华达"_s}, {3, u"Acme"_s}}) {
            ASSERT_TRUE(rs.AddNew());
            rs.SetFieldInt(u"no"_s, no);
            rs.SetFieldText(u"name"_s, name);
            ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
        }
        // What * selects is the program's columns alone.
        EXPECT_EQ(rs.GetFieldCount(), 23);
    }
    EXPECT_EQ(Names(*db, NameSearch(u"ZS"_s)), QStringList({u"张三"_s}));
    EXPECT_EQ(Names(*db, NameSearch(u"bjh"_s)), QStringList({u"北京华达"_s}));

    {
        CADORecordset rs(db.get());
        ASSERT_TRUE(rs.Open(u"SELECT * FROM client WHERE no = 1"_s));
        rs.Edit();
        rs.SetFieldText(u"name"_s, u"李四"_s);
        ASSERT_TRUE(rs.Update()) << rs.GetLastError().toStdString();
    }
    EXPECT_TRUE(Names(*db, NameSearch(u"zs"_s)).isEmpty());
    EXPECT_EQ(Names(*db, NameSearch(u"ls"_s)), QStringList({u"李四"_s}));

    // Rows written past the recordsets (support/testdatabase.h fills their initials as the
    // program does for rows copied in).
    Exec(u"INSERT INTO client (no, name) VALUES (4, '赵四'); "
         "INSERT INTO address ([user], [group]) VALUES ('王五', '朋友')"_s);
    EXPECT_EQ(Names(*db, NameSearch(u"zs"_s)), QStringList({u"赵四"_s}));
    CADORecordset rs(db.get());
    ASSERT_TRUE(
        rs.Open(u"SELECT * FROM address WHERE "_s + InitialsCondition(u"[user]"_s, u"ww"_s)));
    EXPECT_EQ(rs.GetRecordCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(, PinyinSearch, EachBackend(), BackendName);
