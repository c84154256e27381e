// The bitmap reader: the formats it decodes pixel for pixel, the files it
// refuses with which text, and that damaged files never crash it.

#include "bmpimage.h"
#include "bmpwriter.h"
#include "failure.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using zorelad::decodeBmp;
using zorelad::Failure;
using zorelad::loadBmpFile;

namespace {

const QString NotValid = QStringLiteral("Bitmap image is not valid");
const QString StreamError = QStringLiteral("Stream read error");

// The failure's text, or "(decoded)" when the bytes decode.
QString outcome(const QByteArray &bytes)
{
    try {
        decodeBmp(bytes);
        return QStringLiteral("(decoded)");
    } catch (const Failure &f) {
        return f.text();
    }
}

QString loadOutcome(const QString &path)
{
    try {
        loadBmpFile(path);
        return QStringLiteral("(decoded)");
    } catch (const Failure &f) {
        return f.text();
    }
}

// The system's text for an error number ("No such file or directory" in English).
QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QRgb distinct(int x, int y) { return qRgb(10 + 40 * x, 200 - 30 * y, (x * 7 + y * 13) % 256); }

void put32(QByteArray &bytes, int offset, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char((v >> (8 * i)) & 0xFF);
}

void put16(QByteArray &bytes, int offset, quint32 v)
{
    bytes[offset] = char(v & 0xFF);
    bytes[offset + 1] = char((v >> 8) & 0xFF);
}

// A 1-bit picture of any size with all pixels 0, built without a per-pixel loop.
QByteArray blankOneBit(int width, int height)
{
    BmpLayout s;
    s.bitCount = 1;
    s.palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    QByteArray b = writeBmp(s); // 1 x 1: headers, palette and one 4-byte row
    b.chop(4);
    b.append(QByteArray(qsizetype((width + 31) / 32 * 4) * height, '\0'));
    put32(b, 18, quint32(width));
    put32(b, 22, quint32(height));
    return b;
}

QByteArray validSmall() { return writeBmp24(3, 2, distinct); }

void compareAll(const QImage &image, int width, int height, const std::function<QRgb(int, int)> &expected)
{
    QCOMPARE(image.size(), QSize(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            QVERIFY2(image.pixel(x, y) == (expected(x, y) | 0xFF000000u),
                     qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(image.pixel(x, y), 8, 16)));
}

} // namespace

class BmpImageTest : public QObject {
    Q_OBJECT
private slots:
    void decodesTrueColour();
    void decodesIndexed_data();
    void decodesIndexed();
    void decodesRunLength_data();
    void decodesRunLength();
    void decodesMaskedFormats();
    void decodesLargestSides();
    void decodesCoreHeader();
    void refusesBadBytes_data();
    void refusesBadBytes();
    void emptyBytesGiveNullPicture();
    void survivesDamagedFiles();
    void loadsFiles();
    void reportsFilesItCannotOpen();
    void reportsUnreadableFile();
    void readsInBands_data();
    void readsInBands();
};

void BmpImageTest::decodesTrueColour()
{
    // Width 3 makes 9-byte rows padded to 12: padding must be skipped.
    compareAll(decodeBmp(writeBmp24(3, 2, distinct)), 3, 2, distinct);

    BmpLayout topDown;
    topDown.width = 5;
    topDown.height = -3;
    topDown.pixel = [](int x, int y) { return quint32(distinct(x, y)) & 0xFFFFFFu; };
    compareAll(decodeBmp(writeBmp(topDown)), 5, 3, distinct);

    // 32 bits per pixel without masks: blue, green, red and a byte that is ignored.
    BmpLayout s32;
    s32.width = 2;
    s32.height = 2;
    s32.bitCount = 32;
    s32.pixel = [](int x, int y) { return (quint32(distinct(x, y)) & 0xFFFFFFu) | 0x7F000000u; };
    compareAll(decodeBmp(writeBmp(s32)), 2, 2, distinct);
}

void BmpImageTest::decodesIndexed_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("colours");
    QTest::newRow("1 bit, 10 wide") << 1 << 10 << 2;
    QTest::newRow("1 bit, 33 wide") << 1 << 33 << 2;
    QTest::newRow("4 bits, odd width") << 4 << 3 << 16;
    QTest::newRow("4 bits, short palette") << 4 << 7 << 5;
    QTest::newRow("8 bits, 5 wide") << 8 << 5 << 256;
    QTest::newRow("8 bits, short palette") << 8 << 6 << 12;
}

