#include "app/mainwindowfactory.h"

#include "app/vantrelapp.h"

#include <QMainWindow>

using namespace Qt::StringLiterals;

QString MainWindowCaption(const QString& user)
{
    return u"Vantrel    当前用户：%1"_s.arg(user);
}

std::unique_ptr<QWidget> CreateMainWindow(CVantrelApp& app)
{
    // The frame with its navigation bar and record views takes this window's place.
    auto window = std::make_unique<QMainWindow>();
    window->setObjectName(u"MainFrame"_s);
    window->setWindowTitle(MainWindowCaption(app.m_strUser));
    return window;
}
