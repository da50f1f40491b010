#pragma once

#include "views/recorddialogs.h"

class CVantrelDoc;

// The customers' categories of the main list. The codes are what fillers set and what the
// lists' stored queries are kept with.
namespace CustomerCategory {
inline constexpr int kClients = 0;
inline constexpr int kAddressBook = 20;
} // namespace CustomerCategory

// The customers' record dialogs.
namespace CustomerDialog {
inline constexpr RecordDialog kClient = "client";       // CClientDlg
inline constexpr RecordDialog kContact = "contact";     // CLinkmanDlg
inline constexpr RecordDialog kAddressBook = "address"; // CAddressDlg
} // namespace CustomerDialog

// Tells the document what the main list does with clients (their contacts listed below) and
// with the address book.
void RegisterCustomerCategories(CVantrelDoc& doc);
