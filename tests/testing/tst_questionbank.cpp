// The shipped question bank, and the teachers' checker that guards it.

#include "fonts.h"
#include "questioncheck.h"
#include "questionfile.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace zorelad;

class QuestionBankTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void shippedBankIsSound();
    void shippedBankFitsTheScreen();
    void checkerNamesEachBrokenFile();
    void checkerExitStatus();

private:
    QString bank() const { return qEnvironmentVariable("ZORELAD_SOURCE_DIR") + QStringLiteral("/data/Text"); }
    QString copyOfBank();
    void overwrite(const QString &path, const QByteArray &bytes);
    QTemporaryDir scratch;
};

void QuestionBankTest::initTestCase() { installFontSubstitutions(); }

void QuestionBankTest::shippedBankIsSound()
{
    for (int level = 1; level <= 3; ++level) {
        int answers[4] = {};
        for (int n = 1; n <= QuestionsPerLevel; ++n) {
            const QStringList lines = readQuestionFile(bank() + QStringLiteral("/%1/%2.z").arg(level).arg(n));
            QCOMPARE(lines.size(), 5);
            const int answer = lines[4].toInt();
            QVERIFY(answer >= 1 && answer <= 3);
            ++answers[answer];
            for (const QString &line : lines)
                QVERIFY2(!line.contains(QChar::ReplacementCharacter), qPrintable(line));
        }
        // The right answers are spread over the three options.
        for (int k = 1; k <= 3; ++k)
            QVERIFY2(answers[k] >= 6 && answers[k] <= 10, qPrintable(QStringLiteral("level %1").arg(level)));
    }
}

void QuestionBankTest::shippedBankFitsTheScreen()
{
    // Measured with the window's real font: every question fits its box and
    // every option its button.
    QCOMPARE(checkQuestionFolder(bank(), /*checkFit=*/true), QStringList());
}

QString QuestionBankTest::copyOfBank()
{
    const QString copy = scratch.filePath(QStringLiteral("Text"));
    for (int level = 1; level <= 3; ++level) {
        QDir().mkpath(copy + QStringLiteral("/%1").arg(level));
        for (int n = 1; n <= QuestionsPerLevel; ++n) {
            const QString rel = QStringLiteral("/%1/%2.z").arg(level).arg(n);
            QFile::remove(copy + rel);
            QFile::copy(bank() + rel, copy + rel);
        }
    }
    return copy;
}

void QuestionBankTest::overwrite(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

void QuestionBankTest::checkerNamesEachBrokenFile()
{
    const QString copy = copyOfBank();
    QFile::remove(copy + QStringLiteral("/1/3.z"));
    overwrite(copy + QStringLiteral("/1/7.z"), "q\r\na\r\nb\r\nc\r\n2.\r\n");
    overwrite(copy + QStringLiteral("/2/1.z"), "q\r\na\r\nb\r\n");
    overwrite(copy + QStringLiteral("/2/2.z"), QStringLiteral("Питання\r\nа\r\nб\r\nв\r\n1\r\n").toUtf8());
    overwrite(copy + QStringLiteral("/3/4.z"), "q\r\n" + QByteArray(60, 'W') + "\r\nb\r\nc\r\n3\r\n");
    overwrite(copy + QStringLiteral("/3/5.z"), "q " + QByteArray(400, 'w').replace(7, 1, " ") + "\r\na\r\nb\r\nc\r\n1\r\n");
    overwrite(copy + QStringLiteral("/3/6.z"), "q\x01\r\na\r\nb\r\nc\r\n1\r\n");

    const QStringList report = checkQuestionFolder(copy);
    auto about = [&](const QString &file) {
        QStringList lines;
        for (const QString &line : report)
            if (line.startsWith(copy + file + QLatin1Char(':')))
                lines << line;
        return lines.join(QLatin1Char('\n'));
    };
    QVERIFY(about(QStringLiteral("/1/3.z")).contains(QStringLiteral("No such file")));
    QVERIFY(about(QStringLiteral("/1/7.z")).contains(QStringLiteral("line 5 is \"2.\"")));
    QVERIFY(about(QStringLiteral("/2/1.z")).contains(QStringLiteral("has 3 lines")));
    QVERIFY(about(QStringLiteral("/2/2.z")).contains(QStringLiteral("UTF-8")));
    QVERIFY(about(QStringLiteral("/3/4.z")).contains(QStringLiteral("option 1")));
    QVERIFY(about(QStringLiteral("/3/5.z")).contains(QStringLiteral("question")));
    QVERIFY(about(QStringLiteral("/3/6.z")).contains(QStringLiteral("0x01")));
    // Nothing else is blamed.
    QCOMPARE(report.filter(QStringLiteral("/1/1.z:")).size(), 0);
    QVERIFY(report.size() <= 9);
}

void QuestionBankTest::checkerExitStatus()
{
    const QString checker = qEnvironmentVariable("ZORELAD_PROGRAM_DIR") + QStringLiteral("/zorelad-check");
    QProcess run;
    run.start(checker, {bank()});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 0);
    QVERIFY(run.readAllStandardOutput().contains("All 72"));

    const QString copy = copyOfBank();
    overwrite(copy + QStringLiteral("/2/9.z"), "q\r\na\r\nb\r\nc\r\n 2\r\n");
    run.start(checker, {copy});
    QVERIFY(run.waitForFinished(60000));
    QCOMPARE(run.exitCode(), 1);
    QVERIFY(run.readAllStandardOutput().contains("/2/9.z: line 5 is \" 2\""));
}

QTEST_MAIN(QuestionBankTest)
#include "tst_questionbank.moc"
