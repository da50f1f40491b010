#pragma once

#include "schedule/remindersdue.h"
#include "schedule/reminderwindow.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>

class CClock;
class CVantrelDoc;
class ICommandRegistry;
class QSystemTrayIcon;
class QWidget;

// Reminds while the program runs: checks what is due at once when started, every minute,
// whenever asked (after a reminder is saved) and whenever another workstation changed the
// reminders or appointments (each check reads them from the database), and lists it in the reminder
// window (CReminderWindow) — on top, brought up when something new is due, hidden when nothing is.
// Where the desktop has a system tray, each newly due entry also comes as a tray message. "打开"
// opens a reminder in its dialog (ScheduleDialog::kReminder) and an appointment in 约会记录 at that
// appointment, with the permission test of 资料管理 > 约会; either dialog opens over the modal
// dialog that runs, if any.
class CReminderWatch : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCheckInterval = 60 * 1000; // milliseconds

    // `window` is the main window the reminder window belongs to; `clock` says what is due.
    CReminderWatch(CVantrelDoc& doc, ICommandRegistry& commands, const CClock& clock,
                   QWidget* window);
    ~CReminderWatch() override;

    // The first check, and the minute timer.
    void Start();
    // Checks now.
    void Check();

    CReminderWindow* Window() const { return m_window; }
    CRemindersDue& Due() { return m_due; }

private:
    void Open(const DueEntry& entry);
    void Notify(const std::vector<DueEntry>& fresh);
    QWidget* DialogParent() const;

    CVantrelDoc& m_doc;
    ICommandRegistry& m_commands;
    CRemindersDue m_due;
    QPointer<CReminderWindow> m_window;
    QTimer m_timer;
    QSystemTrayIcon* m_tray = nullptr;
};
