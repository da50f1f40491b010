#include "kit/outbarslide.h"

#include <QPainter>
#include <QtMath>

#include <algorithm>

COutBarSlide::COutBarSlide(const QPixmap& before, const QPixmap& after, const QRect& oldArea,
                           const QRect& newArea, bool newBelowOld, int step)
    : m_before(before), m_after(after), m_oldArea(oldArea), m_newArea(newArea),
      m_forward(newBelowOld), m_step(std::max(1, step))
{
    // Opening a later folder: old area above the new one, the strip moves up by the old area's
    // height. Opening an earlier folder: new area above, the strip moves down by its height.
    if (m_forward) {
        m_offset = 0;
        m_target = m_oldArea.height();
    } else {
        m_offset = m_newArea.height();
        m_target = 0;
    }
}

bool COutBarSlide::Advance()
{
    if (m_forward)
        m_offset = std::min(m_target, m_offset + m_step);
    else
        m_offset = std::max(m_target, m_offset - m_step);
    return !Finished();
}

void COutBarSlide::DrawSlice(QPainter& painter, const QPixmap& source, int sourceTop,
                             int sourceBottom, int y) const
{
    if (sourceBottom <= sourceTop)
        return;
    const qreal ratio = source.devicePixelRatio();
    const qreal width = source.width() / ratio;
    const QRectF from(0, sourceTop * ratio, source.width(), (sourceBottom - sourceTop) * ratio);
    painter.drawPixmap(QRectF(0, y, width, sourceBottom - sourceTop), source, from);
}

void COutBarSlide::Paint(QPainter& painter) const
{
    // Everything outside the moving band is the same in both states.
    painter.drawPixmap(0, 0, m_after);
    const int width = qCeil(m_after.width() / m_after.devicePixelRatio());
    painter.save();
    if (m_forward) {
        const int top = m_oldArea.top();
        const int bottom = m_newArea.bottom() + 1;
        painter.setClipRect(QRect(0, top, width, bottom - top));
        DrawSlice(painter, m_before, top, m_oldArea.bottom() + 1, top - m_offset);
        DrawSlice(painter, m_after, top, bottom, m_oldArea.bottom() + 1 - m_offset);
    } else {
        const int top = m_newArea.top();
        const int bottom = m_oldArea.bottom() + 1;
        painter.setClipRect(QRect(0, top, width, bottom - top));
        DrawSlice(painter, m_after, top, m_newArea.bottom() + 1, top - m_offset);
        DrawSlice(painter, m_before, top, bottom, m_newArea.bottom() + 1 - m_offset);
    }
    painter.restore();
}
