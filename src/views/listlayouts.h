#pragma once

#include "views/listlayout.h"

// The record lists' column layouts.
namespace ListLayouts {
// The main list of clients: 22 columns.
extern const ListLayout kClients;
// The main list of the clients a find lists: 19 columns, fewer than kClients (no 所属业务员,
// 员工人数, 年营业额) and the name narrower.
extern const ListLayout kFoundClients;
// The secondary list of a client's contacts: 31 columns, the client's name second.
extern const ListLayout kContacts;
// The main list of purchase or sales orders: 17 columns, the paid amount ("paid") and its
// percentage ("percent") computed by the filler; settled orders and open ones have their own
// icons.
extern const ListLayout kPurchaseOrders;
extern const ListLayout kSaleOrders;
// The secondary list of an order's payments: 7 columns.
extern const ListLayout kPayments;
// The main list of notes: the day with its weekday, weather, caption, text.
extern const ListLayout kNotes;
// The main list of reminders: start, end, text.
extern const ListLayout kReminders;
// The main list of the address book: 22 columns, the birthday as typed (free text).
extern const ListLayout kAddressBook;
// The main list of appointments: the client's and the contact's names ("client", "contact",
// which the filler supplies), then the appointment's time, length, place and text.
extern const ListLayout kAppointments;
// The main lists of the reference file, without record numbers: domestic postcodes and area
// codes (province, city, postcode, area code), international dialling codes (continent,
// country or region, code) and common telephone numbers (name, number, description).
extern const ListLayout kDomesticCodes;
extern const ListLayout kInternationalCodes;
extern const ListLayout kPhoneNumbers;
} // namespace ListLayouts
