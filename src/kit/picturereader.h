#pragma once

#include <QImage>
#include <QSize>

class QImageReader;

// Pictures above this many pixels are scaled down while they are read, so a photograph from a
// large camera, or a file that only claims a huge size, never takes gigabytes or seconds.
inline constexpr qint64 kMaxPicturePixels = 32LL * 1024 * 1024;

// Reads the first picture (the first frame of an animation) from an opened reader. `bound`,
// when valid, is the largest size wanted: bigger pictures are scaled into it keeping their
// shape, smaller ones keep their size. `natural` receives the size the file declares (or the
// size read when it declares none). A null image when the data is no picture the reader knows,
// is damaged, or would need more memory than the reader's allocation limit.
QImage ReadPicture(QImageReader& reader, QSize bound = {}, QSize* natural = nullptr);
