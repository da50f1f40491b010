// Writes the tables of data/pinyintable.h from the ICU the program links:
//   vantrel_mkpinyin <pinyintable.cpp>
// Each character is read on its own; the words that ICU's rules read otherwise come from the
// rules themselves, and only those whose initials differ from their characters' are kept.
#include "data/pinyintable.h"

#include <unicode/normalizer2.h>
#include <unicode/parsepos.h>
#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/uscript.h>
#include <unicode/usetiter.h>
#include <unicode/uvernum.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Text = std::u32string;

using pinyintable::kIdeographic;
using pinyintable::kLetter;
using pinyintable::kMark;
constexpr std::uint8_t kRegular = kIdeographic | kLetter;

// Longer words are left to the rules of their parts.
constexpr size_t kLongestPhrase = 8;

struct Failure
{
    std::string what;
};

std::string Utf8(const icu::UnicodeString& text)
{
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

icu::UnicodeString Icu(const Text& text)
{
    icu::UnicodeString icu;
    for (char32_t c : text)
        icu.append(UChar32(c));
    return icu;
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

char Lower(char16_t c)
{
    return char(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
}

std::string Hex(char32_t c)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", unsigned(c));
    return text;
}

// What the program read before the tables, straight from ICU: a run of Chinese characters is
// read as a whole when ICU parts it into one syllable a character, else character by character.
class IcuReading
{
public:
    explicit IcuReading(icu::Transliterator& reader) : reader_(reader) {}

    icu::UnicodeString Reading(char32_t c) const
    {
        icu::UnicodeString reading{UChar32(c)};
        reader_.transliterate(reading);
        return reading;
    }

    // The first letter of a reading, 0 for none.
    static char Initial(const icu::UnicodeString& reading)
    {
        for (int32_t i = 0; i < reading.length(); ++i)
            if (IsAsciiLetter(reading.charAt(i)))
                return Lower(reading.charAt(i));
        return 0;
    }

    std::string Initials(const Text& run) const
    {
        icu::UnicodeString reading = Icu(run);
        reader_.transliterate(reading);
        std::string initials;
        size_t syllables = 0;
        bool inSyllable = false;
        for (int32_t i = 0; i < reading.length(); ++i) {
            const char16_t c = reading.charAt(i);
            if (c == u' ') {
                inSyllable = false;
            } else if (!inSyllable) {
                inSyllable = true;
                ++syllables;
                if (IsAsciiLetter(c))
                    initials += Lower(c);
            }
        }
        if (syllables == run.size())
            return initials;
        initials.clear();
        for (char32_t c : run)
            if (const char initial = Initial(Reading(c)))
                initials += initial;
        return initials;
    }

private:
    icu::Transliterator& reader_;
};

struct Character
{
    char initial = 0;
    std::uint8_t kind = kRegular;
};

// Every Chinese character with its initial and how ICU spaces it, which goes by the character
// after NFKC (ICU normalizes before reading, so ⽂ is read as 文), and every character that
// normalizes into another.
struct Characters
{
    std::map<char32_t, Character> all;
    std::map<char32_t, std::vector<char32_t>> variants;
};

Characters ReadCharacters(const IcuReading& icu)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
    if (U_FAILURE(status))
        throw Failure{"no NFKC data"};
    // The punctuation after which ICU spaces a letter off.
    const icu::UnicodeString punctuation(u".,:;?!．，：？！｡、；");
    Characters characters;
    for (UChar32 c = 0; c <= 0x10FFFF; ++c) {
        if (!IsHan(c))
            continue;
        const std::string name = "U+" + Hex(char32_t(c)).substr(2);
        icu::UnicodeString normal;
        nfkc->normalize(icu::UnicodeString(c), normal, status);
        if (U_FAILURE(status) || normal.countChar32() != 1)
            throw Failure{name + " normalizes to more than one character"};
        const UChar32 d = normal.char32At(0);
        const auto category = u_charType(d);
        if (punctuation.indexOf(UChar32(d)) >= 0 || category == U_START_PUNCTUATION ||
            category == U_END_PUNCTUATION || category == U_INITIAL_PUNCTUATION ||
            category == U_FINAL_PUNCTUATION)
            throw Failure{name + " is spaced as punctuation"};
        const icu::UnicodeString reading = icu.Reading(char32_t(c));
        Character character;
        character.initial = IcuReading::Initial(reading);
        character.kind = std::uint8_t(
            (u_hasBinaryProperty(d, UCHAR_IDEOGRAPHIC) ? kIdeographic : 0) |
            (u_isalpha(d) ? kLetter : 0) | ((U_GET_GC_MASK(d) & U_GC_M_MASK) ? kMark : 0));
        // In a run the character must read as one syllable that begins with its initial.
        if (reading.isEmpty() || reading.indexOf(u' ') >= 0 ||
            (character.initial && Lower(reading.charAt(0)) != character.initial))
            throw Failure{name + " reads as \"" + Utf8(reading) + '"'};
        characters.all[char32_t(c)] = character;
        if (d != c)
            characters.variants[char32_t(d)].push_back(char32_t(c));
    }
    return characters;
}

// The Chinese characters a rule reads in context, such as 重庆 of "{重}' '?庆 > chóng", or
// nothing for a rule about single characters or about no Chinese at all. A rule that does
// read Chinese in a way the tables cannot hold stops the build.
std::vector<Text> PhrasesOfRule(const icu::UnicodeString& rule)
{
    Text phrase;
    bool context = false;
    // A character that is no Chinese one and not optional: the rule never meets a run of them.
    bool otherLiteral = false;
    bool unreadable = false;
    std::vector<icu::UnicodeSet> sets;
    auto optionalAt = [&](int32_t i) {
        return i < rule.length() && (rule.charAt(i) == u'?' || rule.charAt(i) == u'*');
    };
    auto literal = [&](UChar32 c, bool optional) {
        if (IsHan(c))
            phrase += char32_t(c);
        else if (c != u' ' && !optional)
            otherLiteral = true;
    };
    int32_t i = 0;
    while (i < rule.length()) {
        const char16_t c = rule.charAt(i);
        if (c == u'>' || c == u'<' || c == u'→' || c == u'←' || c == u'↔')
            break;
        if (c == u' ' || c == u'?' || c == u'*' || c == u'+') {
            ++i;
        } else if (c == u'{' || c == u'}') {
            context = true;
            ++i;
        } else if (c == u'\'') {
            icu::UnicodeString quoted;
            int32_t end = i + 1;
            while (end < rule.length() &&
                   (rule.charAt(end) != u'\'' ||
                    (end + 1 < rule.length() && rule.charAt(end + 1) == u'\''))) {
                quoted += rule.charAt(end);
                end += rule.charAt(end) == u'\'' ? 2 : 1;
            }
            i = end + 1;
            for (int32_t j = 0; j < quoted.length(); j += U16_LENGTH(quoted.char32At(j)))
                literal(quoted.char32At(j), optionalAt(i));
        } else if (c == u'[') {
            UErrorCode status = U_ZERO_ERROR;
            icu::ParsePosition position(i);
            icu::UnicodeSet set(rule, position, USET_IGNORE_SPACE, nullptr, status);
            if (U_FAILURE(status))
                throw Failure{"cannot read the rule " + Utf8(rule)};
            sets.push_back(set);
            i = position.getIndex();
        } else if (c == u'\\' || c == u'$' || c == u'^' || c == u'(' || c == u')' || c == u'|' ||
                   c == u'@' || c == u'&') {
            unreadable = true;
            ++i;
        } else {
            const UChar32 character = rule.char32At(i);
            i += U16_LENGTH(character);
            literal(character, optionalAt(i));
        }
    }
    const bool backward =
        i < rule.length() &&
        (rule.charAt(i) == u'←' ||
         (rule.charAt(i) == u'<' && (i + 1 >= rule.length() || rule.charAt(i + 1) != u'>')));
    if (i >= rule.length() || backward)
        return {};

    std::vector<Text> phrases;
    // A set of single characters, as nearly every rule is; a set may hold words too.
    if (phrase.empty() && !context && sets.size() == 1) {
        icu::UnicodeSetIterator each(sets.front());
        while (each.next()) {
            if (!each.isString())
                continue;
            const icu::UnicodeString& string = each.getString();
            Text word;
            for (int32_t j = 0; j < string.length(); j += U16_LENGTH(string.char32At(j)))
                if (IsHan(string.char32At(j)))
                    word += char32_t(string.char32At(j));
            if (word.size() > 1)
                phrases.push_back(word);
        }
        return phrases;
    }
    if (phrase.empty() || otherLiteral)
        return {};
    if (!sets.empty() || unreadable)
        throw Failure{"the rule " + Utf8(rule) + " reads Chinese in a way the tables cannot hold"};
    if (phrase.size() > 1)
        phrases.push_back(phrase);
    return phrases;
}

// The rules of every step of a transliterator, one a line: a compound one names its steps in
// its own rules.
void CollectRules(const icu::Transliterator& reader, icu::UnicodeString& rules)
{
    if (reader.countElements() > 1) {
        for (int32_t i = 0; i < reader.countElements(); ++i) {
            UErrorCode status = U_ZERO_ERROR;
            const icu::Transliterator& step = reader.getElement(i, status);
            if (U_FAILURE(status))
                throw Failure{"cannot read the steps of the transliteration"};
            CollectRules(step, rules);
        }
        return;
    }
    icu::UnicodeString own;
    reader.toRules(own, false);
    rules += own;
    rules += u'\n';
}

// The words of the rules, in every spelling that ICU normalizes into them.
std::set<Text> RulePhrases(const icu::Transliterator& reader, const Characters& characters)
{
    icu::UnicodeString rules;
    CollectRules(reader, rules);
    std::set<Text> phrases;
    int32_t start = 0;
    while (start < rules.length()) {
        int32_t end = rules.indexOf(u'\n', start);
        if (end < 0)
            end = rules.length();
        const icu::UnicodeString rule(rules, start, end - start);
        start = end + 1;
        if (rule.startsWith(icu::UnicodeString(u"::")))
            continue;
        for (const Text& phrase : PhrasesOfRule(rule)) {
            std::vector<Text> spellings{Text()};
            for (char32_t c : phrase) {
                std::vector<char32_t> forms{c};
                if (const auto found = characters.variants.find(c);
                    found != characters.variants.end())
                    forms.insert(forms.end(), found->second.begin(), found->second.end());
                std::vector<Text> longer;
                for (const Text& spelling : spellings)
                    for (char32_t form : forms)
                        longer.push_back(spelling + form);
                spellings = std::move(longer);
            }
            phrases.insert(spellings.begin(), spellings.end());
        }
    }
    return phrases;
}

using Phrases = std::map<Text, std::string>;

// The program's reading of a run that ICU reads as a whole: the longest phrase at each
// character, else the character's own initial.
std::string TableInitials(const Text& run, const Phrases& phrases, const Characters& characters)
{
    std::string initials;
    size_t i = 0;
    while (i < run.size()) {
        const Phrases::value_type* longest = nullptr;
        for (const auto& entry : phrases)
            if ((!longest || entry.first.size() > longest->first.size()) &&
                run.compare(i, entry.first.size(), entry.first) == 0)
                longest = &entry;
        if (longest) {
            initials += longest->second;
            i += longest->first.size();
            continue;
        }
        const auto found = characters.all.find(run[i]);
        if (found != characters.all.end() && found->second.initial)
            initials += found->second.initial;
        ++i;
    }
    return initials;
}

// The phrases the tables need: those of the rules that the characters alone read otherwise,
// and the words where two of them overlap and their readings meet.
Phrases KeptPhrases(const std::set<Text>& rulePhrases, const IcuReading& icu,
                    const Characters& characters)
{
    std::vector<Text> candidates(rulePhrases.begin(), rulePhrases.end());
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Text& a, const Text& b) { return a.size() < b.size(); });
    Phrases kept;
    auto keep = [&](const Text& phrase) {
        const std::string reading = icu.Initials(phrase);
        if (TableInitials(phrase, kept, characters) == reading)
            return false;
        kept[phrase] = reading;
        return true;
    };
    for (const Text& phrase : candidates)
        keep(phrase);
    std::set<Text> words(rulePhrases);
    for (bool grew = true; grew;) {
        grew = false;
        const std::vector<Text> known(words.begin(), words.end());
        for (const Text& first : known) {
            for (const Text& second : known) {
                for (size_t overlap = 1; overlap < std::min(first.size(), second.size());
                     ++overlap) {
                    if (first.compare(first.size() - overlap, overlap, second, 0, overlap) != 0)
                        continue;
                    const Text joined = first + second.substr(overlap);
                    if (joined.size() > kLongestPhrase || !words.insert(joined).second)
                        continue;
                    grew = keep(joined) || grew;
                }
            }
        }
    }
    return kept;
}

