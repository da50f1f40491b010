// killworker <work> <data file> [...]: does one kind of work on a data file over and over until
// it is killed, and tells each finished piece on stdout the moment it is done.
//   save <file>              adds clients; "saved <no>" once a client is in the file
//   backup <file> <folder>   writes backups, each a second later than the one before, and
//                            keeps the newest three; "backed up"
//   compact <file>           compacts the file; "compacted"
//   restore <file> <backup>  puts the backup in the file's place; "restored"
// "ready" comes first, once the work can begin. A piece of work that fails is told as
// "failed <reason>" and the work goes on; only a worker that cannot begin at all ends.
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/backup.h"
#include "data/compaction.h"
#include "data/datafileusers.h"
#include "data/recordnumber.h"
#include "support/workermain.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QThread>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void Tell(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

int GiveUp(const QString& reason)
{
    std::fprintf(stderr, "%s\n", qPrintable(reason));
    return 1;
}

// Work that cannot go on this moment (another program has the file) waits a little.
void Pause()
{
    QThread::msleep(2);
}

int Save(const QString& dataFile)
{
    // Registered as a user of the file for the whole run, as the program is.
    DataFileUsers users(dataFile);
    if (!users.LockShared())
        return GiveUp(u"cannot register as a user of %1"_s.arg(dataFile));
    CADODatabase db;
    if (!OpenDataFile(db, dataFile, 30))
        return 1;
    CADORecordset rs(&db);
    // Enough text per client that the file grows by pages, not by bytes.
    const QString survey(300, u'述');
    Tell(u"ready"_s);
    for (;;) {
        const TakenNumber taken = TakeRecordNumber(rs, RecordKind::Client);
        if (!taken.Ok())
            return GiveUp(taken.failure + u": "_s + db.GetLastError());
        const bool saved = rs.Open(u"SELECT * FROM client WHERE no = %1"_s.arg(taken.number)) &&
                           rs.AddNew() && rs.SetFieldInt(u"no"_s, taken.number) &&
                           rs.SetFieldText(u"name"_s, u"row-%1"_s.arg(taken.number)) &&
                           rs.SetFieldText(u"survey"_s, survey) && rs.Update();
        if (!saved)
            return GiveUp(rs.GetLastError());
        rs.Close();
        Tell(u"saved %1"_s.arg(taken.number));
    }
}

int Backup(const QString& dataFile, const QString& folder)
{
    // Later than every backup there is, as the clock would be at the next start.
    QDateTime when = QDateTime::currentDateTime();
    when.setTime(QTime(when.time().hour(), when.time().minute(), when.time().second()));
    const QDateTime last = LastBackupTime(folder, dataFile);
    if (last.isValid() && last >= when)
        when = last.addSecs(1);
    Tell(u"ready"_s);
    for (;; when = when.addSecs(1)) {
        QString error;
        if (!BackupDataFile(dataFile, folder, when, nullptr, &error)) {
            Tell(u"failed "_s + error);
            Pause();
            continue;
        }
        PruneBackups(folder, dataFile, 3);
        Tell(u"backed up"_s);
    }
}

int Compact(const QString& dataFile)
{
    Tell(u"ready"_s);
    for (;;) {
        DataFileUsers users(dataFile);
        QString error;
        switch (CompactDataFile(dataFile, users, &error)) {
        case CompactionResult::Compacted:
            Tell(u"compacted"_s);
            break;
        case CompactionResult::InUse:
            Pause();
            break;
        case CompactionResult::Failed:
            Tell(u"failed "_s + error);
            Pause();
            break;
        }
    }
}

int Restore(const QString& dataFile, const QString& backup)
{
    Tell(u"ready"_s);
    for (;;) {
        DataFileUsers users(dataFile);
        QString error;
        // One kept file, made again by each restore: the test looks for it under this name.
        const QString kept = dataFile + u"-kept.db"_s;
        QFile::remove(kept);
        switch (RestoreDataFile(backup, dataFile, users, kept, &error)) {
        case RestoreResult::Restored:
            Tell(u"restored"_s);
            break;
        case RestoreResult::InUse:
            Pause();
            break;
        case RestoreResult::Failed:
            Tell(u"failed "_s + error);
            Pause();
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString work = arguments.value(1);
    if (work == u"save"_s && arguments.size() == 3)
        return Save(arguments.at(2));
    if (work == u"backup"_s && arguments.size() == 4)
        return Backup(arguments.at(2), arguments.at(3));
    if (work == u"compact"_s && arguments.size() == 3)
        return Compact(arguments.at(2));
    if (work == u"restore"_s && arguments.size() == 4)
        return Restore(arguments.at(2), arguments.at(3));
    return GiveUp(u"usage: killworker save|backup|compact|restore <data file> [folder|backup]"_s);
}
