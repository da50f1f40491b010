#pragma once

#include "customers/addressvcard.h"

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

class CADODatabase;

// Cards of a file put into the address book: each card's group chosen, the same name twice
// in one group found as the address dialog finds it (the group, entries without one being a
// group too, and the name compared as the file compares texts: ASCII letters without regard
// to case), and all entries added in one transaction.

// The entries the cards give in `group`; with `cardGroups`, a card's own first category
// where it has one.
std::vector<AddressEntry> EntriesToImport(std::span<const AddressCard> cards, const QString& group,
                                          bool cardGroups);

// The entries of one group whose name that group already has, in the address book or in an
// entry before them.
struct AddressDuplicates
{
    QString group;
    std::vector<size_t> entries; // places in the entries given
    QStringList names;
};

// Duplicates by group, in the order of their first entry; false when the address book cannot
// be read.
bool FindAddressDuplicates(CADODatabase* database, std::span<const AddressEntry> entries,
                           std::vector<AddressDuplicates>& duplicates);

struct AddressImportOutcome
{
    bool stored = false;
    QString error;    // the database's words when not
    int firstNo = -1; // the numbers the file gave the entries
    int lastNo = -1;
};

// Adds every entry, and every new group, or nothing.
AddressImportOutcome StoreAddressEntries(CADODatabase* database,
                                         std::span<const AddressEntry> entries);

// Files larger than this are no card files and are not read.
inline constexpr qint64 kAddressCardFileMaxBytes = 256 * 1024 * 1024;

// Reads a card file; false with a message for the user when the file cannot be read or
// holds no cards at all.
bool ReadAddressCardFile(const QString& path, AddressCardsRead& read, QString& error);

// The skipped cards for the user: how many, then each with its reason (the first few).
QStringList AddressSkipLines(std::span<const AddressCardSkip> skipped);

// What an import did, for the user: how many entries were added, which cards were skipped
// and why, how many duplicates the user chose to leave out, and what the cards held that the
// address book has no field for.
QString AddressImportReport(int added, std::span<const AddressCardSkip> skipped,
                            int duplicatesLeftOut, std::span<const AddressCard> imported);