std::string Source(const Characters& characters, const Phrases& phrases)
{
    std::ostringstream out;
    out << "// Made by vantrel_mkpinyin from ICU " << U_ICU_VERSION
        << "; rebuilt with the program.\n#include \"data/pinyintable.h\"\n\n#include <array>\n\n"
           "namespace pinyintable {\nnamespace {\n\n";
    std::vector<std::pair<char32_t, std::string>> blocks;
    std::vector<std::pair<char32_t, std::uint8_t>> odd;
    for (const auto& [c, character] : characters.all) {
        if (blocks.empty() || blocks.back().first + blocks.back().second.size() != c)
            blocks.emplace_back(c, std::string());
        char letter = character.initial ? character.initial : '-';
        if (character.kind != kRegular) {
            letter = character.initial ? char(character.initial - 'a' + 'A') : '_';
            odd.emplace_back(c, character.kind);
        }
        blocks.back().second += letter;
    }
    out << "constexpr std::array<Block, " << blocks.size() << "> blocks{{\n";
    for (const auto& [first, initials] : blocks) {
        out << "    {" << Hex(first) << ", std::string_view(";
        for (size_t i = 0; i < initials.size(); i += 80)
            out << "\n        \"" << initials.substr(i, 80) << '"';
        out << ",\n        " << initials.size() << ")},\n";
    }
    out << "}};\n\nconstexpr std::array<OddKind, " << odd.size() << "> oddKinds{{\n";
    for (const auto& [c, kind] : odd)
        out << "    {" << Hex(c) << ", " << int(kind) << "},\n";
    out << "}};\n\nconstexpr std::array<Phrase, " << phrases.size() << "> phrases{{\n";
    for (const auto& [phrase, initials] : phrases) {
        out << "    {U\"";
        for (char32_t c : phrase) {
            char escape[16];
            std::snprintf(escape, sizeof escape, "\\U%08X", unsigned(c));
            out << escape;
        }
        out << "\", \"" << initials << "\"},\n";
    }
    out << "}};\n\n} // namespace\n\n"
           "const std::span<const Block> kBlocks(blocks);\n"
           "const std::span<const OddKind> kOddKinds(oddKinds);\n"
           "const std::span<const Phrase> kPhrases(phrases);\n\n"
           "} // namespace pinyintable\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <pinyintable.cpp>\n", argv[0]);
        return 2;
    }
    Characters characters;
    Phrases phrases;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::Transliterator> reader(
        icu::Transliterator::createInstance("Han-Latin; Latin-ASCII", UTRANS_FORWARD, status));
    if (U_FAILURE(status)) {
        // As the program did before the tables: without the rules, Chinese has no initials.
        std::fprintf(stderr, "%s: ICU has no Han-Latin rules; Chinese will have no initials\n",
                     argv[0]);
    } else {
        try {
            const IcuReading icu(*reader);
            characters = ReadCharacters(icu);
            phrases = KeptPhrases(RulePhrases(*reader, characters), icu, characters);
        } catch (const Failure& failure) {
            std::fprintf(stderr, "%s: %s\n", argv[0], failure.what.c_str());
            return 1;
        }
    }
    const std::string source = Source(characters, phrases);
    std::ofstream file(argv[1], std::ios::binary | std::ios::trunc);
    file << source;
    file.close();
    if (!file) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
