#include "app/settingsdlg.h"

#include "app/vantrelapp.h"
#include "kit/dialogbuttons.h"
#include "kit/filechoice.h"
#include "kit/skinengine.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

void CDropDownFillList::showPopup()
{
    Q_EMIT AboutToDropDown();
    QComboBox::showPopup();
}

CSettingsDlg::CSettingsDlg(CVantrelApp& app, QWidget* parent)
    : QDialog(parent), m_app(app), m_skinList(new CDropDownFillList(this)),
      m_picPathEdit(new QLineEdit(this)), m_browseButton(new QPushButton(u">>"_s, this))
{
    setObjectName(u"IDD_SETTINGS"_s);
    setWindowTitle(u"杂项设置"_s);
    m_skinList->setObjectName(u"IDC_SKIN"_s);
    m_skinList->setMinimumWidth(200);
    m_picPathEdit->setObjectName(u"IDC_PICPATH"_s);
    m_picPathEdit->setMinimumWidth(280);
    m_browseButton->setObjectName(u"IDC_BROWSE"_s);
    m_browseButton->setAutoDefault(false);

    auto* skinGroup = new QGroupBox(u"皮肤设置"_s, this);
    auto* skinForm = new QFormLayout(skinGroup);
    skinForm->addRow(u"皮肤设置："_s, m_skinList);

    auto* pictureGroup = new QGroupBox(u"图片主目录"_s, this);
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_picPathEdit, 1);
    pathRow->addWidget(m_browseButton);
    auto* pictureForm = new QFormLayout(pictureGroup);
    pictureForm->addRow(u"路径："_s, pathRow);

    QDialogButtonBox* buttons =
        NewDialogButtonBox(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(m_skinList, &CDropDownFillList::AboutToDropDown, this, &CSettingsDlg::FillSkins);
    // Only the user's own choice counts, not the selection that filling the list makes.
    connect(m_skinList, &QComboBox::activated, this, &CSettingsDlg::OnSkinPicked);
    connect(m_browseButton, &QPushButton::clicked, this, &CSettingsDlg::OnBrowse);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(skinGroup);
    layout->addWidget(pictureGroup);
    layout->addWidget(buttons);

    m_picPathEdit->setText(m_app.Settings().ReadSetting(u"PicPath"_s));
}

void CSettingsDlg::FillSkins()
{
    m_skinList->clear();
    const QStringList files =
        QDir(m_app.Settings().SkinFolder())
            .entryList({u"*.smf"_s}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
    for (const QString& file : files)
        m_skinList->addItem(QFileInfo(file).completeBaseName(), file); // the file as named
    if (files.isEmpty())
        return;
    const QString current = m_app.SkinName().section(u'.', 0, 0);
    int row = m_skinList->findText(current, Qt::MatchStartsWith);
    if (row < 0) {
        row = 0;
        m_app.SetSkinName(m_skinList->itemData(0).toString());
    }
    m_skinList->setCurrentIndex(row);
}

void CSettingsDlg::OnSkinPicked(int row)
{
    if (row < 0)
        return;
    const QString file = m_skinList->itemData(row).toString();
    CSkinEngine& skin = m_app.SkinEngine();
    skin.LoadSkinFile(QDir(m_app.Settings().SkinFolder()).filePath(file));
    skin.SetDialogSkin(u"Dialog"_s);
    m_app.SetSkinName(file);
    m_app.Settings().WriteSetting(u"Skin"_s, file);
}

void CSettingsDlg::OnBrowse()
{
    FileChoice choice;
    choice.kind = FileChoice::Kind::Folder;
    choice.objectName = u"choosePictureFolder"_s;
    choice.folder = m_picPathEdit->text();
    const QString folder = ChooseFile(this, choice);
    if (!folder.isEmpty())
        m_picPathEdit->setText(QDir::toNativeSeparators(folder));
    // A chosen folder, or the typed one, ends in a separator.
    QString path = m_picPathEdit->text();
    if (!path.isEmpty() && !path.endsWith(QDir::separator()))
        m_picPathEdit->setText(path + QDir::separator());
}

void CSettingsDlg::accept()
{
    // Kept as typed: folder names differ by case on this system.
    const QString path = m_picPathEdit->text();
    m_app.Settings().WriteSetting(u"PicPath"_s, path);
    m_app.SetPicturePath(path);
    QDialog::accept();
}

#include "moc_settingsdlg.cpp"
