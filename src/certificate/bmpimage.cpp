#include "bmpimage.h"

#include "failure.h"
#include "readfile.h"

#include <QFile>
#include <QVector>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorelad {

namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12; // OS/2 1.x BITMAPCOREHEADER
constexpr quint32 InfoHeaderSize = 40; // BITMAPINFOHEADER
constexpr quint32 BiRgb = 0;
constexpr quint32 BiRle8 = 1;
constexpr quint32 BiRle4 = 2;
constexpr quint32 BiBitfields = 3;
// Largest file that is read at all; a valid picture within the limits needs far less.
constexpr qint64 MaxFileBytes = 4 * BmpMaxPixels + 65536;

[[noreturn]] void invalid() { throw Failure(QStringLiteral("Bitmap image is not valid")); }

// Little-endian reads that fail as an invalid bitmap past the end of the bytes.
class Reader {
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}
    qint64 size() const { return m_bytes.size(); }
    const uchar *at(qint64 offset, qint64 length) const
    {
        if (offset < 0 || length < 0 || offset > size() || length > size() - offset)
            invalid();
        return reinterpret_cast<const uchar *>(m_bytes.constData()) + offset;
    }
    quint32 u16(qint64 offset) const
    {
        const uchar *p = at(offset, 2);
        return quint32(p[0]) | quint32(p[1]) << 8;
    }
    quint32 u32(qint64 offset) const
    {
        const uchar *p = at(offset, 4);
        return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
    }
    qint32 s32(qint64 offset) const { return qint32(u32(offset)); }

private:
    const QByteArray &m_bytes;
};

// One colour channel described by a bit mask of a 16 or 32-bit pixel.
struct Channel {
    quint32 mask = 0;
    int shift = 0;
    quint32 max = 0; // largest value after shifting

