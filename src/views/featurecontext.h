#pragma once

class CAppContext;
class CVantrelDoc;
class ICommandRegistry;
class QWidget;

// What a feature needs to join the main window: the program's services, the record views with
// their dialog registry, the menu commands, and the window its dialogs are opened over. The
// main frame hands one to each feature's registration; features never see the frame itself.
struct CFeatureContext
{
    CAppContext& app;
    CVantrelDoc& doc;
    ICommandRegistry& commands;
    QWidget* window;
};
