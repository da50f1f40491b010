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
    // A data file, or, where the workstation uses a server, the server's settings and password.
    bool SettleDatabasePath();
    // Opens the data: a file after compacting it, a server until it answers or the user gives up
    // (or turns to a file) in the work-path dialog.
    bool OpenData();
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
    // The server's settings and its password, from the keyring or asked for.
    bool SettleServer();
    // Checks the open server database: an empty one is set up, another program's refused
    // (said why in `refusal`).
    bool AcceptServerDatabase(QString& refusal);

    CVantrelApp& m_app;
};
