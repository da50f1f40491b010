#pragma once

#include <QString>

class QDateTimeEdit;
class QWidget;

// A date picker as the record dialogs use it: the day shown as "2024-03-05" with a calendar to
// drop down; it keeps the time of day it was given, which the dialogs read where they need it.
QDateTimeEdit* NewDatePicker(const QString& objectName, QWidget* parent);
// A time picker as the record dialogs use it: the time of day shown as "9:05:00".
QDateTimeEdit* NewTimePicker(const QString& objectName, QWidget* parent);

// A click into a section of the picker (the year, the month, the hour…) selects that section,
// so the digits typed next replace it, as users expect of a date field. Without this a click
// only places the caret, and a digit typed into a full section is refused. The pickers above
// have it already.
void AllowSectionTyping(QDateTimeEdit* picker);
