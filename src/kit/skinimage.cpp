#include "kit/skinimage.h"

#include <QDir>
#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace SkinValue {

QStringList SplitTopLevel(const QString& text)
{
    QStringList parts;
    int depth = 0;
    QString current;
    for (QChar c : text) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        if (c == u',' && depth == 0) {
            parts << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current.trimmed();
    return parts;
}

std::optional<qreal> ParseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<QColor> ParseColour(const QString& text)
{
    const QString t = text.trimmed();
    if (t.compare(u"transparent"_s, Qt::CaseInsensitive) == 0)
        return QColor(Qt::transparent);
    static const QRegularExpression rgbPattern(
        uR"(^rgba?\(\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*(?:,\s*(\d+)\s*)?\)$)"_s,
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = rgbPattern.match(t);
    if (match.hasMatch()) {
        const bool hasAlpha = !match.captured(4).isEmpty();
        if (t.startsWith(u"rgba"_s, Qt::CaseInsensitive) != hasAlpha)
            return std::nullopt;
        int channels[4] = {0, 0, 0, 255};
        for (int i = 0; i < (hasAlpha ? 4 : 3); ++i) {
            channels[i] = match.captured(i + 1).toInt();
            if (channels[i] > 255)
                return std::nullopt;
        }
        return QColor(channels[0], channels[1], channels[2], channels[3]);
    }
    // #rgb, #rrggbb, #aarrggbb and the SVG colour names.
    const QColor colour = QColor::fromString(t);
    if (!colour.isValid())
        return std::nullopt;
    return colour;
}

std::optional<SSkinFill> ParseFill(const QString& text)
{
    const QString t = text.trimmed();
    SSkinFill fill;
    if (!t.startsWith(u"linear("_s, Qt::CaseInsensitive)) {
        const auto colour = ParseColour(t);
        if (!colour)
            return std::nullopt;
        fill.stops.append({0.0, *colour});
        return fill;
    }
    if (!t.endsWith(u')'))
        return std::nullopt;
    const QStringList parts = SplitTopLevel(t.mid(7, t.size() - 8));
    if (parts.size() < 3)
        return std::nullopt;
    if (parts[0].compare(u"vertical"_s, Qt::CaseInsensitive) == 0)
        fill.direction = SSkinFill::Direction::Vertical;
    else if (parts[0].compare(u"horizontal"_s, Qt::CaseInsensitive) == 0)
        fill.direction = SSkinFill::Direction::Horizontal;
    else
        return std::nullopt;
    const qsizetype count = parts.size() - 1;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        // "colour" or "colour position"; a colour itself holds no blank outside parentheses
        QString colourText = parts[i];
        qreal position = count == 1 ? 0.0 : qreal(i - 1) / qreal(count - 1);
        const qsizetype blank = colourText.lastIndexOf(u' ');
        if (blank > 0 && !colourText.endsWith(u')')) {
            const auto number = ParseNumber(colourText.mid(blank + 1));
            if (!number || *number < 0.0 || *number > 1.0)
                return std::nullopt;
            position = *number;
            colourText = colourText.left(blank);
        }
        const auto colour = ParseColour(colourText);
        if (!colour)
            return std::nullopt;
        if (!fill.stops.isEmpty() && position < fill.stops.last().first)
            return std::nullopt;
        fill.stops.append({position, *colour});
    }
    return fill;
}

std::optional<QMarginsF> ParseMargins(const QString& text)
{
    const QStringList parts = SplitTopLevel(text);
    if (parts.size() != 1 && parts.size() != 4)
        return std::nullopt;
    qreal values[4];
    for (int i = 0; i < 4; ++i) {
        const auto number = ParseNumber(parts[parts.size() == 1 ? 0 : i]);
        if (!number || *number < 0.0)
            return std::nullopt;
        values[i] = *number;
    }
    return QMarginsF(values[0], values[1], values[2], values[3]);
}

} // namespace SkinValue

