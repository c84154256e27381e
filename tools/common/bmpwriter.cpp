#include "bmpwriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

void put16(QByteArray &out, quint32 v)
{
    out.append(char(v & 0xFF));
    out.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray &out, quint32 v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

QByteArray bmpFile(const QByteArray &header, const QByteArray &palette, const QByteArray &pixels)
{
    const quint32 offset = quint32(14 + header.size() + palette.size());
    QByteArray file("BM");
    put32(file, offset + quint32(pixels.size()));
    put32(file, 0);
    put32(file, offset);
    return file + header + palette + pixels;
}

namespace {

QByteArray infoHeader(const BmpLayout &s, quint32 paletteCount, quint32 imageSize)
{
    QByteArray h;
    put32(h, s.headerSize);
    if (s.headerSize == 12) {
        put16(h, quint32(s.width));
        put16(h, quint32(s.height));
        put16(h, 1);
        put16(h, quint32(s.bitCount));
        return h;
    }
    put32(h, quint32(s.width));
    put32(h, quint32(s.height));
    put16(h, 1);
    put16(h, quint32(s.bitCount));
    put32(h, s.compression);
    put32(h, s.writeImageSize ? imageSize : 0);
    put32(h, quint32(s.pixelsPerMetre));
    put32(h, quint32(s.pixelsPerMetre));
    put32(h, paletteCount);
    put32(h, 0);
    if (s.headerSize > 40) {
        // The masks, then the alpha mask, the colour space and the rest.
        for (quint32 m : s.masks)
            put32(h, m);
        if (s.headerSize >= 108) {
            put32(h, 0);
            put32(h, s.colourSpace);
        }
        h.append(QByteArray(int(s.headerSize) - h.size(), '\0'));
    } else if (s.compression == 3) {
        for (quint32 m : s.masks)
            put32(h, m);
    }
    return h;
}

QByteArray rows(const BmpLayout &s)
{
    const int height = std::abs(s.height);
    const int stride = (s.width * s.bitCount + 31) / 32 * 4;
    QByteArray out;
    for (int row = 0; row < height; ++row) {
        const int y = s.height < 0 ? row : height - 1 - row;
        QByteArray line(stride, '\0');
        for (int x = 0; x < s.width; ++x) {
            const quint32 v = s.pixel(x, y);
            if (s.bitCount < 8) {
                const int bit = x * s.bitCount;
                line[bit / 8] = char(uchar(line[bit / 8]) | (v << (8 - s.bitCount - bit % 8)));
            } else {
                for (int b = 0; b < s.bitCount / 8; ++b)
                    line[x * s.bitCount / 8 + b] = char((v >> (8 * b)) & 0xFF);
            }
        }
        out += line;
    }
    return out;
}

} // namespace

QByteArray writeBmp(const BmpLayout &s)
{
    QByteArray palette;
    for (QRgb c : s.palette) {
        palette.append(char(qBlue(c)));
        palette.append(char(qGreen(c)));
        palette.append(char(qRed(c)));
        if (s.headerSize != 12)
            palette.append('\0');
    }
    const QByteArray pixels = rows(s);
    const quint32 colours = s.colorsUsed >= 0 ? quint32(s.colorsUsed) : quint32(s.palette.size());
    const QByteArray header = infoHeader(s, s.headerSize == 12 ? 0 : colours, quint32(pixels.size()));
    palette.append(QByteArray(s.gap, '\x5A'));
    return bmpFile(header, palette, pixels);
}

QByteArray writeRleBmp(int bits, int width, int height, const QVector<QRgb> &palette, const QByteArray &codes)
{
    BmpLayout s;
    s.width = width;
    s.height = height;
    s.bitCount = bits;
    s.compression = bits == 8 ? 1 : 2;
    s.palette = palette;
    s.pixel = [](int, int) { return 0u; };
    QByteArray file = writeBmp(s);
    const int offset = int(uchar(file[10]) | uchar(file[11]) << 8);
    return file.left(offset) + codes;
}

QByteArray writeBmp24(int width, int height, const std::function<QRgb(int x, int y)> &colour)
{
    BmpLayout s;
    s.width = width;
    s.height = height;
    s.bitCount = 24;
    s.pixel = [&colour](int x, int y) { return quint32(colour(x, y)) & 0xFFFFFFu; };
    return writeBmp(s);
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
