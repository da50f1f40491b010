#pragma once

#include <QString>

#include <memory>

class CVantrelApp;
class QWidget;

// "Vantrel    当前用户：<user>"
QString MainWindowCaption(const QString& user);

// The main window that start-up shows once the user has signed in; null when it cannot be made.
std::unique_ptr<QWidget> CreateMainWindow(CVantrelApp& app);
// Shows it where the user left it when the program last closed.
void ShowMainWindow(QWidget& window);
