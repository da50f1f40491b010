#pragma once

#include <QPixmap>
#include <QRect>

class QPainter;

// The sliding change of the open folder. The item area of the old folder and the headers in
// between move up (or down) as one strip while the new folder's area comes in behind them,
// a fixed number of pixels per step.
class COutBarSlide
{
public:
    // before/after: the whole bar drawn with the old and with the new folder open; the areas
    // are the item areas of the two states.
    COutBarSlide(const QPixmap& before, const QPixmap& after, const QRect& oldArea,
                 const QRect& newArea, bool newBelowOld, int step);

    // Moves one step; false once the strip has arrived.
    bool Advance();
    bool Finished() const { return m_offset == m_target; }
    int Offset() const { return m_offset; }
    void Paint(QPainter& painter) const;

private:
    void DrawSlice(QPainter& painter, const QPixmap& source, int sourceTop, int sourceBottom,
                   int y) const;

    QPixmap m_before;
    QPixmap m_after;
    QRect m_oldArea;
    QRect m_newArea;
    bool m_forward;
    int m_step;
    int m_offset;
    int m_target;
};
