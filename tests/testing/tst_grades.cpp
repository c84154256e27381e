// The grade of a level and the captions that show it.

#include "grades.h"
#include "graderows.h"

#include <QTest>

using namespace zorelad;

class GradesTest : public QObject {
    Q_OBJECT

private slots:
    void gradeCaptions_data();
    void gradeCaptions();
};

void GradesTest::gradeCaptions_data() { testing_support::addGradeRows(); }

void GradesTest::gradeCaptions()
{
    QFETCH(int, correct);
    QFETCH(QString, headline);
    QFETCH(QString, advice);
    QFETCH(QString, status);
    QFETCH(bool, certificate);
    const Grade grade = gradeFor(correct);
    QCOMPARE(grade.headline, headline);
    QCOMPARE(grade.advice, advice);
    QCOMPARE(grade.status, status);
    QCOMPARE(grade.offersCertificate, certificate);
    QCOMPARE(progressText(5), QStringLiteral("із 5 запитань"));
}

QTEST_GUILESS_MAIN(GradesTest)
#include "tst_grades.moc"
