#pragma once
// The band a level's count of correct answers falls in. The grade captions on
// screen and the certificate's result line are both read from it.

#include <QString>

namespace zorelad {

enum class GradeBand {
    None,           // not a count a level can end with
    Unsatisfactory, // 0 to 13
    Good,           // 14 to 19
    Excellent,      // 20 to 24
};

GradeBand gradeBand(int correctCount);

// A level just graded: which level, how many right answers, and their band;
// the option chosen for each question in the order asked ("1".."3" each),
// and each question's fingerprint as asked, run together (questionfile.h).
struct GradedLevel {
    int level = 0; // 1..3
    int correct = 0;
    GradeBand band = GradeBand::None;
    QString answers;
    QString questions;
};

} // namespace zorelad