void BmpImageTest::decodesIndexed()
{
    QFETCH(int, bits);
    QFETCH(int, width);
    QFETCH(int, colours);
    BmpLayout s;
    s.width = width;
    s.height = 4;
    s.bitCount = bits;
    for (int i = 0; i < colours; ++i)
        s.palette.append(qRgb(i * 3 % 256, 255 - i % 256, (i * 77) % 256));
    const int range = 1 << bits;
    s.pixel = [range](int x, int y) { return quint32((x * 5 + y * 3) % range); };
    const QVector<QRgb> palette = s.palette;
    // Indices beyond a short palette come out black.
    compareAll(decodeBmp(writeBmp(s)), width, 4, [&](int x, int y) {
        const int index = (x * 5 + y * 3) % range;
        return index < palette.size() ? palette[index] : qRgb(0, 0, 0);
    });
}

// Run-length coded 4 x |height| bitmaps: the codes after the palette, and
// the indices read back, top row first, rows apart by '|' (or the failure).
void BmpImageTest::decodesRunLength_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("height");
    QTest::addColumn<QByteArray>("codes");
    QTest::addColumn<QString>("expected");
    const auto b = [](std::initializer_list<int> bytes) {
        QByteArray out;
        for (int v : bytes)
            out.append(char(v));
        return out;
    };
    QTest::newRow("8: runs, end of line, end of picture")
        << 8 << 3 << b({4, 1, 0, 0, 2, 2, 2, 3, 0, 0, 1, 5, 0, 1}) << "5000|2233|1111";
    QTest::newRow("8: absolute run, padded") << 8 << 2 << b({0, 3, 7, 8, 9, 0, 1, 4, 0, 1}) << "0000|7894";
    QTest::newRow("8: delta") << 8 << 3 << b({0, 2, 2, 1, 1, 6, 0, 1}) << "0000|0060|0000";
    QTest::newRow("8: run past the row end dropped") << 8 << 1 << b({6, 5, 0, 1}) << "5555";
    QTest::newRow("8: no end of picture") << 8 << 2 << b({4, 1}) << "0000|1111";
    QTest::newRow("8: delta off the top") << 8 << 1 << b({0, 2, 0, 9, 4, 4}) << "0000";
    QTest::newRow("4: runs alternate, odd absolute run")
        << 4 << 2 << b({4, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1}) << "3450|1212";
    QTest::newRow("4: absolute run of 4 unpadded") << 4 << 1 << b({0, 4, 0xAB, 0xCD, 0, 1}) << "abcd";
    QTest::newRow("8: absolute run past the end") << 8 << 1 << b({0, 5, 1, 2}) << NotValid;
    QTest::newRow("8: delta cut short") << 8 << 1 << b({0, 2, 1}) << NotValid;
    QTest::newRow("8: code cut short") << 8 << 1 << b({4, 1, 0}) << NotValid;
    QTest::newRow("4: absolute run past the end") << 4 << 1 << b({0, 5, 0x12, 0x34}) << NotValid;
    QTest::newRow("8: top-down refused") << 8 << -1 << b({4, 1, 0, 1}) << NotValid;
}

void BmpImageTest::decodesRunLength()
{
    QFETCH(int, bits);
    QFETCH(int, height);
    QFETCH(QByteArray, codes);
    QFETCH(QString, expected);
    QVector<QRgb> palette;
    for (int i = 0; i < (1 << bits); ++i)
        palette.append(qRgb(i, 255 - i, (i * 7) & 0xFF));
    const QByteArray file = writeRleBmp(bits, 4, height, palette, codes);

    QString got;
    try {
        const QImage image = decodeBmp(file);
        for (int y = 0; y < image.height(); ++y) {
            if (y > 0)
                got += QLatin1Char('|');
            for (int x = 0; x < image.width(); ++x)
                got += QString::number(qRed(image.pixel(x, y)), 16);
        }
    } catch (const Failure &failure) {
        got = failure.text();
    }
    QCOMPARE(got, expected);
}

