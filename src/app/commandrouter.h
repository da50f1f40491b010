#pragma once

#include "app/commandtable.h"
#include "kit/commandregistry.h"

#include <QObject>

#include <functional>
#include <map>

class CVantrelApp;
class QWidget;

// Runs the commands of the main window: tests the signed-in user's permission for the
// command, refuses with "您还没有这个权限！" under "无权限", or runs the command's handler.
// Features register their handlers; a command without one is not available yet.
class CCommandRouter : public QObject, public ICommandRegistry
{
    Q_OBJECT
public:
    CCommandRouter(CVantrelApp& app, QWidget* window);

    // An empty handler takes the command's away: it is not available any more.
    void SetHandler(int id, Handler handler) override;
    bool HasHandler(int id) const override;
    void PostCommand(int id) override;
    void PostCommandWith(int id, Handler action) override;

    // Whether the signed-in user may run the command; reads nothing from the database.
    bool Permitted(const CommandInfo& command) const;
    // Tests the permission, then runs the handler. Returns whether the handler ran.
    bool Run(int id);
    // Tests the command's permission, then runs `action`. Returns whether it ran.
    bool RunWith(int id, const Handler& action);
    // The navigation bar's message: the command runs after the current event is handled.
    void Post(int message);

Q_SIGNALS:
    void HandlersChanged();

private:
    CVantrelApp& m_app;
    QWidget* m_window;
    std::map<int, Handler> m_handlers;
};
