#pragma once

#include <QString>

class CVantrelApp;
class QWidget;

// The built-in administrator: every permission, whatever its row says, and only it may assign
// permissions.
inline constexpr char16_t kAdministratorName[] = u"管理员";
inline constexpr char16_t kAdministratorInitialPassword[] = u"583016";

// Makes sure the data file has table `power` with a user who can sign in. A file without the
// table gets it, and a table without any row (its creation was cut short) gets the
// administrator with the initial password and every permission. Reports failures to the user.
bool EnsurePowerTable(CVantrelApp& app, QWidget* parent);

class CADORecordset;

// "SELECT * FROM power WHERE [user] = '<name>'"
QString PowerQueryFor(const QString& user);
// The data file matches names without regard to letter case, so the rows of PowerQueryFor
// may be more than one user: "alice" also finds "Alice". Stands on the row spelt exactly as
// `user`, else, unless `exactOnly`, on the first row. False when there is no such row.
bool MoveToUser(CADORecordset& power, const QString& user, bool exactOnly = false);
