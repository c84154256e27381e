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

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
