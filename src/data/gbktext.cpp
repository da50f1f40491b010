#include "data/gbktext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <mutex>

namespace {

// The code-page bytes of every character of the Basic Multilingual Plane, built once: one
// or two bytes packed as (first << 8 | second), first = 0 for a single byte. Characters the
// code page lacks get 0xFFFF and sort after every character it has.
const std::array<quint16, 0x10000>& GbkTable()
{
    static std::array<quint16, 0x10000> table;
    static std::once_flag built;
    std::call_once(built, [] {
        // A character belongs to the code page when it survives the round trip; the
        // converters' error flags stay set after the first unmappable character.
        QStringEncoder encoder("GBK", QStringEncoder::Flag::Stateless);
        QStringDecoder decoder("GBK", QStringDecoder::Flag::Stateless);
        for (int code = 0; code < 0x10000; ++code) {
            const char16_t unit = static_cast<char16_t>(code);
            table[code] = 0xFFFF;
            if (code < 0x80) {
                table[code] = static_cast<quint16>(code);
                continue;
            }
            if (code >= 0xD800 && code < 0xE000)
                continue;
            const QByteArray bytes = encoder.encode(QStringView(&unit, 1));
            const QString back = decoder.decode(bytes);
            if (back.size() != 1 || back[0].unicode() != unit)
                continue;
            if (bytes.size() == 1)
                table[code] = static_cast<quint8>(bytes[0]);
            else if (bytes.size() == 2)
                table[code] = static_cast<quint16>((static_cast<quint8>(bytes[0]) << 8) |
                                                   static_cast<quint8>(bytes[1]));
        }
    });
    return table;
}

char32_t FoldAscii(char32_t c)
{
    return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// Bytes of one character in sort order: ASCII folded to upper case, others as code-page bytes;
// characters outside the code page come last, ordered by code point.
int SortBytes(char32_t c, quint8 out[4])
{
    if (c < 0x80) {
        out[0] = static_cast<quint8>(FoldAscii(c));
        return 1;
    }
    const quint16 code = c < 0x10000 ? GbkTable()[c] : 0xFFFF;
    if (code == 0xFFFF) {
        out[0] = 0xFF;
        out[1] = static_cast<quint8>(c >> 16);
        out[2] = static_cast<quint8>(c >> 8);
        out[3] = static_cast<quint8>(c);
        return 4;
    }
    if (code < 0x100) {
        out[0] = static_cast<quint8>(code);
        return 1;
    }
    out[0] = static_cast<quint8>(code >> 8);
    out[1] = static_cast<quint8>(code);
    return 2;
}

// Walks a text character by character and yields its sort bytes one at a time.
template <typename NextChar> class SortByteStream
{
public:
    explicit SortByteStream(NextChar next) : m_next(next) {}
    // -1 at the end.
    int Next()
    {
        if (m_pos == m_count) {
            char32_t c;
            if (!m_next(c))
                return -1;
            m_count = SortBytes(c, m_bytes);
            m_pos = 0;
        }
        return m_bytes[m_pos++];
    }

private:
    NextChar m_next;
    quint8 m_bytes[4] = {};
    int m_pos = 0;
    int m_count = 0;
};

template <typename A, typename B> int CompareStreams(A a, B b)
{
    for (;;) {
        const int x = a.Next();
        const int y = b.Next();
        if (x != y)
            return x < y ? -1 : 1;
        if (x < 0)
            return 0;
    }
}

auto Utf16Reader(QStringView text)
{
    return [text, i = qsizetype(0)](char32_t& c) mutable {
        if (i >= text.size())
            return false;
        const char16_t unit = text[i++].unicode();
        if (QChar::isHighSurrogate(unit) && i < text.size() && text[i].isLowSurrogate())
            c = QChar::surrogateToUcs4(unit, text[i++].unicode());
        else
            c = unit;
        return true;
    };
}

auto Utf8Reader(const char* text, int length)
{
    return [p = reinterpret_cast<const unsigned char*>(text),
            end = reinterpret_cast<const unsigned char*>(text) + length](char32_t& c) mutable {
        if (p >= end)
            return false;
        const unsigned char lead = *p++;
        int extra = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            c = lead & 0x1F;
            extra = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            c = lead & 0x0F;
            extra = 2;
        } else {
            c = lead & 0x07;
            extra = 3;
        }
        while (extra-- > 0 && p < end && (*p & 0xC0) == 0x80)
            c = (c << 6) | (*p++ & 0x3F);
        return true;
    };
}

} // namespace

QByteArray ToGbk(const QString& text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString FromGbk(const QByteArray& bytes)
{
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

int GbkLength(const QString& text)
{
    return static_cast<int>(ToGbk(text).size());
}

int CompareGbk(QStringView a, QStringView b)
{
    return CompareStreams(SortByteStream(Utf16Reader(a)), SortByteStream(Utf16Reader(b)));
}

int CompareGbkUtf8(const char* a, int aLength, const char* b, int bLength)
{
    return CompareStreams(SortByteStream(Utf8Reader(a, aLength)),
                          SortByteStream(Utf8Reader(b, bLength)));
}
