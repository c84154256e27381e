#include "grades.h"

namespace zorelad {

Grade gradeFor(int correctCount)
{
    const QString nextLevel = QStringLiteral("Пропонуємо вам розв\"язати наступний рівень");
    if (correctCount >= 20)
        return {QStringLiteral("Ви відмінно розв\"язали даний рівень"), nextLevel,
                QStringLiteral("Оцінка - відмінно"), true};
    if (correctCount >= 14)
        return {QStringLiteral("Ви добре розв\"язали даний рівень"), nextLevel,
                QStringLiteral("Оцінка - Добре"), true};
    return {QStringLiteral("Ви незадовільно розв\"язали даний рівень"),
            QStringLiteral("Пропонуємо вам його перерозв\"язати"),
            QStringLiteral("Оцінка - незадовільно"), false};
}

QString progressText(int questionNo)
{
    return QStringLiteral("із ") + QString::number(questionNo) + QStringLiteral(" запитань");
}

} // namespace zorelad
