#pragma once

#include "data/rights.h"

#include <QString>

class CADODatabase;

// Who is signed in and what they may do.
class CSession
{
public:
    // The signed-in name as its row in table `power` spells it; empty before sign-in.
    QString User() const { return m_strUser; }
    void SetUser(const QString& user) { m_strUser = user; }
    // The administrator holds every right, whatever table `power` says.
    bool IsAdministrator() const;

    // The signed-in user's rights, as LoadPermissions read them from table `power`.
    const CRights& Rights() const { return m_rights; }
    CRights& Rights() { return m_rights; }

    // Reads the signed-in user's rights. False, said, when the user has no row; an unreadable
    // table grants nothing and lets start-up go on.
    bool LoadPermissions(CADODatabase* database);

private:
    QString m_strUser;
    CRights m_rights;
};