    explicit Channel(quint32 m = 0) : mask(m)
    {
        if (mask == 0)
            return;
        while (!((mask >> shift) & 1u))
            ++shift;
        max = mask >> shift;
    }
    int value(quint32 pixel) const
    {
        if (max == 0)
            return 0;
        return int((quint64((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

struct BmpLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    quint32 compression = BiRgb;
    quint32 colorsUsed = 0;
    qint64 paletteOffset = 0;
    int paletteEntryBytes = 4;
    qint64 pixelOffset = 0;
    Channel red, green, blue;
};

void readCoreHeader(const Reader &r, BmpLayout &b)
{
    b.width = int(r.u16(18));
    b.height = int(r.u16(20));
    b.bitCount = int(r.u16(24));
    b.paletteEntryBytes = 3;
}

// The size of the picture; a negative height means rows are stored top down.
void readDimensions(const Reader &r, BmpLayout &b)
{
    const qint64 width = r.s32(18);
    qint64 height = r.s32(22);
    if (height < 0) {
        b.topDown = true;
        height = -height;
    }
    if (width <= 0 || height <= 0 || width > BmpMaxSide || height > BmpMaxSide)
        invalid(); // also keeps the values within an int
    b.width = int(width);
    b.height = int(height);
}

void readInfoHeader(const Reader &r, quint32 headerSize, BmpLayout &b)
{
    readDimensions(r, b);
    b.bitCount = int(r.u16(28));
    b.compression = r.u32(30);
    b.colorsUsed = r.u32(46);
    if (b.compression == BiBitfields) {
        // The three masks sit right after a plain info header, or inside the later ones.
        b.red = Channel(r.u32(54));
        b.green = Channel(r.u32(58));
        b.blue = Channel(r.u32(62));
        if (headerSize == InfoHeaderSize)
            b.paletteOffset += 12;
    }
}

void checkFormat(const BmpLayout &b)
{
    switch (b.bitCount) {
    case 4:
    case 8:
        // Run-length coded rows are stored bottom up only.
        if (b.compression != BiRgb && (b.compression != (b.bitCount == 8 ? BiRle8 : BiRle4) || b.topDown))
            invalid();
        break;
    case 1:
    case 24:
        if (b.compression != BiRgb)
            invalid();
        break;
    case 16:
    case 32:
        if (b.compression != BiRgb && b.compression != BiBitfields)
            invalid();
        break;
    default:
        invalid();
    }
    if (b.width <= 0 || b.height <= 0 || b.width > BmpMaxSide || b.height > BmpMaxSide
        || qint64(b.width) * b.height > BmpMaxPixels)
        invalid();
}

void setDefaultMasks(BmpLayout &b)
{
    if (b.compression != BiRgb)
        return;
    if (b.bitCount == 16) {
        b.red = Channel(0x7C00);
        b.green = Channel(0x03E0);
        b.blue = Channel(0x001F);
    } else if (b.bitCount == 32) {
        b.red = Channel(0x00FF0000);
        b.green = Channel(0x0000FF00);
        b.blue = Channel(0x000000FF);
    }
}

BmpLayout readLayout(const Reader &r)
{
    BmpLayout b;
    b.pixelOffset = r.u32(10);
    const quint32 headerSize = r.u32(FileHeaderSize);
    b.paletteOffset = FileHeaderSize + headerSize;
    if (headerSize == CoreHeaderSize)
        readCoreHeader(r, b);
    else if (headerSize == InfoHeaderSize || headerSize == 52 || headerSize == 56 || headerSize == 108
             || headerSize == 124)
        readInfoHeader(r, headerSize, b);
    else
        invalid();
    r.at(FileHeaderSize, headerSize); // the whole header is present
    checkFormat(b);
    setDefaultMasks(b);
    if (b.pixelOffset < FileHeaderSize + headerSize)
        invalid();
    return b;
}

QVector<QRgb> readPalette(const Reader &r, const BmpLayout &b)
{
    if (b.bitCount > 8)
        return {};
    const int full = 1 << b.bitCount;
    const int count = (b.colorsUsed == 0 || b.colorsUsed > quint32(full)) ? full : int(b.colorsUsed);
    const uchar *p = r.at(b.paletteOffset, qint64(count) * b.paletteEntryBytes);
    // Indices past the end of a short palette come out black.
    QVector<QRgb> palette(full, qRgb(0, 0, 0));
    for (int i = 0; i < count; ++i, p += b.paletteEntryBytes)
        palette[i] = qRgb(p[2], p[1], p[0]);
    return palette;
}

void decodeIndexedRow(const uchar *src, uchar *dst, int width, int bits)
{
    const int perByte = 8 / bits;
    const uint mask = (1u << bits) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bits * (x % perByte + 1);
        dst[x] = uchar((src[x / perByte] >> shift) & mask);
    }
}

void decodeMaskedRow(const uchar *src, QRgb *dst, const BmpLayout &b)
{
    const int bytes = b.bitCount / 8;
    for (int x = 0; x < b.width; ++x, src += bytes) {
        quint32 pixel = quint32(src[0]) | quint32(src[1]) << 8;
        if (bytes == 4)
            pixel |= quint32(src[2]) << 16 | quint32(src[3]) << 24;
        dst[x] = qRgb(b.red.value(pixel), b.green.value(pixel), b.blue.value(pixel));
    }
}

void decodeTrueColourRow(const uchar *src, QRgb *dst, const BmpLayout &b)
{
    if (b.bitCount == 24) {
        for (int x = 0; x < b.width; ++x, src += 3)
            dst[x] = qRgb(src[2], src[1], src[0]);
    } else {
        decodeMaskedRow(src, dst, b);
    }
}

// Run-length coded indices (4 or 8 bits) into an indexed picture, bottom row
// first. A run is a count and one byte of indices (two alternating ones at 4
// bits); a zero count escapes: 0 ends the row, 1 ends the picture, 2 moves
// right and up by the next two bytes, and 3 or more is that many indices
// given one by one, padded to a 16-bit boundary. Pixels no run reaches keep
// index 0; indices that would fall outside the picture are dropped. Codes
// that run past the end of the bytes make the picture invalid.
void decodeRle(const Reader &r, const BmpLayout &b, QImage &image)
{
    const bool four = b.bitCount == 4;
    image.fill(0);
    qint64 at = b.pixelOffset;
    qint64 x = 0;
    qint64 row = 0; // from the bottom
    // Indices `count` of them from `index(i)`, those past the row's end dropped.
    auto put = [&](int count, auto index) {
        uchar *line = image.scanLine(int(b.height - 1 - row));
        for (qint64 i = 0; i < count && x + i < b.width; ++i)
            line[x + i] = uchar(index(i));
        x += count;
    };
    while (row < b.height && at < r.size()) {
        const uchar *code = r.at(at, 2);
        at += 2;
        if (code[0] > 0) {
            const uchar value = code[1];
            put(code[0], [&](qint64 i) { return four ? (i % 2 ? value & 0x0F : value >> 4) : value; });
        } else if (code[1] == 0) {
            x = 0;
            ++row;
        } else if (code[1] == 1) {
            return;
        } else if (code[1] == 2) {
            const uchar *delta = r.at(at, 2);
            at += 2;
            x += delta[0];
            row += delta[1];
        } else {
            const int count = code[1];
            const int bytes = four ? (count + 1) / 2 : count;
            const uchar *indices = r.at(at, bytes);
            at += (bytes + 1) / 2 * 2;
            put(count,
                [&](qint64 i) { return four ? (i % 2 ? indices[i / 2] & 0x0F : indices[i / 2] >> 4) : indices[i]; });
        }
    }
}

// Decodes one stored row into line y of a picture made for the layout.
void decodeRow(const uchar *src, QImage &image, int y, const BmpLayout &b)
{
    if (b.bitCount <= 8)
        decodeIndexedRow(src, image.scanLine(y), b.width, b.bitCount);
    else
        decodeTrueColourRow(src, reinterpret_cast<QRgb *>(image.scanLine(y)), b);
}

} // namespace

QImage decodeBmp(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    if (bytes.size() < FileHeaderSize)
        throw Failure(QStringLiteral("Stream read error"));
    if (bytes[0] != 'B' || bytes[1] != 'M')
        invalid();
    const Reader reader(bytes);
    const BmpLayout b = readLayout(reader);
    const QVector<QRgb> palette = readPalette(reader, b);
    const bool runLength = b.compression == BiRle8 || b.compression == BiRle4;
    const qint64 stride = (qint64(b.width) * b.bitCount + 31) / 32 * 4;
    const uchar *pixels = reader.at(b.pixelOffset, runLength ? 0 : stride * b.height);

    // A palette picture stays one byte a pixel: the certificate's is a quarter
    // of the memory it would take as 32-bit colour.
    const bool indexed = b.bitCount <= 8;
    QImage image(b.width, b.height, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (image.isNull())
        invalid();
    if (indexed)
        image.setColorTable(QList<QRgb>(palette.cbegin(), palette.cend()));
    if (runLength) {
        decodeRle(reader, b, image);
        return image;
    }
    for (int row = 0; row < b.height; ++row) {
        const int y = b.topDown ? row : b.height - 1 - row;
        decodeRow(pixels + row * stride, image, y, b);
    }
    return image;
}

QImage loadBmpFile(const QString &path)
{
    QByteArray bytes;
    readFileInChunks(path, [&bytes](const char *data, qsizetype size) {
        bytes.append(data, size);
        return bytes.size() < MaxFileBytes;
    });
    return decodeBmp(bytes);
}

// What reading a file in bands needs to know, kept from its headers.
struct BmpFile::Bands {
    BmpLayout layout;
    QList<QRgb> palette;
    qint64 stride = 0;
};

namespace {

// Reads exactly `size` bytes at `offset`; false when the file ends first.
bool readAt(int fd, char *data, qint64 size, qint64 offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, data, size_t(size), off_t(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        data += got;
        size -= got;
        offset += got;
    }
    return true;
}

// Everything before the pixels (file header, bitmap header, masks, palette)
// lies within this many bytes from the start.
constexpr qint64 HeadBytes = 4096;

} // namespace

BmpFile::BmpFile(const QString &path)
{
    // Non-blocking, so that a named pipe in the file's place cannot hang the program.
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0)
        failToOpenFile(path, errno);
    struct stat info {};
    if (::fstat(m_fd, &info) != 0)
        failToOpenFile(path, errno);
    if (S_ISDIR(info.st_mode))
        failToOpenFile(path, EISDIR);
    if (!S_ISREG(info.st_mode)) {
        m_whole = loadBmpFile(path);
        m_size = m_whole.size();
        return;
    }
    QByteArray head(int(qMin<qint64>(info.st_size, HeadBytes)), Qt::Uninitialized);
    errno = 0;
    if (!readAt(m_fd, head.data(), head.size(), 0))
        failToOpenFile(path, errno ? errno : EIO);
    if (head.isEmpty())
        return;
    if (head.size() < FileHeaderSize)
        throw Failure(QStringLiteral("Stream read error"));
    if (head[0] != 'B' || head[1] != 'M')
        invalid();
    const Reader reader(head);
    auto bands = std::make_unique<Bands>();
    bands->layout = readLayout(reader);
    const BmpLayout &b = bands->layout;
    if (b.compression != BiRgb && b.compression != BiBitfields) {
        m_whole = loadBmpFile(path);
        m_size = m_whole.size();
        return;
    }
    bands->palette = readPalette(reader, b);
    bands->stride = (qint64(b.width) * b.bitCount + 31) / 32 * 4;
    if (b.pixelOffset > info.st_size || bands->stride * b.height > info.st_size - b.pixelOffset)
        invalid(); // the pixels do not all fit in the file
    m_size = QSize(b.width, b.height);
    m_bands = std::move(bands);
}

BmpFile::~BmpFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QImage BmpFile::readRows(int top, int count) const
{
    if (!m_bands)
        return m_whole.copy(0, top, m_whole.width(), count);
    const BmpLayout &b = m_bands->layout;
    const qint64 stride = m_bands->stride;
    // A bottom-up file stores the band's last row first.
    const qint64 firstStored = b.topDown ? top : b.height - top - count;
    QByteArray rows(stride * count, Qt::Uninitialized);
    if (!readAt(m_fd, rows.data(), rows.size(), b.pixelOffset + firstStored * stride))
        throw Failure(QStringLiteral("Stream read error"));
    const bool indexed = b.bitCount <= 8;
    QImage band(b.width, count, indexed ? QImage::Format_Indexed8 : QImage::Format_RGB32);
    if (band.isNull())
        invalid();
    if (indexed)
        band.setColorTable(m_bands->palette);
    const auto *src = reinterpret_cast<const uchar *>(rows.constData());
    for (int row = 0; row < count; ++row)
        decodeRow(src + row * stride, band, b.topDown ? row : count - 1 - row, b);
    return band;
}

} // namespace zorelad
