#include "trade/exportcommands.h"

#include "data/tablefile.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/filechoice.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/featurecontext.h"
#include "views/listexport.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kExcelFilter = u"Excel 文件 (*.xlsx)"_s;
const QString kCsvFilter = u"CSV 文件 (*.csv)"_s;

bool HasRecords(const CVantrelView* view)
{
    return view && view->List().GetColumnCount() > 0 && ListRecordRows(*view) > 0;
}

// A file name from the list's title: characters no file name may hold become "_".
QString FileNameOf(const QString& title)
{
    QString name = title.trimmed();
    for (QChar& c : name)
        if (QStringView(u"/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = u'_';
    return name.isEmpty() ? u"导出"_s : name;
}

QString FailureText(const TableFileResult& result, const QString& path)
{
    const QString file = QDir::toNativeSeparators(path);
    switch (result.status) {
    case TableFileStatus::Written:
    case TableFileStatus::Cancelled:
        break;
    case TableFileStatus::MissingFolder:
        return u"导出失败：文件夹“%1”不存在！"_s.arg(result.detail);
    case TableFileStatus::NoPermission:
        return u"导出失败：没有在文件夹“%1”中写入文件的权限！"_s.arg(
            QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
    case TableFileStatus::CannotReplace:
        return u"导出失败：文件“%1”是只读的或正被其他程序使用，无法替换！\n请关闭该文件或换一个文件名。"_s
            .arg(file);
    case TableFileStatus::TooManyRows:
        return u"导出失败：列表共有 %1 行，超过了 Excel 工作表的行数上限！\n请导出为 CSV 文件。"_s
            .arg(result.detail);
    case TableFileStatus::WriteFailed:
        return u"导出失败：写入文件“%1”时出错（%2），磁盘可能已满！"_s.arg(file, result.detail);
    }
    return {};
}

} // namespace

QString ChooseExportFile(QWidget* window, std::shared_ptr<QString> lastFolder, const QString& title)
{
    // The name follows the file type the user picks.
    FileChoice choice;
    choice.kind = FileChoice::Kind::Save;
    choice.objectName = u"chooseExportFile"_s;
    choice.caption = u"导出"_s;
    choice.filters = {kExcelFilter, kCsvFilter};
    choice.fileName = FileNameOf(title);
    choice.lastFolder = std::move(lastFolder);
    return ChooseFile(window, choice);
}

bool ExportMainList(CVantrelDoc& doc, QWidget* window, const QString& path)
{
    const CVantrelView* view = doc.MainList();
    if (!HasRecords(view)) {
        Warn(window, u"当前列表中没有可导出的记录！"_s);
        return false;
    }
    const TableFileContent content = ListContent(*view, MainListTitle(*view));

    QProgressDialog progress(u"正在导出到“%1”…"_s.arg(QDir::toNativeSeparators(path)), u"取消"_s, 0,
                             content.rowCount, window);
    progress.setObjectName(u"exportProgress"_s);
    progress.setWindowTitle(u"导出"_s);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const TableFileResult result =
        WriteTableFile(path, TableFileFormatOf(path), content, [&progress](int written, int) {
            progress.setValue(written);
            return !progress.wasCanceled();
        });
    progress.close();

    if (result.status == TableFileStatus::Cancelled) {
        Inform(window, u"导出已取消，没有写入文件。"_s);
        return false;
    }
    if (!result.Written()) {
        Warn(window, FailureText(result, path));
        return false;
    }
    Inform(window, u"导出完成：%1"_s.arg(QDir::toNativeSeparators(path)));
    return true;
}

void RegisterExportCommands(const CFeatureContext& context)
{
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    // The folder of the last export, for the next one in this run: the handler's own, shared
    // by its copies.
    auto folder = NewLastFolder();
    context.commands.SetHandler(ID_QUERY_EXPORT, [&doc, window, folder] {
        const CVantrelView* view = doc.MainList();
        if (!HasRecords(view)) {
            Warn(window, u"当前列表中没有可导出的记录！"_s);
            return;
        }
        const QString path = ChooseExportFile(window, folder, MainListTitle(*view));
        if (!path.isEmpty())
            ExportMainList(doc, window, path);
    });
}
