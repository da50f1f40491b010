#pragma once

#include <QComboBox>
#include <QDialog>

class CVantrelApp;
class QLineEdit;
class QPushButton;

// A drop-down list that fills itself each time it is about to drop down.
class CDropDownFillList : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;

Q_SIGNALS:
    void AboutToDropDown();
};

// "杂项设置": the skin (applied and saved as soon as it is picked) and the picture home
// directory (saved on OK).
class CSettingsDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CSettingsDlg(CVantrelApp& app, QWidget* parent = nullptr);

    // Refills the skin list from skin/*.smf and selects the current skin.
    void FillSkins();
    // The user picked the skin in this row of the list.
    void OnSkinPicked(int row);
    // ">>": lets the user choose the folder, then makes the text end in a separator.
    void OnBrowse();
    // OK: saves the picture directory and hands it to the main window.
    void accept() override;

    QComboBox* SkinList() const { return m_skinList; }
    QLineEdit* PicturePathEdit() const { return m_picPathEdit; }

private:
    CVantrelApp& m_app;
    CDropDownFillList* m_skinList;
    QLineEdit* m_picPathEdit;
    QPushButton* m_browseButton;
};
