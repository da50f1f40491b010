#pragma once

#include <QString>

#include <sys/types.h>
#include <vector>

// While it lives, a process that runs as the superuser, whom file modes do not stop, acts as a
// user without privileges (real and effective ids; the saved id keeps the way back). For any
// other user it changes nothing: modes stop that user already. Folders the scope must reach
// are to be opened to others first (OpenToOthers).
class UnprivilegedScope
{
public:
    UnprivilegedScope();
    ~UnprivilegedScope();
    UnprivilegedScope(const UnprivilegedScope&) = delete;
    UnprivilegedScope& operator=(const UnprivilegedScope&) = delete;

    // Whether the process now runs without privileges.
    bool Ok() const { return m_ok; }

    // Lets every user read and enter the folder (a temporary folder is its owner's alone).
    static void OpenToOthers(const QString& folder);

private:
    bool m_dropped = false;
    bool m_ok = false;
    std::vector<gid_t> m_groups;
};
