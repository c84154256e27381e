#include "jpegimage.h"

#include "failure.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

namespace zorelad {

namespace {

// A header of a few hundred bytes can claim a picture of 65500 x 65500 pixels.
// Nothing the program shows comes near these limits; a stream beyond them is
// refused before anything is allocated for it.
constexpr unsigned long long MaxJpegPixels = 1ull << 24; // 4096 x 4096
constexpr long MaxJpegWorkMemory = 256L * 1024 * 1024;   // libjpeg's own buffers

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void exitWithJump(j_common_ptr info)
{
    auto *errors = reinterpret_cast<ErrorManager *>(info->err);
    std::longjmp(errors->jump, 1);
}

void stayQuiet(j_common_ptr) {}

// Runs the whole decode in one frame with no C++ objects that own resources,
// so a longjmp out of libjpeg skips no destructor. Returns 0 on success, else
// libjpeg's message number.
int decodeInto(const unsigned char *bytes, unsigned long size, QImage *out)
{
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = exitWithJump;
    errors.base.output_message = stayQuiet;
    if (setjmp(errors.jump)) {
        const int code = errors.base.msg_code;
        jpeg_destroy_decompress(&info);
        return code == 0 ? -1 : code;
    }
    jpeg_create_decompress(&info);
    // Buffers beyond this would need a backing store, which libjpeg refuses.
    info.mem->max_memory_to_use = MaxJpegWorkMemory;
    jpeg_mem_src(&info, bytes, size);
    jpeg_read_header(&info, TRUE);
    if (static_cast<unsigned long long>(info.image_width) * info.image_height > MaxJpegPixels)
        ERREXIT1(&info, JERR_IMAGE_TOO_BIG, JPEG_MAX_DIMENSION);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    // The image is allocated before any row is read; QImage's own storage
    // is released by its destructor in the caller, which a jump never skips.
    *out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (out->isNull()) {
        jpeg_destroy_decompress(&info);
        return -1;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return 0;
}

} // namespace

QImage decodeJpeg(const QByteArray &data)
{
    QImage image;
    const int code = decodeInto(reinterpret_cast<const unsigned char *>(data.constData()),
                                static_cast<unsigned long>(data.size()), &image);
    if (code != 0)
        throw Failure(QStringLiteral("JPEG error #%1").arg(code));
    return image;
}

} // namespace zorelad
