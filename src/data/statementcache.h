#pragma once

#include "data/dbstatement.h"

#include <QHash>
#include <QString>

#include <memory>

namespace vantrel::db {

// The prepared statements a connection keeps by their text, so that a statement run again
// is not prepared again; the least recently used one goes when the cache is full.
class StatementCache
{
public:
    // The kept statement of the text, reset and unbound; null when none is kept.
    Statement* Find(const QString& sql)
    {
        const auto found = m_statements.find(sql);
        if (found == m_statements.end())
            return nullptr;
        found->lastUse = ++m_uses;
        found->statement->Reset();
        return found->statement.get();
    }

    // Keeps a statement just prepared for the text, and returns it.
    Statement* Keep(const QString& sql, std::shared_ptr<Statement> statement)
    {
        if (m_statements.size() >= kCapacity) {
            auto oldest = m_statements.begin();
            for (auto it = m_statements.begin(); it != m_statements.end(); ++it)
                if (it->lastUse < oldest->lastUse)
                    oldest = it;
            m_statements.erase(oldest);
        }
        Statement* kept = statement.get();
        m_statements.insert(sql, Cached{std::move(statement), ++m_uses});
        return kept;
    }

    // Takes the kept statement of the text out of the cache, to be kept again when it is given
    // back; null when none is kept.
    std::shared_ptr<Statement> Take(const QString& sql)
    {
        const auto found = m_statements.find(sql);
        if (found == m_statements.end())
            return nullptr;
        std::shared_ptr<Statement> taken = std::move(found->statement);
        m_statements.erase(found);
        taken->Reset();
        return taken;
    }

    // Keeps a statement given back, unless one of the same text was kept meanwhile.
    void GiveBack(const QString& sql, std::shared_ptr<Statement> statement)
    {
        if (!m_statements.contains(sql))
            Keep(sql, std::move(statement));
    }

    // Lets go of every statement (before the connection they belong to closes).
    void Clear() { m_statements.clear(); }

private:
    static constexpr qsizetype kCapacity = 48;

    struct Cached
    {
        std::shared_ptr<Statement> statement; // QHash copies its values
        quint64 lastUse = 0;
    };

    QHash<QString, Cached> m_statements;
    quint64 m_uses = 0;
};

} // namespace vantrel::db
