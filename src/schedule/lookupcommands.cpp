#include "schedule/lookupcommands.h"

#include "data/adodatabase.h"
#include "kit/appcontext.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/messages.h"
#include "schedule/lookupdlg.h"
#include "schedule/phonebookdlg.h"
#include "views/featurecontext.h"

using namespace Qt::StringLiterals;

namespace {

// Without the reference file every lookup would find nothing: the user is told why instead.
bool ReferenceFileOpen(CAppContext& app, QWidget* window)
{
    const CADODatabase* reference = app.ReferenceDatabase();
    if (reference && reference->IsOpen())
        return true;
    Warn(window, u"找不到邮编和电话区号数据文件 data.db（或无法打开它），无法查询！\n"
                 "请把随程序提供的 data.db 放回程序的启动目录。"_s);
    return false;
}

} // namespace

void RegisterLookupCommands(const CFeatureContext& context)
{
    CAppContext& app = context.app;
    CVantrelDoc& doc = context.doc;
    QWidget* window = context.window;
    // The reference file is asked for at each opening: the program may have reopened it.
    context.commands.SetHandler(ID_TOOLS_ZIP, [&app, &doc, window] {
        if (!ReferenceFileOpen(app, window))
            return;
        CZipQueryDlg dialog(app.ReferenceDatabase(), doc, window);
        dialog.exec();
    });
    context.commands.SetHandler(ID_TOOLS_PHONE, [&app, &doc, window] {
        if (!ReferenceFileOpen(app, window))
            return;
        CPhoneBookDlg dialog(app.ReferenceDatabase(), doc, window);
        dialog.exec();
    });
}
