#include "support/unprivileged.h"

#include <QFile>

#include <gtest/gtest.h>

#include <grp.h>
#include <unistd.h>

namespace {
// The id of the user "nobody" on most systems; no entry in /etc/passwd is needed.
constexpr uid_t kNobody = 65534;
} // namespace

UnprivilegedScope::UnprivilegedScope()
{
    if (::geteuid() != 0) {
        m_ok = true;
        return;
    }
    const int count = ::getgroups(0, nullptr);
    m_groups.resize(count > 0 ? size_t(count) : 0);
    if (count > 0)
        ::getgroups(count, m_groups.data());
    // Any step taken is undone by the destructor, also when a later one fails.
    m_dropped = true;
    m_ok = ::setgroups(0, nullptr) == 0 && ::setresgid(kNobody, kNobody, 0) == 0 &&
           ::setresuid(kNobody, kNobody, 0) == 0 && ::geteuid() == kNobody;
    EXPECT_TRUE(m_ok) << "cannot act as an unprivileged user";
}

UnprivilegedScope::~UnprivilegedScope()
{
    if (!m_dropped)
        return;
    // The saved id is still the superuser's: taking it back needs no privilege.
    const bool back = ::setresuid(0, 0, 0) == 0 && ::setresgid(0, 0, 0) == 0 &&
                      ::setgroups(m_groups.size(), m_groups.data()) == 0;
    if (!back)
        ADD_FAILURE() << "cannot return to the superuser";
}

void UnprivilegedScope::OpenToOthers(const QString& folder)
{
    QFile::setPermissions(folder, QFile::permissions(folder) | QFile::ReadOther | QFile::ExeOther |
                                      QFile::ReadGroup | QFile::ExeGroup);
}
