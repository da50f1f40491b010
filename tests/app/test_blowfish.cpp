#include "app/blowfish.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// The published vectors name blocks as big-endian words; stored passwords read each half of a
// block as a little-endian word, so the bytes of every half are turned round.
QByteArray LittleEndianHalves(const QByteArray& block)
{
    QByteArray turned = block;
    for (qsizetype i = 0; i < turned.size(); i += 4)
        std::reverse(turned.begin() + i, turned.begin() + i + 4);
    return turned;
}
} // namespace

TEST(Blowfish, PublishedVectorsInTheStoredWordOrder)
{
    struct Vector
    {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Vector vectors[] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    };
    for (const Vector& v : vectors) {
        const CBlowfish cipher(Hex(v.key));
        const QByteArray plain = LittleEndianHalves(Hex(v.plain));
        const QByteArray expected = LittleEndianHalves(Hex(v.cipher));
        EXPECT_EQ(cipher.Encrypt(plain).toHex().toUpper(), expected.toHex().toUpper()) << v.key;
        EXPECT_EQ(cipher.Decrypt(expected), plain) << v.key;

        // The same vector on the words themselves.
        quint32 left = Hex(v.plain).left(4).toHex().toUInt(nullptr, 16);
        quint32 right = Hex(v.plain).mid(4).toHex().toUInt(nullptr, 16);
        cipher.EncipherWords(left, right);
        EXPECT_EQ(QString::asprintf("%08X%08X", left, right), QString::fromLatin1(v.cipher));
    }
}

TEST(Blowfish, StoredPasswordLengths)
{
    EXPECT_EQ(CBlowfish::EncryptPassword(u""_s), u""_s);
    EXPECT_EQ(CBlowfish::EncryptPassword(u"1"_s).size(), 16);
    EXPECT_EQ(CBlowfish::EncryptPassword(u"12345678"_s).size(), 16);
    EXPECT_EQ(CBlowfish::EncryptPassword(u"123456789"_s).size(), 32);
    EXPECT_EQ(CBlowfish::EncryptPassword(u"1234567890123456"_s).size(), 32);
    for (int length = 17; length <= 20; ++length)
        EXPECT_EQ(CBlowfish::EncryptPassword(QString(length, u'x')).size(), 48) << length;
    // A Chinese character is two bytes: five of them are ten bytes, two blocks.
    EXPECT_EQ(CBlowfish::EncryptPassword(u"管理员密码"_s).size(), 32);
}

TEST(Blowfish, KnownStoredTexts)
{
    // Worked out with an independent Blowfish implementation under the same conventions.
    EXPECT_EQ(CBlowfish::EncryptPassword(u"583016"_s), u"51F84A214EC9AF9E"_s);
    EXPECT_EQ(CBlowfish::EncryptPassword(u"12345678"_s), u"BA4EB5EC7E01E3AE"_s);
    EXPECT_EQ(CBlowfish::EncryptPassword(u"管理员密码"_s), u"70FC7D93DA9B333E0199907C0207C304"_s);
    EXPECT_EQ(CBlowfish::EncryptPassword(u"abcdefghijklmnopq"_s),
              u"4755254112577844C4CCC885FAB2DBE73125356DF6308E9F"_s);
}

TEST(Blowfish, RoundTrips)
{
    const QString passwords[] = {u"583016"_s,          u"a"_s,    u"12345678"_s,
                                 u"Secret-Pass 16!"_s, u"密码"_s, u"十个中文字符的密码啊"_s,
                                 u"mixed混合Text8"_s};
    for (const QString& password : passwords) {
        const QString stored = CBlowfish::EncryptPassword(password);
        EXPECT_EQ(CBlowfish::DecryptPassword(stored), password) << password.toStdString();
        EXPECT_TRUE(CBlowfish::PasswordMatches(password, stored)) << password.toStdString();
        EXPECT_FALSE(CBlowfish::PasswordMatches(password.toUpper() + u'x', stored));
    }
    EXPECT_EQ(CBlowfish::DecryptPassword(u""_s), u""_s);
    EXPECT_TRUE(CBlowfish::PasswordMatches(u""_s, u""_s));
    EXPECT_FALSE(CBlowfish::PasswordMatches(u"583016"_s, u""_s));
    // Case matters in passwords.
    EXPECT_FALSE(CBlowfish::PasswordMatches(u"abc"_s, CBlowfish::EncryptPassword(u"ABC"_s)));
}

TEST(Blowfish, HexTextReading)
{
    EXPECT_EQ(CBlowfish::FromHex(u"00FFA5"_s), Hex("00FFA5"));
    // Lower-case digits are not digits of the stored form: a pair ends at the first of them.
    EXPECT_EQ(CBlowfish::FromHex(u"1a2B"_s), QByteArray("\x01\x2B", 2));
    // An odd last digit is no byte.
    EXPECT_EQ(CBlowfish::FromHex(u"ABC"_s), Hex("AB"));
    // A stored text longer than any password still deciphers without trouble.
    const QString longText = CBlowfish::EncryptPassword(QString(300, u'z'));
    EXPECT_EQ(CBlowfish::DecryptPassword(longText), QString(300, u'z'));
}
