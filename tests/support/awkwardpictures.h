#pragma once

#include <QByteArray>

// Picture files that a loader must survive, written out by hand: for the picture tests and the
// catalogue benchmark.

namespace awkwardpictures {

inline void PutLe32(QByteArray& bytes, int at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

// A BMP header that claims 20000 x 20000 pixels of 24 bits, followed by a few bytes only.
inline QByteArray HugeBmpHeader()
{
    QByteArray bytes(54 + 64, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    PutLe32(bytes, 2, 54 + 20000u * 60000u);
    PutLe32(bytes, 10, 54);
    PutLe32(bytes, 14, 40);
    PutLe32(bytes, 18, 20000);
    PutLe32(bytes, 22, 20000);
    bytes[26] = 1;  // planes
    bytes[28] = 24; // bits per pixel
    return bytes;
}

// A 1 x 1 GIF animation of `frames` frames (Qt writes no GIF).
inline QByteArray AnimatedGif(int frames)
{
    // Header, 1 x 1 screen with two colours, then the looping extension.
    QByteArray bytes = QByteArray::fromHex("47494638396101000100800000ffffff000000");
    bytes += QByteArray::fromHex("21ff0b4e45545343415045322e300301000000");
    const QByteArray frame = QByteArray::fromHex("21f90404010000002c00000000010001000002024401"
                                                 "00");
    for (int i = 0; i < frames; ++i)
        bytes += frame;
    bytes += ';';
    return bytes;
}

} // namespace awkwardpictures
