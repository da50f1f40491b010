#pragma once

#include <QString>

#include <vector>

// A name shown in a client, contact or order box and the record number behind it. Dialogs
// keep one entry per name they load and map the name the user chose back to its number.
struct CNameEntry
{
    QString m_strName;
    int m_nNo = -1;
};

using CNameEntries = std::vector<CNameEntry>;

// The first entry whose name equals `name` exactly; null when none does.
const CNameEntry* FindNameEntry(const CNameEntries& entries, const QString& name);
