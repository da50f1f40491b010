#pragma once

#include <QString>

// Which programs have a data file open. Every program that works on the file holds a shared
// lock on the companion file "<data file>-users" for its whole run; a program may rewrite the
// data file (compaction) only while it holds the exclusive lock, that is while no other
// program, on this machine or on another workstation sharing the folder, has the file open.
// The locks belong to the open file, so they end with the program however it ends, and two
// objects in one program exclude each other just as two programs do.
class DataFileUsers
{
public:
    enum class State { None, Shared, Exclusive };

    explicit DataFileUsers(const QString& dataFile);
    ~DataFileUsers();
    DataFileUsers(const DataFileUsers&) = delete;
    DataFileUsers& operator=(const DataFileUsers&) = delete;

    static QString LockPathFor(const QString& dataFile);

    // Does not wait: false while any other user holds a lock on the file.
    bool TryLockExclusive();
    // Registers this program as a user. Waits while another program holds the exclusive lock
    // (its compaction, a matter of moments). An exclusive lock is turned into a shared one
    // without letting go in between.
    bool LockShared();
    void Unlock();

    State CurrentState() const { return m_state; }
    QString LockPath() const { return m_lockPath; }

private:
    bool OpenLockFile(bool forWriting);
    bool SetLock(short type, bool wait);

    QString m_lockPath;
    int m_fd = -1;
    bool m_writable = false;
    State m_state = State::None;
};
