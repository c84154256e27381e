// Every input under fuzz/regressions/ once made a parser crash or allocate
// without bound. Each is listed here with the clean outcome it must now have,
// and a new file there without an entry here fails the suite.

#include "failure.h"
#include "jpegimage.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>

#include <jpeglib.h>
#include <jerror.h>

using namespace zorelad;

namespace {

struct Regression {
    const char *path;    // below fuzz/regressions/
    QString failureText; // the Failure it must end in
};

QString tooBig() { return QStringLiteral("JPEG error #%1").arg(JERR_IMAGE_TOO_BIG); }

QList<Regression> regressions()
{
    return {
        // A baseline header claiming 65500 x 65500 from 769 bytes: once a 12 GB picture.
        {"fuzz_jpeg/claims-65500x65500-baseline.jpg", tooBig()},
        // The same claim, progressive: libjpeg's own coefficient buffers took 12 GB.
        {"fuzz_jpeg/claims-65500x65500-progressive.jpg", tooBig()},
        // Found by fuzz_jpeg: 8469 x 2182 pixels claimed by 244 bytes.
        {"fuzz_jpeg/claims-8469x2182-in-244-bytes.jpg", tooBig()},
    };
}

QString regressionDir() { return QStringLiteral(ZORELAD_FUZZ_REGRESSIONS); }

QByteArray readInput(const QString &relative)
{
    QFile file(regressionDir() + QLatin1Char('/') + relative);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The parser that reads the inputs of a target's folder, with what it threw.
QString failureOf(const QString &target, const QByteArray &bytes)
{
    try {
        if (target == QLatin1String("fuzz_jpeg"))
            decodeJpeg(bytes);
        else
            return QStringLiteral("no parser for %1").arg(target);
    } catch (const Failure &failure) {
        return failure.text();
    }
    return QStringLiteral("(no failure)");
}

// Rewrites the size in the frame header (SOF0 or SOF2) of a JPEG stream.
QByteArray withSize(QByteArray jpeg, int width, int height)
{
    for (qsizetype i = 0; i + 8 < jpeg.size(); ++i) {
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2)) {
            jpeg[i + 5] = char(height >> 8);
            jpeg[i + 6] = char(height & 0xFF);
            jpeg[i + 7] = char(width >> 8);
            jpeg[i + 8] = char(width & 0xFF);
            return jpeg;
        }
    }
    return {};
}

} // namespace

class FuzzRegressionsTest : public QObject {
    Q_OBJECT

private slots:
    void everyInputIsListed();
    void inputsFailCleanly_data();
    void inputsFailCleanly();
    void jpegSizeLimitKeepsLargePicturesWithinIt();
};

void FuzzRegressionsTest::everyInputIsListed()
{
    QSet<QString> listed;
    for (const Regression &r : regressions())
        listed.insert(QString::fromLatin1(r.path));
    QSet<QString> present;
    const QDir root(regressionDir());
    QVERIFY2(root.exists(), qPrintable(root.path()));
    for (const QString &target : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString &name : QDir(root.filePath(target)).entryList(QDir::Files))
            present.insert(target + QLatin1Char('/') + name);
    }
    for (const QString &path : present)
        QVERIFY2(listed.contains(path), qPrintable(path + QStringLiteral(" has no expected outcome here")));
    for (const QString &path : listed)
        QVERIFY2(present.contains(path), qPrintable(path + QStringLiteral(" is missing")));
}

void FuzzRegressionsTest::inputsFailCleanly_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("failure");
    for (const Regression &r : regressions())
        QTest::newRow(r.path) << QString::fromLatin1(r.path) << r.failureText;
}

void FuzzRegressionsTest::inputsFailCleanly()
{
    QFETCH(QString, path);
    QFETCH(QString, failure);
    const QByteArray bytes = readInput(path);
    QVERIFY2(!bytes.isEmpty(), qPrintable(path));
    QCOMPARE(failureOf(path.section(QLatin1Char('/'), 0, 0), bytes), failure);
}

void FuzzRegressionsTest::jpegSizeLimitKeepsLargePicturesWithinIt()
{
    // The limit refuses what no picture of the program needs, and no more:
    // 4096 x 4096 still decodes (its missing data filled in), one column more
    // does not, and a long narrow picture of as many pixels decodes too.
    const QByteArray stream = readInput(QStringLiteral("fuzz_jpeg/claims-65500x65500-baseline.jpg"));
    const QByteArray largest = withSize(stream, 4096, 4096);
    QVERIFY(!largest.isEmpty());
    QCOMPARE(decodeJpeg(largest).size(), QSize(4096, 4096));
    QCOMPARE(failureOf(QStringLiteral("fuzz_jpeg"), withSize(stream, 4097, 4096)), tooBig());
    QCOMPARE(decodeJpeg(withSize(stream, 256, 65500)).size(), QSize(256, 65500));
}

QTEST_GUILESS_MAIN(FuzzRegressionsTest)
#include "tst_fuzzregressions.moc"