void BmpImageTest::decodesMaskedFormats()
{
    // 16 bits without masks: 5-5-5.
    BmpLayout s555;
    s555.width = 3;
    s555.height = 1;
    s555.bitCount = 16;
    const quint32 values555[] = {0x7C00, 0x03E0, 0x001F | (0x10 << 10)};
    s555.pixel = [&](int x, int) { return values555[x]; };
    compareAll(decodeBmp(writeBmp(s555)), 3, 1, [](int x, int) {
        const QRgb e[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(132, 0, 255)};
        return e[x];
    });

    // 16 bits 5-6-5, masks right after a plain info header.
    BmpLayout s565;
    s565.width = 2;
    s565.height = 1;
    s565.bitCount = 16;
    s565.compression = 3;
    s565.masks[0] = 0xF800;
    s565.masks[1] = 0x07E0;
    s565.masks[2] = 0x001F;
    s565.pixel = [](int x, int) { return x == 0 ? quint32(0x07E0) : quint32(0xF81F); };
    compareAll(decodeBmp(writeBmp(s565)), 2, 1,
               [](int x, int) { return x == 0 ? qRgb(0, 255, 0) : qRgb(255, 0, 255); });

    // 32 bits with a version 5 header and red in the low byte; alpha is ignored.
    BmpLayout v5;
    v5.width = 2;
    v5.height = -2;
    v5.bitCount = 32;
    v5.headerSize = 124;
    v5.compression = 3;
    v5.masks[0] = 0x000000FF;
    v5.masks[1] = 0x0000FF00;
    v5.masks[2] = 0x00FF0000;
    v5.pixel = [](int x, int y) {
        const QRgb c = distinct(x, y);
        return quint32(qRed(c)) | quint32(qGreen(c)) << 8 | quint32(qBlue(c)) << 16 | 0x80000000u;
    };
    compareAll(decodeBmp(writeBmp(v5)), 2, 2, distinct);

    // A version 4 header with plain 24-bit pixels.
    BmpLayout v4;
    v4.width = 3;
    v4.height = 3;
    v4.headerSize = 108;
    v4.pixel = [](int x, int y) { return quint32(distinct(x, y)) & 0xFFFFFFu; };
    compareAll(decodeBmp(writeBmp(v4)), 3, 3, distinct);
}

void BmpImageTest::decodesLargestSides()
{
    QCOMPARE(decodeBmp(blankOneBit(30000, 2)).size(), QSize(30000, 2));
    QCOMPARE(decodeBmp(blankOneBit(2, 30000)).size(), QSize(2, 30000));
}

void BmpImageTest::decodesCoreHeader()
{
    // The old OS/2 header: 16-bit sizes and a palette of 3-byte entries.
    BmpLayout s;
    s.headerSize = 12;
    s.width = 3;
    s.height = 2;
    s.bitCount = 8;
    for (int i = 0; i < 256; ++i)
        s.palette.append(qRgb(i, 255 - i, i / 2));
    s.pixel = [](int x, int y) { return quint32(x * 60 + y * 7); };
    compareAll(decodeBmp(writeBmp(s)), 3, 2, [](int x, int y) {
        const int i = x * 60 + y * 7;
        return qRgb(i, 255 - i, i / 2);
    });
}

