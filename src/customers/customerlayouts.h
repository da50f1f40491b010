#pragma once

#include "views/listlayout.h"

// The customers' lists: clients, their contacts, the address book.
namespace ListLayouts {
// The main list of clients: 22 columns.
extern const ListLayout kClients;
// The secondary list of a client's contacts: 31 columns, the client's name second.
extern const ListLayout kContacts;
// The main list of the address book: 22 columns, the birthday as typed (free text).
extern const ListLayout kAddressBook;
} // namespace ListLayouts
