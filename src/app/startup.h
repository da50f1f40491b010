#pragma once

#include <QDateTime>
#include <QString>

class CVantrelApp;

// The program's start-up over the application object: the steps of InitInstance in their fixed
// order, each of which can also be run by itself. It keeps nothing of its own; what it settles
// (skin, data file, connections, user) goes into the application object.
class CStartUp
{
public:
    explicit CStartUp(CVantrelApp& app) : m_app(app) {}

    // The whole start-up; false means stop: the program then ends without a main window.
    bool Run();

    // The steps, in their order. The first is given whether the code-page converter exists
    // (GbkAvailable()); without it, it says so and start-up stops.
    static bool CheckCodePage(bool converterAvailable);
    bool ChooseSkin();
    bool SettleDatabasePath();
    // Says at once when the data file cannot be written: read-only, or locked by another program.
    void ReportWriteAccess();
    // The safety copy: when the newest backup is older than seven days (or there is none),
    // writes one and keeps the newest ten. Failures are reported.
    void AutoBackup(const QDateTime& now);
    bool SignIn();
    bool LoadPermissions();
    bool CreateMainWindow();

private:
    // A damaged data file: offers the newest sound backup in its place. True when restored.
    bool OfferBackupFor(const QString& dataFile);
    // A data file is settled: one of an earlier layout is named as such.
    bool AcceptDataFile();

    CVantrelApp& m_app;
};