bool CSkinImage::SetProperty(const QString& key, const QString& value, const QString& baseDir,
                             QString* error)
{
    const auto fail = [&](const QString& what) {
        *error = u"%1: %2"_s.arg(key, what);
        return false;
    };
    const auto colour = [&](std::optional<QColor>& target) {
        target = SkinValue::ParseColour(value);
        return target ? true : fail(u"not a colour"_s);
    };
    const QString k = key.toLower();
    if (k == u"fill"_s) {
        m_fill = SkinValue::ParseFill(value);
        return m_fill ? true : fail(u"not a colour or linear(...) gradient"_s);
    }
    if (k == u"border"_s)
        return colour(m_border);
    if (k == u"innerlight"_s)
        return colour(m_innerLight);
    if (k == u"topline"_s)
        return colour(m_topLine);
    if (k == u"bottomline"_s)
        return colour(m_bottomLine);
    if (k == u"borderwidth"_s || k == u"radius"_s) {
        const auto number = SkinValue::ParseNumber(value);
        if (!number || *number < 0.0 || *number > 64.0)
            return fail(u"not a size"_s);
        (k == u"radius"_s ? m_radius : m_borderWidth) = *number;
        return true;
    }
    if (k == u"inset"_s || k == u"margins"_s) {
        const auto margins = SkinValue::ParseMargins(value);
        if (!margins)
            return fail(u"expected one size or four sizes"_s);
        if (k == u"inset"_s) {
            m_inset = *margins;
        } else {
            m_pictureMargins = *margins;
            m_hasMargins = true;
        }
        return true;
    }
    if (k == u"glyph"_s) {
        const QString g = value.trimmed().toLower();
        if (g == u"up"_s)
            m_glyph = Glyph::Up;
        else if (g == u"down"_s)
            m_glyph = Glyph::Down;
        else if (g == u"none"_s)
            m_glyph = Glyph::None;
        else
            return fail(u"expected up, down or none"_s);
        return true;
    }
    if (k == u"glyphcolor"_s) {
        std::optional<QColor> c;
        if (!colour(c))
            return false;
        m_glyphColor = *c;
        return true;
    }
    if (k == u"image"_s) {
        const QString name = value.trimmed();
        if (name.isEmpty() || name.contains(u'/') || name.contains(u'\\'))
            return fail(u"expected a file name beside the skin"_s);
        QImageReader reader(QDir(baseDir).filePath(name));
        m_picture = reader.read();
        if (m_picture.isNull())
            return fail(u"cannot read %1: %2"_s.arg(name, reader.errorString()));
        m_picture = m_picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return true;
    }
    return fail(u"unknown property"_s);
}

bool CSkinImage::Validate(QString* error) const
{
    if (!m_fill && !m_border && !m_innerLight && !m_topLine && !m_bottomLine &&
        m_glyph == Glyph::None && m_picture.isNull()) {
        *error = u"the image draws nothing"_s;
        return false;
    }
    if (m_hasMargins && m_picture.isNull()) {
        *error = u"Margins without Image"_s;
        return false;
    }
    if (m_hasMargins &&
        (m_pictureMargins.left() + m_pictureMargins.right() >= m_picture.width() ||
         m_pictureMargins.top() + m_pictureMargins.bottom() >= m_picture.height())) {
        *error = u"Margins larger than the image"_s;
        return false;
    }
    return true;
}

