#include "shapewidget.h"

#include <QtTest>

using zorelad::ShapeWidget;

class WidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void shapeOverBackdropPaintsAsOverThePicture_data()
    {
        QTest::addColumn<ShapeWidget::Kind>("kind");
        QTest::addColumn<int>("backdropWidth");
        QTest::newRow("round, covered") << ShapeWidget::Kind::RoundRect << 360;
        QTest::newRow("square, covered") << ShapeWidget::Kind::Rectangle << 360;
        QTest::newRow("round, backdrop too narrow") << ShapeWidget::Kind::RoundRect << 200;
    }

    // A frame and a bar over it, as the progress bar stands over the window's
    // picture: drawn over copies of what lies beneath, they paint the very
    // pixels that painting them there gives, at every length of the bar.
    void shapeOverBackdropPaintsAsOverThePicture()
    {
        QFETCH(ShapeWidget::Kind, kind);
        QFETCH(int, backdropWidth);
        QImage picture(384, 45, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                picture.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x + y) * 5 % 256));
        QPalette palette;
        palette.setBrush(QPalette::Window, QBrush(picture));
        QWidget scenes[2];
        ShapeWidget *frames[2], *bars[2];
        for (int k = 0; k < 2; ++k) {
            scenes[k].setPalette(palette);
            scenes[k].resize(picture.size());
            frames[k] = new ShapeWidget(kind, &scenes[k]);
            frames[k]->setGeometry(12, 10, 360, 25);
            bars[k] = new ShapeWidget(kind, &scenes[k]);
            bars[k]->setFill(QColor(0, 255, 0), Qt::CrossPattern);
        }
        frames[1]->setBackdrop(picture.copy(QRect(frames[1]->pos(), QSize(backdropWidth, 25))));
        bars[1]->setBackdrop(frames[1]->overBackdrop());
        QCOMPARE(frames[1]->testAttribute(Qt::WA_OpaquePaintEvent), backdropWidth >= 360);
        for (int width = 0; width <= 360; width += 15) {
            for (ShapeWidget *bar : bars)
                bar->setGeometry(12, 10, width, 25);
            QCOMPARE(scenes[1].grab().toImage(), scenes[0].grab().toImage());
        }
    }
};

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
