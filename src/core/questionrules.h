#pragma once
// The rules a question must meet before a pupil sees it. Whether its texts
// fit on screen is measured with the quiz's widgets (questionfit.h), which
// reports in the same form.

#include "questionfile.h"

#include <QList>
#include <QString>

namespace zorelad {

// What is wrong with a question, and where.
struct QuestionProblem {
    enum Kind {
        EmptyQuestion,    // line 1 is empty or blank
        EmptyOption,      // an option line is empty or blank
        SameOptions,      // an option repeats an earlier one
        BadAnswer,        // line 5 is not exactly "1", "2" or "3"
        NoWindows1251,    // a character windows-1251 cannot hold
        ControlCharacter, // a control character an editor would not leave
        TooWide,          // cut off at the right on screen (measured by widgets)
        TooTall,          // the question needs more lines than its box shows
    };
    Kind kind;
    int line;        // the question's line it concerns, 1 to 5
    QString message; // one translated sentence, without the line number
};

// Every problem of one question, in the order of its lines.
QList<QuestionProblem> checkQuestion(const Question &question);

// Questions asked twice: for each question whose text (spaces folded) an
// earlier one already has, its index and the earlier one's.
struct SameQuestion {
    qsizetype index;
    qsizetype earlier;
};
QList<SameQuestion> sameQuestions(const QList<Question> &questions);

} // namespace zorelad
