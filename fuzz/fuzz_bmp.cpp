// Bitmap files: decodeBmp on arbitrary bytes. A clean Failure is the expected
// answer to bad input; any other exception, a sanitizer report or a picture
// out of proportion to the bytes it came from is a finding.

#include "bmpimage.h"
#include "failure.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_bmp: %s\n", what);
    std::abort();
}

void checkPicture(const QByteArray &bytes, const QImage &image)
{
    if (bytes.isEmpty()) {
        if (!image.isNull())
            fail("empty bytes gave a picture");
        return;
    }
    if (bytes.size() < 14 || !bytes.startsWith("BM"))
        fail("a picture from bytes without a bitmap file header");
    const bool indexed = image.format() == QImage::Format_Indexed8;
    if (image.isNull() || (!indexed && image.format() != QImage::Format_RGB32))
        fail("a picture that is null or neither indexed nor RGB32");
    if (indexed && image.colorCount() != 2 && image.colorCount() != 16 && image.colorCount() != 256)
        fail("a palette picture whose colour table is not 2, 16 or 256 entries");
    const qint64 w = image.width();
    const qint64 h = image.height();
    if (w < 1 || h < 1 || w > zorelad::BmpMaxSide || h > zorelad::BmpMaxSide || w * h > zorelad::BmpMaxPixels)
        fail("a picture outside the size limits");
    // Every pixel takes at least one bit of the file, unless the rows are
    // run-length coded (compression 1 or 2 in an info header), where a few
    // codes may end rows or the picture early and leave the rest at index 0.
    const bool runLength = bytes.size() >= 34 && uchar(bytes[14]) != 12 && (bytes[30] == 1 || bytes[30] == 2);
    if (!runLength && w * h > 8 * qint64(bytes.size()))
        fail("more pixels than bits in the file");
    // Every pixel is written, opaque: a pixel left as it was allocated would
    // show the allocator's fill in its alpha byte.
    // (In a palette picture, an index past its colour table.)
    for (int y = 0; y < h; ++y) {
        if (indexed) {
            const uchar *row = image.constScanLine(y);
            for (int x = 0; x < w; ++x) {
                if (row[x] >= image.colorCount())
                    fail("a pixel that was never written");
            }
            continue;
        }
        const QRgb *row = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            if (qAlpha(row[x]) != 255)
                fail("a pixel that was never written");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage image;
    try {
        image = zorelad::decodeBmp(bytes);
    } catch (const zorelad::Failure &failure) {
        const bool shortHeader = !bytes.isEmpty() && bytes.size() < 14;
        const QString expected =
            shortHeader ? QStringLiteral("Stream read error") : QStringLiteral("Bitmap image is not valid");
        if (bytes.isEmpty() || failure.text() != expected) {
            std::fprintf(stderr, "fuzz_bmp: unexpected failure text \"%s\"\n", failure.what());
            std::abort();
        }
        return 0;
    }
    checkPicture(bytes, image);
    return 0;
}
