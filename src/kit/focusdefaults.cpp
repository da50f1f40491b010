#include "kit/focusdefaults.h"

#include <QApplication>
#include <QPushButton>

CFocusDefaults::CFocusDefaults(QWidget* dialog) : QObject(dialog), m_dialog(dialog)
{
    m_watch = connect(qApp, &QApplication::focusChanged, this,
                      [this](QWidget*, QWidget* now) { OnFocusChanged(now); });
}

CFocusDefaults::~CFocusDefaults()
{
    disconnect(m_watch);
}

void CFocusDefaults::Add(const QWidget* control, QPushButton* button)
{
    m_buttons[control] = button;
}

void CFocusDefaults::OnFocusChanged(QWidget* now)
{
    for (const QWidget* widget = now; widget && widget != m_dialog;
         widget = widget->parentWidget()) {
        const auto it = m_buttons.find(widget);
        if (it == m_buttons.end())
            continue;
        // One default at a time: the dialog takes it from every other button.
        if (it->second)
            it->second->setDefault(true);
        return;
    }
}
