// The results journal: the record, the settings, and delivery through the
// spool when the folder is away.

#include "journal.h"
#include "journalreport.h"
#include "journalsummary.h"
#include "questionfile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QScopeGuard>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <csignal>
#include <functional>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace zorelad;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

JournalRecord sample(const QString &name, int correct = 20, int day = 1, int hour = 9,
                     const QString &pupilClass = "5-А", int level = 2)
{
    return {QDateTime(QDate(2026, 9, day), QTime(hour, 15, 7), Qt::OffsetFromUTC, 3 * 3600),
            "lab-07",
            name,
            pupilClass,
            level,
            correct,
            24,
            gradeWord(gradeBand(correct)),
            "1.0.0",
            {},
            {}};
}

// Names of the complete records of a journal file, in file order.
QStringList namesIn(const QByteArray &data)
{
    QStringList names;
    for (const RawRecord &raw : splitRecords(data)) {
        JournalRecord r;
        if (raw.complete && parseJournalLine(raw.text, &r))
            names.append(r.name);
    }
    return names;
}

// Makes a folder unwritable: by its mode for a user, by a read-only bind
// mount for root (whom modes do not stop). Returns how to undo it, or an
// empty function when it could not.
std::function<void()> makeReadOnly(const QString &dir)
{
    if (::geteuid() != 0) {
        ::chmod(QFile::encodeName(dir).constData(), 0555);
        return [dir] { ::chmod(QFile::encodeName(dir).constData(), 0755); };
    }
    if (QProcess::execute("mount", {"-o", "bind,ro", dir, dir}) != 0)
        return {};
    return [dir] { QProcess::execute("umount", {dir}); };
}

// A class of `size` pupils, pupil i knowing the questions of difficulty up to
// i, each wrong answer on one of the two wrong options by turns. The
// mis-keyed question's key names an option other than the one the pupils
// who know it choose; the reversed question is known by the weak pupils only;
// on the misleading one every pupil chooses the same wrong option.
QList<JournalRecord> generatedClass(int misKeyed, int reversed, int misleading, int size)
{
    QList<JournalRecord> records;
    for (int pupil = 0; pupil < size; ++pupil) {
        JournalRecord r = sample(QString("Учень %1").arg(pupil), 0);
        for (int q = 1; q <= QuestionsInLevel; ++q) {
            const int right = 1 + q % 3;
            const bool knows = q == reversed ? pupil < size / 2 : pupil >= 3 + q;
            const int wrong = 1 + (right + pupil % 2) % 3;
            const int chosen = q == misleading ? 1 + right % 3 : knows ? right : wrong;
            const int key = q == misKeyed ? 1 + (right + 1) % 3 : right;
            r.answers += QString::number(chosen);
            r.questions += QString::number(key) + QString("%1").arg(q, 4, 16, QChar('0'));
            r.correct += chosen == key;
        }
        records.append(r);
    }
    return records;
}

} // namespace

class JournalTest : public QObject {
    Q_OBJECT

private slots:
    void recordLine_data();
    void recordLine();
    void settings_data();
    void settings();
    void deliveryFaults_data();
    void deliveryFaults();
    void deliveryKeepsGradingOrder_data();
    void deliveryKeepsGradingOrder();
    void readerMergesHosts_data();
    void readerMergesHosts();
    void refusedLines_data();
    void refusedLines();
    void answersField_data();
    void answersField();
    void pupilsReport_data();
    void pupilsReport();
    void questionsToCheck_data();
    void questionsToCheck();
    void marks_data();
    void marks();
};

