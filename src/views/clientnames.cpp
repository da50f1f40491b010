#include "views/clientnames.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "kit/autocompletecombo.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

using namespace Qt::StringLiterals;

void LoadClientNames(CADODatabase* database, CNameEntries& clients, CAutoCompleteCombo& box)
{
    clients.clear();
    CADORecordset recordset(database);
    // By their numbers, so that the first client of a name is the same on every backend.
    if (!recordset.Open(u"SELECT [no], [name] FROM client ORDER BY [no]"_s))
        return;
    clients.reserve(size_t(std::max(recordset.GetRecordCount(), 0)));
    QStringList names;
    names.reserve(qsizetype(clients.capacity()));
    ForEachRow(recordset, [&] {
        CNameEntry entry;
        recordset.GetFieldInt(u"no"_s, entry.m_nNo);
        recordset.GetFieldText(u"name"_s, entry.m_strName);
        names << entry.m_strName;
        clients.push_back(std::move(entry));
    });
    for (const QString& name : names)
        box.AddCompletion(name);
    SortNames(names);
    box.AddStrings(names);
}

CNameEntries ContactEntries(CADODatabase* database, int client)
{
    CNameEntries contacts;
    if (client == -1)
        return contacts;
    CADORecordset recordset(database);
    if (!recordset.Open(u"SELECT [no], [name] FROM linkman WHERE [client] = %1"_s.arg(client)))
        return contacts;
    ForEachRow(recordset, [&] {
        CNameEntry entry;
        recordset.GetFieldInt(u"no"_s, entry.m_nNo);
        recordset.GetFieldText(u"name"_s, entry.m_strName);
        contacts.push_back(std::move(entry));
    });
    return contacts;
}

QStringList ContactNames(CADODatabase* database, int client)
{
    QStringList names;
    for (const CNameEntry& contact : ContactEntries(database, client))
        names << contact.m_strName;
    return names;
}

namespace {

// Whether every character is a Latin letter, a digit, a blank or '-', as in most order numbers
// ("XS-2024-0001"). The collation orders such names as their bytes in lower case: blank, '-',
// the digits, then the letters, whatever their case.
bool IsPlainName(const QString& name)
{
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
              u == u' ' || u == u'-'))
            return false;
    }
    return true;
}

} // namespace

void SortNames(QStringList& names)
{
    if (std::all_of(names.cbegin(), names.cend(), IsPlainName)) {
        // The same order without a collation key of each of 100,000 names: each name's bytes
        // in lower case, folded once, and its place, so that equal names keep their order.
        std::vector<std::pair<std::string, qsizetype>> keyed;
        keyed.reserve(size_t(names.size()));
        for (qsizetype index = 0; index < names.size(); ++index) {
            const QString& name = names.at(index);
            std::string key;
            key.reserve(size_t(name.size()));
            for (QChar c : name) {
                const char16_t u = c.unicode();
                key += char(u >= u'A' && u <= u'Z' ? u + (u'a' - u'A') : u);
            }
            keyed.emplace_back(std::move(key), index);
        }
        std::sort(keyed.begin(), keyed.end());
        QStringList sorted;
        sorted.reserve(names.size());
        for (const auto& [key, index] : keyed)
            sorted << names.at(index);
        names = std::move(sorted);
        return;
    }
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // One key per name instead of a collation per comparison: lists run to 100,000 names.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(size_t(names.size()));
    for (const QString& name : std::as_const(names))
        keys.push_back(collator.sortKey(name));
    std::vector<qsizetype> order(size_t(names.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&keys](qsizetype a, qsizetype b) {
        return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
    });
    QStringList sorted;
    sorted.reserve(names.size());
    for (qsizetype index : order)
        sorted << names.at(index);
    names = std::move(sorted);
}
