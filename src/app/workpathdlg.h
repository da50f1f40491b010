#pragma once

#include <QDialog>

class CServerPage;
class CVantrelApp;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
struct CServerSettings;

// "工作路径配置": asks where the data are when they cannot be found: a data file (for instance
// one in a folder that several workstations share), or a database on a server.
class CWorkPathDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CWorkPathDlg(CVantrelApp& app, QWidget* parent = nullptr);

    QString Path() const;
    void SetPath(const QString& path);
    // Opens on the server page with these settings.
    void ShowServer(const CServerSettings& server, const QString& password);
    bool ServerChosen() const;

    // OK on a file: the file must exist and be writable; its path goes into setup.ini as
    // "Path". On a server: the database must be ours or empty (it is then set up); the
    // settings go into setup.ini and the password into the keyring.
    void accept() override;

private:
    void OnChooseFile();
    void OnKindChanged();
    void OnTestConnection();
    void AcceptFile();
    void AcceptServer();
    // The connection string of the server page, after checking that it is filled in; "" (and
    // said why) when it is not.
    QString ServerConnectionString();

    CVantrelApp& m_app;
    QRadioButton* m_fileButton;
    QRadioButton* m_serverButton;
    QStackedWidget* m_pages;
    QLineEdit* m_pathEdit;
    QPushButton* m_chooseButton;
    CServerPage* m_serverPage;
};
