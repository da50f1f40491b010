#include "data/gbktext.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
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

// A character's sort bytes packed from the top of a 32-bit word, so comparing two words
// compares the byte sequences: ASCII folded to upper case (one byte), code-page characters as
// their one or two bytes, characters outside the code page last (0xFF, then the code point).
// No key is a prefix of another, so characters compare by their words alone.
quint32 SortKey(char32_t c)
{
    if (c < 0x80)
        return FoldAscii(c) << 24;
    const quint16 code = c < 0x10000 ? GbkTable()[c] : 0xFFFF;
    if (code == 0xFFFF)
        return 0xFF000000u | (c & 0xFFFFFF);
    if (code < 0x100)
        return quint32(code) << 24;
    return quint32(code) << 16;
}

template <typename NextA, typename NextB> int CompareChars(NextA nextA, NextB nextB)
{
    for (;;) {
        char32_t a = 0;
        char32_t b = 0;
        const bool moreA = nextA(a);
        const bool moreB = nextB(b);
        if (!moreA || !moreB)
            return moreA ? 1 : (moreB ? -1 : 0);
        if (a == b)
            continue;
        const quint32 keyA = SortKey(a);
        const quint32 keyB = SortKey(b);
        if (keyA != keyB)
            return keyA < keyB ? -1 : 1;
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

bool GbkAvailable()
{
    return QStringEncoder("GBK").isValid() && QStringDecoder("GBK").isValid();
}

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

bool IsGbkText(const QString& text)
{
    // A character the code page lacks does not come back from its bytes.
    return FromGbk(ToGbk(text)) == text;
}

QString GbkLeft(const QString& text, int limit)
{
    if (GbkLength(text) <= limit)
        return text;
    qsizetype low = 0;            // fits
    qsizetype high = text.size(); // does not fit
    while (high - low > 1) {
        const qsizetype middle = (low + high) / 2;
        if (GbkLength(text.left(middle)) <= limit)
            low = middle;
        else
            high = middle;
    }
    if (low > 0 && text.at(low - 1).isHighSurrogate())
        --low;
    return text.left(low);
}

int CompareGbk(QStringView a, QStringView b)
{
    return CompareChars(Utf16Reader(a), Utf16Reader(b));
}

int CompareGbkUtf8(const char* a, int aLength, const char* b, int bLength)
{
    // Equal leading bytes are equal characters; decoding starts at the character where the
    // texts first differ.
    int same = 0;
    const int shorter = std::min(aLength, bLength);
    while (same < shorter && a[same] == b[same])
        ++same;
    while (same > 0 && same < shorter && (static_cast<unsigned char>(a[same]) & 0xC0) == 0x80)
        --same;
    return CompareChars(Utf8Reader(a + same, aLength - same), Utf8Reader(b + same, bLength - same));
}