void BmpImageTest::refusesBadBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    const QByteArray good = validSmall();

    QTest::newRow("1 byte") << QByteArray("B") << StreamError;
    QTest::newRow("5 bytes") << QByteArray("hello") << StreamError;
    QTest::newRow("13 bytes of a bitmap") << good.left(13) << StreamError;
    QTest::newRow("14 bytes, not BM") << QByteArray("PK\3\4 zip file!") << NotValid;
    QTest::newRow("bm in lower case") << QByteArray("bm") + good.mid(2) << NotValid;
    QTest::newRow("only the file header") << good.left(14) << NotValid;
    QTest::newRow("header cut short") << good.left(30) << NotValid;

    auto patched = [&](int offset, quint32 v, bool wide = true) {
        QByteArray b = good;
        if (wide)
            put32(b, offset, v);
        else
            put16(b, offset, v);
        return b;
    };
    QTest::newRow("100000 x 100000") << [&] {
        QByteArray b = patched(18, 100000);
        put32(b, 22, 100000);
        return b;
    }() << NotValid;
    QTest::newRow("zero width") << patched(18, 0) << NotValid;
    QTest::newRow("negative width") << patched(18, quint32(-3)) << NotValid;
    QTest::newRow("zero height") << patched(22, 0) << NotValid;
    QTest::newRow("lowest int height") << patched(22, 0x80000000u) << NotValid;
    QTest::newRow("30001 wide") << patched(18, 30001) << NotValid;
    QTest::newRow("30000 x 30000, over the pixel limit") << [&] {
        QByteArray b = patched(18, 30000);
        put32(b, 22, 30000);
        return b;
    }() << NotValid;
    // 1-bit rows are small, so these files really hold all their pixels.
    QTest::newRow("30001 x 1") << blankOneBit(30001, 1) << NotValid;
    QTest::newRow("1 x 30001") << blankOneBit(1, 30001) << NotValid;
    QTest::newRow("8192 x 8193, over the pixel limit") << blankOneBit(8192, 8193) << NotValid;
    QTest::newRow("more pixels than bytes") << patched(22, 3) << NotValid;
    QTest::newRow("pixel array cut short") << good.left(good.size() - 1) << NotValid;
    QTest::newRow("header size 64") << patched(14, 64) << NotValid;
    QTest::newRow("header size 0") << patched(14, 0) << NotValid;
    QTest::newRow("header size huge") << patched(14, 0xFFFFFFF0u) << NotValid;
    QTest::newRow("2 bits per pixel") << patched(28, 2, false) << NotValid;
    QTest::newRow("0 bits per pixel") << patched(28, 0, false) << NotValid;
    QTest::newRow("48 bits per pixel") << patched(28, 48, false) << NotValid;
    QTest::newRow("run-length compressed") << patched(30, 1) << NotValid;
    QTest::newRow("JPEG compressed") << patched(30, 4) << NotValid;
    QTest::newRow("bit fields on 24 bits") << patched(30, 3) << NotValid;
    QTest::newRow("pixel offset past the end") << patched(10, 1000) << NotValid;
    QTest::newRow("pixel offset inside the header") << patched(10, 20) << NotValid;
    QTest::newRow("pixel offset huge") << patched(10, 0xFFFFFFFFu) << NotValid;

    BmpLayout indexed;
    indexed.width = 4;
    indexed.height = 4;
    indexed.bitCount = 8;
    indexed.palette = QVector<QRgb>(256, qRgb(1, 2, 3));
    const QByteArray withPalette = writeBmp(indexed);
    QTest::newRow("palette cut short") << withPalette.left(54 + 100) << NotValid;
}

void BmpImageTest::refusesBadBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(outcome(bytes), expected);
}

void BmpImageTest::emptyBytesGiveNullPicture() { QVERIFY(decodeBmp(QByteArray()).isNull()); }

void BmpImageTest::survivesDamagedFiles()
{
    // Random damage to valid files of every kind: each must decode or fail
    // with one of the reader's texts, and never crash (run under the
    // sanitizers to catch reads out of bounds).
    QList<QByteArray> seeds{writeBmp24(7, 5, distinct)};
    for (int bits : {1, 4, 8, 16, 32}) {
        BmpLayout s;
        s.width = 9;
        s.height = bits == 16 ? -3 : 3;
        s.bitCount = bits;
        if (bits <= 8)
            s.palette = QVector<QRgb>(1 << bits, qRgb(9, 8, 7));
        seeds.append(writeBmp(s));
    }
    QRandomGenerator random(20240611);
    int decoded = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = seeds[round % seeds.size()];
        const int changes = 1 + int(random.bounded(4));
        for (int c = 0; c < changes; ++c) {
            const int at = int(random.bounded(qMin<qsizetype>(bytes.size(), 70)));
            bytes[at] = char(random.bounded(256));
        }
        if (random.bounded(4) == 0)
            bytes.truncate(int(random.bounded(bytes.size() + 1)));
        const QString result = outcome(bytes);
        if (result == QLatin1String("(decoded)"))
            ++decoded;
        else
            QVERIFY2(result == NotValid || result == StreamError, qPrintable(result));
    }
    QVERIFY(decoded > 0); // damage to pixels and padding still decodes
}

