#include "kit/datepicker.h"

#include <QDateTimeEdit>

using namespace Qt::StringLiterals;

QDateTimeEdit* NewDatePicker(const QString& objectName, QWidget* parent)
{
    auto* picker = new QDateTimeEdit(parent);
    picker->setObjectName(objectName);
    picker->setDisplayFormat(u"yyyy-MM-dd"_s);
    picker->setCalendarPopup(true);
    picker->setMinimumDate(QDate(1900, 1, 1));
    picker->setMaximumDate(QDate(9999, 12, 31));
    return picker;
}
