#pragma once

#include <QString>

#include <memory>

namespace vantrel::db {

class Connection;

// The programs at work on a server's data. Each running program holds a shared lock on the
// server for as long as its connection lives, taken again with every new session of it; work
// that needs the data to itself (a restore, an upgrade) takes the lock exclusively, which no
// other program then holds. A program that ends, however it ends, lets go with its session.
// On a data file DataFileUsers does the same with a lock on a file beside it.
class Workstations
{
public:
    virtual ~Workstations() = default;

    // The other programs that hold the lock, this one not counted; -1 when the server cannot
    // say.
    virtual int OtherWorkstations() = 0;
    // Does not wait: false while any other program holds the lock.
    virtual bool TryExclusive() = 0;
    // Back to the shared lock alone.
    virtual void ReleaseExclusive() = 0;
};

// Makes the connection its program's place among the workstations, taking the shared lock
// (which waits, as long as the connection waits for a lock, while another program has the
// data to itself). Null for a connection to a data file, or when the lock is not given, with
// the reason in `error`.
std::unique_ptr<Workstations> JoinWorkstations(const std::shared_ptr<Connection>& connection,
                                               QString* error = nullptr);

// "另有 2 个工作站正在使用数据库，无法恢复！": why work that needs the data to itself is
// refused, `what` naming it ("恢复", "升级").
QString OtherWorkstationsText(int others, const QString& what);

} // namespace vantrel::db
