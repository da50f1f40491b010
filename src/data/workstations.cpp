#include "data/workstations.h"

#include "data/postgres/pgconnection.h"
#include "data/postgres/pgworkstations.h"

using namespace Qt::StringLiterals;

namespace vantrel::db {

std::unique_ptr<Workstations> JoinWorkstations(const std::shared_ptr<Connection>& connection,
                                               QString* error)
{
    auto server = std::dynamic_pointer_cast<postgres::PgConnection>(connection);
    if (!server) {
        if (error)
            *error = u"数据保存在数据文件中"_s;
        return nullptr;
    }
    if (!server->HoldWorkstationLock()) {
        if (error)
            *error = server->LastError().kind == ErrorKind::Busy
                         ? u"另一个工作站正在独占使用数据库，请稍后再试！"_s
                         : server->LastError().message;
        return nullptr;
    }
    return std::make_unique<postgres::PgWorkstations>(std::move(server));
}

QString OtherWorkstationsText(int others, const QString& what)
{
    if (others == 0) // one that let go, or was still waiting, as the count was taken
        return u"其他工作站正在使用数据库，无法%1！"_s.arg(what);
    if (others < 0)
        return u"无法确定其他工作站是否正在使用数据库，无法%1！"_s.arg(what);
    return u"另有 %1 个工作站正在使用数据库，无法%2！"_s.arg(others).arg(what);
}

} // namespace vantrel::db
