// The bank text a teacher edits the whole bank in.

#include "banktext.h"

#include <QStringEncoder>
#include <QTest>

using namespace zorelad;

class BankTextTest : public QObject {
    Q_OBJECT

private slots:
    void bankText_data();
    void bankText();
    void roundTrip_data();
    void roundTrip();
};

// A level of 24 sound questions, `count` of them, with `replace` put in
// place of the text's line `at` (from the heading, line 1).
static QByteArray level(int count, int at = 0, const QString &replace = {})
{
    QStringList lines{QStringLiteral("# a comment"), levelHeading(2)};
    for (int n = 1; n <= count; ++n)
        lines << QString() << QStringLiteral("Питання %1?").arg(n) << QStringLiteral("так") << QStringLiteral("ні")
              << QStringLiteral("можливо") << QString::number(n % 3 + 1);
    if (at > 0)
        lines[at - 1] = replace;
    return lines.join(QLatin1Char('\n')).toUtf8() + '\n';
}

void BankTextTest::bankText_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("problemLines");
    QTest::addColumn<QList<int>>("noteLines");
    QTest::newRow("sound") << level(24) << QList<int>{} << QList<int>{};
    QTest::newRow("BOM, CR LF") << "\xEF\xBB\xBF" + level(24).replace("\n", "\r\n") << QList<int>{} << QList<int>{};
    QTest::newRow("ʼ mapped") << level(24, 4, QStringLiteral("пʼять")) << QList<int>{} << QList<int>{4};
    QTest::newRow("км² refused") << level(24, 5, QStringLiteral("5 км²")) << QList<int>{5} << QList<int>{};
    QTest::newRow("empty option") << level(24, 5, QString()) << QList<int>{5} << QList<int>{};
    QTest::newRow("answer 2.") << level(24, 8, QStringLiteral("2.")) << QList<int>{8} << QList<int>{};
    QTest::newRow("23 questions") << level(23) << QList<int>{2} << QList<int>{};
    QTest::newRow("asked twice") << level(24, 10, QStringLiteral("Питання 1?")) << QList<int>{10} << QList<int>{};
    QTest::newRow("Notepad's windows-1251")
        << QByteArray(QStringEncoder("windows-1251").encode(QString::fromUtf8(level(24)))) << QList<int>{}
        << QList<int>{0};
    QTest::newRow("Notepad's UTF-16") << QByteArray(
        QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom).encode(QString::fromUtf8(level(24))))
                                      << QList<int>{} << QList<int>{0};
    QTest::newRow("no heading") << level(24, 2, QStringLiteral("# none")) << QList<int>{4} << QList<int>{};
}

void BankTextTest::bankText()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, problemLines);
    QFETCH(QList<int>, noteLines);
    const BankText bank = parseBankText(text);
    QList<int> problems, notes;
    for (const TextRemark &r : bank.problems)
        problems << r.line;
    for (const TextRemark &r : bank.notes)
        notes << r.line;
    std::sort(problemLines.begin(), problemLines.end());
    QCOMPARE(problems, problemLines);
    QCOMPARE(notes, noteLines);
    if (problems.isEmpty()) {
        QCOMPARE(bank.levels, QList<int>{2});
        QCOMPARE(bank.questions.size(), QuestionsPerLevel);
        QCOMPARE(bank.questions[23].lines[4], int(text.count('\n')));
    }
}

void BankTextTest::roundTrip_data()
{
    QTest::addColumn<QString>("line");
    // Lines a question may hold that the text's own syntax would take for
    // something else.
    QTest::newRow("a comment") << "#1 Яка зоря найближча?";
    QTest::newRow("a heading") << levelHeading(2);
    QTest::newRow("a heading after spaces") << "  [3]";
    QTest::newRow("escaped already") << "\\\\#x";
    QTest::newRow("a backslash alone") << "\\ 5";
}

void BankTextTest::roundTrip()
{
    QFETCH(QString, line);
    QList<Question> level;
    for (int n = 1; n <= QuestionsPerLevel; ++n)
        level << Question{QStringLiteral("Питання %1?").arg(n), {"так", "ні", line}, "1"};
    level[4].text = line;
    const BankText read = parseBankText(formatBankText({level}, 2));
    QVERIFY2(read.problems.isEmpty(), qPrintable(read.problems.value(0).message));
    QCOMPARE(read.questions.size(), QuestionsPerLevel);
    QCOMPARE(read.questions[4].question, level[4]);
    QCOMPARE(read.questions[0].question, level[0]);
}

QTEST_GUILESS_MAIN(BankTextTest)
#include "tst_banktext.moc"
