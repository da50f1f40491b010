#include "kit/infobar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMargin = 4;

// The icon-title font with the height doubled.
QFont BarFont()
{
    QFont font = QApplication::font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * 2);
    else
        font.setPixelSize(font.pixelSize() * 2);
    return font;
}

} // namespace

CInfoBar::CInfoBar(QWidget* parent)
    : QWidget(parent), m_text(u"default"_s),
      m_background(QApplication::palette().color(QPalette::Dark)), m_textColor(Qt::white)
{
    setObjectName(u"InfoBar"_s);
    setFont(BarFont());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CInfoBar::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

void CInfoBar::SetBackgroundColor(const QColor& color)
{
    m_background = color;
    update();
}

QRect CInfoBar::TextArea(const QRect& area) const
{
    return area.adjusted(kMargin, kMargin, -kMargin, -kMargin);
}

int CInfoBar::heightForWidth(int width) const
{
    const QFontMetrics metrics(font());
    const QRect inside = TextArea(QRect(0, 0, width, 0x7FFF));
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, inside.width(), 0x7FFF), Qt::TextWordWrap, m_text);
    return needed.height() + 2 * kMargin;
}

QSize CInfoBar::sizeHint() const
{
    return {200, heightForWidth(width() > 0 ? width() : 200)};
}

QSize CInfoBar::minimumSizeHint() const
{
    return {0, QFontMetrics(font()).height() + 2 * kMargin};
}

void CInfoBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    painter.setPen(m_textColor);
    const QRect area = TextArea(rect());
    const QFontMetrics metrics(font());
    const QRect needed =
        metrics.boundingRect(QRect(0, 0, area.width(), 0x7FFF), Qt::TextWordWrap, m_text);
    if (needed.height() <= area.height()) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, m_text);
        return;
    }
    // Too long: as many whole lines as fit, the last one ending in an ellipsis.
    QTextLayout layout(m_text, font());
    layout.beginLayout();
    QString shown;
    int y = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(area.width());
        const bool lastFits = y + 2 * metrics.height() > area.height();
        const QString part = m_text.mid(line.textStart(), lastFits ? -1 : line.textLength());
        if (lastFits) {
            shown += metrics.elidedText(part.simplified(), Qt::ElideRight, area.width());
            break;
        }
        shown += part.trimmed() + u'\n';
        y += metrics.height();
    }
    layout.endLayout();
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop, shown);
}
