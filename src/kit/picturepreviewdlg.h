#pragma once

#include "kit/picture.h"

#include <QDialog>
#include <QString>

// "图片预览窗口": one picture at its own size in the middle of the screen. A picture larger
// than the screen's free area is shown reduced to fit it, keeping its shape. Closes with its
// close box, Escape or Enter.
class CPicturePreviewDlg : public QDialog
{
    Q_OBJECT
public:
    explicit CPicturePreviewDlg(QWidget* parent = nullptr);

    // The full path of the picture, set before the dialog is shown.
    void SetPath(const QString& path) { m_strPath = path; }
    QString Path() const { return m_strPath; }
    const CPicture& Picture() const { return m_picture; }

    // The client size that shows a picture of `picture` within `available` (the screen's
    // free area less the window frame): the picture's own size when it fits, else reduced.
    static QSize ClientSizeFor(QSize picture, QSize available);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PlaceOnScreen();

    CPicture m_picture;
    QString m_strPath;
    bool m_bOpened = false;
};
