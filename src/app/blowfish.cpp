#include "app/blowfish.h"

#include "app/blowfishtables.h"
#include "data/gbktext.h"

using namespace Qt::StringLiterals;

namespace {
quint32 ReadWord(const char* bytes)
{
    const auto* b = reinterpret_cast<const uchar*>(bytes);
    return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

void WriteWord(char* bytes, quint32 word)
{
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((word >> (8 * i)) & 0xFF);
}

QByteArray ZeroFilled(const QByteArray& bytes)
{
    QByteArray filled = bytes;
    if (const int rest = int(filled.size() % 8))
        filled.append(8 - rest, '\0');
    return filled;
}

// Runs one of the word ciphers over each block of the zero-filled bytes.
template <typename WordCipher> QByteArray EachBlock(const QByteArray& bytes, WordCipher cipher)
{
    QByteArray data = ZeroFilled(bytes);
    for (qsizetype i = 0; i < data.size(); i += 8) {
        quint32 left = ReadWord(data.constData() + i);
        quint32 right = ReadWord(data.constData() + i + 4);
        cipher(left, right);
        WriteWord(data.data() + i, left);
        WriteWord(data.data() + i + 4, right);
    }
    return data;
}

int HexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}
} // namespace

CBlowfish::CBlowfish(const QByteArray& key) : m_p(blowfish::kInitialP), m_s(blowfish::kInitialS)
{
    // The key bytes, cycled, four at a time with the most significant byte first.
    if (!key.isEmpty()) {
        qsizetype position = 0;
        for (quint32& p : m_p) {
            quint32 data = 0;
            for (int i = 0; i < 4; ++i) {
                data = (data << 8) | quint32(uchar(key.at(position)));
                position = (position + 1) % key.size();
            }
            p ^= data;
        }
    }
    quint32 left = 0;
    quint32 right = 0;
    for (std::size_t i = 0; i < m_p.size(); i += 2) {
        EncipherWords(left, right);
        m_p[i] = left;
        m_p[i + 1] = right;
    }
    for (auto& box : m_s) {
        for (std::size_t i = 0; i < box.size(); i += 2) {
            EncipherWords(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    }
}

quint32 CBlowfish::F(quint32 x) const
{
    const quint32 a = m_s[0][(x >> 24) & 0xFF];
    const quint32 b = m_s[1][(x >> 16) & 0xFF];
    const quint32 c = m_s[2][(x >> 8) & 0xFF];
    const quint32 d = m_s[3][x & 0xFF];
    return ((a + b) ^ c) + d;
}

void CBlowfish::EncipherWords(quint32& left, quint32& right) const
{
    quint32 l = left;
    quint32 r = right;
    for (int i = 0; i < 16; ++i) {
        l ^= m_p[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_p[16];
    l ^= m_p[17];
    left = l;
    right = r;
}

void CBlowfish::DecipherWords(quint32& left, quint32& right) const
{
    quint32 l = left;
    quint32 r = right;
    for (int i = 17; i > 1; --i) {
        l ^= m_p[i];
        r ^= F(l);
        std::swap(l, r);
    }
    std::swap(l, r);
    r ^= m_p[1];
    l ^= m_p[0];
    left = l;
    right = r;
}

QByteArray CBlowfish::Encrypt(const QByteArray& plain) const
{
    return EachBlock(plain, [this](quint32& left, quint32& right) { EncipherWords(left, right); });
}

QByteArray CBlowfish::Decrypt(const QByteArray& cipher) const
{
    return EachBlock(cipher, [this](quint32& left, quint32& right) { DecipherWords(left, right); });
}

QString CBlowfish::ToHex(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex().toUpper());
}

QByteArray CBlowfish::FromHex(const QString& text)
{
    // Two digits a byte; a pair ends early at any character that is not 0-9 or A-F.
    QByteArray bytes;
    const qsizetype count = text.size() / 2;
    bytes.reserve(count);
    for (qsizetype i = 0; i < count; ++i) {
        int value = 0;
        for (int j = 0; j < 2; ++j) {
            const int digit = HexDigit(text.at(2 * i + j));
            if (digit < 0)
                break;
            value = value * 16 + digit;
        }
        bytes.append(char(value));
    }
    return bytes;
}

namespace {
QByteArray StoredBytes(const QString& stored)
{
    const CBlowfish cipher{QByteArray(CBlowfish::kPasswordKey)};
    const QByteArray plain = cipher.Decrypt(CBlowfish::FromHex(stored));
    const qsizetype end = plain.indexOf('\0');
    return end < 0 ? plain : plain.left(end);
}
} // namespace

QString CBlowfish::EncryptPassword(const QString& password)
{
    const CBlowfish cipher{QByteArray(kPasswordKey)};
    return ToHex(cipher.Encrypt(ToGbk(password)));
}

QString CBlowfish::DecryptPassword(const QString& stored)
{
    return FromGbk(StoredBytes(stored));
}

bool CBlowfish::PasswordMatches(const QString& typed, const QString& stored)
{
    // A character without code-page bytes would be compared as "?": "p한" is not "p?".
    return IsGbkText(typed) && StoredBytes(stored) == ToGbk(typed);
}
