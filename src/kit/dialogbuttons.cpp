#include "kit/dialogbuttons.h"

#include <QPushButton>

QPushButton* NewDialogButton(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}
