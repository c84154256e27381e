// The JPEG decoder: libjpeg's errors as failures, a cut stream as a picture.

#include "failure.h"
#include "jpegimage.h"
#include "pictures.h"

#include <QTest>

#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

using namespace zorelad;

class JpegImageTest : public QObject {
    Q_OBJECT

private slots:
    void brokenJpegFailsWithLibjpegsNumber();
};

void JpegImageTest::brokenJpegFailsWithLibjpegsNumber()
{
    auto failureOf = [](const QByteArray &bytes) {
        try {
            decodeJpeg(bytes);
        } catch (const Failure &failure) {
            return failure.text();
        }
        return QString();
    };
    QCOMPARE(failureOf(QByteArray()), QStringLiteral("JPEG error #%1").arg(JERR_INPUT_EMPTY));
    QCOMPARE(failureOf(QByteArray("GIF89a not a jpeg at all")), QStringLiteral("JPEG error #%1").arg(JERR_NO_SOI));

    // A truncated stream is only a warning for libjpeg: the picture comes
    // back whole in size, its missing part filled in.
    const QByteArray whole = pictureBytes(QStringLiteral("background.jpg"));
    QVERIFY(whole.size() > 1000);
    const QImage truncated = decodeJpeg(whole.left(whole.size() / 2));
    QCOMPARE(truncated.size(), QSize(722, 722));
    // Cut inside the header: a failure, not a crash.
    QVERIFY(failureOf(whole.left(40)).startsWith(QStringLiteral("JPEG error #")));
}

QTEST_MAIN(JpegImageTest)
#include "tst_jpegimage.moc"
