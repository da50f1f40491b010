#include "customers/addressgroups.h"

#include "customers/dictionaryvalues.h"
#include "data/adorecordset.h"
#include "data/adox.h"
#include "data/gbktext.h"
#include "data/sqltext.h"
#include "kit/messages.h"

#include <QComboBox>

#include <algorithm>

using namespace Qt::StringLiterals;

bool FillGroupCombo(QComboBox* combo, CADODatabase* database, QWidget* parent)
{
    combo->clear();
    if (!DatabaseHasTable(database, u"group"_s)) {
        Warn(parent, u"请先升级数据库！"_s);
        return false;
    }
    QStringList groups =
        DictionaryValues(database, u"SELECT * FROM [group]"_s).value_or(QStringList());
    groups.removeAll(QString());
    groups.removeDuplicates();
    std::stable_sort(groups.begin(), groups.end(),
                     [](const QString& a, const QString& b) { return CompareGbk(a, b) < 0; });
    combo->addItems(groups);
    return true;
}

bool StoreGroup(CADODatabase* database, const QString& group)
{
    CADORecordset recordset(database);
    if (!recordset.Open(u"SELECT * FROM [group] WHERE [name] = '%1'"_s.arg(SqlText(group))))
        return false;
    if (recordset.GetRecordCount() > 0)
        return true;
    if (recordset.AddNew() && recordset.SetFieldText(u"name"_s, group) && recordset.Update())
        return true;
    recordset.CancelUpdate();
    return false;
}
