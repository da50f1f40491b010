#include "app/workpathdlg.h"

#include "app/vantrelapp.h"
#include "data/datafilekind.h"
#include "kit/dialogbuttons.h"
#include "kit/messages.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

CWorkPathDlg::CWorkPathDlg(CVantrelApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_pathEdit(new QLineEdit(this)),
      m_chooseButton(new QPushButton(u"将本地配置为客户端"_s, this))
{
    setObjectName(u"IDD_WORKPATH"_s);
    setWindowTitle(u"工作路径配置"_s);
    m_pathEdit->setObjectName(u"IDC_DBPATH"_s);
    m_pathEdit->setMinimumWidth(360);
    m_chooseButton->setObjectName(u"IDC_SETCLIENT"_s);
    m_chooseButton->setAutoDefault(false);

    QDialogButtonBox* buttons =
        NewDialogButtonBox(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(m_chooseButton, &QPushButton::clicked, this, &CWorkPathDlg::OnChooseFile);

    auto* label = new QLabel(u"数据库文件："_s, this);
    label->setBuddy(m_pathEdit);
    auto* grid = new QGridLayout;
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_pathEdit, 0, 1);
    grid->addWidget(m_chooseButton, 1, 1, Qt::AlignLeft);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

QString CWorkPathDlg::Path() const
{
    return m_pathEdit->text();
}

void CWorkPathDlg::SetPath(const QString& path)
{
    m_pathEdit->setText(path);
}

void CWorkPathDlg::OnChooseFile()
{
    QFileDialog dialog(this, QString(), QFileInfo(Path()).absolutePath(), u"数据库文件(*.db)"_s);
    dialog.setObjectName(u"chooseDataFile"_s);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(u"db"_s);
    dialog.selectFile(Path().isEmpty() ? u"sale.db"_s : QFileInfo(Path()).fileName());
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        m_pathEdit->setText(QFileInfo(dialog.selectedFiles().constFirst()).absoluteFilePath());
}

void CWorkPathDlg::accept()
{
    const QString path = Path().trimmed();
    QFile file(m_app.Settings().AbsolutePath(path));
    const bool usable =
        !path.isEmpty() && QFileInfo(file).isFile() &&
        file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
    if (!usable) {
        Warn(this, u"文件配置有误，不存在或不可写！"_s);
        return;
    }
    file.close();
    if (CheckDataFile(file.fileName()) == DataFileKind::Damaged) {
        Warn(this, u"所选数据文件已损坏，不能使用，请选择其他文件！\n%1"_s.arg(
                       QDir::toNativeSeparators(file.fileName())));
        return;
    }
    if (!PrepareDataFile(file.fileName())) {
        Warn(this, u"所选文件不是本软件的数据文件，请重新选择！"_s);
        return;
    }
    // The file is used all the same; the user should know it will be asked for again.
    if (!m_app.Settings().WriteSetting(u"Path"_s, path))
        Warn(this, u"配置文件无法写入，下次启动时需要重新选择数据文件！"_s);
    m_app.Connections().SetDataPath(path);
    QDialog::accept();
}

#include "moc_workpathdlg.cpp"
