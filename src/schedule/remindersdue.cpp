#include "schedule/remindersdue.h"

#include "data/adorecordset.h"
#include "data/eachrow.h"
#include "data/sqltext.h"

using namespace Qt::StringLiterals;

namespace {

// Stored times carry whole seconds.
QDateTime ToSecond(const QDateTime& moment)
{
    const QTime time = moment.time();
    return QDateTime(moment.date(), QTime(time.hour(), time.minute(), time.second()));
}

} // namespace

CRemindersDue::CRemindersDue(CADODatabase* database, const CClock& clock)
    : m_db(database), m_clock(clock)
{
}

CRemindersDue::Key CRemindersDue::KeyOf(const DueEntry& entry)
{
    return {int(entry.kind), entry.no, entry.start, entry.end};
}

bool CRemindersDue::PutAway(const Key& key, const QDateTime& now)
{
    if (m_acknowledged.count(key))
        return true;
    const auto snoozed = m_snoozedUntil.find(key);
    if (snoozed == m_snoozedUntil.end())
        return false;
    if (now < snoozed->second)
        return true;
    m_snoozedUntil.erase(snoozed);
    return false;
}

std::vector<DueEntry> CRemindersDue::Check()
{
    const QDateTime now = ToSecond(m_clock.Now());
    std::vector<DueEntry> read;
    if (m_db) {
        ReadReminders(now, read);
        ReadAppointments(now, read);
    }
    std::vector<DueEntry> due;
    std::set<Key> shown;
    for (DueEntry& entry : read) {
        const Key key = KeyOf(entry);
        if (PutAway(key, now))
            continue;
        entry.fresh = m_shown.count(key) == 0;
        shown.insert(key);
        due.push_back(std::move(entry));
    }
    m_shown = std::move(shown);
    return due;
}

void CRemindersDue::Acknowledge(const DueEntry& entry)
{
    const Key key = KeyOf(entry);
    m_acknowledged.insert(key);
    m_snoozedUntil.erase(key);
    m_shown.erase(key);
}

void CRemindersDue::Snooze(const DueEntry& entry)
{
    const Key key = KeyOf(entry);
    m_snoozedUntil[key] = ToSecond(m_clock.Now()).addSecs(kSnooze);
    m_shown.erase(key);
}

void CRemindersDue::ReadReminders(const QDateTime& now, std::vector<DueEntry>& due) const
{
    CADORecordset recordset(m_db);
    const QString moment = SqlDateTime(now);
    const QString sql =
        u"SELECT * FROM notice WHERE [time] <= %1 AND [endtime] >= %1 ORDER BY time"_s.arg(moment);
    if (!recordset.Open(sql))
        return;
    const int no = recordset.GetFieldIndex(u"no"_s);
    const int start = recordset.GetFieldIndex(u"time"_s);
    const int end = recordset.GetFieldIndex(u"endtime"_s);
    const int content = recordset.GetFieldIndex(u"content"_s);
    ForEachRow(recordset, [&] {
        DueEntry entry;
        entry.kind = DueEntry::Reminder;
        recordset.GetFieldInt(no, entry.no);
        recordset.GetFieldDate(start, entry.start);
        recordset.GetFieldDate(end, entry.end);
        recordset.GetFieldText(content, entry.content);
        due.push_back(std::move(entry));
    });
}

void CRemindersDue::ReadAppointments(const QDateTime& now, std::vector<DueEntry>& due) const
{
    CADORecordset recordset(m_db);
    const QString sql =
        u"SELECT * FROM appoint WHERE [time] >= %1 AND [time] <= %2 AND [notice] <> 0 "
        u"ORDER BY time"_s.arg(SqlDateTime(now), SqlDateTime(now.addSecs(kAppointmentLead)));
    if (!recordset.Open(sql))
        return;
    std::vector<int> contacts;
    ForEachRow(recordset, [&] {
        DueEntry entry;
        entry.kind = DueEntry::Appointment;
        recordset.GetFieldInt(u"no"_s, entry.no);
        recordset.GetFieldDate(u"time"_s, entry.start);
        entry.end = entry.start;
        recordset.GetFieldText(u"content"_s, entry.content);
        recordset.GetFieldText(u"place"_s, entry.place);
        int contact = 0;
        recordset.GetFieldInt(u"linkman"_s, contact);
        contacts.push_back(contact);
        due.push_back(std::move(entry));
    });
    // Few appointments are due at once: each contact's name is one small look-up.
    const size_t first = due.size() - contacts.size();
    for (size_t i = 0; i < contacts.size(); ++i) {
        CADORecordset linkman(m_db);
        if (linkman.Open(u"SELECT * FROM linkman WHERE [no] = %1"_s.arg(contacts[i])) &&
            linkman.GetRecordCount() >= 1) {
            linkman.MoveFirst();
            linkman.GetFieldText(u"name"_s, due[first + i].contact);
        }
    }
}
