#pragma once

#include <QColor>
#include <QGradientStops>
#include <QImage>
#include <QMarginsF>
#include <QString>

#include <optional>

class QPainter;
class QRectF;

// A fill of a skin image: one colour, or a linear gradient across the painted rectangle.
struct SSkinFill
{
    enum class Direction { Vertical, Horizontal };
    Direction direction = Direction::Vertical;
    QGradientStops stops; // a single stop is a plain colour
};

// One named image of a skin object, described rather than stored, so it is drawn sharply at
// any size and pixel density: an optionally rounded box with fill and border, edge lines, an
// arrow glyph, and optionally a picture file stretched as a nine-patch.
//
// Properties, each optional, drawn in this order:
//   Inset = n | l, t, r, b          shrinks the box inside the target rectangle
//   Fill = colour | linear(vertical|horizontal, colour [pos], colour [pos], ...)
//   Border = colour, BorderWidth = n, Radius = n
//   InnerLight = colour             a one-pixel gloss line just inside the top border
//   Image = file.png, Margins = n | l, t, r, b    a picture beside the skin (nine-patch
//                                   when Margins are given, else stretched)
//   TopLine = colour, BottomLine = colour         full-width lines on the target's edges
//   Glyph = up | down | none, GlyphColor = colour a chevron centred in the box
// Colours: #rgb, #rrggbb, #aarrggbb, rgb(r, g, b), rgba(r, g, b, a), SVG names, transparent.
class CSkinImage
{
public:
    enum class Glyph { None, Up, Down };

    // Sets one property from the skin file; false with a reason when key or value is not
    // understood. Pictures are read from baseDir.
    bool SetProperty(const QString& key, const QString& value, const QString& baseDir,
                     QString* error);
    // False with a reason when the properties do not make a drawable image.
    bool Validate(QString* error) const;

    void Paint(QPainter& painter, const QRectF& rect) const;

private:
    std::optional<SSkinFill> m_fill;
    std::optional<QColor> m_border;
    qreal m_borderWidth = 1.0;
    qreal m_radius = 0.0;
    QMarginsF m_inset;
    std::optional<QColor> m_innerLight;
    std::optional<QColor> m_topLine;
    std::optional<QColor> m_bottomLine;
    Glyph m_glyph = Glyph::None;
    QColor m_glyphColor = Qt::black;
    QImage m_picture;
    QMarginsF m_pictureMargins;
    bool m_hasMargins = false;
};

// Value readers shared by the skin file reader.
namespace SkinValue {
std::optional<QColor> ParseColour(const QString& text);
std::optional<SSkinFill> ParseFill(const QString& text);
// "n" or "left, top, right, bottom"
std::optional<QMarginsF> ParseMargins(const QString& text);
std::optional<qreal> ParseNumber(const QString& text);
// Splits at commas that are not inside parentheses.
QStringList SplitTopLevel(const QString& text);
} // namespace SkinValue
