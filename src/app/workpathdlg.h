#pragma once

#include <QDialog>

class CVantrelApp;
class QLineEdit;
class QPushButton;

// "工作路径配置": asks for the data file when none is found, for instance a file in a folder
// that several workstations share.
class CWorkPathDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CWorkPathDlg(CVantrelApp& app, QWidget* parent = nullptr);

    QString Path() const;
    void SetPath(const QString& path);

    // OK: the file must exist and be writable; its path goes into setup.ini as "Path".
    void accept() override;

private:
    void OnChooseFile();

    CVantrelApp& m_app;
    QLineEdit* m_pathEdit;
    QPushButton* m_chooseButton;
};
