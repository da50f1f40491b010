#include "app/printcommands.h"

#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/messages.h"
#include "kit/recordlistmodel.h"
#include "views/listexport.h"
#include "views/listprinter.h"
#include "views/vantreldoc.h"
#include "views/vantrelview.h"

#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace Qt::StringLiterals;

namespace {

// The main list made ready for paper: its title and content, and a printer turned the way the
// columns need.
struct PrintJob
{
    const CVantrelView& view;
    QString title = MainListTitle(view);
    TableFileContent content = ListContent(view, title);
    QPrinter printer{QPrinter::HighResolution};

    explicit PrintJob(const CVantrelView& list) : view(list)
    {
        printer.setDocName(title);
        FitListOrientation(printer, content);
    }
};

// The main list when it shows anything; says so and gives null when it does not.
const CVantrelView* ListToPrint(const CVantrelDoc& doc, QWidget* window)
{
    const CVantrelView* view = doc.MainList();
    if (!view || view->List().GetColumnCount() == 0 || view->List().GetItemCount() == 0) {
        Warn(window, u"当前列表中没有可打印的内容！"_s);
        return nullptr;
    }
    return view;
}

void Preview(const CVantrelDoc& doc, QWidget* window)
{
    const CVantrelView* view = ListToPrint(doc, window);
    if (!view)
        return;
    PrintJob job(*view);
    QPrintPreviewDialog dialog(&job.printer, window);
    dialog.setObjectName(u"printPreview"_s);
    dialog.setWindowTitle(u"打印预览 - %1"_s.arg(job.title));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&job](QPrinter* target) { PrintList(*target, job.title, job.content); });
    dialog.exec();
}

void Print(const CVantrelDoc& doc, QWidget* window)
{
    const CVantrelView* view = ListToPrint(doc, window);
    if (!view)
        return;
    PrintJob job(*view);
    QPrintDialog dialog(&job.printer, window);
    dialog.setObjectName(u"print"_s);
    dialog.setWindowTitle(u"打印"_s);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (PrintList(job.printer, job.title, job.content) == 0)
        Warn(window, u"打印失败：无法使用所选的打印机！"_s);
}

} // namespace

void RegisterPrintCommands(CVantrelDoc& doc, ICommandRegistry& commands, QWidget* window)
{
    commands.SetHandler(ID_FILE_PRINT_PREVIEW, [&doc, window] { Preview(doc, window); });
    commands.SetHandler(ID_FILE_PRINT, [&doc, window] { Print(doc, window); });
}
