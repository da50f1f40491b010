#include "kit/picture.h"

#include "kit/messages.h"
#include "kit/picturereader.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace {

const QString kErrorCaption = u"CPicture Error"_s;
// The longest file error description the box shows.
constexpr qsizetype kMaxErrorLength = 255;

// Reads the picture from a device; an empty image when it holds none.
QImage ReadFrom(QIODevice* device, QSize& natural)
{
    QImageReader reader(device);
    QImage image = ReadPicture(reader, {}, &natural);
    if (image.isNull())
        natural = QSize();
    return image;
}

} // namespace

bool CPicture::Load(const QString& path)
{
    Free();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QWidget* parent = m_messageParent ? m_messageParent : QApplication::activeWindow();
        Warn(parent, file.errorString().left(kMaxErrorLength), kErrorCaption);
        return false;
    }
    // The reader takes what it needs from the file: a large photograph is never held whole
    // in memory next to its pixels.
    QSize natural;
    m_image = ReadFrom(&file, natural);
    m_nSize = file.size();
    if (m_image.isNull())
        return false;
    m_nWidth = natural.width();
    m_nHeight = natural.height();
    return true;
}

bool CPicture::LoadFromBuffer(const QByteArray& bytes)
{
    Free();
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QSize natural;
    m_image = ReadFrom(&buffer, natural);
    if (m_image.isNull())
        return false;
    m_nWidth = natural.width();
    m_nHeight = natural.height();
    return true;
}

bool CPicture::Render(QPainter* painter, const QRect& rect) const
{
    if (!painter || m_image.isNull())
        return false;
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(rect, m_image);
    painter->restore();
    return true;
}

void CPicture::Free()
{
    m_image = QImage();
    m_nWidth = 0;
    m_nHeight = 0;
    m_nSize = 0;
}