void JournalTest::refusedLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("read");
    const QByteArray good = "2026-09-01T09:15:07+03:00;lab-07;Оля;5-А;2;20;24;відмінно;1.0.0;;\n";
    QTest::newRow("as written") << good << true;
    QTest::newRow("not UTF-8") << QByteArray(good).replace("Оля", "\xd0\x9e\xff") << false;
    QTest::newRow("not UTF-8, quoted") << QByteArray(good).replace("Оля", "\"\xd0\x9e\xff;\"") << false;
    QTest::newRow("ten fields") << QByteArray(good).replace(";;\n", ";\n") << false;
    QTest::newRow("twelve fields") << QByteArray(good).replace(";;\n", ";;;\n") << false;
    QTest::newRow("level 4") << QByteArray(good).replace(";2;20;", ";4;20;") << false;
    QTest::newRow("out of 25") << QByteArray(good).replace(";24;", ";25;") << false;
    QTest::newRow("count with a sign") << QByteArray(good).replace(";20;", ";+20;") << false;
    QTest::newRow("no such day") << QByteArray(good).replace("09-01T", "09-31T") << false;
    QTest::newRow("no computer") << QByteArray(good).replace(";lab-07;", ";;") << false;
    QTest::newRow("no grade") << QByteArray(good).replace(";відмінно;", ";;") << false;
}

void JournalTest::refusedLines()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, read);
    JournalRecord r;
    QCOMPARE(parseJournalLine(line, &r), read);
}

void JournalTest::answersField_data()
{
    QTest::addColumn<int>("correct");
    QTest::addColumn<QByteArray>("answers");
    QTest::addColumn<QByteArray>("questions");
    QTest::addColumn<bool>("read");
    QByteArray keys; // question k's right option is 1 + k % 3
    for (int k = 0; k < QuestionsInLevel; ++k)
        keys += QByteArray::number(1 + k % 3) + QByteArray::number(0xa0b0 + k, 16);
    const QByteArray right = QByteArray("123").repeated(8);
    QTest::newRow("all right") << 24 << right << keys << true;
    QTest::newRow("all option 1") << 8 << QByteArray(24, '1') << keys << true;
    QTest::newRow("count disagrees") << 9 << QByteArray(24, '1') << keys << false;
    QTest::newRow("23 answers") << 24 << right.left(23) << keys << false;
    QTest::newRow("option 4") << 23 << right.left(23) + "4" << keys << false;
    QTest::newRow("capital hex") << 24 << right << keys.toUpper() << false;
    QTest::newRow("answers without questions") << 24 << right << QByteArray() << false;
    QTest::newRow("neither, as earlier versions wrote") << 24 << QByteArray() << QByteArray() << true;
}

void JournalTest::answersField()
{
    QFETCH(int, correct);
    QFETCH(QByteArray, answers);
    QFETCH(QByteArray, questions);
    QFETCH(bool, read);
    const QByteArray line = "2026-09-01T09:15:07+03:00;lab-07;Оля;5-А;2;" + QByteArray::number(correct)
        + ";24;відмінно;1.0.0;" + answers + ";" + questions + "\n";
    JournalRecord r;
    QCOMPARE(parseJournalLine(line, &r), read);
    if (read)
        QCOMPARE(journalLine(r), line);
}

void JournalTest::pupilsReport_data()
{
    QTest::addColumn<QStringList>("records"); // class|name|level|correct|day
    QTest::addColumn<QString>("report");      // class (pupils): name level best tries last day [note]; ...
    QTest::newRow("best of three tries, the last day")
        << QStringList{"5-А|Оля Коваль|1|10|1", "5-А|Оля Коваль|1|15|2", "5-А|Оля Коваль|1|12|3"}
        << "5-А (1): Оля Коваль 1 15 3 3";
    QTest::newRow("levels apart") << QStringList{"5-А|Оля|1|10|1", "5-А|Оля|2|20|2"}
                                  << "5-А (1): Оля 1 10 1 1; Оля 2 20 1 2";
    QTest::newRow("words in another order: one pupil, noted")
        << QStringList{"5-А|Оля Коваль|1|10|1", "5-А|коваль  Оля |1|11|2"}
        << "5-А (1): Оля Коваль 1 11 2 2 [коваль Оля]";
    QTest::newRow("look-alike classes: one class")
        << QStringList{"5-A|Іра|1|9|1", "5а|Петро|1|9|2"} << "5-A (2): Іра 1 9 1 1; Петро 1 9 1 2";
    QTest::newRow("the newest lesson first") << QStringList{"5-А|Іра|1|9|2", "7-Б|Петро|1|9|3", "10-А|Яна|1|9|1"}
                                             << "7-Б (1): Петро 1 9 1 3 | 5-А (1): Іра 1 9 1 2 | 10-А (1): Яна 1 9 1 1";
}

