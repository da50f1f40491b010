#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The entries an auto-complete box offers, and the matching of a typed text against them: an
// entry matches when it begins with the typed text, ASCII letters compared without regard to
// case and every other character as it is. Matches come sorted in the users' order (code-page
// byte order with ASCII case ignored; equal entries in the order they were added).
//
// The entries are sorted once, when the first match after an addition is asked for, so that a
// match is a binary search for the first candidate plus a walk over the matches themselves.
class CCompletionIndex
{
public:
    void Add(const QString& entry);
    void Clear();
    int Count() const { return int(m_entries.size()); }
    // The entries in the order they were added.
    const std::vector<QString>& Entries() const { return m_entries; }

    // Every entry that begins with `typed`, sorted; none for an empty text.
    QStringList Matches(const QString& typed) const;

private:
    void SortIfNeeded() const;

    std::vector<QString> m_entries;
    std::vector<QString> m_folded; // the entries with ASCII letters in upper case
    mutable std::vector<int> m_sorted;
    mutable bool m_bSorted = true;
};

// The text with ASCII letters in upper case; other characters stay as they are.
QString FoldAsciiCase(const QString& text);
