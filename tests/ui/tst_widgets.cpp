#include "widgets.h"

#include <QtTest>

using zorelad::ShapeWidget;

namespace {

// A picture under two shapes, the second over the first, as the progress
// bar stands over the window's picture.
struct Scene {
    QWidget parent;
    ShapeWidget *frame;
    ShapeWidget *bar;

    Scene(ShapeWidget::Kind kind, const QImage &picture, int backdropWidth)
    {
        parent.resize(picture.size());
        QPalette palette;
        palette.setBrush(QPalette::Window, QBrush(picture));
        parent.setPalette(palette);
        parent.setAutoFillBackground(true);
        frame = new ShapeWidget(kind, &parent);
        frame->setGeometry(12, 10, 360, 25);
        frame->setFill(QColor(153, 180, 209));
        frame->setOutline(QColor(0, 0, 128));
        bar = new ShapeWidget(kind, &parent);
        bar->setGeometry(12, 10, 1, 25);
        bar->setFill(QColor(0, 255, 0), Qt::CrossPattern);
        if (backdropWidth > 0) {
            frame->setBackdrop(picture.copy(QRect(frame->pos(), QSize(backdropWidth, 25))));
            bar->setBackdrop(frame->overBackdrop());
        }
    }
};

} // namespace

class WidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void shapeOverBackdropPaintsAsOverThePicture_data();
    void shapeOverBackdropPaintsAsOverThePicture();
};

void WidgetsTest::shapeOverBackdropPaintsAsOverThePicture_data()
{
    QTest::addColumn<ShapeWidget::Kind>("kind");
    QTest::addColumn<int>("backdropWidth");
    QTest::addColumn<bool>("opaque");
    QTest::newRow("round, covered") << ShapeWidget::Kind::RoundRect << 360 << true;
    QTest::newRow("square, covered") << ShapeWidget::Kind::Rectangle << 360 << true;
    QTest::newRow("round, backdrop too narrow") << ShapeWidget::Kind::RoundRect << 200 << false;
}

// Shapes drawn over a copy of what lies beneath them paint the very pixels
// that painting them over it gives, at every length of the bar.
void WidgetsTest::shapeOverBackdropPaintsAsOverThePicture()
{
    QFETCH(ShapeWidget::Kind, kind);
    QFETCH(int, backdropWidth);
    QFETCH(bool, opaque);
    QImage picture(384, 45, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) * 5 % 256));
    Scene painted(kind, picture, 0);
    Scene copied(kind, picture, backdropWidth);
    QCOMPARE(copied.frame->testAttribute(Qt::WA_OpaquePaintEvent), opaque);
    for (int width = 0; width <= 360; width += 15) {
        painted.bar->resize(width, 25);
        copied.bar->resize(width, 25);
        QCOMPARE(copied.parent.grab().toImage(), painted.parent.grab().toImage());
    }
}

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
