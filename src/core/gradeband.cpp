#include "gradeband.h"

namespace zorelad {

GradeBand gradeBand(int correctCount)
{
    if (correctCount < 0 || correctCount > 24)
        return GradeBand::None;
    if (correctCount >= 20)
        return GradeBand::Excellent;
    if (correctCount >= 14)
        return GradeBand::Good;
    return GradeBand::Unsatisfactory;
}

} // namespace zorelad