void JournalTest::pupilsReport()
{
    QFETCH(QStringList, records);
    QFETCH(QString, report);
    PupilsReport pupils;
    for (const QString &record : records) {
        const QStringList f = record.split('|');
        pupils.add(sample(f[1], f[3].toInt(), f[4].toInt(), 9, f[0], f[2].toInt()));
    }
    QStringList classes;
    for (const ClassPupils &c : pupils.classes()) {
        QStringList lines;
        for (const PupilLevel &p : c.pupils)
            lines
                << QString("%1 %2 %3 %4 %5").arg(p.name).arg(p.level).arg(p.best).arg(p.tries).arg(p.last.date().day())
                    + (p.otherSpellings.isEmpty() ? QString() : " [" + p.otherSpellings.join(", ") + "]");
        classes << QString("%1 (%2): %3").arg(c.summary.pupilClass).arg(c.summary.pupils).arg(lines.join("; "));
    }
    QCOMPARE(classes.join(" | "), report);
}

void JournalTest::questionsToCheck_data()
{
    QTest::addColumn<int>("misKeyed");
    QTest::addColumn<int>("reversed");
    QTest::addColumn<int>("misleading");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("flagged");
    QTest::newRow("sound questions") << 0 << 0 << 0 << 30 << QList<int>();
    QTest::newRow("an easy question mis-keyed") << 4 << 0 << 0 << 30 << QList<int>{4};
    QTest::newRow("a hard question mis-keyed") << 17 << 0 << 0 << 30 << QList<int>{17};
    QTest::newRow("weak pupils do better") << 0 << 12 << 0 << 30 << QList<int>{12};
    QTest::newRow("all on one wrong option") << 0 << 0 << 6 << 30 << QList<int>{6};
    QTest::newRow("all three") << 9 << 20 << 2 << 30 << QList<int>{2, 9, 20};
    QTest::newRow("weak do better, too few answers to tell") << 0 << 2 << 0 << 8 << QList<int>();
}

void JournalTest::questionsToCheck()
{
    QFETCH(int, misKeyed);
    QFETCH(int, reversed);
    QFETCH(int, misleading);
    QFETCH(int, size);
    QFETCH(QList<int>, flagged);
    QuestionsReport report;
    for (const JournalRecord &r : generatedClass(misKeyed, reversed, misleading, size))
        report.add(r);
    const QList<QuestionGroup> groups = report.groups({});
    QCOMPARE(groups.size(), 1);
    QList<int> found;
    for (const QuestionLine &q : groups.first().lines) {
        if (q.check)
            found.append(q.number);
    }
    QCOMPARE(found, flagged);
}

void JournalTest::marks_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QString>("marks"); // for 0 to 24 right answers
    QTest::addColumn<QString>("problem");
    const QString half = "1 1 1 2 2 3 3 4 4 5 5 6 6 7 7 8 8 9 9 10 10 11 11 12 12";
    QTest::newRow("default: half, rounded up") << QByteArray() << half << "";
    QTest::newRow("a school's own") << QByteArray("[marks]\nthresholds=2,4,6,8,10,12,14,16,18,20,22\n")
                                    << "1 1 2 2 3 3 4 4 5 5 6 6 7 7 8 8 9 9 10 10 11 11 12 12 12"
                                    << "";
    QTest::newRow("marks skipped") << QByteArray("[marks]\nthresholds=0,0,0,0,0,0,0,0,0,0,24\n")
                                   << "11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 11 12"
                                   << "";
    const QString wants = "FILE:2: thresholds wants 11 counts of right answers from 0 to 24, each at least the one "
                          "before, as 3,5,7,9,11,13,15,17,19,21,23; ignored";
    QTest::newRow("ten counts") << QByteArray("[marks]\nthresholds=3,5,7,9,11,13,15,17,19,21\n") << half << wants;
    QTest::newRow("falling") << QByteArray("[marks]\nthresholds=3,5,7,9,11,13,15,17,19,23,21\n") << half << wants;
    QTest::newRow("beyond 24") << QByteArray("[marks]\nthresholds=3,5,7,9,11,13,15,17,19,21,25\n") << half << wants;
}

