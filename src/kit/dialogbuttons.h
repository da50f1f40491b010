#pragma once

#include <QString>

class QPushButton;
class QWidget;

// A dialog's command button, named so that tests and accessibility tools find it. It never
// becomes the default by taking the focus: Enter in an edit box presses only the button the
// dialog marks as its default, if any.
QPushButton* NewDialogButton(const QString& text, const QString& objectName, QWidget* parent);
