#include "schedule/reminderwatch.h"

#include "data/adorecordset.h"
#include "data/formats.h"
#include "kit/appicons.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/messages.h"
#include "schedule/reminderwindow.h"
#include "schedule/schedulerecords.h"
#include "views/categoryregistry.h"
#include "views/recorddialogs.h"
#include "views/recordfields.h"
#include "views/vantreldoc.h"

#include <QApplication>
#include <QSystemTrayIcon>

using namespace Qt::StringLiterals;

CReminderWatch::CReminderWatch(CVantrelDoc& doc, ICommandRegistry& commands, const CClock& clock,
                               QWidget* window)
    : QObject(window), m_doc(doc), m_commands(commands), m_due(doc.Database(), clock),
      m_window(new CReminderWindow(window))
{
    m_timer.setInterval(kCheckInterval);
    connect(&m_timer, &QTimer::timeout, this, &CReminderWatch::Check);
    connect(m_window, &CReminderWindow::Acknowledged, this, [this](const DueEntry& entry) {
        m_due.Acknowledge(entry);
        Check();
    });
    connect(m_window, &CReminderWindow::Snoozed, this, [this](const DueEntry& entry) {
        m_due.Snooze(entry);
        Check();
    });
    connect(m_window, &CReminderWindow::Dismissed, this,
            [this](const std::vector<DueEntry>& entries) {
                for (const DueEntry& entry : entries)
                    m_due.Snooze(entry);
            });
    connect(m_window, &CReminderWindow::OpenRequested, this,
            [this](const DueEntry& entry) { Open(entry); });
    // Reminders and appointments are one set for every workstation: one another workstation
    // enters that is due already shows now, not at the next minute.
    connect(&doc, &CVantrelDoc::TableChanged, this, [this](const QString& table) {
        if (table.compare(u"notice"_s, Qt::CaseInsensitive) == 0 ||
            table.compare(u"appoint"_s, Qt::CaseInsensitive) == 0)
            Check();
    });
}

CReminderWatch::~CReminderWatch() = default;

void CReminderWatch::Start()
{
    Check();
    m_timer.start();
}

void CReminderWatch::Check()
{
    if (!m_window)
        return;
    std::vector<DueEntry> due = m_due.Check();
    std::vector<DueEntry> fresh;
    for (const DueEntry& entry : due)
        if (entry.fresh)
            fresh.push_back(entry);
    m_window->SetEntries(std::move(due));
    if (m_window->Entries().empty()) {
        m_window->hide();
        return;
    }
    if (!fresh.empty()) {
        m_window->ShowNotice();
        Notify(fresh);
    }
}

void CReminderWatch::Notify(const std::vector<DueEntry>& fresh)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(NavigationIcon(kIconReminder), this);
        m_tray->setToolTip(u"提醒"_s);
        connect(m_tray, &QSystemTrayIcon::messageClicked, this, [this] {
            if (m_window) {
                m_window->ShowNotice();
                m_window->activateWindow();
            }
        });
        m_tray->show();
    }
    QStringList lines;
    for (const DueEntry& entry : fresh) {
        const QStringList texts = CReminderWindow::LineTexts(entry);
        lines << texts.at(1) + u"  "_s + texts.at(2);
    }
    m_tray->showMessage(u"提醒"_s, lines.join(u'\n'), QSystemTrayIcon::Information);
}

void CReminderWatch::Open(const DueEntry& entry)
{
    // Opening it is acting on it; a reminder given another window is due anew.
    m_due.Acknowledge(entry);
    Check();
    if (entry.kind == DueEntry::Appointment) {
        // 资料管理 > 约会 with its permission test, at this appointment.
        const QPointer<CReminderWatch> guarded(this);
        const int no = entry.no;
        m_commands.PostCommandWith(ID_MANAGE_APPOINT, [guarded, no] {
            if (!guarded)
                return;
            CRecordRequest request;
            request.dialog = ScheduleDialog::kAppointment;
            request.modify = true;
            request.no = no;
            guarded->m_doc.Dialogs().Open(request, guarded->DialogParent());
        });
        return;
    }
    // Read as the reminder list reads a reminder to modify.
    const CategoryInfo* reminders = m_doc.Categories().Find(ScheduleCategory::kReminders);
    if (!reminders)
        return;
    CRecordRequest request;
    {
        CADORecordset recordset(m_doc.Database());
        if (!OpenFirstRow(recordset, QString::fromUtf16(reminders->recordSql).arg(entry.no))) {
            Warn(m_window, u"找不到此数据！"_s);
            return;
        }
        request.fields = ReadFields(recordset, reminders->fields);
    }
    request.dialog = ScheduleDialog::kReminder;
    request.modify = true;
    request.no = entry.no;
    m_doc.Dialogs().Open(request, DialogParent());
}

QWidget* CReminderWatch::DialogParent() const
{
    // Not the reminder window: it may have nothing left to show.
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return m_window ? m_window->parentWidget() : nullptr;
}
