#include "kit/dialogbuttons.h"

#include <QDialog>
#include <QPushButton>

using namespace Qt::StringLiterals;

QPushButton* NewDialogButton(const QString& text, const QString& objectName, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QDialogButtonBox* NewDialogButtonBox(QDialog* dialog, QDialogButtonBox::StandardButtons buttons)
{
    auto* box = new QDialogButtonBox(buttons, dialog);
    box->setObjectName(u"buttons"_s);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}
