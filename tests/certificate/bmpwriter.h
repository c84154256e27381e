#pragma once
// Writes .bmp files byte by byte for the tests, independently of the reader.

#include <QByteArray>
#include <QRgb>
#include <QVector>
#include <functional>

struct BmpLayout {
    int width = 1;
    int height = 1;          // stored as given; negative means top-down rows
    int bitCount = 24;
    quint32 headerSize = 40; // 12, 40, 108 or 124
    quint32 compression = 0; // 0 plain, 3 bit fields
    quint32 masks[3] = {0, 0, 0};
    QVector<QRgb> palette;   // for 1, 4 and 8 bits
    // The stored value of a pixel: a palette index, or the raw 16/24/32-bit value.
    std::function<quint32(int x, int y)> pixel = [](int, int) { return 0u; };
};

// A complete file: file header, info header, masks, palette and rows
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
