#pragma once

#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QPushButton;
class QWidget;

// A dialog's command button, named so that tests and accessibility tools find it. It never
// becomes the default by taking the focus: Enter in an edit box presses only the button the
// dialog marks as its default, if any.
QPushButton* NewDialogButton(const QString& text, const QString& objectName, QWidget* parent);

// A dialog's row of buttons, named "buttons": its accept and reject roles run the dialog's own
// accept() and reject(). Buttons of other texts can be added to it afterwards.
QDialogButtonBox* NewDialogButtonBox(QDialog* dialog, QDialogButtonBox::StandardButtons buttons);
