#include "app/upgradecommands.h"

#include "app/dataconnections.h"
#include "app/vantrelapp.h"
#include "data/adodatabase.h"
#include "data/datasource.h"
#include "data/schema.h"
#include "data/upgrade.h"
#include "data/workstations.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/messages.h"

#include <QDateTime>
#include <QDir>
#include <QHash>
#include <QWidget>

using namespace Qt::StringLiterals;

namespace {

const QString kUnchanged = u"数据文件未作任何改动。"_s;

// "客户（1 个字段）、联系人（2 个字段）": columns counted by the table they were added to.
QString ColumnsText(const QStringList& columns)
{
    QStringList tables;
    QHash<QString, int> counts;
    for (const QString& column : columns) {
        const QString table = column.section(u'.', 0, 0);
        if (!counts.contains(table))
            tables << table;
        ++counts[table];
    }
    QStringList parts;
    for (const QString& table : std::as_const(tables))
        parts << u"%1（%2 个字段）"_s.arg(schema::TableTitle(table)).arg(counts.value(table));
    return parts.join(u"、"_s);
}

QString AddedText(const UpgradeResult& result)
{
    QStringList lines{u"已添加："_s};
    if (!result.added.tables.isEmpty()) {
        QStringList titles;
        for (const QString& table : result.added.tables)
            titles << schema::TableTitle(table);
        lines << u"数据表："_s + titles.join(u"、"_s);
    }
    if (!result.added.columns.isEmpty())
        lines << u"字段："_s + ColumnsText(result.added.columns);
    if (result.added.counterRow)
        lines << u"编号计数器的计数记录"_s;
    if (!result.restoredGroups.isEmpty())
        lines << u"按通讯录恢复的分类："_s + result.restoredGroups.join(u"、"_s);
    // A server keeps its own copies; the upgrade makes one of a data file only.
    if (!result.backup.isEmpty())
        lines << QString() << u"升级前的数据文件已备份为："_s
              << QDir::toNativeSeparators(result.backup);
    return lines.join(u'\n');
}

QString ResultText(const UpgradeResult& result)
{
    switch (result.outcome) {
    case UpgradeOutcome::Upgraded:
        return AddedText(result);
    case UpgradeOutcome::UpToDate:
        return u"数据库已是最新版本。"_s;
    case UpgradeOutcome::NotOurs:
        return u"当前文件不是本程序的数据文件，不能升级！"_s;
    case UpgradeOutcome::ReadOnly:
        return u"数据文件是只读的，无法升级！"_s + kUnchanged;
    case UpgradeOutcome::Locked:
        return u"数据文件正被其他用户使用，无法升级，请稍后再试！"_s + kUnchanged;
    case UpgradeOutcome::BackupFailed:
        return u"无法在数据文件旁备份数据文件，升级已取消。"_s + kUnchanged + u"\n"_s +
               result.error;
    case UpgradeOutcome::Failed:
        break;
    }
    return u"数据库升级失败！"_s + kUnchanged + u"\n"_s + result.error;
}

void Upgrade(CVantrelApp& app, QWidget* window)
{
    if (!app.Database() || !app.Database()->IsOpen()) {
        Warn(window, u"数据文件未打开，无法升级！"_s);
        return;
    }
    if (!vantrel::db::NamesServer(app.Database()->GetConnectionString())) {
        Inform(window, ResultText(UpgradeDataFile(*app.Database(), app.Now())));
        return;
    }
    // On a server no other workstation may work on the tables while they change.
    vantrel::db::Workstations* workstations = app.Connections().Workstations();
    if (!workstations || !workstations->TryExclusive()) {
        Warn(window, vantrel::db::OtherWorkstationsText(
                         workstations ? workstations->OtherWorkstations() : -1, u"升级"_s));
        return;
    }
    const UpgradeResult result = UpgradeDataFile(*app.Database(), app.Now());
    workstations->ReleaseExclusive();
    Inform(window, ResultText(result));
}

} // namespace

void RegisterUpgradeCommands(CVantrelApp& app, ICommandRegistry& commands, QWidget* window)
{
    commands.SetHandler(ID_TOOLS_UPGRADE, [&app, window] { Upgrade(app, window); });
}
