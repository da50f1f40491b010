#include "kit/completionindex.h"

#include "data/gbktext.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_map>
#include <utility>

QString FoldAsciiCase(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t unit = c.unicode();
        if (unit >= u'a' && unit <= u'z')
            c = QChar(char16_t(unit - u'a' + u'A'));
    }
    return folded;
}

void CCompletionIndex::Add(const QString& entry)
{
    m_entries.push_back(entry);
    m_folded.push_back(FoldAsciiCase(entry));
    m_bSorted = false;
}

void CCompletionIndex::Clear()
{
    m_entries.clear();
    m_folded.clear();
    m_sorted.clear();
    m_bSorted = true;
}

void CCompletionIndex::SortIfNeeded() const
{
    if (m_bSorted)
        return;
    // Comparing whole texts in code-page order is slow for many thousand names, so each
    // distinct character gets its rank in that order once, and the texts are sorted as strings
    // of ranks. No character's code-page bytes begin another's, so comparing rank strings
    // orders the texts exactly as comparing their bytes does.
    std::vector<std::u32string> keys(m_folded.size());
    std::unordered_map<char32_t, char32_t> ranks;
    for (size_t i = 0; i < m_folded.size(); ++i) {
        const QString& text = m_folded[i];
        std::u32string& key = keys[i];
        key.reserve(size_t(text.size()));
        for (qsizetype at = 0; at < text.size(); ++at) {
            char32_t c = text[at].unicode();
            if (QChar::isHighSurrogate(c) && at + 1 < text.size() && text[at + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), text[++at].unicode());
            key.push_back(c);
            ranks.emplace(c, 0);
        }
    }
    std::vector<std::pair<char32_t, QString>> characters;
    characters.reserve(ranks.size());
    for (const auto& entry : ranks)
        characters.emplace_back(entry.first, QString::fromUcs4(&entry.first, 1));
    std::sort(characters.begin(), characters.end(),
              [](const auto& a, const auto& b) { return CompareGbk(a.second, b.second) < 0; });
    char32_t rank = 0;
    for (size_t i = 0; i < characters.size(); ++i) {
        if (i == 0 || CompareGbk(characters[i - 1].second, characters[i].second) != 0)
            ++rank;
        ranks[characters[i].first] = rank;
    }
    for (std::u32string& key : keys)
        for (char32_t& c : key)
            c = ranks[c];

    m_sorted.resize(m_entries.size());
    std::iota(m_sorted.begin(), m_sorted.end(), 0);
    std::stable_sort(m_sorted.begin(), m_sorted.end(),
                     [&keys](int a, int b) { return keys[size_t(a)] < keys[size_t(b)]; });
    m_bSorted = true;
}

QStringList CCompletionIndex::Matches(const QString& typed) const
{
    QStringList matches;
    if (typed.isEmpty())
        return matches;
    SortIfNeeded();
    // The order compares characters by their code-page bytes, and no character's bytes begin
    // another's, so the entries that begin with the text follow one another from the first
    // entry not below it.
    const QString folded = FoldAsciiCase(typed);
    auto it = std::lower_bound(m_sorted.begin(), m_sorted.end(), folded,
                               [this](int index, const QString& text) {
                                   return CompareGbk(m_folded[size_t(index)], text) < 0;
                               });
    for (; it != m_sorted.end() && m_folded[size_t(*it)].startsWith(folded); ++it)
        matches.append(m_entries[size_t(*it)]);
    return matches;
}
