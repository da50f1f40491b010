#pragma once

#include "views/recorddialogs.h"

class CVantrelDoc;

// The schedule's categories of the main list, with the lists of the reference file. The codes
// are what fillers set and what the lists' stored queries are kept with.
namespace ScheduleCategory {
inline constexpr int kNotes = 3;
inline constexpr int kAppointments = 4;
inline constexpr int kReminders = 5;
inline constexpr int kDomesticCodes = 10;
inline constexpr int kInternationalCodes = 11;
inline constexpr int kPhoneNumbers = 12;
} // namespace ScheduleCategory

// The schedule's record dialogs.
namespace ScheduleDialog {
inline constexpr RecordDialog kNote = "note"; // CNotepaperDlg
// Adds in CAppointDlg; a modify runs the main frame's appointments command (1246).
inline constexpr RecordDialog kAppointment = "appointment";
inline constexpr RecordDialog kReminder = "reminder"; // CNoticeDlg
} // namespace ScheduleDialog

// Tells the document what the main list does with notes, appointments and reminders (their
// text shown below) and with the reference file's lists (nothing: they are no records).
void RegisterScheduleCategories(CVantrelDoc& doc);
