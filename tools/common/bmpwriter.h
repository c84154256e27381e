#pragma once
// Writes .bmp files byte by byte, independently of the program's reader: for
// the tests, the fuzz targets' seeds and the certificate picture.

#include <QByteArray>
#include <QRgb>
#include <QVector>
#include <functional>

struct BmpLayout {
    int width = 1;
    int height = 1; // stored as given; negative means top-down rows
    int bitCount = 24;
    quint32 headerSize = 40; // 12, 40, 108 or 124
    quint32 compression = 0; // 0 plain, 3 bit fields
    quint32 masks[3] = {0, 0, 0};
    QVector<QRgb> palette;       // for 1, 4 and 8 bits
    qint64 colorsUsed = -1;      // the header's count of colours; -1: the palette's size
    int gap = 0;                 // bytes between the palette and the pixels
    int pixelsPerMetre = 2835;   // 72 dpi; 11811 is 300 dpi
    bool writeImageSize = false; // the pixels' size in the header, or 0 as plain bitmaps may
    quint32 colourSpace = 0;     // the colour space of headers from 108 bytes on ('sRGB' is 0x73524742)
    // The stored value of a pixel: a palette index, or the raw 16/24/32-bit value.
    std::function<quint32(int x, int y)> pixel = [](int, int) { return 0u; };
};

// Appends a little-endian 16 or 32-bit value, as every field of the format is stored.
void put16(QByteArray &out, quint32 v);
void put32(QByteArray &out, quint32 v);

// The file header in front of an info header, the palette (with any gap) and
// the pixels, with the file's size and the pixels' offset filled in.
QByteArray bmpFile(const QByteArray &header, const QByteArray &palette, const QByteArray &pixels);

// A complete file: file header, info header, masks, palette, gap and rows
// (bottom-up unless the height is negative), each row padded to 4 bytes.
QByteArray writeBmp(const BmpLayout &layout);

// A run-length coded 4 or 8-bit picture (height negative: stored top down,
// which the format does not allow): the headers and palette, then `codes`
// as they are.
QByteArray writeRleBmp(int bits, int width, int height, const QVector<QRgb> &palette, const QByteArray &codes);

// A 24-bit picture whose pixels come from a function of (x, y).
QByteArray writeBmp24(int width, int height, const std::function<QRgb(int x, int y)> &colour);

// Writes bytes to a file, creating its directory; false on failure.
bool writeBytes(const QString &path, const QByteArray &bytes);
