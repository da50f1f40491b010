#include "customers/importcommands.h"

#include "customers/importdlg.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "views/featurecontext.h"
#include "views/vantreldoc.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

using namespace Qt::StringLiterals;

QString ChooseImportFile(QWidget* window, const QString& folder, ImportKind kind)
{
    QFileDialog dialog(window, kind == ImportKind::Clients ? u"导入客户"_s : u"导入联系人"_s,
                       folder);
    dialog.setObjectName(u"chooseImportFile"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({u"表格文件 (*.xlsx *.csv)"_s, u"Excel 文件 (*.xlsx)"_s,
                           u"CSV 文件 (*.csv)"_s, u"所有文件 (*)"_s});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
    auto folder = std::make_shared<QString>(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    auto run = [&doc, window, folder](ImportKind kind) {
        const QString path = ChooseImportFile(window, *folder, kind);
        if (path.isEmpty())
            return;
        *folder = QFileInfo(path).absolutePath();
        ImportFile(doc, window, kind, path);
    };
    context.commands.SetHandler(ID_MANAGE_IMPORT_CLIENT, [run] { run(ImportKind::Clients); });
    context.commands.SetHandler(ID_MANAGE_IMPORT_LINKMAN, [run] { run(ImportKind::Contacts); });
}
