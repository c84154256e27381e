// Bitmap files built field by field from the fuzzer's bytes: every format the
// reader takes (palette pictures of 1, 4 and 8 bits plain or run-length
// coded, 16, 24 and 32 bits plain or with bit fields, the old 12-byte header),
// any size and row order, any palette and pixels. Each file is well formed,
// so it must decode, and to exactly the colours that were put in. Where the
// byte-level target mostly hits the header checks, this one reaches the
// pixel decoding with a right answer to compare.

#include "bmpimage.h"
#include "bmpwriter.h"
#include "failure.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QImage>
#include <QVector>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

enum Kind { Plain1, Plain4, Plain8, Rle4, Rle8, Plain16, Plain24, Plain32, Fields16, Fields32, Core8, Core24, Kinds };

// A colour channel under a bit mask, widened to 8 bits with rounding.
int widen(quint32 pixel, quint32 mask)
{
    if (!mask)
        return 0;
    int shift = 0;
    while (!((mask >> shift) & 1u))
        ++shift;
    const quint32 max = mask >> shift;
    return int((quint64((pixel & mask) >> shift) * 255 + max / 2) / max);
}

[[noreturn]] void fail(const char *what, int x = -1, int y = -1)
{
    std::fprintf(stderr, "fuzz_bmp_fields: %s (pixel %d,%d)\n", what, x, y);
    std::abort();
}

struct Picture {
    int width = 1, height = 1, bits = 24;
    bool topDown = false;
    quint32 compression = 0;
    quint32 masks[3] = {0, 0, 0};
    QVector<QRgb> palette;
    QVector<quint32> values; // stored value of each pixel, top row first
    QVector<QRgb> expected;  // the colour it stands for
};

// One row of palette indices, run-length coded: runs of one index, literal
// stretches given one by one, and spans of index 0 now and then skipped with
// a move (which leaves them at index 0).
void encodeRow(FuzzedDataProvider &in, const quint32 *row, int width, bool four, QByteArray &out)
{
    int x = 0;
    while (x < width) {
        int same = 1;
        while (x + same < width && same < 255 && row[x + same] == row[x])
            ++same;
        const int choice = in.ConsumeIntegralInRange(0, 2);
        if (row[x] == 0 && choice == 0) {
            out.append(char(0)).append(char(2)).append(char(same)).append(char(0));
            x += same;
        } else if (choice == 1 || width - x < 3 || four) {
            // A run: at 4 bits the two indices of the byte alternate, so only
            // one index is repeated here.
            out.append(char(same)).append(char(four ? (row[x] << 4 | row[x]) : row[x]));
            x += same;
        } else {
            const int count = in.ConsumeIntegralInRange(3, std::min(255, width - x));
            out.append(char(0)).append(char(count));
            for (int i = 0; i < count; ++i)
                out.append(char(row[x + i]));
            if (count % 2)
                out.append(char(0));
            x += count;
        }
    }
}

QByteArray pixelBytes(FuzzedDataProvider &in, const Picture &p)
{
    QByteArray out;
    for (int stored = 0; stored < p.height; ++stored) {
        const int y = p.topDown ? stored : p.height - 1 - stored;
        const quint32 *row = p.values.constData() + y * p.width;
        if (p.compression == 1 || p.compression == 2) {
            encodeRow(in, row, p.width, p.compression == 2, out);
            out.append(char(0)).append(char(stored + 1 == p.height ? 1 : 0));
            continue;
        }
        QByteArray line((p.width * p.bits + 31) / 32 * 4, '\0');
        for (int x = 0; x < p.width; ++x) {
            if (p.bits < 8) {
                const int bit = x * p.bits;
                line[bit / 8] = char(uchar(line[bit / 8]) | (row[x] << (8 - p.bits - bit % 8)));
            } else {
                for (int b = 0; b < p.bits / 8; ++b)
                    line[x * p.bits / 8 + b] = char((row[x] >> (8 * b)) & 0xFF);
            }
        }
        out += line;
    }
    return out;
}