void JournalTest::marks()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, marks);
    QFETCH(QString, problem);
    QTemporaryDir dir;
    const ConfigFiles files{dir.filePath("zorelad.conf"), {}};
    QVERIFY(settings.isEmpty() || writeBytes(files.machine, settings));
    QStringList found;
    const JournalConfig config = readJournalConfig(files, &found);
    QStringList given;
    for (int correct = 0; correct <= QuestionsInLevel; ++correct)
        given.append(QString::number(twelvePointMark(correct, config.markThresholds)));
    QCOMPARE(given.join(' '), marks);
    QCOMPARE(found.join('\n'), QString(problem).replace("FILE", files.machine));
}

void JournalTest::recordLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("correct");
    QTest::addColumn<QByteArray>("line");
    const QByteArray head = "2026-09-01T09:15:07+03:00;lab-07;";
    QTest::newRow("Cyrillic, 20") << "Оля Ґудзь" << 20 << head + "Оля Ґудзь;5-А;2;20;24;відмінно;1.0.0;;\n";
    QTest::newRow("semicolon, 19") << "Петро;Іван" << 19 << head + "\"Петро;Іван\";5-А;2;19;24;Добре;1.0.0;;\n";
    QTest::newRow("quote, 14") << "Ім\"я" << 14 << head + "\"Ім\"\"я\";5-А;2;14;24;Добре;1.0.0;;\n";
    QTest::newRow("line break, backslash, 13")
        << "Оля\r\nКо\\валь" << 13 << head + "Оля\\r\\nКо\\\\валь;5-А;2;13;24;незадовільно;1.0.0;;\n";
    QTest::newRow("formula, 3") << "=1+1" << 3 << head + "\"'=1+1\";5-А;2;3;24;незадовільно;1.0.0;;\n";
    QTest::newRow("apostrophe, 24") << "'@x" << 24 << head + "\"''@x\";5-А;2;24;24;відмінно;1.0.0;;\n";
    QTest::newRow("two spaces, 0") << "  " << 0 << head + "\"  \";5-А;2;0;24;незадовільно;1.0.0;;\n";
}

void JournalTest::recordLine()
{
    QFETCH(QString, name);
    QFETCH(int, correct);
    QFETCH(QByteArray, line);
    const JournalRecord written = sample(name, correct);
    QCOMPARE(journalLine(written), line);
    // Read back as one whole record with every field as written.
    const QList<RawRecord> raws = splitRecords(journalFileStart() + line);
    QVERIFY(raws.size() == 2 && isTitleLine(raws[0].text));
    JournalRecord read;
    QVERIFY(raws[1].complete && parseJournalLine(raws[1].text, &read));
    QCOMPARE(journalLine(read), line);
    QCOMPARE(read.name, name);
    QCOMPARE(read.time, written.time);
    // The same record as an earlier version wrote it, without answers.
    JournalRecord older;
    QVERIFY(parseJournalLine(line.chopped(3) + '\n', &older));
    QCOMPARE(journalLine(older), line);
    QVERIFY(!splitRecords(line.chopped(1)).first().complete); // cut short: not a whole record
    QCOMPARE(line.count('\n'), 1);                            // one physical line
}

