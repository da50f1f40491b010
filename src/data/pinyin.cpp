#include "data/pinyin.h"

#include "data/sqltext.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// Making a transliterator reads ICU's rule tables, which takes a good part of a second, and one
// may not serve two threads at a time: each thread makes its own, once. Null when ICU lacks
// the rules; Chinese characters then give no initials.
icu::Transliterator* Reader()
{
    thread_local const std::unique_ptr<icu::Transliterator> reader = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> made(
            icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            made.reset();
        return made;
    }();
    return reader.get();
}

bool IsHan(UChar32 c)
{
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(c, &status) == USCRIPT_HAN;
}

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool IsAscii(const icu::UnicodeString& text)
{
    for (int32_t i = 0; i < text.length(); ++i)
        if (text.charAt(i) >= 0x80)
            return false;
    return true;
}

// Every ASCII letter of a reading.
void AppendLetters(const icu::UnicodeString& latin, QString& initials)
{
    for (int32_t i = 0; i < latin.length(); ++i)
        if (IsAsciiLetter(latin.charAt(i)))
            initials += QChar(Lower(latin.charAt(i)));
}

// The first letters of the space-separated syllables of a reading.
QString SyllableInitials(const icu::UnicodeString& latin, int& syllables)
{
    QString initials;
    syllables = 0;
    bool inSyllable = false;
    for (int32_t i = 0; i < latin.length(); ++i) {
        const char16_t c = latin.charAt(i);
        if (c == u' ') {
            inSyllable = false;
        } else if (!inSyllable) {
            inSyllable = true;
            ++syllables;
            if (IsAsciiLetter(c))
                initials += QChar(Lower(c));
        }
    }
    return initials;
}

// A run of Chinese characters is read as a whole, so that each character is read as it is in
// that word. ICU parts the syllables with spaces, but not always; when the syllables do not
// match the characters one by one, each character is read on its own.
void AppendHanRun(icu::Transliterator& reader, const icu::UnicodeString& run, int characters,
                  QString& initials)
{
    icu::UnicodeString reading(run);
    reader.transliterate(reading);
    int syllables = 0;
    const QString whole = SyllableInitials(reading, syllables);
    if (syllables == characters) {
        initials += whole;
        return;
    }
    for (int32_t i = 0; i < run.length(); i += U16_LENGTH(run.char32At(i))) {
        icu::UnicodeString single(run.char32At(i));
        reader.transliterate(single);
        for (int32_t j = 0; j < single.length(); ++j) {
            if (IsAsciiLetter(single.charAt(j))) {
                initials += QChar(Lower(single.charAt(j)));
                break;
            }
        }
    }
}

// Other text keeps its letters; accented and full-width Latin letters lose their marks.
void AppendOtherRun(icu::Transliterator* reader, const icu::UnicodeString& run, QString& initials)
{
    if (!reader || IsAscii(run)) {
        AppendLetters(run, initials);
        return;
    }
    icu::UnicodeString latin(run);
    reader->transliterate(latin);
    AppendLetters(latin, initials);
}

} // namespace

QString PinyinInitials(const QString& text)
{
    const icu::UnicodeString source(reinterpret_cast<const char16_t*>(text.utf16()),
                                    int32_t(text.size()));
    icu::Transliterator* reader = nullptr;
    QString initials;
    int32_t i = 0;
    while (i < source.length()) {
        const int32_t start = i;
        const bool han = IsHan(source.char32At(i));
        int characters = 0;
        while (i < source.length() && IsHan(source.char32At(i)) == han) {
            i += U16_LENGTH(source.char32At(i));
            ++characters;
        }
        const icu::UnicodeString run(source, start, i - start);
        // Plain ASCII names, the common case among Latin ones, need no transliterator.
        if (!reader && (han || !IsAscii(run)))
            reader = Reader();
        if (han) {
            if (reader)
                AppendHanRun(*reader, run, characters, initials);
        } else {
            AppendOtherRun(reader, run, initials);
        }
    }
    return initials;
}

bool IsInitialsValue(const QString& value)
{
    if (value.isEmpty())
        return false;
    for (QChar c : value)
        if (!IsAsciiLetter(c.unicode()))
            return false;
    return true;
}

QString InitialsCondition(const QString& column, const QString& value)
{
    return QLatin1StringView(kInitialsFunction) + u'(' + column + u") LIKE '"_s + SqlText(value) +
           u"%'"_s;
}
