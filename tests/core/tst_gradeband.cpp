// The grade bands a level's count of correct answers falls in.

#include "gradeband.h"

#include <QTest>

using namespace zorelad;

class GradeBandTest : public QObject {
    Q_OBJECT

private slots:
    void gradeBandBoundaries_data();
    void gradeBandBoundaries();
};

void GradeBandTest::gradeBandBoundaries_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<GradeBand>("band");
    QTest::newRow("-1") << -1 << GradeBand::None;
    QTest::newRow("0") << 0 << GradeBand::Unsatisfactory;
    QTest::newRow("13") << 13 << GradeBand::Unsatisfactory;
    QTest::newRow("14") << 14 << GradeBand::Good;
    QTest::newRow("19") << 19 << GradeBand::Good;
    QTest::newRow("20") << 20 << GradeBand::Excellent;
    QTest::newRow("24") << 24 << GradeBand::Excellent;
    QTest::newRow("25") << 25 << GradeBand::None;
}

void GradeBandTest::gradeBandBoundaries()
{
    QFETCH(int, correct);
    QFETCH(GradeBand, band);
    QCOMPARE(gradeBand(correct), band);
}

QTEST_GUILESS_MAIN(GradeBandTest)
#include "tst_gradeband.moc"