void JournalTest::settings_data()
{
    QTest::addColumn<QByteArray>("machine"); // empty: no file
    QTest::addColumn<QByteArray>("user");    // "FIFO": a FIFO in its place
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("problems"); // MACHINE and USER stand for the files
    const QByteArray shipped = readBytes(qEnvironmentVariable("ZORELAD_SOURCE_DIR") + "/packaging/etc/zorelad.conf");
    QTest::newRow("no files: off") << QByteArray() << QByteArray() << ""
                                   << ""
                                   << "";
    QTest::newRow("shipped file: off") << shipped << QByteArray() << ""
                                       << ""
                                       << "";
    const QByteArray srv = "[journal]\nfolder=/srv/j\n";
    QTest::newRow("machine only") << srv << QByteArray() << "/srv/j"
                                  << ""
                                  << "";
    QTest::newRow("user's folder wins") << srv + "host=a\n"
                                        << QByteArray("[journal]\nfolder=/home/t/j\n") << "/home/t/j"
                                        << "a"
                                        << "";
    QTest::newRow("user turns it off") << srv << QByteArray("[journal]\nfolder=\n") << ""
                                       << ""
                                       << "";
    QTest::newRow("user's host ignored") << srv << QByteArray("# mine\n[journal]\nhost=lab-08\n") << "/srv/j"
                                         << ""
                                         << "USER:3: host is set in the computer's settings only; ignored";
    QTest::newRow("section misspelt") << QByteArray("[Journal]\nfolder=/srv/j\n") << QByteArray() << ""
                                      << ""
                                      << "MACHINE:1: unknown section [Journal]; ignored; did you mean [journal]?";
    QTest::newRow("key misspelt") << QByteArray("[journal]\nFolder=/srv/j\n") << QByteArray() << ""
                                  << ""
                                  << "MACHINE:2: unknown key Folder; ignored; did you mean folder?";
    QTest::newRow("malformed user file") << srv << QByteArray("[journal\nfolder=/x\n") << "/srv/j"
                                         << ""
                                         << "USER:1: unknown section [journal; ignored";
    QTest::newRow("relative folder") << QByteArray("[journal]\nfolder=journal\n") << QByteArray() << ""
                                     << ""
                                     << "MACHINE:2: folder \"journal\" is not an absolute path; ignored";
    QTest::newRow("colon folder") << QByteArray("[journal]\nfolder=:rel\n") << QByteArray() << ""
                                  << ""
                                  << "MACHINE:2: folder \":rel\" is not an absolute path; ignored";
    QTest::newRow("comma") << QByteArray("[journal]\nfolder=/srv/a,b\n") << QByteArray() << ""
                           << ""
                           << "MACHINE:2: folder \"/srv/a,b\" holds the character ,, which a path should not have; "
                              "ignored";
    QTest::newRow("semicolon") << srv << QByteArray("[journal]\nfolder=/srv/x;y\n") << "/srv/j"
                               << ""
                               << "USER:2: folder \"/srv/x;y\" holds the character ;, which a path should not have; "
                                  "ignored";
    QTest::newRow("random bytes") << QByteArray("\x8f\xff\x01[journal]\n") << QByteArray() << ""
                                  << ""
                                  << "MACHINE: not a text file (UTF-8); ignored";
    QTest::newRow("UTF-16") << QByteArray("\xff\xfe[\0j\0]\0") << QByteArray() << ""
                            << ""
                            << "MACHINE: not a text file (UTF-8); ignored";
    QTest::newRow("user's file a FIFO") << srv << QByteArray("FIFO") << "/srv/j"
                                        << ""
                                        << "USER: not a regular file; ignored";
}

void JournalTest::settings()
{
    QFETCH(QByteArray, machine);
    QFETCH(QByteArray, user);
    QFETCH(QString, folder);
    QFETCH(QString, host);
    QFETCH(QString, problems);
    QTemporaryDir dir;
    const ConfigFiles files{dir.filePath("machine.conf"), dir.filePath("user.conf")};
    QVERIFY(machine.isEmpty() || writeBytes(files.machine, machine));
    if (user == "FIFO")
        QCOMPARE(::mkfifo(QFile::encodeName(files.user).constData(), 0600), 0);
    else
        QVERIFY(user.isEmpty() || writeBytes(files.user, user));
    QStringList found;
    const JournalConfig config = readJournalConfig(files, &found);
    QCOMPARE(config.folder, folder);
    QCOMPARE(config.host, host);
    QCOMPARE(found.join('\n'), QString(problems).replace("MACHINE", files.machine).replace("USER", files.user));
}

