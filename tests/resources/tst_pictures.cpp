// The program's pictures: the background decoded from its JPEG.

#include "pictures.h"

#include <QTest>

using namespace zorelad;

class PicturesTest : public QObject {
    Q_OBJECT

private slots:
    void backgroundPictureDecodes();
};

void PicturesTest::backgroundPictureDecodes()
{
    const QImage image = backgroundPicture();
    QCOMPARE(image.size(), QSize(722, 722));
    // A sky above and a field below: blue on top, warm below.
    const QColor sky = image.pixelColor(361, 40);
    const QColor field = image.pixelColor(361, 680);
    QVERIFY(sky.blue() > sky.red());
    QVERIFY(field.red() > field.blue());
}

QTEST_MAIN(PicturesTest)
#include "tst_pictures.moc"
