#pragma once

#include <QDialog>

// "关于 Vantrel": the program's icon, name and version.
class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    static constexpr char16_t kVersion[] = u"3.11";
};
