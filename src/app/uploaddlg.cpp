#include "app/uploaddlg.h"

#include "app/serverpage.h"
#include "app/serversettings.h"
#include "app/vantrelapp.h"
#include "app/workpathdlg.h"
#include "data/adodatabase.h"
#include "data/datacopy.h"
#include "data/datasource.h"
#include "kit/commandids.h"
#include "kit/commandregistry.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CUploadDlg::CUploadDlg(CVantrelApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_serverPage(new CServerPage(app.Settings().WorkFolder(), this))
{
    setObjectName(u"IDD_UPLOAD"_s);
    setWindowTitle(u"上传到服务器"_s);
    auto* intro = new QLabel(u"把当前数据文件中的全部资料复制到数据库服务器上的一个空数据库中。"
                             "数据库须由连接所用的用户所有；空数据库会先建好数据表。"_s,
                             this);
    intro->setWordWrap(true);
    QDialogButtonBox* buttons =
        NewDialogButtonBox(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(m_serverPage);
    layout->addWidget(buttons);
    if (CServerSettings::ReadKind(app.Settings()) == DataSourceKind::Server ||
        !CServerSettings::Read(app.Settings()).host.isEmpty())
        m_serverPage->SetSettings(CServerSettings::Read(app.Settings()));
}

void CUploadDlg::SetServer(const CServerSettings& server, const QString& password)
{
    m_serverPage->SetSettings(server);
    m_serverPage->SetPassword(password);
}

void CUploadDlg::accept()
{
    CADODatabase* source = m_app.Database();
    if (!source || !source->IsOpen()) {
        Warn(this, u"数据文件未打开，无法上传！"_s);
        return;
    }
    CADODatabase target;
    if (!m_serverPage->OpenDatabase(target))
        return;
    const vantrel::db::CopyReport report =
        vantrel::db::CopyData(*source->GetActiveConnection(), *target.GetActiveConnection());
    target.Close();
    if (!report.copied) {
        Warn(this, u"上传失败，服务器上的数据库没有任何改动：\n%1"_s.arg(report.error));
        return;
    }
    const CServerSettings server = m_serverPage->Settings();
    Inform(this, u"数据已上传到数据库服务器 %1：\n%2"_s.arg(server.Shown(),
                                                            vantrel::db::CopiedText(report)));
    if (Ask(this, u"是否让本机从下次启动起使用这个数据库服务器？"_s, u"上传到服务器"_s)) {
        KeepServerChoice(m_app, server, m_serverPage->Password(), this);
        Inform(this, u"请重新启动程序，本机将使用数据库服务器 %1。"_s.arg(server.Shown()));
    }
    QDialog::accept();
}

void RegisterUploadCommand(CVantrelApp& app, ICommandRegistry& commands, QWidget* window)
{
    commands.SetHandler(ID_FILE_UPLOAD, [&app, window] {
        if (vantrel::db::NamesServer(app.Connections().DataConnectionString())) {
            Warn(window, u"数据已经保存在数据库服务器上。"_s);
            return;
        }
        CUploadDlg dialog(app, window);
        dialog.exec();
    });
}

#include "moc_uploaddlg.cpp"
