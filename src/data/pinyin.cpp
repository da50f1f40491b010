#include "data/pinyin.h"

#include "data/pinyintable.h"
#include "data/sqltext.h"

#include <QVarLengthArray>

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>

using namespace Qt::StringLiterals;

namespace {

// A transliterator serves one thread at a time: each thread makes its own, once. Null when ICU
// lacks the rules.
std::unique_ptr<icu::Transliterator> Make(const char* id)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> made(
        icu::Transliterator::createInstance(id, UTRANS_FORWARD, status));
    if (U_FAILURE(status))
        made.reset();
    return made;
}

// Accented, full-width and other Latin letters as ASCII ones, as "Han-Latin; Latin-ASCII"
// leaves them, at a small part of its cost to make.
icu::Transliterator* LatinReader()
{
    thread_local const std::unique_ptr<icu::Transliterator> reader =
        Make("Fullwidth-Halfwidth; Latin-ASCII");
    return reader.get();
}

// The whole transliteration, which reads the Chinese that ㈱ or 🈚 stand for as well; making
// it takes a good part of a second, so only those rare characters do.
icu::Transliterator* HanReader()
{
    thread_local const std::unique_ptr<icu::Transliterator> reader = Make("Han-Latin; Latin-ASCII");
    return reader.get();
}

bool IsHan(char32_t c)
{
    UErrorCode status = U_ZERO_ERROR;
    return uscript_getScript(UChar32(c), &status) == USCRIPT_HAN;
}

// Whether a character that is no Chinese one normalizes into Chinese, as ㈱ into (株).
bool StandsForHan(char32_t c)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    icu::UnicodeString decomposition;
    if (U_FAILURE(status) || !nfkc->getDecomposition(UChar32(c), decomposition))
        return false;
    for (int32_t i = 0; i < decomposition.length(); i += U16_LENGTH(decomposition.char32At(i)))
        if (IsHan(char32_t(decomposition.char32At(i))))
            return true;
    return false;
}

bool IsAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

// Every ASCII letter of a text.
void AppendLetters(const icu::UnicodeString& text, QString& initials)
{
    for (int32_t i = 0; i < text.length(); ++i)
        if (IsAsciiLetter(text.charAt(i)))
            initials += QChar(Lower(text.charAt(i)));
}

struct Reading
{
    char16_t initial = 0; // none
    std::uint8_t kind = pinyintable::kIdeographic | pinyintable::kLetter;
};

Reading ReadingOf(char32_t c)
{
    using namespace pinyintable;
    const auto block = std::upper_bound(kBlocks.begin(), kBlocks.end(), c,
                                        [](char32_t c, const Block& b) { return c < b.first; });
    if (block == kBlocks.begin())
        return {};
    const Block& found = *std::prev(block);
    if (c - found.first >= found.initials.size())
        return {};
    const char letter = found.initials[c - found.first];
    Reading reading;
    if (letter >= 'a' && letter <= 'z') {
        reading.initial = char16_t(letter);
        return reading;
    }
    if (letter >= 'A' && letter <= 'Z')
        reading.initial = Lower(char16_t(letter));
    else if (letter != '_')
        return reading; // an ideograph without reading
    const auto odd =
        std::lower_bound(kOddKinds.begin(), kOddKinds.end(), c,
                         [](const OddKind& kind, char32_t c) { return kind.character < c; });
    if (odd != kOddKinds.end() && odd->character == c)
        reading.kind = odd->kind;
    return reading;
}

// The longest word starting the text that ICU reads otherwise than character by character.
const pinyintable::Phrase* PhraseAt(std::u32string_view text)
{
    using pinyintable::kPhrases;
    const pinyintable::Phrase* longest = nullptr;
    auto phrase = std::lower_bound(kPhrases.begin(), kPhrases.end(), text.front(),
                                   [](const pinyintable::Phrase& phrase, char32_t c) {
                                       return phrase.characters.front() < c;
                                   });
    for (; phrase != kPhrases.end() && phrase->characters.front() == text.front(); ++phrase) {
        if (text.starts_with(phrase->characters) &&
            (!longest || phrase->characters.size() > longest->characters.size()))
            longest = &*phrase;
    }
    return longest;
}

// Whether ICU puts a space between characters `at - 1` and `at` before reading them: after an
// ideograph before a letter, and after a letter (and its marks) before an ideograph.
bool SpacedBefore(std::span<const Reading> run, size_t at)
{
    using namespace pinyintable;
    if ((run[at - 1].kind & kIdeographic) && (run[at].kind & kLetter))
        return true;
    if (!(run[at].kind & kIdeographic))
        return false;
    size_t before = at - 1;
    while (before > 0 && (run[before].kind & kMark))
        --before;
    return run[before].kind & kLetter;
}

// A run of Chinese characters is read as ICU reads it as a whole, so that each character is
// read as it is in that word, when ICU spaces it into a syllable a character; else each
// character is read on its own. The readings come from ICU by way of data/pinyintable.h.
void AppendHanRun(std::u32string_view run, QString& initials)
{
    QVarLengthArray<Reading, 32> readings;
    for (char32_t c : run)
        readings.append(ReadingOf(c));
    bool whole = true;
    for (size_t i = 1; i < run.size() && whole; ++i)
        whole = SpacedBefore(readings, i);
    size_t i = 0;
    while (i < run.size()) {
        if (whole) {
            if (const pinyintable::Phrase* phrase = PhraseAt(run.substr(i))) {
                initials += QLatin1StringView(phrase->initials);
                i += phrase->characters.size();
                continue;
            }
        }
        if (readings[qsizetype(i)].initial)
            initials += QChar(readings[qsizetype(i)].initial);
        ++i;
    }
}

// Other text keeps its letters; accented and full-width Latin letters lose their marks.
void AppendOtherRun(std::u32string_view run, QString& initials)
{
    icu::UnicodeString text;
    bool ascii = true;
    bool standsForHan = false;
    for (char32_t c : run) {
        text.append(UChar32(c));
        ascii = ascii && c < 0x80;
        standsForHan = standsForHan || (c >= 0x80 && StandsForHan(c));
    }
    // Plain ASCII names, the common case among Latin ones, need no transliterator.
    if (!ascii) {
        if (icu::Transliterator* reader = standsForHan ? HanReader() : LatinReader())
            reader->transliterate(text);
    }
    AppendLetters(text, initials);
}

} // namespace

QString PinyinInitials(const QString& text)
{
    std::u32string characters;
    characters.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            characters += QChar::surrogateToUcs4(unit, text[++i].unicode());
        else
            characters += unit;
    }
    const std::u32string_view source(characters);
    QString initials;
    size_t i = 0;
    while (i < source.size()) {
        const size_t start = i;
        const bool han = IsHan(source[i]);
        while (i < source.size() && IsHan(source[i]) == han)
            ++i;
        const std::u32string_view run = source.substr(start, i - start);
        if (han)
            AppendHanRun(run, initials);
        else
            AppendOtherRun(run, initials);
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
