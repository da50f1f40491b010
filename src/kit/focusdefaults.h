#pragma once

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <map>

class QPushButton;
class QWidget;

// A dialog of several groups, each with a button of its own: while a control of a group has the
// focus, the group's button is the dialog's default (the one the Enter key presses).
class CFocusDefaults : public QObject
{
    Q_OBJECT
public:
    explicit CFocusDefaults(QWidget* dialog);
    ~CFocusDefaults() override;

    // `control` and the widgets inside it belong to the group of `button`.
    void Add(const QWidget* control, QPushButton* button);

private:
    void OnFocusChanged(QWidget* now);

    QWidget* m_dialog;
    std::map<const QWidget*, QPointer<QPushButton>> m_buttons;
    QMetaObject::Connection m_watch;
};
