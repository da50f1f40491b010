#pragma once

#include <functional>

// Where a feature hangs the handlers of its menu commands (CommandId). The registry tests the
// signed-in user's permission before a handler runs; a command without a handler is offered
// disabled.
class ICommandRegistry
{
public:
    using Handler = std::function<void()>;

    virtual void SetHandler(int id, Handler handler) = 0;
    virtual bool HasHandler(int id) const = 0;
    // Runs the command, permission test first, once the current event has been handled.
    virtual void PostCommand(int id) = 0;
    // Runs `action` in the handler's place, after the command's permission test, once the
    // current event has been handled: the command reached with an argument of its own (a
    // reminder opens 约会记录 at its appointment).
    virtual void PostCommandWith(int id, Handler action) = 0;

protected:
    ~ICommandRegistry() = default;
};