namespace {

QBrush MakeBrush(const SSkinFill& fill, const QRectF& rect)
{
    if (fill.stops.size() == 1)
        return QBrush(fill.stops.first().second);
    QLinearGradient gradient(rect.topLeft(), fill.direction == SSkinFill::Direction::Vertical
                                                 ? rect.bottomLeft()
                                                 : rect.topRight());
    gradient.setStops(fill.stops);
    return QBrush(gradient);
}

// Draws the picture with its corners unscaled, its edges stretched one way and its centre
// stretched both ways.
void PaintNinePatch(QPainter& painter, const QImage& picture, const QMarginsF& m,
                    const QRectF& target)
{
    const qreal sx[4] = {0, m.left(), picture.width() - m.right(), qreal(picture.width())};
    const qreal sy[4] = {0, m.top(), picture.height() - m.bottom(), qreal(picture.height())};
    // Corners shrink proportionally when the target is smaller than the two margins.
    const qreal fx =
        std::min<qreal>(1.0, target.width() / std::max<qreal>(1.0, m.left() + m.right()));
    const qreal fy =
        std::min<qreal>(1.0, target.height() / std::max<qreal>(1.0, m.top() + m.bottom()));
    const qreal tx[4] = {target.left(), target.left() + m.left() * fx,
                         target.right() - m.right() * fx, target.right()};
    const qreal ty[4] = {target.top(), target.top() + m.top() * fy,
                         target.bottom() - m.bottom() * fy, target.bottom()};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QRectF source(QPointF(sx[column], sy[row]), QPointF(sx[column + 1], sy[row + 1]));
            const QRectF destination(QPointF(tx[column], ty[row]),
                                     QPointF(tx[column + 1], ty[row + 1]));
            if (source.isEmpty() || destination.isEmpty())
                continue;
            painter.drawImage(destination, picture, source);
        }
    }
}

void PaintGlyph(QPainter& painter, CSkinImage::Glyph glyph, const QColor& colour,
                const QRectF& rect)
{
    const qreal side = std::min(rect.width(), rect.height());
    const qreal half = side * 0.22;
    const QPointF centre = rect.center();
    const qreal direction = glyph == CSkinImage::Glyph::Up ? -1.0 : 1.0;
    const QPointF points[3] = {
        centre + QPointF(-half, -direction * half * 0.5),
        centre + QPointF(0, direction * half * 0.5),
        centre + QPointF(half, -direction * half * 0.5),
    };
    QPen pen(colour, std::max<qreal>(1.5, side / 9.0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(points, 3);
}

} // namespace

void CSkinImage::Paint(QPainter& painter, const QRectF& rect) const
{
    const QRectF box = rect.marginsRemoved(m_inset);
    if (box.width() <= 0 || box.height() <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    if (m_fill || m_border) {
        // Half the pen inside the box, so a 1-pixel border lands on whole pixels.
        const qreal pen = m_border ? m_borderWidth : 0.0;
        const QRectF shape = box.adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
        painter.setPen(m_border && pen > 0 ? QPen(*m_border, pen) : QPen(Qt::NoPen));
        painter.setBrush(m_fill ? MakeBrush(*m_fill, box) : QBrush(Qt::NoBrush));
        if (m_radius > 0)
            painter.drawRoundedRect(shape, m_radius, m_radius);
        else
            painter.drawRect(shape);
    }
    if (m_innerLight) {
        const qreal pen = m_border ? m_borderWidth : 0.0;
        const qreal y = box.top() + pen + 0.5;
        const qreal indent = std::max(m_radius * 0.6, pen);
        painter.setPen(QPen(*m_innerLight, 1.0));
        painter.drawLine(QPointF(box.left() + indent, y), QPointF(box.right() - indent, y));
    }
    if (!m_picture.isNull()) {
        if (m_hasMargins)
            PaintNinePatch(painter, m_picture, m_pictureMargins, box);
        else
            painter.drawImage(box, m_picture);
    }
    if (m_topLine) {
        painter.setPen(QPen(*m_topLine, 1.0));
        painter.drawLine(QPointF(rect.left(), rect.top() + 0.5),
                         QPointF(rect.right(), rect.top() + 0.5));
    }
    if (m_bottomLine) {
        painter.setPen(QPen(*m_bottomLine, 1.0));
        painter.drawLine(QPointF(rect.left(), rect.bottom() - 0.5),
                         QPointF(rect.right(), rect.bottom() - 0.5));
    }
    if (m_glyph != Glyph::None)
        PaintGlyph(painter, m_glyph, m_glyphColor, box);
    painter.restore();
}
