#include "data/datafileusers.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

DataFileUsers::DataFileUsers(const QString& dataFile) : m_lockPath(LockPathFor(dataFile)) {}

DataFileUsers::~DataFileUsers()
{
    Unlock();
}

QString DataFileUsers::LockPathFor(const QString& dataFile)
{
    // Every program names the same lock for one file, however it reached the file (a link,
    // a relative path).
    const QString canonical = QFileInfo(dataFile).canonicalFilePath();
    return (canonical.isEmpty() ? dataFile : canonical) + u"-users"_s;
}

bool DataFileUsers::OpenLockFile(bool forWriting)
{
    const QByteArray path = QFile::encodeName(m_lockPath);
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    m_writable = fd >= 0;
    if (fd < 0 && !forWriting) {
        // A folder the user may only read: a shared lock needs only read access.
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    }
    m_fd = fd;
    return fd >= 0;
}

bool DataFileUsers::SetLock(short type, bool wait)
{
    struct flock lock = {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0; // the whole file
    lock.l_pid = 0;
    int result;
    do {
        result = ::fcntl(m_fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock);
    } while (result < 0 && errno == EINTR);
    return result == 0;
}

bool DataFileUsers::TryLockExclusive()
{
    if (m_state == State::Exclusive)
        return true;
    if (m_state == State::None && !OpenLockFile(true)) {
        Unlock();
        return false;
    }
    if (!m_writable || !SetLock(F_WRLCK, false)) {
        if (m_state == State::None)
            Unlock();
        return false;
    }
    m_state = State::Exclusive;
    return true;
}

bool DataFileUsers::LockShared()
{
    if (m_state == State::Shared)
        return true;
    if (m_state == State::None && !OpenLockFile(false)) {
        Unlock();
        return false;
    }
    if (!SetLock(F_RDLCK, true)) {
        if (m_state == State::None)
            Unlock();
        return false;
    }
    m_state = State::Shared;
    return true;
}

void DataFileUsers::Unlock()
{
    if (m_fd >= 0)
        ::close(m_fd); // ends every lock held through this descriptor
    m_fd = -1;
    m_writable = false;
    m_state = State::None;
}
