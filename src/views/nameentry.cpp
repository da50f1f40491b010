#include "views/nameentry.h"

#include <algorithm>

const CNameEntry* FindNameEntry(const CNameEntries& entries, const QString& name)
{
    const auto it = std::find_if(entries.begin(), entries.end(), [&name](const CNameEntry& entry) {
        return entry.m_strName == name;
    });
    return it == entries.end() ? nullptr : &*it;
}
