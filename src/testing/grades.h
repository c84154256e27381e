#pragma once
// How a finished level is graded, and the progress texts of a running one.

#include <QString>

namespace zorelad {

struct Grade {
    QString headline; // Label1
    QString advice;   // Label2
    QString status;   // the third status panel
    bool offersCertificate;
};

Grade gradeFor(int correctCount);

// The status text while question `questionNo` is on screen ("із 5 запитань").
QString progressText(int questionNo);

} // namespace zorelad
