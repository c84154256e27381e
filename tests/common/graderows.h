#pragma once
// One row per grade the pupil can be given, with the captions, the status text
// and whether the certificate is offered: the rows of the caption table and of
// the window suite's "the level ends with its grade".

#include <QString>
#include <QTest>

namespace testing_support {

inline void addGradeRows()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<QString>("headline");
    QTest::addColumn<QString>("advice");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("certificate");
    const QString next = QStringLiteral("Пропонуємо вам розв\"язати наступний рівень");
    QTest::newRow("excellent") << 20 << "Ви відмінно розв\"язали даний рівень" << next << "Оцінка - відмінно" << true;
    QTest::newRow("good") << 14 << "Ви добре розв\"язали даний рівень" << next << "Оцінка - Добре" << true;
    QTest::newRow("unsatisfactory") << 13 << "Ви незадовільно розв\"язали даний рівень"
                                    << "Пропонуємо вам його перерозв\"язати"
                                    << "Оцінка - незадовільно" << false;
}

} // namespace testing_support
