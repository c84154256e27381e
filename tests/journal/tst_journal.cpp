// The results journal: the record, the settings, and delivery through the
// spool when the folder is away.

#include "grades.h"
#include "journal.h"
#include "journalreport.h"

#include <QDir>
#include <QScopeGuard>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

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
            gradeWord(gradeFor(correct).status),
            "1.0.0"};
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

} // namespace

class JournalTest : public QObject {
    Q_OBJECT

private slots:
    void recordLine_data();
    void recordLine();
    void settings_data();
    void settings();
    void spoolWhileFolderIsAway_data();
    void spoolWhileFolderIsAway();
    void deliveryKeepsGradingOrder_data();
    void deliveryKeepsGradingOrder();
    void readerMergesHosts_data();
    void readerMergesHosts();
};

void JournalTest::recordLine_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("correct");
    QTest::addColumn<QByteArray>("line");
    const QByteArray head = "2026-09-01T09:15:07+03:00;lab-07;";
    QTest::newRow("Cyrillic, 20") << "Оля Ґудзь" << 20 << head + "Оля Ґудзь;5-А;2;20;24;відмінно;1.0.0\n";
    QTest::newRow("semicolon, 19") << "Петро;Іван" << 19 << head + "\"Петро;Іван\";5-А;2;19;24;Добре;1.0.0\n";
    QTest::newRow("quote, 14") << "Ім\"я" << 14 << head + "\"Ім\"\"я\";5-А;2;14;24;Добре;1.0.0\n";
    QTest::newRow("new line, 13") << "Оля\nКоваль" << 13 << head + "\"Оля\nКоваль\";5-А;2;13;24;незадовільно;1.0.0\n";
    QTest::newRow("two spaces, 0") << "  " << 0 << head + "\"  \";5-А;2;0;24;незадовільно;1.0.0\n";
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
    QVERIFY(!splitRecords(line.chopped(1)).first().complete); // cut short: not a whole record
}

void JournalTest::settings_data()
{
    QTest::addColumn<QByteArray>("machine"); // empty: no file
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("problems");
    QTest::newRow("no files: off") << QByteArray() << QByteArray() << ""
                                   << "" << 0;
    QTest::newRow("shipped file: off") << readBytes(qEnvironmentVariable("ZORELAD_SOURCE_DIR")
                                                    + "/packaging/etc/zorelad.conf")
                                       << QByteArray() << ""
                                       << "" << 0;
    const QByteArray srv = "[journal]\nfolder=/srv/j\n";
    QTest::newRow("machine only") << srv << QByteArray() << "/srv/j"
                                  << "" << 0;
    QTest::newRow("user wins") << srv + "host=a\n"
                               << QByteArray("[journal]\nfolder=/home/t/j\nhost=b\n") << "/home/t/j"
                               << "b" << 0;
    QTest::newRow("user turns it off") << srv << QByteArray("[journal]\nfolder=\n") << ""
                                       << "" << 0;
    QTest::newRow("user names the host only") << srv << QByteArray("[journal]\nhost=lab-07\n") << "/srv/j"
                                              << "lab-07" << 0;
    QTest::newRow("malformed user file ignored") << srv << QByteArray("[journal\nfolder=/x\n") << "/srv/j"
                                                 << "" << 1;
    QTest::newRow("relative folder ignored") << QByteArray("[journal]\nfolder=journal\n") << QByteArray() << ""
                                             << "" << 1;
}

void JournalTest::settings()
{
    QFETCH(QByteArray, machine);
    QFETCH(QByteArray, user);
    QFETCH(QString, folder);
    QFETCH(QString, host);
    QFETCH(int, problems);
    QTemporaryDir dir;
    const ConfigFiles files{dir.filePath("machine.conf"), dir.filePath("user.conf")};
    QVERIFY(machine.isEmpty() || writeBytes(files.machine, machine));
    QVERIFY(user.isEmpty() || writeBytes(files.user, user));
    QStringList found;
    const JournalConfig config = readJournalConfig(files, &found);
    QCOMPARE(config.folder, folder);
    QCOMPARE(config.host, host);
    QCOMPARE(found.size(), problems);
}

void JournalTest::spoolWhileFolderIsAway_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("share not mounted") << "missing";
    QTest::newRow("folder read-only") << "read-only";
    QTest::newRow("delivery cut off after writing") << "interrupted";
}

// Two levels graded while the folder cannot take them wait in the spool;
// the next graded level, with the folder back, delivers all three in order,
// each once.
void JournalTest::spoolWhileFolderIsAway()
{
    QFETCH(QString, fault);
    QTemporaryDir dir;
    const QString folder = dir.filePath("share/journal");
    QVERIFY(QDir().mkpath(folder));
    const QString spool = dir.filePath("state/zorelad/pending.csv");
    QVERIFY(QDir().mkpath(dir.filePath("state/zorelad")));
    Journal journal({folder, QStringLiteral("lab-07")}, spool);
    const QString file = journal.paths().folderFile;
    QCOMPARE(file, folder + "/lab-07.csv");

    if (fault == "missing") {
        QVERIFY(QDir(folder).removeRecursively());
    } else if (fault == "interrupted") {
        // The first record reached the folder, but the spool was not emptied.
        QVERIFY(appendToJournalFile(spool, journalLine(sample("Перший")), 0600).isEmpty());
        QVERIFY(appendToJournalFile(file, journalLine(sample("Перший")), 0640).isEmpty());
    }
    {
        std::function<void()> undo = [] {};
        if (fault == "read-only" && !(undo = makeReadOnly(folder)))
            QSKIP("cannot make a read-only folder here");
        const auto restore = qScopeGuard(undo);
        if (fault != "interrupted")
            journal.record(sample("Перший"));
        journal.record(sample("Другий"));
        journal.waitUntilIdle();
        if (fault != "interrupted") {
            QVERIFY(!QFile::exists(file));
            QCOMPARE(namesIn(readBytes(spool)), QStringList({"Перший", "Другий"}));
            QCOMPARE(QFileInfo(spool).permissions() & 0x0077, 0); // the owner's only
        }
    }
    QVERIFY(QDir().mkpath(folder));
    journal.record(sample("Третій", 13));
    journal.waitUntilIdle();
    const QByteArray written = readBytes(file);
    QVERIFY(written.startsWith(journalFileStart()));
    QCOMPARE(namesIn(written), QStringList({"Перший", "Другий", "Третій"}));
    QVERIFY(!QFile::exists(spool));
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
                           + "broken;line\n" + at("Євген", 3, 9, "10-А", 2)));
    QVERIFY(writeBytes(dir.filePath("pc-02.csv"),
                       journalFileStart() + at("Богдана", 1, 9, "5-А", 1) + at("Андрій", 1, 11, "5-А", 3)
                           + at("Зоя", 4, 9, "5-А", 3).chopped(9)));
    QVERIFY(writeBytes(dir.filePath("pc-03.csv"), journalFileStart() + at("Ярема", 5, 9, "9-Б", 3)));
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
    QCOMPARE(
        problems,
        QStringList({dir.filePath("notes.csv") + ": not a journal file, skipped",
                     dir.filePath("pc-01.csv") + ":4: damaged line, skipped",
                     dir.filePath("pc-02.csv") + ":4: line cut short, skipped",
                     dir.filePath("pc-03.csv")
                         + ": the newest record is 120 minutes later than the file; check that computer's clock"}));
}

QTEST_GUILESS_MAIN(JournalTest)
#include "tst_journal.moc"
