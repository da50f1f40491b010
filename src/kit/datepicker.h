#pragma once

#include <QString>

class QDateTimeEdit;
class QWidget;

// A date picker as the record dialogs use it: the day shown as "2024-03-05" with a calendar to
// drop down; it keeps the time of day it was given, which the dialogs read where they need it.
QDateTimeEdit* NewDatePicker(const QString& objectName, QWidget* parent);
