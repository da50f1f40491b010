#include "app/powertable.h"

#include "app/passwordstore.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/adorecordset.h"
#include "data/adox.h"
#include "data/datafilekind.h"
#include "data/eachrow.h"
#include "data/rights.h"
#include "data/schema.h"
#include "data/sqltext.h"
#include "kit/messages.h"

using namespace Qt::StringLiterals;

namespace {
bool CreateTable(CADOXCatalog& catalog)
{
    const schema::Table& definition = schema::PowerTable();
    CADOXTable table(&catalog);
    if (!table.Create(QString::fromUtf8(definition.name)))
        return false;
    for (const schema::Column& column : definition.columns) {
        CADOXField field(&table);
        field.Create(QString::fromUtf8(column.name));
        if (column.type == schema::ColumnType::YesNo) {
            field.SetType(adBoolean);
        } else {
            field.SetType(adVarWChar);
            field.SetDefinedSize(255);
            field.SetAllowZeroLength(column.name == std::string_view("pas"));
        }
        if (!table.AddField(field))
            return false;
    }
    return catalog.AddTable(table);
}

bool AddAdministrator(CADORecordset& power)
{
    if (!power.AddNew())
        return false;
    bool written =
        power.SetFieldText(u"user"_s, QString::fromUtf16(kAdministratorName)) &&
        power.SetFieldText(u"pas"_s,
                           passwords::Hash(QString::fromUtf16(kAdministratorInitialPassword)));
    for (const RightInfo& info : kRights)
        written = written && power.SetFieldInt(QLatin1StringView(info.column), 1);
    if (!written) {
        power.CancelUpdate();
        return false;
    }
    return power.Update();
}
} // namespace

QString PowerQueryFor(const QString& user)
{
    return u"SELECT * FROM power WHERE [user] = '%1'"_s.arg(SqlText(user));
}

bool MoveToUser(CADORecordset& power, const QString& user, bool exactOnly)
{
    bool exact = false;
    ForEachRow(power, [&] {
        QString name;
        power.GetFieldText(u"user"_s, name);
        exact = name == user;
        return !exact; // the walk stops on that row
    });
    if (exact)
        return true;
    if (exactOnly || power.GetRecordCount() < 1)
        return false;
    power.MoveFirst();
    return true;
}

bool EnsurePowerTable(CVantrelApp& app, QWidget* parent)
{
    CADOXCatalog* catalog = app.Connections().Catalog();
    CADODatabase* database = app.Database();
    if (!catalog || !database)
        return false;
    bool created = false;
    // Users are only ever added to a data file of ours.
    if (database->IsOpen() && !HoldsDataTables(InspectDataFile(*database))) {
        Warn(parent, u"数据库无法打开，请与作者联系！"_s);
        return false;
    }
    if (!catalog->HasTable(u"power"_s)) {
        if (!CreateTable(*catalog)) {
            Warn(parent, u"更新数据库失败！"_s);
            return false;
        }
        // A fresh connection sees the new table.
        database->Close();
        database->Open(app.Connections().DataConnectionString());
        created = true;
    }
    CADORecordset power(database);
    if (!power.Open(u"SELECT * FROM power"_s)) {
        // An unreadable table that was there before is reported by the sign-in dialog itself.
        if (created)
            Warn(parent, u"数据库无法打开，请与开发商联系！"_s);
        return !created;
    }
    if (power.GetRecordCount() > 0)
        return true;
    if (!AddAdministrator(power)) {
        Warn(parent, u"更新数据库失败！"_s);
        return false;
    }
    return true;
}
