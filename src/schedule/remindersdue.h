#pragma once

#include "kit/clock.h"

#include <QDateTime>
#include <QString>

#include <map>
#include <set>
#include <tuple>
#include <vector>

class CADODatabase;

// Something the running program reminds of now.
struct DueEntry
{
    enum Kind { Reminder, Appointment };
    Kind kind = Reminder;
    int no = 0; // the record's number in notice or appoint
    // A reminder's window; an appointment's time is both.
    QDateTime start;
    QDateTime end;
    QString content;
    // Appointments: where, and the contact's name ("" when the contact is gone).
    QString place;
    QString contact;
    // Not on show after the check before.
    bool fresh = false;
};

// Which reminders and appointments are due, and what the user did with them in this run. Due
// are the reminders whose window holds the moment (start and end included; a window that ends
// before it starts never does) and the appointments flagged 定时提醒 from kAppointmentLead
// before their time until that time has passed. Once the user has acknowledged an entry
// ("知道了") it is not due again in this run; a snoozed one ("稍后提醒") not before
// kSnooze has passed. An entry is the record with its times: a reminder moved to another window
// is due anew. "Now" is the clock it is given.
class CRemindersDue
{
public:
    static constexpr qint64 kAppointmentLead = 15 * 60; // seconds
    static constexpr qint64 kSnooze = 10 * 60;          // seconds

    CRemindersDue(CADODatabase* database, const CClock& clock);

    // What is due now and not put away, reminders first, each kind by time; entries not shown
    // by the check before are marked fresh. The data file is asked only for the rows whose
    // times can be due.
    std::vector<DueEntry> Check();

    void Acknowledge(const DueEntry& entry);
    void Snooze(const DueEntry& entry);

private:
    using Key = std::tuple<int, int, QDateTime, QDateTime>;
    static Key KeyOf(const DueEntry& entry);
    bool PutAway(const Key& key, const QDateTime& now);
    void ReadReminders(const QDateTime& now, std::vector<DueEntry>& due) const;
    void ReadAppointments(const QDateTime& now, std::vector<DueEntry>& due) const;

    CADODatabase* m_db;
    CClock m_clock;
    std::set<Key> m_acknowledged;
    std::map<Key, QDateTime> m_snoozedUntil;
    std::set<Key> m_shown;
};
