#include "questionrules.h"

#include "windows1251.h"

#include <QCoreApplication>
#include <QHash>

namespace zorelad {

namespace {

struct Bank {
    Q_DECLARE_TR_FUNCTIONS(Bank)
};

bool isBlank(const QString &line) { return line.trimmed().isEmpty(); }

QString lineName(int line)
{
    switch (line) {
    case 1:
        return Bank::tr("the question");
    case 5:
        return Bank::tr("the answer");
    default:
        return Bank::tr("option %1").arg(line - 1);
    }
}

} // namespace

QList<QuestionProblem> checkQuestion(const Question &q)
{
    const QString lines[QuestionFileLines] = {q.text, q.options[0], q.options[1], q.options[2], q.answer};
    QList<QuestionProblem> problems;
    for (int line = 1; line <= QuestionFileLines; ++line) {
        const QString &text = lines[line - 1];
        if (line == 1 && isBlank(text))
            problems.append({QuestionProblem::EmptyQuestion, line, Bank::tr("the question is empty")});
        if (line >= 2 && line <= 4) {
            if (isBlank(text))
                problems.append({QuestionProblem::EmptyOption, line, Bank::tr("option %1 is empty").arg(line - 1)});
            for (int earlier = 2; earlier < line && !isBlank(text); ++earlier) {
                if (lines[earlier - 1].trimmed() == text.trimmed()) {
                    problems.append({QuestionProblem::SameOptions, line,
                                     Bank::tr("option %1 is the same as option %2").arg(line - 1).arg(earlier - 1)});
                    break;
                }
            }
        }
        if (line == 5 && q.rightOption() == 0)
            problems.append({QuestionProblem::BadAnswer, line,
                             Bank::tr("the answer is \"%1\"; it must be exactly 1, 2 or 3").arg(text)});
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (isControlCharacter(text[i])) {
                problems.append(
                    {QuestionProblem::ControlCharacter, line,
                     Bank::tr("%1 holds the control character %2").arg(lineName(line), describeCharacter(text, i))});
                break;
            }
        }
        const qsizetype bad = firstNonWindows1251(text);
        if (bad >= 0 && !isControlCharacter(text[bad]))
            problems.append({QuestionProblem::NoWindows1251, line,
                             Bank::tr("%1 holds the character %2, which windows-1251 lacks")
                                 .arg(lineName(line), describeCharacter(text, bad))});
    }
    return problems;
}

QList<SameQuestion> sameQuestions(const QList<Question> &questions)
{
    QList<SameQuestion> same;
    QHash<QString, qsizetype> asked;
    for (qsizetype i = 0; i < questions.size(); ++i) {
        const QString key = questions[i].text.simplified();
        if (key.isEmpty())
            continue;
        if (const auto found = asked.constFind(key); found != asked.constEnd())
            same.append({i, *found});
        else
            asked.insert(key, i);
    }
    return same;
}

} // namespace zorelad
