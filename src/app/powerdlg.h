#pragma once

#include "data/rights.h"

#include <QDialog>
#include <QString>

#include <array>

class CADODatabase;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "权限分配": the administrator adds users, sets each user's 23 permission flags and deletes
// users, all in table `power`. Outcomes go to the read-only status line, never to message
// boxes; the dialog stays open until "关闭". New users have no password: they sign in with an
// empty one and then set it with "修改密码".
class CPowerDlg : public QDialog
{
    Q_OBJECT
public:
    // The list shows the name in column 0 and flag i in column i + 1.
    static constexpr int kFlagCount = kRightCount;

    // Works on the data file open in `database`, the application's main connection.
    explicit CPowerDlg(CADODatabase* database, QWidget* parent = nullptr);

    // The three commands, as the buttons run them.
    void OnAdd();
    void OnModify();
    void OnDelete();

    QTableWidget* List() const { return m_list; }
    QLineEdit* UserEdit() const { return m_userEdit; }
    QString Status() const;

private:
    void FillList();
    // Puts the name and the flags of a list row into the controls.
    void OnRowClicked(int row);
    void AppendRow(const QString& user, const std::array<bool, kFlagCount>& flags);
    void ShowFlags(int row, const std::array<bool, kFlagCount>& flags);
    // The first row whose name equals `user` exactly; -1 when none.
    int FindRow(const QString& user) const;
    // The name in the user edit; an empty one puts the request for a name in the status line.
    QString TypedUser();
    std::array<bool, kFlagCount> CheckedFlags() const;
    void SetStatus(const QString& text);

    CADODatabase* m_db;
    QTableWidget* m_list;
    QLineEdit* m_userEdit;
    std::array<QCheckBox*, kFlagCount> m_boxes{};
    QLineEdit* m_status;
};
