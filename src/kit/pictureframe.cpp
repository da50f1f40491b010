#include "kit/pictureframe.h"

#include <QMouseEvent>
#include <QPainter>

CPictureFrame::CPictureFrame(QWidget* parent) : QFrame(parent), m_picture(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setCursor(Qt::ArrowCursor);
}

bool CPictureFrame::ShowPicture(const QString& path)
{
    const bool loaded = m_picture.Load(path);
    update();
    return loaded;
}

void CPictureFrame::Clear()
{
    m_picture.Free();
    update();
}

void CPictureFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    m_picture.Render(&painter, contentsRect());
}

void CPictureFrame::mousePressEvent(QMouseEvent* event)
{
    m_bPressed = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void CPictureFrame::mouseReleaseEvent(QMouseEvent* event)
{
    // A click is a press and a release of the left button, both over the frame.
    const bool click = m_bPressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_bPressed = false;
    QFrame::mouseReleaseEvent(event);
    if (click)
        Q_EMIT clicked();
}
