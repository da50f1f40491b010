#include "customers/importcommands.h"

#include "customers/importdlg.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/filechoice.h"
#include "views/featurecontext.h"
#include "views/vantreldoc.h"

#include <memory>

using namespace Qt::StringLiterals;

QString ChooseImportFile(QWidget* window, std::shared_ptr<QString> lastFolder, ImportKind kind)
{
    FileChoice choice;
    choice.objectName = u"chooseImportFile"_s;
    choice.caption = kind == ImportKind::Clients ? u"导入客户"_s : u"导入联系人"_s;
    choice.lastFolder = std::move(lastFolder);
    choice.filters = {u"表格文件 (*.xlsx *.csv)"_s, u"Excel 文件 (*.xlsx)"_s, u"CSV 文件 (*.csv)"_s,
                      u"所有文件 (*)"_s};
    return ChooseFile(window, choice);
}

void ImportFile(CVantrelDoc& doc, QWidget* window, ImportKind kind, const QString& path)
{
    CImportDlg dialog(kind, doc.Database(), doc, window);
    if (dialog.Load(path))
        dialog.exec();
}

void RegisterImportCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    // The folder of the last import, for the next one in this run.
    auto folder = NewLastFolder();
    auto run = [&doc, window, folder](ImportKind kind) {
        const QString path = ChooseImportFile(window, folder, kind);
        if (!path.isEmpty())
            ImportFile(doc, window, kind, path);
    };
    context.commands.SetHandler(ID_MANAGE_IMPORT_CLIENT, [run] { run(ImportKind::Clients); });
    context.commands.SetHandler(ID_MANAGE_IMPORT_LINKMAN, [run] { run(ImportKind::Contacts); });
}