QByteArray fileOf(FuzzedDataProvider &in, const Picture &p, bool core)
{
    QByteArray header;
    if (core) {
        put32(header, 12);
        put16(header, quint32(p.width));
        put16(header, quint32(p.height));
        put16(header, 1);
        put16(header, quint32(p.bits));
    } else {
        put32(header, 40);
        put32(header, quint32(p.width));
        put32(header, quint32(p.topDown ? -p.height : p.height));
        put16(header, 1);
        put16(header, quint32(p.bits));
        put32(header, p.compression);
        put32(header, 0);
        put32(header, 2835);
        put32(header, 2835);
        put32(header, quint32(p.palette.size()));
        put32(header, 0);
        if (p.compression == 3)
            for (quint32 mask : p.masks)
                put32(header, mask);
    }
    QByteArray palette;
    for (QRgb colour : p.palette) {
        palette.append(char(qBlue(colour))).append(char(qGreen(colour))).append(char(qRed(colour)));
        if (!core)
            palette.append(char(0));
    }
    const QByteArray pixels = pixelBytes(in, p);
    return bmpFile(header, palette, pixels);
}

Picture pictureOf(FuzzedDataProvider &in, Kind kind)
{
    static const int bitsOf[Kinds] = {1, 4, 8, 4, 8, 16, 24, 32, 16, 32, 8, 24};
    Picture p;
    p.bits = bitsOf[kind];
    p.width = in.ConsumeIntegralInRange(1, 70);
    p.height = in.ConsumeIntegralInRange(1, 40);
    p.compression = kind == Rle8 ? 1 : kind == Rle4 ? 2 : (kind == Fields16 || kind == Fields32) ? 3 : 0;
    p.topDown = p.compression != 1 && p.compression != 2 && kind != Core8 && kind != Core24 && in.ConsumeBool();
    if (p.bits <= 8) {
        // The old header has no colour count: its palette is always whole.
        const bool core = kind == Core8;
        const int count = core ? 1 << p.bits : in.ConsumeIntegralInRange(1, 1 << p.bits);
        for (int i = 0; i < count; ++i)
            p.palette.append(
                qRgb(in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>(), in.ConsumeIntegral<uint8_t>()));
    }
    if (kind == Plain16) {
        p.masks[0] = 0x7C00, p.masks[1] = 0x03E0, p.masks[2] = 0x001F;
    } else if (kind == Plain32) {
        p.masks[0] = 0xFF0000, p.masks[1] = 0x00FF00, p.masks[2] = 0x0000FF;
    } else if (kind == Fields16) {
        const bool wide = in.ConsumeBool(); // 5-6-5 or 5-5-5
        p.masks[0] = wide ? 0xF800 : 0x7C00, p.masks[1] = wide ? 0x07E0 : 0x03E0, p.masks[2] = 0x001F;
    } else if (kind == Fields32) {
        const bool swapped = in.ConsumeBool(); // red low or high
        p.masks[0] = swapped ? 0x0000FF : 0xFF0000, p.masks[1] = 0x00FF00, p.masks[2] = swapped ? 0xFF0000 : 0x0000FF;
    }
    for (int i = 0; i < p.width * p.height; ++i) {
        quint32 value = 0;
        QRgb colour = 0;
        if (p.bits <= 8) {
            value = in.ConsumeIntegralInRange<quint32>(0, quint32(p.palette.size() - 1));
            colour = p.palette[int(value)];
        } else if (p.bits == 24) {
            value = in.ConsumeIntegral<uint32_t>() & 0xFFFFFF;
            colour = qRgb(int(value >> 16), int(value >> 8) & 0xFF, int(value) & 0xFF);
        } else {
            value = in.ConsumeIntegral<uint32_t>() & (p.bits == 16 ? 0xFFFF : 0xFFFFFFFF);
            colour = qRgb(widen(value, p.masks[0]), widen(value, p.masks[1]), widen(value, p.masks[2]));
        }
        p.values.append(value);
        p.expected.append(colour);
    }
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const Kind kind = Kind(in.ConsumeIntegralInRange(0, Kinds - 1));
    const Picture picture = pictureOf(in, kind);
    const QByteArray file = fileOf(in, picture, kind == Core8 || kind == Core24);
    QImage image;
    try {
        image = zorelad::decodeBmp(file);
    } catch (const zorelad::Failure &) {
        fail("a well-formed bitmap was refused");
    }
    if (image.width() != picture.width || image.height() != picture.height)
        fail("the picture's size differs");
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (image.pixel(x, y) != (picture.expected[y * picture.width + x] | 0xFF000000u))
                fail("a pixel's colour differs from the one put in", x, y);
    return 0;
}
