#pragma once

#include "views/listlayout.h"

// The schedule's lists: notes, reminders, appointments and the reference file's lists.
namespace ListLayouts {
// The main list of notes: the day with its weekday, weather, caption, text.
extern const ListLayout kNotes;
// The main list of reminders: start, end, text.
extern const ListLayout kReminders;
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
