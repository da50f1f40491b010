#include "kit/picturereader.h"

#include <QImageReader>

#include <cmath>

namespace {

// The size a picture of `size` is decoded at: inside `bound` when one is given, and never
// above kMaxPicturePixels.
QSize DecodedSize(QSize size, QSize bound)
{
    if (!size.isValid() || size.isEmpty())
        return {};
    QSize target = size;
    if (bound.isValid() && (size.width() > bound.width() || size.height() > bound.height()))
        target = size.scaled(bound, Qt::KeepAspectRatio);
    const qint64 pixels = qint64(target.width()) * target.height();
    if (pixels > kMaxPicturePixels) {
        const double shrink = std::sqrt(double(kMaxPicturePixels) / double(pixels));
        target = QSize(int(target.width() * shrink), int(target.height() * shrink));
    }
    return target.expandedTo(QSize(1, 1));
}

} // namespace

QImage ReadPicture(QImageReader& reader, QSize bound, QSize* natural)
{
    // Only the first frame of an animation is shown, so only that one is decoded.
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    const QSize target = DecodedSize(declared, bound);
    if (target.isValid() && target != declared)
        reader.setScaledSize(target);
    QImage image = reader.read();
    if (natural)
        *natural = declared.isValid() && !declared.isEmpty() ? declared : image.size();
    return image;
}
