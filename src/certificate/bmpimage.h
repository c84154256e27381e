#pragma once
// Windows bitmap files, read by hand so that a damaged or hostile file ends in
// a clear failure instead of a crash or a huge allocation.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

namespace zorelad {

// Sanity limits: no side longer than this, and no more pixels than this in all.
inline constexpr int BmpMaxSide = 30000;
inline constexpr qint64 BmpMaxPixels = qint64(1) << 26; // 8192 x 8192

// Decodes the bytes of a whole .bmp file into a picture: 8-bit indexed for
// palette bitmaps (1, 4 and 8 bits), RGB32 for the others. Empty bytes
// give a null picture. Throws Failure: "Stream read error" for fewer than the
// 14 bytes of the file header, "Bitmap image is not valid" for anything else
// that is not an uncompressed 1, 4, 8, 16, 24 or 32-bit bitmap or a
// run-length coded 4 or 8-bit one that fits in the bytes given.
QImage decodeBmp(const QByteArray &bytes);

// Reads the file at an absolute path and decodes it. A file that cannot be
// opened or read fails with "Cannot open file "PATH". REASON".
QImage loadBmpFile(const QString &path);

// A bitmap file read a band of rows at a time, so that a page-sized picture
// is never held whole. Opening reads and checks the headers, the palette and
// the file's length, and fails as loadBmpFile does; the rows are read from
// the file when asked for. A file that cannot be read in bands (not a
// regular file, compressed rows) is decoded whole when opened.
class BmpFile {
public:
    explicit BmpFile(const QString &path);
    ~BmpFile();
    BmpFile(const BmpFile &) = delete;
    BmpFile &operator=(const BmpFile &) = delete;

    // An empty file: no picture.
    bool isNull() const { return m_size.isEmpty(); }
    QSize size() const { return m_size; }
    // The rows from `top` (counted from the top of the picture) down, in the
    // formats decodeBmp gives. Throws "Stream read error" when the file has
    // become shorter since it was opened.
    QImage readRows(int top, int count) const;

private:
    struct Bands;
    int m_fd = -1;
    QSize m_size;
    std::unique_ptr<Bands> m_bands; // null when the picture is held whole
    QImage m_whole;
};

} // namespace zorelad
