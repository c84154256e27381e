// Writes the seed corpora of the fuzz targets: small question files, bitmap
// files of every depth and header kind, and JPEG streams of the common kinds.
//
//   make_seeds DIR    writes DIR/fuzz_questionfile, DIR/fuzz_bmp, DIR/fuzz_jpeg
//
// Every seed is built here byte by byte (bitmaps) or with libjpeg's encoder,
// so the output is the same on every run.

#include "bmpwriter.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringEncoder>
#include <QVector>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <jpeglib.h>
#include <vector>

namespace {

QString outDir;

void save(const QString &target, const QString &name, const QByteArray &bytes)
{
    const QString dir = outDir + QLatin1Char('/') + target;
    QDir().mkpath(dir);
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "make_seeds: cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

// ---- question files -------------------------------------------------------

QByteArray cp1251(const QString &text)
{
    QStringEncoder encoder("windows-1251");
    const QByteArray bytes = encoder.encode(text);
    if (encoder.hasError()) {
        std::fprintf(stderr, "make_seeds: no windows-1251 encoder\n");
        std::exit(1);
    }
    return bytes;
}

void questionSeeds()
{
    const QString t = QStringLiteral("fuzz_questionfile");
    const QStringList question = {QStringLiteral("Сколько будет 2 + 2?"), QStringLiteral("Три"),
                                  QStringLiteral("Четыре"), QStringLiteral("Пять"), QStringLiteral("2")};
    save(t, QStringLiteral("crlf.z"), cp1251(question.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    save(t, QStringLiteral("lf.z"), cp1251(question.join(QLatin1Char('\n')) + QLatin1Char('\n')));
    save(t, QStringLiteral("cr.z"), cp1251(question.join(QLatin1Char('\r'))));
    save(t, QStringLiteral("no-final-end.z"), cp1251(question.join(QStringLiteral("\r\n"))));
    save(t, QStringLiteral("mixed-ends.z"),
         cp1251(QStringLiteral("Вопрос\r\nОтвет один\nОтвет два\rОтвет три\n\r1\r\n")));
    save(t, QStringLiteral("cr-cr-lf.z"), QByteArray("Q\r\r\nA\n\nB\r\rC\r\n3\r\n"));
    save(t, QStringLiteral("nul-inside.z"), QByteArray("Question\r\nOne\0Two\r\nThree\r\n1\r\n", 29));
    save(t, QStringLiteral("nul-first.z"), QByteArray("\0Q\r\nA\r\nB\r\nC\r\n1\r\n", 17));
    save(t, QStringLiteral("extra-lines.z"),
         cp1251(question.join(QStringLiteral("\r\n")) + QStringLiteral("\r\nКомментарий\r\nЕщё строка\r\n")));
    save(t, QStringLiteral("short.z"), cp1251(QStringLiteral("Только вопрос\r\nи ответ")));
    save(t, QStringLiteral("answers-near-miss.z"), QByteArray("Q\r\nA\r\nB\r\nC\r\n 1\r\n"));
    save(t, QStringLiteral("answer-01.z"), QByteArray("Q\nA\nB\nC\n01\n"));
    save(t, QStringLiteral("answer-4.z"), QByteArray("Q\nA\nB\nC\n4"));
    save(t, QStringLiteral("empty-lines.z"), QByteArray("\r\n\r\n\r\n\r\n\r\n"));
    QByteArray high;
    for (int c = 0x80; c <= 0xFF; ++c)
        high.append(char(c));
    save(t, QStringLiteral("all-high-bytes.z"), high + "\r\n" + high.left(64) + "\r\nB\r\nC\r\n3\r\n");
    save(t, QStringLiteral("long-line.z"), QByteArray(4100, 'x') + "\r\nA\r\nB\r\nC\r\n1\r\n");
}

// ---- bitmap files ---------------------------------------------------------

// A small bitmap of the writer's layout, with every field the seeds vary.
struct Bitmap {
    int width = 4;
    int height = 3; // negative: rows stored top down
    int bits = 24;
    quint32 headerSize = 40; // 12, 40, 52, 56, 108 or 124
    quint32 compression = 0; // 0 plain, 3 bit fields
    quint32 masks[3] = {0, 0, 0};
    int paletteSize = -1; // entries written; -1 for all that the depth allows
    quint32 colorsUsed = 0;
    int gap = 0; // bytes between palette and pixels
};

// The stored value of the pixel in stored row r: an index or a raw 16/24/32-bit value.
quint32 pixelValue(const Bitmap &bmp, int x, int r)
{
    const quint32 v = quint32(x * 37 + r * 101 + x * r * 7);
    if (bmp.bits <= 8)
        return v % (1u << bmp.bits);
    if (bmp.bits == 16)
        return (v * 2654435761u) & 0xFFFF;
    return (v * 2654435761u) & (bmp.bits == 24 ? 0xFFFFFFu : 0xFFFFFFFFu);
}

QByteArray writeBitmap(const Bitmap &bmp)
{
    BmpLayout layout;
    layout.width = bmp.width;
    layout.height = bmp.height;
    layout.bitCount = bmp.bits;
    layout.headerSize = bmp.headerSize;
    layout.compression = bmp.compression;
    std::copy(std::begin(bmp.masks), std::end(bmp.masks), std::begin(layout.masks));
    const int entries = bmp.bits > 8 ? 0 : (bmp.paletteSize >= 0 ? bmp.paletteSize : 1 << bmp.bits);
    for (int i = 0; i < entries; ++i)
        layout.palette << qRgb((255 - i * 31) & 0xFF, (i * 97) & 0xFF, (i * 53) & 0xFF);
    layout.colorsUsed = bmp.colorsUsed;
    layout.gap = bmp.gap;
    layout.writeImageSize = true;
    layout.colourSpace = 0x73524742; // 'sRGB'
    const int rows = bmp.height < 0 ? -bmp.height : bmp.height;
    layout.pixel = [bmp, rows](int x, int y) { return pixelValue(bmp, x, bmp.height < 0 ? y : rows - 1 - y); };
    return writeBmp(layout);
}

void bmpSeeds()
{
    const QString t = QStringLiteral("fuzz_bmp");
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        Bitmap bmp;
        bmp.bits = bits;
        bmp.width = 5;
        bmp.height = 3;
        save(t, QStringLiteral("info-%1bit-bottomup.bmp").arg(bits), writeBitmap(bmp));
        bmp.height = -3;
        bmp.width = 7;
        save(t, QStringLiteral("info-%1bit-topdown.bmp").arg(bits), writeBitmap(bmp));
        Bitmap core;
        core.headerSize = 12;
        core.bits = bits;
        core.width = 3;
        core.height = 2;
        save(t, QStringLiteral("core-%1bit.bmp").arg(bits), writeBitmap(core));
    }
    Bitmap fields16;
    fields16.bits = 16;
    fields16.compression = 3;
    fields16.masks[0] = 0xF800;
    fields16.masks[1] = 0x07E0;
    fields16.masks[2] = 0x001F;
    save(t, QStringLiteral("bitfields-565.bmp"), writeBitmap(fields16));
    Bitmap fields32;
    fields32.bits = 32;
    fields32.compression = 3;
    fields32.masks[0] = 0x000000FF;
    fields32.masks[1] = 0x0000FF00;
    fields32.masks[2] = 0x00FF0000;
    fields32.height = -2;
    save(t, QStringLiteral("bitfields-32-bgr.bmp"), writeBitmap(fields32));
    for (quint32 header : {52u, 56u, 108u, 124u}) {
        Bitmap v;
        v.headerSize = header;
        v.bits = header == 52 ? 16 : 32;
        v.compression = 3;
        v.masks[0] = v.bits == 16 ? 0x7C00 : 0x00FF0000;
        v.masks[1] = v.bits == 16 ? 0x03E0 : 0x0000FF00;
        v.masks[2] = v.bits == 16 ? 0x001F : 0x000000FF;
        save(t, QStringLiteral("header%1-bitfields.bmp").arg(header), writeBitmap(v));
        v.compression = 0;
        v.bits = 8;
        v.colorsUsed = 20;
        v.paletteSize = 20;
        save(t, QStringLiteral("header%1-8bit-short-palette.bmp").arg(header), writeBitmap(v));
    }
    Bitmap gap;
    gap.bits = 4;
    gap.gap = 6;
    gap.width = 9;
    save(t, QStringLiteral("gap-before-pixels.bmp"), writeBitmap(gap));
    Bitmap wide;
    wide.bits = 1;
    wide.width = 200;
    wide.height = 1;
    save(t, QStringLiteral("wide-1bit.bmp"), writeBitmap(wide));
    Bitmap truncated;
    truncated.bits = 24;
    truncated.width = 6;
    truncated.height = 6;
    save(t, QStringLiteral("truncated-pixels.bmp"), writeBitmap(truncated).chopped(10));
    save(t, QStringLiteral("file-header-only.bmp"), writeBitmap(Bitmap()).left(14));
    save(t, QStringLiteral("short.bmp"), QByteArray("BM\x10\x00\x00", 5));
}

// ---- JPEG streams ---------------------------------------------------------

struct Jpeg {
    int width = 16;
    int height = 16;
    int components = 3; // 1 grey, 3 RGB, 4 CMYK
    int quality = 75;
    bool progressive = false;
    bool arithmetic = false;
    bool optimize = false;
    int hSamp = 2, vSamp = 2; // of the first component
    unsigned restartRows = 0;
    bool jfif = true;
};

QByteArray writeJpeg(const Jpeg &j)
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors); // an encoder error here is a bug in the seeds: exit
    jpeg_create_compress(&info);
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&info, &out, &outSize);
    info.image_width = JDIMENSION(j.width);
    info.image_height = JDIMENSION(j.height);
    info.input_components = j.components;
    info.in_color_space = j.components == 1 ? JCS_GRAYSCALE : j.components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, j.quality, TRUE);
    if (j.components == 3) {
        info.comp_info[0].h_samp_factor = j.hSamp;
        info.comp_info[0].v_samp_factor = j.vSamp;
    }
    if (j.progressive)
        jpeg_simple_progression(&info);
    info.arith_code = j.arithmetic ? TRUE : FALSE;
    info.optimize_coding = j.optimize ? TRUE : FALSE;
    info.restart_in_rows = int(j.restartRows);
    info.write_JFIF_header = j.jfif ? TRUE : FALSE;
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(j.width * j.components));
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < j.width; ++x) {
            for (int c = 0; c < j.components; ++c)
                row[size_t(x * j.components + c)] =
                    JSAMPLE((x * 255 / j.width + c * 80 + y * 9 + ((x ^ y) & 5) * 13) & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray bytes(reinterpret_cast<const char *>(out), qsizetype(outSize));
    std::free(out);
    return bytes;
}

void jpegSeeds()
{
    const QString t = QStringLiteral("fuzz_jpeg");
    Jpeg j;
    save(t, QStringLiteral("baseline-420.jpg"), writeJpeg(j));
    j = Jpeg();
    j.width = 17;
    j.height = 9;
    j.hSamp = j.vSamp = 1;
    save(t, QStringLiteral("baseline-444-odd-size.jpg"), writeJpeg(j));
    j = Jpeg();
    j.hSamp = 2;
    j.vSamp = 1;
    j.width = 24;
    j.height = 8;
    save(t, QStringLiteral("baseline-422.jpg"), writeJpeg(j));
    j = Jpeg();
    j.progressive = true;
    j.width = 33;
    j.height = 21;
    save(t, QStringLiteral("progressive.jpg"), writeJpeg(j));
    j = Jpeg();
    j.components = 1;
    j.width = 23;
    j.height = 7;
    save(t, QStringLiteral("grayscale.jpg"), writeJpeg(j));
    j.progressive = true;
    save(t, QStringLiteral("grayscale-progressive.jpg"), writeJpeg(j));
    j = Jpeg();
    j.restartRows = 1;
    j.width = 32;
    j.height = 32;
    save(t, QStringLiteral("restart-markers.jpg"), writeJpeg(j));
    j = Jpeg();
    j.arithmetic = true;
    save(t, QStringLiteral("arithmetic.jpg"), writeJpeg(j));
    j.progressive = true;
    save(t, QStringLiteral("arithmetic-progressive.jpg"), writeJpeg(j));
    j = Jpeg();
    j.optimize = true;
    j.quality = 100;
    j.jfif = false;
    save(t, QStringLiteral("optimized-q100-nojfif.jpg"), writeJpeg(j));
    j = Jpeg();
    j.quality = 1;
    j.width = j.height = 1;
    save(t, QStringLiteral("one-pixel-q1.jpg"), writeJpeg(j));
    j = Jpeg();
    j.components = 4;
    j.width = j.height = 8;
    save(t, QStringLiteral("cmyk.jpg"), writeJpeg(j));
    j = Jpeg();
    j.width = 40;
    j.height = 24;
    const QByteArray whole = writeJpeg(j);
    save(t, QStringLiteral("truncated.jpg"), whole.left(whole.size() - 40));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds DIR\n");
        return 2;
    }
    outDir = QString::fromLocal8Bit(argv[1]);
    questionSeeds();
    bmpSeeds();
    jpegSeeds();
    return 0;
}
