// The question bank's rules, its safe writes and the bank text, at the
// library's level.

#include "bank.h"
#include "failure.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace zorelad;

class BankTest : public QObject {
    Q_OBJECT

private slots:
    void questionRules_data();
    void questionRules();
    void writeRefusals_data();
    void writeRefusals();
    void bankText_data();
    void bankText();
    void encodingGuess_data();
    void encodingGuess();
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

void BankTest::questionRules_data()
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

void BankTest::questionRules()
{
    QFETCH(Question, q);
    QFETCH(QStringList, problems);
    QCOMPARE(summary(checkQuestion(q)), problems);
}

void BankTest::writeRefusals_data()
{
    QTest::addColumn<Question>("q");
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<QString>("failure"); // empty: written
    QTest::newRow("written") << question("Сонце — зоря?", "так", "ні", "не знаю", "1") << false << QString();
    QTest::newRow("² refused") << question("Q", "a", "5 км²", "c", "1") << false
                               << QStringLiteral("Line 3 holds the character \"²\" (U+00B2)");
    QTest::newRow("read-only folder") << question("Q", "a", "b", "c", "1") << true
                                      << QStringLiteral("Permission denied");
    // Root writes into a read-only folder; a later file that cannot be
    // written stands in for the failure there.
    QTest::newRow("later file fails") << question("Q", "a", "b", "c", "1") << false << QStringLiteral("No such file");
}

void BankTest::writeRefusals()
{
    QFETCH(Question, q);
    QFETCH(bool, readOnlyFolder);
    QFETCH(QString, failure);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("7.z"));
    const QByteArray old = "old\r\na\r\nb\r\nc\r\n1\r\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(old);
    file.close();
    ::chmod(QFile::encodeName(path).constData(), 0640);
    if (readOnlyFolder) {
        if (::geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    }
    QString got;
    try {
        if (QByteArray(QTest::currentDataTag()) == "later file fails")
            writeQuestionFiles({{path, q}, {dir.filePath(QStringLiteral("none/8.z")), q}});
        else
            writeQuestionFile(path, q);
    } catch (const Failure &f) {
        got = f.text();
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    QVERIFY2(failure.isEmpty() ? got.isEmpty() : got.contains(failure), qPrintable(got));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray now = file.readAll();
    QCOMPARE(now, failure.isEmpty() ? encodeQuestionFile(q) : old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("7.z")});
    QCOMPARE(int(QFile::permissions(path)),
             int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup));
}

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

void BankTest::bankText_data()
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
    QTest::newRow("no heading") << level(24, 2, QStringLiteral("# none")) << QList<int>{4} << QList<int>{};
}

void BankTest::bankText()
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

void BankTest::encodingGuess_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const QString text = QStringLiteral("Яка планета найближча до Сонця?\r\nМеркурій\r\nВенера\r\nЗемля\r\n1\r\n");
    QTest::newRow("windows-1251") << QByteArray(QStringEncoder("windows-1251").encode(text))
                                  << int(FileEncoding::Windows1251);
    QTest::newRow("UTF-8") << text.toUtf8() << int(FileEncoding::Utf8);
    QTest::newRow("UTF-8 BOM") << "\xEF\xBB\xBF" + text.toUtf8() << int(FileEncoding::Utf8Bom);
    QTest::newRow("UTF-16") << QByteArray(QStringEncoder(QStringEncoder::Utf16LE).encode(text))
                            << int(FileEncoding::Utf16);
    QTest::newRow("KOI8-U") << QByteArray(QStringEncoder("KOI8-U").encode(text)) << int(FileEncoding::Koi8u);
}

void BankTest::encodingGuess()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QCOMPARE(int(guessEncoding(bytes)), encoding);
    // Whatever it was saved in, the question reads back as written.
    QCOMPARE(decodeQuestion(bytes).options[0], QStringLiteral("Меркурій"));
}

QTEST_GUILESS_MAIN(BankTest)
#include "tst_bank.moc"
