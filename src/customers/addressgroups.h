#pragma once

#include <QString>

class CADODatabase;
class QComboBox;
class QWidget;

// The groups of the address book: table `group`, one name per row. Files of an older layout
// lack the table; the address book then asks the user to upgrade the file.

// Empties the combo and offers every group in the users' sort order, each name once. Without
// table `group` it says "请先升级数据库！" over `parent` and the combo stays empty; false then.
bool FillGroupCombo(QComboBox* combo, CADODatabase* database, QWidget* parent);

// Adds the group to table `group` unless it is there already (in any letter case); false when
// it can be neither found nor added.
bool StoreGroup(CADODatabase* database, const QString& group);
