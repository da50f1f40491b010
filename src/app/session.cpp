#include "app/session.h"

#include "app/powertable.h"
#include "data/adorecordset.h"
#include "kit/messages.h"

using namespace Qt::StringLiterals;

bool CSession::IsAdministrator() const
{
    return m_strUser == QString::fromUtf16(kAdministratorName);
}

bool CSession::LoadPermissions(CADODatabase* database)
{
    if (IsAdministrator()) {
        m_rights.SetAll(true);
        return true;
    }
    CADORecordset power(database);
    if (!power.Open(PowerQueryFor(m_strUser)))
        return true; // no rights are granted
    // The signed-in name is a row's own spelling: the flags are that row's, never those of a
    // name that differs only in letter case.
    if (!MoveToUser(power, m_strUser, true)) {
        Warn(nullptr, u"未找到指定的用户名！"_s);
        return false;
    }
    for (const RightInfo& info : kRights) {
        int value = 0;
        power.GetFieldInt(QLatin1StringView(info.column), value);
        m_rights.Set(info.right, value != 0);
    }
    return true;
}
