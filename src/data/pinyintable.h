#pragma once

// The pinyin initials of every Chinese character (ICU's Han script), as ICU's
// "Han-Latin; Latin-ASCII" reads it. Making that transliterator and running it costs far more
// than the names it reads, so the build works the readings out once (data/mkpinyin) and the
// program looks them up.

#include <cstdint>
#include <span>
#include <string_view>

namespace pinyintable {

// How ICU spaces a character from its neighbours before reading them: it reads a run of
// characters in the context of one another only when each one ends up a syllable of its own.
enum Kind : std::uint8_t {
    kIdeographic = 1,
    kLetter = 2,
    kMark = 4,
};

// The characters from `first` on, one byte each in `initials`: the first letter of the
// character's reading, or '-' when ICU has none. Ideographs that are letters, nearly all of
// them, are in lower case; the others in upper case ('_' for none) with their kind in
// kOddKinds.
struct Block
{
    char32_t first;
    std::string_view initials;
};

struct OddKind
{
    char32_t character;
    std::uint8_t kind;
};

// A word whose characters ICU reads otherwise than one by one (重 of 重庆 is "chong"), with
// the initials of the whole word.
struct Phrase
{
    std::u32string_view characters;
    std::string_view initials;
};

// Sorted by their first characters; the phrases by their characters.
extern const std::span<const Block> kBlocks;
extern const std::span<const OddKind> kOddKinds;
extern const std::span<const Phrase> kPhrases;

} // namespace pinyintable
