#include "levelrun.h"

#include "errorbox.h"

namespace zorelad {

LevelRun::LevelRun(LevelView &view, TestState &state) : m_view(view), m_state(state) {}

void LevelRun::start(int level)
{
    m_view.showLevelStart();
    m_state.CorrectCount = 0;
    m_state.QuestionNo = 1;
    m_state.Level = level;
    m_answers.clear();
    m_questions.clear();
    loadQuestion(1);
    m_view.showAnswerControls();
}

void LevelRun::next()
{
    if (m_state.QuestionNo < 1 || m_state.QuestionNo > QuestionsPerLevel)
        return;
    const bool last = m_state.QuestionNo == QuestionsPerLevel;
    if (!last)
        m_view.showStatus(progressText(m_state.QuestionNo));
    const int chosen = m_view.chosenOption();
    if (chosen == 0) {
        // Every question, the last one too, waits for an answer.
        showRefusal(QStringLiteral("Виберіть варіант відповіді!"));
        return;
    }
    m_answers += QString::number(chosen);
    m_questions += questionFingerprint(m_question);
    if (chosen == m_question.rightOption()) {
        ++m_state.CorrectCount;
        m_view.showProgress(m_state.CorrectCount);
    }
    if (last) {
        finishLevel();
        return;
    }
    m_view.clearChoice();
    ++m_state.QuestionNo;
    loadQuestion(m_state.QuestionNo);
}

void LevelRun::endTesting()
{
    m_state.QuestionNo = 0;
    m_state.CorrectCount = 0;
    m_state.Level = 0;
    m_view.showTestingEnded();
}

void LevelRun::loadQuestion(int number)
{
    // A file that fails to load leaves the last question in place, and Next
    // goes on scoring against it.
    m_question = readQuestion(questionFilePath(m_state.ProgramDir, m_state.Level, number));
    m_view.showQuestion(m_question);
}

void LevelRun::finishLevel()
{
    m_state.QuestionNo = QuestionsPerLevel + 1;
    m_view.showGrade(gradeFor(m_state.CorrectCount));
    if (m_graded)
        m_graded({m_state.Level, m_state.CorrectCount, gradeBand(m_state.CorrectCount), m_answers, m_questions});
}

} // namespace zorelad
