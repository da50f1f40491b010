#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QPainter;
class QRect;
class QWidget;

// One picture from a BMP, JPEG, GIF or PNG file, drawn stretched into any rectangle. A file
// that cannot be opened is reported in a "CPicture Error" box; a file that is no picture is
// not reported and simply leaves the object empty.
class CPicture
{
public:
    // Messages are shown over `messageParent` (the active window when null).
    explicit CPicture(QWidget* messageParent = nullptr) : m_messageParent(messageParent) {}

    // Replaces any held picture by the one in the file at `path` (a full path).
    bool Load(const QString& path);
    // Builds the picture from a file's contents in memory.
    bool LoadFromBuffer(const QByteArray& bytes);
    // Draws the picture stretched to `rect`; false, drawing nothing, when there is none.
    bool Render(QPainter* painter, const QRect& rect) const;
    // Drops the picture; every member reads zero again.
    void Free();

    bool IsLoaded() const { return !m_image.isNull(); }
    // The picture's size in pixels as its file gives it; 0 when there is none.
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // The length in bytes of the file last loaded; 0 when opening it failed.
    qint64 Size() const { return m_nSize; }
    // What is drawn: the picture itself, or a reduced copy of a very large one.
    const QImage& Image() const { return m_image; }

private:
    QWidget* m_messageParent;
    QImage m_image;
    int m_nWidth = 0;
    int m_nHeight = 0;
    qint64 m_nSize = 0;
};
