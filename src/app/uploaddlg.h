#pragma once

#include <QDialog>

class CServerPage;
class CVantrelApp;
class ICommandRegistry;
struct CServerSettings;

// "上传到服务器": moves a team from its data file onto a database server. It copies the open
// data file into an empty database of the server (set up as a new file is) in one
// transaction, reports what it copied, and offers to make the server this workstation's from
// its next start.
class CUploadDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CUploadDlg(CVantrelApp& app, QWidget* parent = nullptr);

    // Fills the server page, for instance with the server the workstation used before.
    void SetServer(const CServerSettings& server, const QString& password);

    // OK: uploads. The dialog stays open when nothing was copied, so the user can name another
    // database.
    void accept() override;

private:
    CVantrelApp& m_app;
    CServerPage* m_serverPage;
};

// Registers 文件 > "上传到服务器…".
void RegisterUploadCommand(CVantrelApp& app, ICommandRegistry& commands, QWidget* window);
