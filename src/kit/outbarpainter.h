#pragma once

#include "kit/skinengine.h"

#include <QColor>
#include <QFont>
#include <QPalette>

class QIcon;
class QPainter;
class QRect;
class QString;

// Draws the parts of the navigation bar from the images of its skin object, or in the plain
// look of the system colours when there is no skin object.
class COutBarPainter
{
public:
    enum class HeaderLook { Normal, Hover, Pressed };
    enum class FrameLook { Highlight, Pressed };

    // The skin object is one the engine opened; without either the plain look is drawn.
    COutBarPainter(CSkinEngine* engine, CSkinEngine::SkinObject skin, const QPalette& palette,
                   const QFont& font);

    bool HasSkin() const { return m_skin != 0; }

    // "BackImg" laid over the whole client rectangle, painted where the painter's clip allows.
    void Background(QPainter& painter, const QRect& client) const;
    void Header(QPainter& painter, const QRect& rect, const QString& caption,
                HeaderLook look) const;
    void Arrow(QPainter& painter, const QRect& rect, bool up, bool pressed) const;
    // Item frames exist only in a skin; false when nothing was drawn.
    bool ItemFrame(QPainter& painter, const QRect& rect, FrameLook look) const;
    void Icon(QPainter& painter, const QRect& rect, const QIcon& icon, bool enabled = true) const;
    void Label(QPainter& painter, const QRect& rect, const QString& text, bool smallIcons,
               bool enabled = true) const;
    // A line across [left, right] at y with small triangles at both ends.
    void InsertMark(QPainter& painter, int left, int right, int y, bool above, bool below) const;

private:
    bool Part(QPainter& painter, const QString& name, const QRect& rect) const;
    void RaisedFrame(QPainter& painter, const QRect& rect, bool sunken) const;

    CSkinEngine* m_engine;
    CSkinEngine::SkinObject m_skin;
    QFont m_font;
    QColor m_background;
    QColor m_headerLine;
    QColor m_face;
    QColor m_light;
    QColor m_highlight;
    QColor m_shadow;
    QColor m_darkShadow;
    QColor m_itemText;
    QColor m_folderText;
};
