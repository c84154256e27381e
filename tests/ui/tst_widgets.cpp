#include "widgets.h"

#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <functional>

using zorelad::KeptGroupBox;
using zorelad::KeptPushButton;
using zorelad::KeptSizeGrip;
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

    // Each of two columns holds a frame with an answer button over its
    // corner and title, a push button over a coloured strip, and a sunken
    // text panel with a size grip over its end; the right column's frame,
    // push button and grip keep their pixels. In the window's own pixels the
    // columns look alike through new texts (one reaching under the grip), a
    // pressed and released button, a new colour beneath it, a new title, new
    // colours and font, a disabled state and a new size. (They lie 320
    // pixels apart, so that their pixels line up alike in memory.)
    void keptPixelsPaintAsPlainWidgets()
    {
        QWidget window;
        window.resize(640, 220);
        QGroupBox *frames[2] = {new QGroupBox(&window), new KeptGroupBox(&window)};
        QSizeGrip *grips[2] = {new QSizeGrip(&window), new KeptSizeGrip(&window)};
        QPushButton *buttons[2];
        QWidget *strips[2];
        QRadioButton *options[2];
        QLabel *panels[2];
        for (int k = 0; k < 2; ++k) {
            frames[k]->setTitle(QStringLiteral("Варіанти відповідей"));
            frames[k]->setAutoFillBackground(true);
            frames[k]->setGeometry(8 + 320 * k, 8, 289, 105);
            options[k] = new QRadioButton(&window);
            options[k]->setGeometry(4 + 320 * k, 4, 177, 17);
            strips[k] = new QWidget(&window);
            strips[k]->setAutoFillBackground(true);
            strips[k]->setGeometry(320 * k, 120, 300, 50);
            buttons[k] = k ? new KeptPushButton(QStringLiteral("Наступне"), &window)
                           : new QPushButton(QStringLiteral("Наступне"), &window);
            buttons[k]->setGeometry(320 * k + 20, 125, 200, 40);
            panels[k] = new QLabel(&window);
            panels[k]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            panels[k]->setGeometry(320 * k, 190, 300, 17);
            grips[k]->raise();
            grips[k]->setGeometry(320 * k + 284, 191, 16, 16);
        }
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QString longText = QStringLiteral("Правильних відповідей: 24 з 24, оцінка 12 балів!");
        auto colour = [&](int k, QColor colour) {
            QPalette palette = strips[k]->palette();
            palette.setColor(QPalette::Window, colour);
            strips[k]->setPalette(palette);
        };
        const std::function<void(int)> steps[] = {
            [&](int) {},
            [&](int k) { options[k]->setText(QStringLiteral("Полярна зоря")), panels[k]->setText("1 / 24"); },
            [&](int k) { buttons[k]->setDown(true), panels[k]->setText(longText); },
            [&](int k) { buttons[k]->setDown(false), options[k]->setText(QStringLiteral("Сіріус")); },
            [&](int k) { buttons[k]->setDown(true), colour(k, Qt::darkGreen); },
            [&](int k) { buttons[k]->setDown(false), frames[k]->setTitle(QStringLiteral("Музика")); },
            [&](int k) { buttons[k]->setText(QStringLiteral("Далі")), panels[k]->setText("2 / 24"); },
            [&](int k) { frames[k]->setPalette(QPalette(Qt::darkCyan)), buttons[k]->setFont(QFont("DejaVu Serif")); },
            [&](int k) { frames[k]->setEnabled(false), buttons[k]->setEnabled(false); },
            [&](int k) { frames[k]->resize(200, 90), grips[k]->move(grips[k]->x() - 4, 191); },
            [&](int k) { options[k]->setText(QStringLiteral("Вега")), panels[k]->setText(longText); },
        };
        for (const auto &step : steps) {
            step(0);
            step(1);
            QTest::qWait(50);
            const QImage shot = window.screen()->grabWindow(window.winId()).toImage();
            QCOMPARE(shot.copy(320, 0, 320, 220), shot.copy(0, 0, 320, 220));
        }
    }
};

QTEST_MAIN(WidgetsTest)
#include "tst_widgets.moc"
