// JPEG streams: decodeJpeg on arbitrary bytes. A clean Failure "JPEG error #N"
// is the expected answer to bad input; any other exception, a sanitizer
// report, a huge allocation or a picture of the wrong shape is a finding.

#include "featuremarks.h"
#include "failure.h"
#include "jpegimage.h"

#include <QByteArray>
#include <QImage>
#include <QRegularExpression>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace {

// The decoder refuses pictures beyond this; the fuzz run's memory limit
// catches anything that slips past it.
constexpr qint64 LargestPicture = qint64(1) << 24;

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "fuzz_jpeg: %s\n", what);
    std::abort();
}

struct PeekErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void peekExit(j_common_ptr info) { std::longjmp(reinterpret_cast<PeekErrors *>(info->err)->jump, 1); }

void peekQuiet(j_common_ptr) {}

// Reads only the stream's header and marks its shape (progressive,
// arithmetic coding, components, colour space) as coverage, so that the
// fuzzer keeps inputs that reach the uninstrumented decoder in new ways.
void markHeader(const uint8_t *data, size_t size)
{
    jpeg_decompress_struct info;
    PeekErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = peekExit;
    errors.base.output_message = peekQuiet;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK) {
        const int shape = (info.progressive_mode ? 1 : 0) | (info.arith_code ? 2 : 0)
            | ((info.num_components - 1) & 3) << 2 | (int(info.jpeg_color_space) & 7) << 4;
        fuzzmarks::markValue(3, shape);
        fuzzmarks::markValue(2, fuzzmarks::log2Class(info.image_width) + 16 * (info.comp_info[0].h_samp_factor == 2));
    }
    jpeg_destroy_decompress(&info);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    markHeader(data, size);
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage image;
    try {
        image = zorelad::decodeJpeg(bytes);
    } catch (const zorelad::Failure &failure) {
        static const QRegularExpression text(QStringLiteral("^JPEG error #(-?\\d+)$"));
        const QRegularExpressionMatch match = text.match(failure.text());
        if (!match.hasMatch()) {
            std::fprintf(stderr, "fuzz_jpeg: unexpected failure text \"%s\"\n", failure.what());
            std::abort();
        }
        fuzzmarks::markValue(0, match.captured(1).toInt());
        return 0;
    }
    if (image.isNull() || image.format() != QImage::Format_RGB888)
        fail("a picture that is null or not RGB888");
    const qint64 pixels = qint64(image.width()) * image.height();
    if (pixels > LargestPicture)
        fail("a picture larger than the decoder allows");
    fuzzmarks::markValue(1, fuzzmarks::log2Class(static_cast<unsigned long long>(pixels)));
    return 0;
}
