#include "customers/completionindex.h"

#include "data/gbktext.h"

#include <algorithm>
#include <numeric>

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
    m_sorted.resize(m_entries.size());
    std::iota(m_sorted.begin(), m_sorted.end(), 0);
    std::stable_sort(m_sorted.begin(), m_sorted.end(), [this](int a, int b) {
        return CompareGbk(m_folded[size_t(a)], m_folded[size_t(b)]) < 0;
    });
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
