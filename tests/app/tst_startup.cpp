// The start-up pause before the main window appears.

#include "programfixture.h"
#include "startup.h"

#include <QTest>

using namespace zorelad;

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void pauseEndsFourToFiveSecondsLater_data();
    void pauseEndsFourToFiveSecondsLater();
    void windowSystem_data();
    void windowSystem();
};

void StartupTest::pauseEndsFourToFiveSecondsLater_data()
{
    QTest::addColumn<qint64>("startMs");
    QTest::newRow("on a second") << qint64(7000);
    QTest::newRow("just after") << qint64(7001);
    QTest::newRow("middle") << qint64(7500);
    QTest::newRow("just before the next") << qint64(7999);
    QTest::newRow("at zero") << qint64(0);
}

void StartupTest::pauseEndsFourToFiveSecondsLater()
{
    QFETCH(qint64, startMs);
    const Clock clock = testing_support::fakeClock(startMs);
    startupPause(clock);
    const qint64 waited = clock.nowMs() - startMs;
    QVERIFY2(waited > 4000 && waited <= 5000, qPrintable(QString::number(waited)));
    QCOMPARE(clock.nowMs() % 1000, qint64(0));
}

void StartupTest::windowSystem_data()
{
    QTest::addColumn<QByteArrayList>("environment"); // QT_QPA_PLATFORM, DISPLAY, WAYLAND_DISPLAY
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<bool>("placedByCompositor");
    QTest::newRow("X11") << QByteArrayList{"", ":0", ""} << QByteArray("xcb") << false;
    QTest::newRow("Wayland with XWayland") << QByteArrayList{"", ":0", "wayland-0"} << QByteArray("xcb") << false;
    QTest::newRow("Wayland alone") << QByteArrayList{"", "", "wayland-0"} << QByteArray() << true;
    QTest::newRow("chosen by the user") << QByteArrayList{"offscreen", ":0", "wayland-0"} << QByteArray() << false;
    QTest::newRow("Wayland chosen") << QByteArrayList{"wayland", ":0", ""} << QByteArray() << true;
}

void StartupTest::windowSystem()
{
    QFETCH(QByteArrayList, environment);
    QFETCH(QByteArray, platform);
    QFETCH(bool, placedByCompositor);
    const WindowSystem system = chooseWindowSystem(environment[0], environment[1], environment[2]);
    QCOMPARE(system.platform, platform);
    QCOMPARE(system.placedByCompositor, placedByCompositor);
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
