#pragma once

#include "kit/appcontext.h"
#include "kit/commandregistry.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

// The menu commands a feature registers, run at once and without a permission test, as the
// main frame runs them for a user who holds every permission.
class FeatureCommands : public ICommandRegistry
{
public:
    void SetHandler(int id, Handler handler) override { m_handlers[id] = std::move(handler); }
    bool HasHandler(int id) const override { return m_handlers.count(id) > 0; }
    void PostCommand(int id) override { Run(id); }
    // Runs `action` for the command; the command needs no handler of its own here.
    void PostCommandWith(int id, Handler action) override
    {
        m_postedWith.push_back(id);
        action();
    }
    // The commands PostCommandWith ran for, in order.
    const std::vector<int>& PostedWith() const { return m_postedWith; }

    // Runs the command's handler; a command without one fails the test.
    void Run(int id)
    {
        const auto it = m_handlers.find(id);
        ASSERT_NE(it, m_handlers.end()) << "no handler for command " << id;
        it->second();
    }

private:
    std::map<int, Handler> m_handlers;
    std::vector<int> m_postedWith;
};
