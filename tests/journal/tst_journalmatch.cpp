// How the journal's reader matches classes, pupils and dates as typed.

#include "journalmatch.h"
#include "journalreport.h"

#include <QTest>

using namespace zorelad;

class JournalMatchTest : public QObject {
    Q_OBJECT

private slots:
    void sameOrNot_data();
    void sameOrNot();
    void dates_data();
    void dates();
    void whyEmpty_data();
    void whyEmpty();
};

void JournalMatchTest::sameOrNot_data()
{
    QTest::addColumn<bool>("pupil"); // else a class
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<bool>("same");
    QTest::newRow("Latin A") << false << "5-A"
                             << "5-А" << true;
    QTest::newRow("lower case, no hyphen") << false << "5а"
                                           << "5-А" << true;
    QTest::newRow("a space") << false << "5 А"
                             << "5-А" << true;
    QTest::newRow("an invisible character") << false << QStringLiteral("5-А\u200B") << "5-А" << true;
    QTest::newRow("another letter") << false << "5-Б"
                                    << "5-А" << false;
    QTest::newRow("another year") << false << "6-А"
                                  << "5-А" << false;
    QTest::newRow("words' order and spaces") << true << "Коваль Оля "
                                             << "Оля  Коваль" << true;
    QTest::newRow("case") << true << "оля коваль"
                          << "Оля Коваль" << true;
    QTest::newRow("another pupil") << true << "Оля Коваленко"
                                   << "Оля Коваль" << false;
}

void JournalMatchTest::sameOrNot()
{
    QFETCH(bool, pupil);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(bool, same);
    QCOMPARE(pupil ? pupilKey(a) == pupilKey(b) : classKey(a) == classKey(b), same);
}

void JournalMatchTest::dates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("ISO") << "2026-12-09" << QDate(2026, 12, 9);
    QTest::newRow("Ukrainian") << "09.12.2026" << QDate(2026, 12, 9);
    QTest::newRow("day and month") << "9.12" << QDate(2026, 12, 9);
    QTest::newRow("a day still to come is last year's") << "10.12" << QDate(2025, 12, 10);
    QTest::newRow("no date") << "вчора" << QDate();
    QTest::newRow("no such day") << "31.02.2026" << QDate();
}

void JournalMatchTest::dates()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(parseTeacherDate(text, QDate(2026, 12, 9)), date);
}

void JournalMatchTest::whyEmpty_data()
{
    QTest::addColumn<QString>("pupilClass");
    QTest::addColumn<QDate>("since");
    QTest::addColumn<QString>("said");
    QTest::newRow("a class not there") << "7-В" << QDate()
                                       << "No records of class 7-В; the classes in the journal: 5-А, 6-Б.";
    QTest::newRow("too late a date") << "5-А" << QDate(2027, 1, 1) << "No records since 01.01.2027.";
    QTest::newRow("records let through") << "5-a" << QDate() << "";
}

void JournalMatchTest::whyEmpty()
{
    QFETCH(QString, pupilClass);
    QFETCH(QDate, since);
    QFETCH(QString, said);
    JournalRecord a, b;
    a.time = b.time = QDateTime(QDate(2026, 12, 9), QTime(9, 0));
    a.name = QStringLiteral("Оля");
    b.name = QStringLiteral("Петро");
    a.pupilClass = QStringLiteral("5-А");
    b.pupilClass = QStringLiteral("6-Б");
    a.level = b.level = 1;
    QCOMPARE(whyNoRecords({a, b}, {pupilClass, since, 0}), said);
}

QTEST_GUILESS_MAIN(JournalMatchTest)
#include "tst_journalmatch.moc"
