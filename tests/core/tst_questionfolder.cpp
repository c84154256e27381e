// The question folder: where question files lie, how a teacher's tool reads
// them, and how whole levels are replaced.

#include "faildevice.h"
#include "failure.h"
#include "questionfolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace zorelad;

class QuestionFolderTest : public QObject {
    Q_OBJECT

private slots:
    void diagnosis_data();
    void diagnosis();
    void writeLevels_data();
    void writeLevels();
};

namespace {

bool put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly)
        && file.write(bytes) == bytes.size();
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QByteArray question(const QByteArray &text) { return text + "\r\na\r\nb\r\nc\r\n1\r\n"; }

// A level's files, each question named `mark` and its number.
QList<QByteArray> level(const QByteArray &mark)
{
    QList<QByteArray> files;
    for (int n = 1; n <= QuestionsPerLevel; ++n)
        files << question(mark + QByteArray::number(n));
    return files;
}

// Which mark every file of the level holds, or "mixed".
QByteArray marksOf(const QString &textDir, int levelNumber)
{
    QByteArray mark;
    for (int n = 1; n <= QuestionsPerLevel; ++n) {
        const QByteArray first =
            bytesOf(QStringLiteral("%1/%2/%3.z").arg(textDir).arg(levelNumber).arg(n)).split('\r')[0];
        const QByteArray each = first.chopped(QByteArray::number(n).size());
        if (n > 1 && each != mark)
            return "mixed";
        mark = each;
    }
    return mark;
}

} // namespace

void QuestionFolderTest::diagnosis_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<fifo>", "<folder>", "<missing>" or the file's bytes
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QString>("text");
    const QString text = QStringLiteral("Яка планета найбільша?");
    const QByteArray lines = QStringLiteral("Яка планета найбільша?\r\nЮпітер\r\nЗемля\r\nМарс\r\n1\r\n").toUtf8();
    QTest::newRow("windows-1251") << QByteArray(QStringEncoder("windows-1251").encode(QString::fromUtf8(lines)))
                                  << int(QuestionFileRead::Read) << QString() << text;
    QTest::newRow("UTF-8") << lines << int(QuestionFileRead::Read) << "is saved as UTF-8, not windows-1251" << text;
    QTest::newRow("empty") << QByteArray("") << int(QuestionFileRead::Read) << "has 0 line" << QString();
    QTest::newRow("missing") << QByteArray("<missing>") << int(QuestionFileRead::Missing) << "is missing" << QString();
    QTest::newRow("folder") << QByteArray("<folder>") << int(QuestionFileRead::NotAFile) << "is a folder, not a file"
                            << QString();
    QTest::newRow("named pipe") << QByteArray("<fifo>") << int(QuestionFileRead::NotAFile) << "is a named pipe"
                                << QString();
    QTest::newRow("70 KB") << question(QByteArray(70 * 1024, 'x')) << int(QuestionFileRead::TooLarge)
                           << "is 71 KB; a question file is at most 64 KB" << QString();
}

void QuestionFolderTest::diagnosis()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, problem);
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = questionPath(dir.path(), 1, 7);
    QDir().mkpath(dir.filePath(QStringLiteral("1")));
    if (bytes == "<fifo>")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    else if (bytes == "<folder>")
        QVERIFY(QDir().mkpath(path));
    else if (bytes != "<missing>")
        QVERIFY(put(path, bytes));
    const QuestionFileRead file = inspectQuestionFile(path);
    QCOMPARE(int(file.status), status);
    QVERIFY2(problem.isEmpty() ? file.problem.isEmpty() : file.problem.contains(problem), qPrintable(file.problem));
    QCOMPARE(file.question.text, text);
}

enum WriteSetup { Plain, FolderInPlace, LevelIsFile, FailsAfter5, Leftovers, SetAside, NewLevel };