void BmpImageTest::loadsFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("picture.bmp"));
    QVERIFY(writeBytes(path, writeBmp24(4, 3, distinct)));
    compareAll(loadBmpFile(path), 4, 3, distinct);

    QVERIFY(writeBytes(path, QByteArray()));
    QVERIFY(loadBmpFile(path).isNull());

    QVERIFY(writeBytes(path, QByteArray("12345")));
    QCOMPARE(loadOutcome(path), StreamError);

    QVERIFY(writeBytes(path, QByteArray("This is not a picture at all")));
    QCOMPARE(loadOutcome(path), NotValid);
}

void BmpImageTest::reportsFilesItCannotOpen()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("media/s.bmp"));
    QCOMPARE(loadOutcome(missing), QStringLiteral("Cannot open file \"%1\". %2").arg(missing, reason(ENOENT)));
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("media/s.bmp")));
    QCOMPARE(loadOutcome(missing), QStringLiteral("Cannot open file \"%1\". %2").arg(missing, reason(EISDIR)));

    // A named pipe nobody writes to reads as empty instead of blocking.
    const QString pipe = dir.filePath(QStringLiteral("pipe.bmp"));
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    QVERIFY(loadBmpFile(pipe).isNull());
}

void BmpImageTest::reportsUnreadableFile()
{
    if (geteuid() == 0)
        QSKIP("root reads a file whatever its mode");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("s.bmp"));
    QVERIFY(writeBytes(path, validSmall()));
    QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    QCOMPARE(loadOutcome(path), QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason(EACCES)));
}

void BmpImageTest::readsInBands_data()
{
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("height"); // negative: rows stored top down
    QTest::newRow("24 bits, bottom up") << 24 << 7;
    QTest::newRow("24 bits, top down") << 24 << -7;
    QTest::newRow("32 bits") << 32 << 7;
    QTest::newRow("8 bits") << 8 << 7;
    QTest::newRow("1 bit, top down") << 1 << -7;
}

// Bands read from the file are the rows of the picture decoded whole; a file
// too short for its pixels is refused when opened, and one cut short after
// that fails when the missing rows are read.
void BmpImageTest::readsInBands()
{
    QFETCH(int, bits);
    QFETCH(int, height);
    BmpLayout s;
    s.width = 5;
    s.height = height;
    s.bitCount = bits;
    for (int i = 0; bits <= 8 && i < (1 << bits); ++i)
        s.palette.append(distinct(i % 7, i % 5));
    s.pixel = [bits](int x, int y) {
        return bits <= 8 ? quint32((x + 2 * y) % (1 << bits)) : distinct(x, y) & 0xFFFFFFu;
    };
    const QByteArray bytes = writeBmp(s);
    const QImage whole = decodeBmp(bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.bmp"));
    const auto failure = [](const std::function<void()> &step) {
        try {
            step();
        } catch (const Failure &f) {
            return f.text();
        }
        return QString();
    };
    QVERIFY(writeBytes(path, bytes.chopped(1)));
    QCOMPARE(failure([&] { zorelad::BmpFile{path}; }), NotValid);
    QVERIFY(writeBytes(path, bytes));
    const zorelad::BmpFile file(path);
    QCOMPARE(file.size(), whole.size());
    for (int top = 0; top < 7; top += 3)
        QCOMPARE(file.readRows(top, qMin(3, 7 - top)), whole.copy(0, top, 5, qMin(3, 7 - top)));
    QCOMPARE(::truncate(QFile::encodeName(path).constData(), bytes.size() - 1), 0);
    QCOMPARE(failure([&] { file.readRows(height > 0 ? 0 : 6, 1); }), StreamError); // the last row stored
}

QTEST_GUILESS_MAIN(BmpImageTest)
#include "tst_bmpimage.moc"
