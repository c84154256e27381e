// Reading question files as the quiz does: as a Windows teacher's editor
// leaves them, and as people break them.

#include "failure.h"
#include "questionfolder.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace zorelad;

class QuestionFileTest : public QObject {
    Q_OBJECT

private slots:
    void lineRules_data();
    void lineRules();
    void longLinesAreCut();
    void decodesWindows1251();
    void answerMustBeExact();
    void readsAFileAndReportsFailures();
    void hugeFileWithoutLineEndsStaysSmall();

private:
    QTemporaryDir dir;
};

void QuestionFileTest::lineRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    // The question the lines hold; missing lines read as empty.
    QTest::addColumn<Question>("question");
    QTest::newRow("CR LF") << QByteArray("q\r\na\r\nb\r\nc\r\n2\r\n") << QStringList{"q", "a", "b", "c", "2"}
                           << Question{"q", {"a", "b", "c"}, "2"};
    QTest::newRow("LF") << QByteArray("q\na\nb\nc\n2") << QStringList{"q", "a", "b", "c", "2"}
                        << Question{"q", {"a", "b", "c"}, "2"};
    QTest::newRow("CR only") << QByteArray("q\ra\rb\rc\r3\r") << QStringList{"q", "a", "b", "c", "3"}
                             << Question{"q", {"a", "b", "c"}, "3"};
    QTest::newRow("LF CR is two ends") << QByteArray("q\n\ra\n\rb") << QStringList{"q", "", "a", "", "b"}
                                       << Question{"q", {"", "a", ""}, "b"};
    QTest::newRow("mixed") << QByteArray("q\r\na\nb\rc\r\n1") << QStringList{"q", "a", "b", "c", "1"}
                           << Question{"q", {"a", "b", "c"}, "1"};
    static const char withNul[] = "q\r\na\0b\r\nc\r\n1";
    QTest::newRow("NUL ends the text") << QByteArray(withNul, sizeof withNul - 1) << QStringList{"q", "a"}
                                       << Question{"q", {"a", "", ""}, ""};
    QTest::newRow("only NULs") << QByteArray(64, '\0') << QStringList{} << Question{};
    QTest::newRow("empty") << QByteArray() << QStringList{} << Question{};
    QTest::newRow("fewer than five") << QByteArray("q\r\na\r\n") << QStringList{"q", "a"}
                                     << Question{"q", {"a", "", ""}, ""};
    QTest::newRow("later lines ignored") << QByteArray("1\n2\n3\n4\n5\n6\n7") << QStringList{"1", "2", "3", "4", "5"}
                                         << Question{"1", {"2", "3", "4"}, "5"};
    QTest::newRow("spaces kept") << QByteArray(" q \r\n 2") << QStringList{" q ", " 2"}
                                 << Question{" q ", {" 2", "", ""}, ""};
}

void QuestionFileTest::lineRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(Question, question);
    QCOMPARE(splitQuestionText(bytes), lines);
    QVERIFY(questionFromLines(lines) == question);
    QCOMPARE(questionLine(lines, 99), QString());
}

void QuestionFileTest::longLinesAreCut()
{
    const QByteArray bytes = QByteArray(5000, 'x') + "\r\n" + QByteArray(4096, 'y') + "\r\nz";
    const QStringList lines = splitQuestionText(bytes);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QString(4096, QLatin1Char('x')));
    QCOMPARE(lines[1], QString(4096, QLatin1Char('y')));
    QCOMPARE(lines[2], QStringLiteral("z"));
}

void QuestionFileTest::decodesWindows1251()
{
    QStringEncoder encoder("windows-1251");
    const QString text = QStringLiteral("Ґанок, їжак, Єва, сім'я?\r\n«так»");
    QCOMPARE(splitQuestionText(encoder.encode(text)),
             (QStringList{QStringLiteral("Ґанок, їжак, Єва, сім'я?"), QStringLiteral("«так»")}));
    QByteArray everyByte; // every byte a line may hold
    for (int b = 1; b < 256; ++b)
        everyByte.append(b == '\r' || b == '\n' ? ' ' : char(b));
    QCOMPARE(splitQuestionText(everyByte), QStringList{QStringDecoder("windows-1251").decode(everyByte)});
}

void QuestionFileTest::answerMustBeExact()
{
    QVERIFY(answerIs(QStringLiteral("2"), 2));
    QVERIFY(!answerIs(QStringLiteral("2"), 3));
    for (const char *bad : {" 2", "2 ", "2.", "", "02", "two"})
        QVERIFY2(!answerIs(QString::fromLatin1(bad), 2), bad);
}

void QuestionFileTest::readsAFileAndReportsFailures()
{
    const QString good = dir.filePath(QStringLiteral("7.z"));
    QFile file(good);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("q\r\na\r\nb\r\nc\r\n3\r\n");
    file.close();
    QCOMPARE(readQuestionFile(good), (QStringList{"q", "a", "b", "c", "3"}));

    auto failureOf = [](const QString &path) {
        try {
            readQuestionFile(path);
        } catch (const Failure &failure) {
            return failure.text();
        }
        return QString();
    };
    const QString missing = dir.filePath(QStringLiteral("missing.z"));
    QCOMPARE(failureOf(missing), QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));
    QCOMPARE(failureOf(dir.path()), QStringLiteral("Cannot open file \"%1\". Is a directory").arg(dir.path()));
    // A relative name is reported with its full path.
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QCOMPARE(failureOf(QStringLiteral("nope.z")),
             QStringLiteral("Cannot open file \"%1/nope.z\". No such file or directory").arg(QDir::currentPath()));
    QDir::setCurrent(old);
}

void QuestionFileTest::hugeFileWithoutLineEndsStaysSmall()
{
    const QString path = dir.filePath(QStringLiteral("huge.z"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QByteArray chunk(1 << 20, 'a');
    for (int i = 0; i < 50; ++i)
        file.write(chunk);
    file.close();
    const QStringList lines = readQuestionFile(path);
    QCOMPARE(lines.size(), 1);
    QCOMPARE(lines[0].size(), MaxLineLength);
}

QTEST_GUILESS_MAIN(QuestionFileTest)
#include "tst_questionfile.moc"
