#pragma once

#include "data/workstations.h"

#include <memory>

namespace vantrel::postgres {

class PgConnection;

// The workstation lock of one connection (PgConnection::HoldWorkstationLock), counted from
// pg_locks among the sessions of the same database.
class PgWorkstations final : public db::Workstations
{
public:
    explicit PgWorkstations(std::shared_ptr<PgConnection> connection);
    ~PgWorkstations() override;
    PgWorkstations(const PgWorkstations&) = delete;
    PgWorkstations& operator=(const PgWorkstations&) = delete;

    int OtherWorkstations() override;
    bool TryExclusive() override;
    void ReleaseExclusive() override;

private:
    std::shared_ptr<PgConnection> m_connection;
    bool m_exclusive = false;
};

} // namespace vantrel::postgres
