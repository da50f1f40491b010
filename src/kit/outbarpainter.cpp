#include "kit/outbarpainter.h"

#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPolygonF>
#include <QRect>

using namespace Qt::StringLiterals;

COutBarPainter::COutBarPainter(CSkinEngine* engine, CSkinEngine::SkinObject skin,
                               const QPalette& palette, const QFont& font)
    : m_engine(engine), m_skin(engine ? skin : 0), m_font(font),
      m_background(palette.color(QPalette::Mid)), m_headerLine(palette.color(QPalette::Mid)),
      m_face(palette.color(QPalette::Button)), m_light(palette.color(QPalette::Midlight)),
      m_highlight(palette.color(QPalette::Light)), m_shadow(palette.color(QPalette::Dark)),
      m_darkShadow(palette.color(QPalette::Shadow))
{
    const QColor plainText = palette.color(QPalette::ButtonText);
    m_itemText = m_skin ? engine->ObjectColor(m_skin, u"ItemText"_s, Qt::black) : plainText;
    m_folderText = m_skin ? engine->ObjectColor(m_skin, u"FolderText"_s, Qt::black) : plainText;
}

bool COutBarPainter::Part(QPainter& painter, const QString& name, const QRect& rect) const
{
    return m_skin && m_engine->DrawPart(m_skin, name, painter, rect);
}

void COutBarPainter::Background(QPainter& painter, const QRect& client) const
{
    if (m_skin && m_engine->DrawBackground(m_skin, u"BackImg"_s, painter, client))
        return;
    painter.fillRect(client, m_background);
}

void COutBarPainter::RaisedFrame(QPainter& painter, const QRect& r, bool sunken) const
{
    // Two rings: light over dark shadow outside, highlight over shadow inside.
    const QColor outerTopLeft = sunken ? m_darkShadow : m_light;
    const QColor outerBottomRight = sunken ? m_light : m_darkShadow;
    const QColor innerTopLeft = sunken ? m_shadow : m_highlight;
    const QColor innerBottomRight = sunken ? m_highlight : m_shadow;
    const auto ring = [&](const QRect& q, const QColor& topLeft, const QColor& bottomRight) {
        painter.fillRect(QRect(q.left(), q.top(), q.width(), 1), topLeft);
        painter.fillRect(QRect(q.left(), q.top(), 1, q.height()), topLeft);
        painter.fillRect(QRect(q.left(), q.bottom(), q.width(), 1), bottomRight);
        painter.fillRect(QRect(q.right(), q.top(), 1, q.height()), bottomRight);
    };
    ring(r, outerTopLeft, outerBottomRight);
    ring(r.adjusted(1, 1, -1, -1), innerTopLeft, innerBottomRight);
}

void COutBarPainter::Header(QPainter& painter, const QRect& rect, const QString& caption,
                            HeaderLook look) const
{
    const QString image = look == HeaderLook::Hover     ? u"HoverFolder"_s
                          : look == HeaderLook::Pressed ? u"SelectedFolder"_s
                                                        : u"NormalFolder"_s;
    if (!Part(painter, image, rect)) {
        painter.fillRect(rect, m_face);
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), m_headerLine);
        const QRect frame = rect.adjusted(0, 1, 0, 0);
        if (look == HeaderLook::Hover) {
            painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), m_headerLine);
            painter.fillRect(QRect(frame.left(), frame.top(), 1, frame.height()), m_headerLine);
            painter.fillRect(QRect(frame.left(), frame.bottom(), frame.width(), 1), m_darkShadow);
            painter.fillRect(QRect(frame.right(), frame.top(), 1, frame.height()), m_darkShadow);
            RaisedFrame(painter, frame.adjusted(1, 1, -1, -1), false);
        } else {
            RaisedFrame(painter, frame, look == HeaderLook::Pressed);
        }
    }
    painter.save();
    painter.setFont(m_font);
    painter.setPen(m_folderText);
    const QRect textRect = rect.adjusted(4, 1, -4, 0);
    const QString shown =
        QFontMetrics(m_font).elidedText(caption, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, shown);
    painter.restore();
}

void COutBarPainter::Arrow(QPainter& painter, const QRect& rect, bool up, bool pressed) const
{
    const QString image = up ? (pressed ? u"PressedUpArrowButton"_s : u"UpArrowButton"_s)
                             : (pressed ? u"PressedDownArrowButton"_s : u"DownArrowButton"_s);
    if (Part(painter, image, rect))
        return;
    painter.fillRect(rect, m_face);
    RaisedFrame(painter, rect, pressed);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_itemText);
    const QPointF c = QRectF(rect).center() + (pressed ? QPointF(0.5, 0.5) : QPointF());
    const qreal h = rect.width() / 5.0;
    const qreal d = up ? -1.0 : 1.0;
    painter.drawPolygon(
        QPolygonF({c + QPointF(-1.6 * h, -d * 0.8 * h), c + QPointF(1.6 * h, -d * 0.8 * h),
                   c + QPointF(0, d * 0.8 * h)}));
    painter.restore();
}

bool COutBarPainter::ItemFrame(QPainter& painter, const QRect& rect, FrameLook look) const
{
    return Part(painter, look == FrameLook::Pressed ? u"PressedItem"_s : u"HighlightItem"_s, rect);
}

void COutBarPainter::Icon(QPainter& painter, const QRect& rect, const QIcon& icon,
                          bool enabled) const
{
    if (!icon.isNull() && rect.isValid())
        icon.paint(&painter, rect, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled,
                   QIcon::Off);
}

void COutBarPainter::Label(QPainter& painter, const QRect& rect, const QString& text,
                           bool smallIcons, bool enabled) const
{
    if (text.isEmpty())
        return;
    painter.save();
    painter.setFont(m_font);
    QColor pen = m_itemText;
    if (!enabled)
        pen.setAlphaF(pen.alphaF() * 0.45);
    painter.setPen(pen);
    if (smallIcons)
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    else
        painter.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
    painter.restore();
}

void COutBarPainter::InsertMark(QPainter& painter, int left, int right, int y, bool above,
                                bool below) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRect(left, y, right - left + 1, 1), Qt::black);
    // Triangles pointing at the line, 4 pixels tall, at both ends.
    for (int step = 1; step <= 4; ++step) {
        const int half = 4 - step;
        for (int x : {left, right}) {
            const int from = x == left ? left : right - 2 * half;
            if (above)
                painter.fillRect(QRect(from, y - step, 2 * half + 1, 1), Qt::black);
            if (below)
                painter.fillRect(QRect(from, y + step, 2 * half + 1, 1), Qt::black);
        }
    }
    painter.restore();
}