void JournalTest::deliveryFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("problems"); // what the reader names in the folder afterwards
    QTest::newRow("share not mounted") << "missing" << 0;
    QTest::newRow("folder read-only") << "read-only" << 0;
    QTest::newRow("delivery cut off after writing") << "interrupted" << 0;
    QTest::newRow("local disk full at a quote") << "local full" << 1; // the direct try cut the folder file too
    QTest::newRow("share full at a quote, good records after the cut") << "share full" << 1;
    QTest::newRow("spool a FIFO") << "fifo" << 0;
    QTest::newRow("no spool and a hanging share") << "hanging" << 0;
    QTest::newRow("40 GB file in the folder") << "sparse" << 1;
}

// Two levels graded under the fault, one after it is gone: the folder holds
// the three records in order, each once, in 0640; the spool is empty.
void JournalTest::deliveryFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, problems);
    QTemporaryDir dir;
    const QString folder = dir.filePath("share/journal");
    QVERIFY(QDir().mkpath(folder));
    const QString spool = dir.filePath("state/zorelad/pending.csv");
    QVERIFY(QDir().mkpath(dir.filePath("state/zorelad")));
    Journal journal({folder, QStringLiteral("lab-07")}, spool);
    const QString file = journal.paths().folderFile;
    QCOMPARE(file, folder + "/lab-07-" + journalAccountName() + ".csv");
    const QString first = "Ann \"Q\" Lee";
    const QByteArray firstLine = journalLine(sample(first));
    // Writes beyond this size fail as on a full disk, for root too.
    const qsizetype cutAtQuote = journalFileStart().size() + firstLine.indexOf("Ann ") + 4;
    std::signal(SIGXFSZ, SIG_IGN);
    auto limitFileSize = [](rlim_t size) {
        struct rlimit limit;
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = size;
        return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    };
    std::atomic<bool> hanging{false};

    std::function<void()> undo = [] {};
    if (fault == "missing") {
        QVERIFY(QDir(folder).removeRecursively());
    } else if (fault == "read-only") {
        QVERIFY2(bool(undo = makeReadOnly(folder)), "cannot make a read-only folder here");
    } else if (fault == "interrupted") {
        // The first record reached the folder, but the spool was not emptied.
        QVERIFY(appendToJournalFile(spool, firstLine, 0600).isEmpty());
        QVERIFY(appendToJournalFile(file, firstLine, 0640).isEmpty());
    } else if (fault == "local full") {
        QVERIFY(limitFileSize(cutAtQuote));
        undo = [&] { limitFileSize(RLIM_INFINITY); };
    } else if (fault == "share full") {
        QVERIFY(QDir(folder).removeRecursively()); // both records wait in the spool
    } else if (fault == "fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(spool).constData(), 0600), 0);
    } else if (fault == "hanging") {
        QVERIFY(QDir(dir.filePath("state/zorelad")).removeRecursively());
        QVERIFY(writeBytes(dir.filePath("state/zorelad"), "a file, not a folder"));
        hanging = true;
        shareAccessHook = [&](const QString &) {
            for (int i = 0; hanging && i < 300; ++i) // a share that hangs for 3 s
                QThread::msleep(10);
        };
        undo = [&] {
            hanging = false;
            journal.waitUntilIdle();
            shareAccessHook = nullptr;
            QFile::remove(dir.filePath("state/zorelad"));
        };
    } else if (fault == "sparse") {
        QFile big(folder + "/ab-big.csv");
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(40LL << 30));
    }
    {
        auto restore = qScopeGuard([&] { undo(); });
        // The interface thread's watchdog: recording never waits for the share.
        QElapsedTimer clock;
        clock.start();
        if (fault != "interrupted")
            journal.record(sample(first));
        journal.record(sample("Другий"));
        QVERIFY2(clock.elapsed() < 500, qPrintable(QString::number(clock.elapsed())));
        if (fault != "hanging")
            journal.waitUntilIdle();
        if (fault == "share full") {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(limitFileSize(cutAtQuote));
            journal.deliverLater();
            journal.waitUntilIdle();
            QVERIFY(limitFileSize(RLIM_INFINITY));
            QVERIFY(readBytes(file).endsWith("Ann ")); // cut at the quote
        }
    }
    QVERIFY(QDir().mkpath(folder));
    journal.record(sample("Третій", 13));
    journal.waitUntilIdle();
    journal.deliverLater(); // what arrived while the last delivery ran
    journal.waitUntilIdle();
    const JournalReading reading = readJournalFiles(journalFilesIn(folder));
    QStringList names;
    for (const JournalRecord &r : reading.records)
        names.append(r.name);
    QCOMPARE(names, QStringList({first, "Другий", "Третій"}));
    QCOMPARE(reading.problems.size(), problems);
    QVERIFY(fault == "fifo" ? !QFileInfo(spool).isFile() && QFileInfo::exists(spool) : !QFile::exists(spool));
    QVERIFY(!QFile::exists(spool + ".new") && !QFile::exists(spool + ".moving"));
    QCOMPARE(QFileInfo(file).permissions() & 0x0777, QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
}

