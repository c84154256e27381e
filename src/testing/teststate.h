#pragma once
// The four values that describe where the pupil stands; they live for the
// whole run and are shared by the main window's handlers.

#include <QString>

namespace zorelad {

struct TestState {
    QString ProgramDir;   // the program's directory, with a trailing '/'
    int Level = 0;        // 0: no level; else 1, 2 or 3
    int QuestionNo = 0;   // question on screen, 1..24; 25 once the level is finished
    int CorrectCount = 0; // correct answers so far in the level
};

} // namespace zorelad
