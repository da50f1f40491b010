#include "kit/picturepreviewdlg.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The least room left for the title bar and borders that the window system adds around the
// client area.
constexpr QSize kAssumedFrame(16, 40);

} // namespace

CPicturePreviewDlg::CPicturePreviewDlg(QWidget* parent) : QDialog(parent), m_picture(parent)
{
    setObjectName(u"IDD_PICTUREPREVIEW"_s);
    setWindowTitle(u"图片预览窗口"_s);
}

QSize CPicturePreviewDlg::ClientSizeFor(QSize picture, QSize available)
{
    if (picture.isEmpty())
        return picture.expandedTo(QSize(0, 0));
    if (picture.width() <= available.width() && picture.height() <= available.height())
        return picture;
    return picture.scaled(available.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio)
        .expandedTo(QSize(1, 1));
}

void CPicturePreviewDlg::showEvent(QShowEvent* event)
{
    if (!m_bOpened) {
        m_bOpened = true;
        m_picture.Load(m_strPath);
        PlaceOnScreen();
    }
    QDialog::showEvent(event);
}

void CPicturePreviewDlg::PlaceOnScreen()
{
    QScreen* screen = this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    // Until the window manager has framed the window its frame may read as nothing.
    const QSize frame = (frameGeometry().size() - geometry().size()).expandedTo(kAssumedFrame);
    const QSize client =
        ClientSizeFor(QSize(m_picture.Width(), m_picture.Height()), area.size() - frame);
    resize(client);
    // Centred on the free area, never beyond its top left corner.
    const QSize outer = client + frame;
    const int left = area.left() + std::max(0, (area.width() - outer.width()) / 2);
    const int top = area.top() + std::max(0, (area.height() - outer.height()) / 2);
    move(left, top);
}

void CPicturePreviewDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (m_strPath.isEmpty() || !m_picture.IsLoaded())
        return;
    // The whole client area at the picture's own size; a resized window keeps the shape.
    const QSize shown =
        QSize(m_picture.Width(), m_picture.Height()).scaled(size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), shown);
    target.moveCenter(rect().center());
    if (shown == size())
        target = rect();
    QPainter painter(this);
    m_picture.Render(&painter, target);
}

void CPicturePreviewDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
