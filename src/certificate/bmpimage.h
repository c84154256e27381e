#pragma once
// Windows bitmap files, read by hand so that a damaged or hostile file ends in
// a clear failure instead of a crash or a huge allocation.

#include <QByteArray>
#include <QImage>
#include <QString>

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

} // namespace zorelad
