#include "kit/datepicker.h"

#include <QDateTimeEdit>
#include <QLineEdit>
#include <QMouseEvent>

using namespace Qt::StringLiterals;

namespace {

// Selects the section under the caret when a plain click (no text dragged over) has placed it.
class CSectionClickSelector : public QObject
{
public:
    CSectionClickSelector(QDateTimeEdit* picker, QLineEdit* edit)
        : QObject(picker), m_picker(picker), m_edit(edit)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_edit || event->type() != QEvent::MouseButtonRelease ||
            static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return QObject::eventFilter(watched, event);
        // The field finishes the click first: a click into the section already selected drops
        // that selection on release, and the section is to be selected again after it.
        static_cast<QObject*>(m_edit)->event(event);
        if (!m_edit->hasSelectedText() && m_picker->currentSection() != QDateTimeEdit::NoSection)
            m_picker->setSelectedSection(m_picker->currentSection());
        return true;
    }

private:
    QDateTimeEdit* m_picker;
    QLineEdit* m_edit;
};

} // namespace

void AllowSectionTyping(QDateTimeEdit* picker)
{
    // The text field is the spin box's own child; it gets the clicks.
    auto* edit = picker ? picker->findChild<QLineEdit*>() : nullptr;
    if (edit)
        edit->installEventFilter(new CSectionClickSelector(picker, edit));
}

QDateTimeEdit* NewDatePicker(const QString& objectName, QWidget* parent)
{
    auto* picker = new QDateTimeEdit(parent);
    picker->setObjectName(objectName);
    picker->setDisplayFormat(u"yyyy-MM-dd"_s);
    picker->setCalendarPopup(true);
    picker->setMinimumDate(QDate(1900, 1, 1));
    picker->setMaximumDate(QDate(9999, 12, 31));
    AllowSectionTyping(picker);
    return picker;
}

QDateTimeEdit* NewTimePicker(const QString& objectName, QWidget* parent)
{
    auto* picker = new QDateTimeEdit(parent);
    picker->setObjectName(objectName);
    picker->setDisplayFormat(u"H:mm:ss"_s);
    AllowSectionTyping(picker);
    return picker;
}
