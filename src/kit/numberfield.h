#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// The edits that hold a floating-point number (数量, 金额, the query's values). The number is
// always written and read with a decimal point, whatever the user's locale.

// The text an edit shows for a number: the shortest that reads back exactly, never in
// exponent form ("0", "12.5", "1000000").
QString NumberEditText(double value);

// Reads the number in the edit: blanks around it are ignored and an empty edit reads as 0.
// Text that is no number is refused with "<name>必须填写数字！" over `dialog`; the edit then takes
// the focus with its text selected, and the caller goes no further.
bool ReadNumberField(QWidget* dialog, QLineEdit* edit, const QString& name, double& value);