void QuestionFolderTest::writeLevels_data()
{
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("failure"); // empty: written
    QTest::newRow("written, the rest kept") << int(Plain) << QString();
    QTest::newRow("a question file is a folder")
        << int(FolderInPlace) << "2/5.z\": it is a folder, which is never replaced";
    QTest::newRow("a level is a file") << int(LevelIsFile) << "it is a device, not a folder";
    QTest::newRow("disk full after 5 bytes") << int(FailsAfter5) << "No space left on device";
    QTest::newRow("leftovers of a killed write") << int(Leftovers) << QString();
    QTest::newRow("level set aside, then killed") << int(SetAside) << QString();
    QTest::newRow("a new level") << int(NewLevel) << QString();
}

void QuestionFolderTest::writeLevels()
{
    QFETCH(int, setup);
    QFETCH(QString, failure);
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("Text"));
    for (int l = 1; l <= 2; ++l) {
        const QList<QByteArray> old = level("old");
        for (int n = 1; n <= QuestionsPerLevel; ++n)
            QVERIFY(put(QStringLiteral("%1/%2/%3.z").arg(text).arg(l).arg(n), old[n - 1]));
    }
    QVERIFY(put(text + QStringLiteral("/2/notes.txt"), "a teacher's notes"));
    ::chmod(QFile::encodeName(text + QStringLiteral("/2/3.z")).constData(), 0640);
    QList<LevelFiles> levels{{1, level("new")}, {2, level("new")}};
    levels[1].files[23] = QByteArray(); // kept as it is
    DeviceFilter filter;
    int files = 0;
    if (setup == FolderInPlace) {
        QFile::remove(text + QStringLiteral("/2/5.z"));
        QVERIFY(QDir().mkpath(text + QStringLiteral("/2/5.z")));
    } else if (setup == LevelIsFile) {
        QVERIFY(QDir(text + QStringLiteral("/1")).removeRecursively());
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), text + QStringLiteral("/1")));
    } else if (setup == FailsAfter5) {
        filter = [&files](QIODevice *file) {
            return std::make_unique<testing_support::FailDevice>(file, ++files == 30 ? 5 : 1 << 20);
        };
    } else if (setup == Leftovers) {
        QVERIFY(put(text + QStringLiteral("/.zorelad-new-2-Ab12Cd/1.z"), "half"));
        QVERIFY(put(text + QStringLiteral("/2/.5.z.Xy12Zq"), "half"));
    } else if (setup == SetAside) {
        QVERIFY(QDir().rename(text + QStringLiteral("/2"), text + QStringLiteral("/.zorelad-old-2-Ab12Cd")));
        levels.removeLast();
    } else if (setup == NewLevel) {
        levels.append({3, level("new")});
    }
    QString got;
    try {
        zorelad::writeLevels(text, levels, filter);
    } catch (const Failure &f) {
        got = f.text();
    }
    QVERIFY2(failure.isEmpty() ? got.isEmpty() : got.contains(failure), qPrintable(got));
    // Every level wholly old or wholly new, nothing of the write left behind.
    const QByteArray expected = failure.isEmpty() ? "new" : "old";
    if (setup != LevelIsFile)
        QCOMPARE(marksOf(text, 1), expected);
    if (setup == SetAside) {
        QCOMPARE(marksOf(text, 2), QByteArray("old"));
    } else if (setup != FolderInPlace) {
        QCOMPARE(bytesOf(text + QStringLiteral("/2/24.z")), question("old24"));
        QCOMPARE(bytesOf(text + QStringLiteral("/2/1.z")), question(expected + "1"));
        QCOMPARE(bytesOf(text + QStringLiteral("/2/notes.txt")), QByteArray("a teacher's notes"));
        QCOMPARE(int(QFile::permissions(text + QStringLiteral("/2/3.z"))),
                 int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup));
    }
    if (setup == NewLevel)
        QCOMPARE(marksOf(text, 3), QByteArray("new"));
    QCOMPARE(QDir(text).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).filter(QStringLiteral(".")),
             QStringList());
    QCOMPARE(QDir(text + QStringLiteral("/2")).entryList(QDir::Files | QDir::Hidden).filter(QRegularExpression("^\\.")),
             QStringList());
}

QTEST_GUILESS_MAIN(QuestionFolderTest)
#include "tst_questionfolder.moc"
