#include "app/mainwindowfactory.h"

#include "app/mainframe.h"
#include "app/vantrelapp.h"

using namespace Qt::StringLiterals;

QString MainWindowCaption(const QString& user)
{
    return u"Vantrel    当前用户：%1"_s.arg(user);
}

std::unique_ptr<QWidget> CreateMainWindow(CVantrelApp& app)
{
    return std::make_unique<CMainFrame>(app);
}

void ShowMainWindow(QWidget& window)
{
    if (auto* frame = qobject_cast<CMainFrame*>(&window))
        frame->ShowAtSavedPlace();
    else
        window.showMaximized();
}
