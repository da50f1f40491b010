#include "app/commandrouter.h"

#include "app/vantrelapp.h"
#include "kit/messages.h"

#include <QWidget>

using namespace Qt::StringLiterals;

CCommandRouter::CCommandRouter(CVantrelApp& app, QWidget* window)
    : QObject(window), m_app(app), m_window(window)
{
}

void CCommandRouter::SetHandler(int id, Handler handler)
{
    m_handlers[id] = std::move(handler);
    Q_EMIT HandlersChanged();
}

bool CCommandRouter::HasHandler(int id) const
{
    const auto handler = m_handlers.find(id);
    return handler != m_handlers.end() && handler->second;
}

bool CCommandRouter::Permitted(const CommandInfo& command) const
{
    switch (command.rule) {
    case PermissionRule::None:
        return true;
    case PermissionRule::Administrator:
        return m_app.Session().IsAdministrator();
    case PermissionRule::Flag:
        return m_app.Session().Rights().Has(command.right);
    }
    return false;
}

bool CCommandRouter::Run(int id)
{
    const auto handler = m_handlers.find(id);
    // A copy: the handler may replace itself while it runs.
    const Handler run = handler != m_handlers.end() ? handler->second : Handler();
    return RunWith(id, run);
}

bool CCommandRouter::RunWith(int id, const Handler& action)
{
    const CommandInfo* command = CommandById(id);
    if (!command)
        return false;
    if (!Permitted(*command)) {
        Warn(m_window, u"您还没有这个权限！"_s, u"无权限"_s);
        return false;
    }
    if (!action)
        return false;
    action();
    return true;
}

void CCommandRouter::Post(int message)
{
    const CommandInfo* command = CommandByMessage(message);
    if (!command)
        return;
    PostCommand(command->id);
}

void CCommandRouter::PostCommand(int id)
{
    QMetaObject::invokeMethod(
        this, [this, id] { Run(id); }, Qt::QueuedConnection);
}

void CCommandRouter::PostCommandWith(int id, Handler action)
{
    QMetaObject::invokeMethod(
        this, [this, id, action = std::move(action)] { RunWith(id, action); },
        Qt::QueuedConnection);
}
