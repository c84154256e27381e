#pragma once
// A level: 24 questions read one at a time, scored on Next, graded at the end.
// The level run keeps the question on screen and the shared test state; the
// main window shows what it is told through LevelView.

#include "gradeband.h"
#include "grades.h"
#include "questionfolder.h"
#include "teststate.h"

#include <QString>

#include <functional>

namespace zorelad {

// The main window as the level run sees it. Each call is one step on screen;
// the level run makes them in the order the pupil sees them happen, which
// matters when a question file fails to load half-way through a step.
class LevelView {
public:
    // A level starts: the reveal button shows, the status text, the level
    // choice and the last grade go, no option is chosen and the progress bar
    // shows empty.
    virtual void showLevelStart() = 0;
    // A question loaded from its file: its text, its options' captions and the
    // answer line for the teacher's reveal field.
    virtual void showQuestion(const Question &question) = 0;
    // The question box, the three options and "Наступне" show.
    virtual void showAnswerControls() = 0;
    virtual void showStatus(const QString &text) = 0;
    // The option the pupil has chosen, 1 to 3, or 0 when none is.
    virtual int chosenOption() const = 0;
    virtual void clearChoice() = 0;
    // The progress bar's length for this many correct answers.
    virtual void showProgress(int correctCount) = 0;
    // The level is over: the question widgets go, the grade and the level
    // choice show.
    virtual void showGrade(const Grade &grade) = 0;
    // Testing ended: the level, the pupil's name and class are cleared away.
    virtual void showTestingEnded() = 0;

protected:
    ~LevelView() = default;
};

class LevelRun {
public:
    LevelRun(LevelView &view, TestState &state);

    void start(int level); // the level buttons and the level menu
    void next();           // "Наступне"
    void endTesting();     // "Закінчити тестування"

    // Called with every level graded, after the grade shows.
    void setGradedHandler(std::function<void(const GradedLevel &)> handler) { m_graded = std::move(handler); }

private:
    void loadQuestion(int number);
    void finishLevel();

    LevelView &m_view;
    TestState &m_state;
    Question m_question; // the question on screen; kept when a file fails to load
    QString m_answers;   // the options chosen so far in the level, one digit each
    QString m_questions; // the fingerprints of the questions they answered
    std::function<void(const GradedLevel &)> m_graded;
};

} // namespace zorelad
