#include "grades.h"

#include "gradeband.h"

namespace zorelad {

Grade gradeFor(int correctCount)
{
    const QString nextLevel = QStringLiteral("Пропонуємо вам розв\"язати наступний рівень");
    switch (gradeBand(correctCount)) {
    case GradeBand::Excellent:
        return {QStringLiteral("Ви відмінно розв\"язали даний рівень"), nextLevel, QStringLiteral("Оцінка - відмінно"),
                true};
    case GradeBand::Good:
        return {QStringLiteral("Ви добре розв\"язали даний рівень"), nextLevel, QStringLiteral("Оцінка - Добре"), true};
    case GradeBand::Unsatisfactory:
    case GradeBand::None:
        break;
    }
    return {QStringLiteral("Ви незадовільно розв\"язали даний рівень"),
            QStringLiteral("Пропонуємо вам його перерозв\"язати"), QStringLiteral("Оцінка - незадовільно"), false};
}

QString progressText(int questionNo)
{
    return QStringLiteral("із ") + QString::number(questionNo) + QStringLiteral(" запитань");
}

} // namespace zorelad
