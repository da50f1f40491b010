#pragma once

// Keeps the server's passwords as the desktop's keyring would, in a table the test holds.

#include "app/serverkeyring.h"

#include <QHash>
#include <QString>

#include <optional>

class MemoryPasswords final : public IServerPasswords
{
public:
    explicit MemoryPasswords(QHash<QString, QString>& kept) : m_kept(kept) {}
    bool Store(const QString& server, const QString& password) override
    {
        m_kept[server] = password;
        return true;
    }
    std::optional<QString> Read(const QString& server) override
    {
        return m_kept.contains(server) ? std::optional(m_kept[server]) : std::nullopt;
    }
    bool Forget(const QString& server) override { return m_kept.remove(server) > 0; }

private:
    QHash<QString, QString>& m_kept;
};