void JournalTest::deliveryKeepsGradingOrder_data()
{
    QTest::addColumn<QByteArray>("folderStart"); // the folder file beforehand; empty: none
    QTest::addColumn<QStringList>("moving");     // records a delivery cut off by a crash was moving
    QTest::addColumn<QStringList>("spooled");
    QTest::addColumn<bool>("away"); // the first delivery finds no folder and fails
    QTest::addColumn<QStringList>("names");
    const QStringList abc{"Аня", "Борис", "Віка"};
    const QByteArray b = journalLine(sample("Борис"));
    QTest::newRow("several spooled") << QByteArray() << QStringList() << abc << false << abc;
    QTest::newRow("cut off by a crash, then refused: back in front of those spooled since")
        << QByteArray() << abc.mid(0, 2) << abc.mid(2) << true << abc;
    QTest::newRow("folder file's last line cut: stays damaged, the next record on its own line")
        << journalFileStart() + journalLine(sample("Аня")) + b.left(b.size() / 2) << QStringList() << abc.mid(1)
        << false << abc;
}

// Whatever earlier deliveries left behind, the folder file ends up with the
// records in the order the levels were graded.
void JournalTest::deliveryKeepsGradingOrder()
{
    QFETCH(QByteArray, folderStart);
    QFETCH(QStringList, moving);
    QFETCH(QStringList, spooled);
    QFETCH(bool, away);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    const JournalPaths paths{dir.filePath("share/lab-07.csv"), dir.filePath("pending.csv")};
    QVERIFY(away || QDir().mkpath(dir.filePath("share")));
    QVERIFY(folderStart.isEmpty() || writeBytes(paths.folderFile, folderStart));
    for (const QString &name : moving) // beside the spool while a delivery runs
        QVERIFY(appendToJournalFile(paths.spool + ".moving", journalLine(sample(name)), 0600).isEmpty());
    for (const QString &name : spooled)
        QVERIFY(appendToJournalFile(paths.spool, journalLine(sample(name)), 0600).isEmpty());
    if (away) {
        QVERIFY(!deliverSpool(paths).isEmpty());
        QCOMPARE(namesIn(readBytes(paths.spool)), names);
        QVERIFY(QDir().mkpath(dir.filePath("share")));
    }
    QCOMPARE(deliverSpool(paths), QString());
    const QByteArray written = readBytes(paths.folderFile);
    QVERIFY(written.startsWith(folderStart));
    QCOMPARE(namesIn(written), names);
}

