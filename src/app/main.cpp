#include "app/chinesetranslation.h"
#include "app/vantrelapp.h"
#include "kit/appicons.h"
#include "kit/messages.h"
#include "kit/skinengine.h"

#include <QApplication>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Vantrel"_s);
    QApplication::setWindowIcon(ProgramIcon());
    InstallChineseTranslation(application);
    // Start-up shows and closes dialogs before there is a main window.
    QApplication::setQuitOnLastWindowClosed(false);
    CMessageBoxSink messageBoxes;
    const CMessageSinkInstallation messages(&messageBoxes);

    // Everything the program draws takes its look from this one engine.
    CSkinEngine skin;
    CVantrelApp app(CAppSettings::DefaultPlaces(), skin);
    int result = 0;
    if (app.InitInstance()) {
        QApplication::setQuitOnLastWindowClosed(true);
        result = QApplication::exec();
    }
    const int exitCode = app.ExitInstance();
    return result != 0 ? result : exitCode;
}
