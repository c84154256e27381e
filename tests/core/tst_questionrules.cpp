// The rules a question must meet before a pupil sees it.

#include "questionrules.h"

#include <QTest>

using namespace zorelad;

class QuestionRulesTest : public QObject {
    Q_OBJECT

private slots:
    void questionRules_data();
    void questionRules();
};

static Question question(const QString &text, const QString &a, const QString &b, const QString &c,
                         const QString &answer)
{
    return Question{text, {a, b, c}, answer};
}

// "kind@line" for each problem, in order.
static QStringList summary(const QList<QuestionProblem> &problems)
{
    QStringList out;
    for (const QuestionProblem &p : problems)
        out << QStringLiteral("%1@%2").arg(int(p.kind)).arg(p.line);
    return out;
}

void QuestionRulesTest::questionRules_data()
{
    QTest::addColumn<Question>("q");
    QTest::addColumn<QStringList>("problems");
    const auto at = [](QuestionProblem::Kind k, int line) { return QStringLiteral("%1@%2").arg(int(k)).arg(line); };
    QTest::newRow("sound") << question("Q?", "a", "b", "c", "3") << QStringList();
    QTest::newRow("empty question") << question(" ", "a", "b", "c", "1")
                                    << QStringList{at(QuestionProblem::EmptyQuestion, 1)};
    QTest::newRow("empty right option") << question("Q", "a", "", "c", "2")
                                        << QStringList{at(QuestionProblem::EmptyOption, 3)};
    QTest::newRow("three alike") << question("Q", "x", "x ", "x", "1")
                                 << QStringList{at(QuestionProblem::SameOptions, 3),
                                                at(QuestionProblem::SameOptions, 4)};
    QTest::newRow("answer 2.") << question("Q", "a", "b", "c", "2.") << QStringList{at(QuestionProblem::BadAnswer, 5)};
    QTest::newRow("answer 4") << question("Q", "a", "b", "c", "4") << QStringList{at(QuestionProblem::BadAnswer, 5)};
    QTest::newRow("control") << question("Q", "a\x01", "b", "c", "1")
                             << QStringList{at(QuestionProblem::ControlCharacter, 2)};
    QTest::newRow("km²") << question("Q", "a", "b", "5 км²", "1") << QStringList{at(QuestionProblem::NoWindows1251, 4)};
}

void QuestionRulesTest::questionRules()
{
    QFETCH(Question, q);
    QFETCH(QStringList, problems);
    QCOMPARE(summary(checkQuestion(q)), problems);
}

QTEST_GUILESS_MAIN(QuestionRulesTest)
#include "tst_questionrules.moc"
