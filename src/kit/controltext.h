#pragma once

#include <QString>

class QWidget;

// The text of an edit control, whichever kind it is: a line edit, an editable combo box (its
// edit text) or a multi-line edit. Other widgets have none.
QString ControlText(const QWidget* control);
void SetControlText(QWidget* control, const QString& text);