void JournalTest::readerMergesHosts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("all") << QStringList() << QStringList({"Андрій", "Богдана", "Богдана", "Віра", "Ярема", "Євген"});
    QTest::newRow("--class") << QStringList({"--class", "5-А"})
                             << QStringList({"Андрій", "Богдана", "Богдана", "Віра"});
    QTest::newRow("--since") << QStringList({"--since", "2026-09-02"}) << QStringList({"Богдана", "Ярема", "Євген"});
    QTest::newRow("--level") << QStringList({"--level", "1"}) << QStringList({"Богдана", "Віра"});
    QTest::newRow("with a spool") << QStringList({"--spool", "SPOOL"})
                                  << QStringList({"Андрій", "Богдана", "Богдана", "Віра", "Ганна", "Ярема", "Євген"});
}

// Several computers' files, one with a line cut short by a crash and one
// damaged line, and a file that is no journal: the merged table holds every
// whole record once, sorted by class, name and time; the rest is named.
void JournalTest::readerMergesHosts()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, names);
    QTemporaryDir dir;
    auto at = [](const QString &name, int day, int hour, const QString &pupilClass, int level) {
        return journalLine(sample(name, 20, day, hour, pupilClass, level));
    };
    QVERIFY(writeBytes(dir.filePath("pc-01.csv"),
                       journalFileStart() + at("Віра", 1, 10, "5-А", 1) + at("Богдана", 2, 9, "5-А", 2)
                           + at("Зоя", 2, 9, "5-А", 2).replace(";20;24;", ";999;1000;")
                           + at("Євген", 3, 9, "10-А", 2)));
    QVERIFY(writeBytes(dir.filePath("pc-02.csv"),
                       journalFileStart() + at("Богдана", 1, 9, "5-А", 1) + at("Андрій", 1, 11, "5-А", 3)
                           + at("Зоя", 4, 9, "5-А", 3).chopped(9)));
    // pc-03's file as an earlier version wrote it, without answers.
    QVERIFY(writeBytes(dir.filePath("pc-03.csv"),
                       "\xEF\xBB\xBFДата і час;Комп'ютер;Учень;Клас;Рівень;Правильних;Із;Оцінка;Версія\n"
                           + at("Ярема", 5, 9, "9-Б", 3).replace(";;\n", "\n")));
    QVERIFY(writeBytes(dir.filePath("notes.csv"), "shopping;list\nmilk;bread\n"));
    QVERIFY(writeBytes(dir.filePath("spool.csv.txt"),
                       journalFileStart() + at("Ганна", 1, 12, "5-А", 3) + at("Андрій", 1, 11, "5-А", 3)));
    // The files last changed on 5 September at 7:15 by the server's clock:
    // pc-03's record of 9:15 that day comes from a clock two hours fast.
    for (const QString &file : QDir(dir.path()).entryList(QDir::Files)) {
        QFile f(dir.filePath(file));
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime(QDate(2026, 9, 5), QTime(7, 15, 7), Qt::OffsetFromUTC, 3 * 3600),
                              QFileDevice::FileModificationTime));
    }
    arguments.replaceInStrings("SPOOL", dir.filePath("spool.csv.txt"));

    QProcess tool;
    tool.start(qEnvironmentVariable("ZORELAD_PROGRAM_DIR") + "/zorelad-journal",
               arguments + QStringList({"--format", "csv", dir.path()}));
    QVERIFY(tool.waitForFinished(20000));
    QCOMPARE(tool.exitCode(), 0);
    QCOMPARE(namesIn(tool.readAllStandardOutput()), names);
    const QStringList problems = QString::fromLocal8Bit(tool.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(problems,
             QStringList({dir.filePath("notes.csv") + ": not a journal file, skipped",
                          dir.filePath("pc-01.csv") + ":4: damaged line, skipped",
                          dir.filePath("pc-02.csv") + ":4: line cut short, skipped",
                          dir.filePath("pc-03.csv")
                              + ": the newest record is 120 minutes later than the file; check that computer's clock"})
                 + (arguments.contains("--spool") ? QStringList(
                        dir.filePath("spool.csv.txt")
                        + ": holds records since 2026-09-01 11:15 not yet delivered; that computer cannot "
                          "write to the folder")
                                                  : QStringList()));
}

QTEST_GUILESS_MAIN(JournalTest)
#include "tst_journal.moc"
