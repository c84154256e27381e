// Files people edit by hand, lose or damage, one row per case: what the
// pupil or teacher is told, and that the program is still usable afterwards
// with its memory bounded. (Damaged certificate pictures byte by byte and
// failing printers have their own suites beside the certificate code.)

#include "identification.h"
#include "mediaplayer.h"
#include "modalwatcher.h"
#include "programfixture.h"
#include "startup.h"
#include "mainwindow.h"
#include "widgetlookup.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTextEdit>

#include <QImage>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

using namespace zorelad;
using testing_support::widget;

namespace {

// Resident memory of this process, in kilobytes.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}

enum class Expect { Message, NoMessage };

// Fails the whole run when the UI thread does not answer a call within 5 s:
// a hang would otherwise leave the test waiting until its time limit.
class UiWatchdog {
public:
    UiWatchdog()
        : m_thread([this] {
              std::unique_lock<std::mutex> lock(m_mutex);
              while (!m_stop) {
                  m_answered = false;
                  QMetaObject::invokeMethod(
                      qApp, [this] { m_answered = true; }, Qt::QueuedConnection);
                  m_wake.wait_for(lock, std::chrono::seconds(5), [this] { return m_stop; });
                  if (!m_stop && !m_answered) {
                      std::fprintf(stderr, "FAIL! the UI thread did not answer within 5 s\n");
                      std::_Exit(1);
                  }
              }
          })
    {}
    ~UiWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::atomic<bool> m_answered{false};
    bool m_stop = false;
    std::thread m_thread;
};

} // namespace

class BadInputsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void questionFiles_data();
    void questionFiles();
    void mediaFiles_data();
    void mediaFiles();
    void videoTurnsIntoPipeDuringLevel();

private:
    void startProgram();
    QString at(const QString &relative) const { return dir->path() + relative; }
    void put(const QString &relative, const QByteArray &bytes);
    void putDirectory(const QString &relative);

    std::unique_ptr<testing_support::ProgramDir> dir;
    Windows windows;
    ModalWatcher watcher;
    UiWatchdog watchdog;
};

void BadInputsTest::init()
{
    dir = std::make_unique<testing_support::ProgramDir>();
    watcher.clear();
}

void BadInputsTest::cleanup()
{
    windows = Windows();
    dir.reset();
}

void BadInputsTest::startProgram()
{
    StartupOptions options = dir->options();
    options.sinks.videoSink.clear();
    windows = createWindows(options);
    windows.Form1->show();
}

void BadInputsTest::put(const QString &relative, const QByteArray &bytes)
{
    QFile::remove(at(relative));
    QFile file(at(relative));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void BadInputsTest::putDirectory(const QString &relative)
{
    QFile::remove(at(relative));
    QVERIFY(QDir().mkpath(at(relative)));
}

void BadInputsTest::questionFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");  // what the box says; empty when nothing is said
    QTest::addColumn<QString>("question"); // what the question box shows then

    const QString noSuchFile = QStringLiteral("No such file or directory");
    QTest::newRow("missing") << "missing" << noSuchFile << "";
    QTest::newRow("a directory in its place") << "directory"
                                              << "Is a directory"
                                              << "";
    if (::geteuid() != 0) // root reads whatever the permissions say
        QTest::newRow("unreadable") << "unreadable"
                                    << "Permission denied"
                                    << "";
    QTest::newRow("empty: no error, empty texts") << "empty"
                                                  << ""
                                                  << "";
    QTest::newRow("random bytes: shown as text") << "random"
                                                 << ""
                                                 << "*";
    QTest::newRow("50 MB without a line end: cut to 4096") << "huge"
                                                           << ""
                                                           << "4096";
    QTest::newRow("only NULs: empty text") << "nuls"
                                           << ""
                                           << "";
    QTest::newRow("CR only") << "cr"
                             << ""
                             << "Питання";
    QTest::newRow("LF only") << "lf"
                             << ""
                             << "Питання";
    QTest::newRow("LF CR: blank lines between") << "lfcr"
                                                << ""
                                                << "Питання";
    QTest::newRow("mixed ends") << "mixed"
                                << ""
                                << "Питання";
}

void BadInputsTest::questionFiles()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(QString, question);
    const QString file = QStringLiteral("Text/1/1.z");
    if (kind == QLatin1String("missing"))
        QFile::remove(at(file));
    else if (kind == QLatin1String("directory"))
        putDirectory(file);
    else if (kind == QLatin1String("unreadable"))
        QFile::setPermissions(at(file), QFileDevice::WriteOwner);
    else if (kind == QLatin1String("empty"))
        put(file, QByteArray());
    else if (kind == QLatin1String("random"))
        put(file, randomBytes(4000, 7));
    else if (kind == QLatin1String("huge"))
        put(file, QByteArray(50 << 20, 'x'));
    else if (kind == QLatin1String("nuls"))
        put(file, QByteArray(1000, '\0'));
    else if (kind == QLatin1String("cr"))
        put(file, QByteArray("\xcf\xe8\xf2\xe0\xed\xed\xff\ra\rb\rc\r1\r"));
    else if (kind == QLatin1String("lf"))
        put(file, QByteArray("\xcf\xe8\xf2\xe0\xed\xed\xff\na\nb\nc\n1"));
    else if (kind == QLatin1String("lfcr"))
        put(file, QByteArray("\xcf\xe8\xf2\xe0\xed\xed\xff\n\ra\n\rb"));
    else if (kind == QLatin1String("mixed"))
        put(file, QByteArray("\xcf\xe8\xf2\xe0\xed\xed\xff\r\na\rb\nc\r\n1"));

    startProgram();
    testing_support::identify(windows, QStringLiteral("Тарас"), QStringLiteral("7-А"));
    const long before = residentKb();
    widget<QAction>(windows.Form1, "N6")->trigger();
    const long grown = residentKb() - before;

    if (message.isEmpty()) {
        QVERIFY2(watcher.seen().isEmpty(), qPrintable(watcher.texts().join(QLatin1Char('|'))));
        const QString shown = widget<QTextEdit>(windows.Form1, "Memo1")->toPlainText();
        if (question == QLatin1String("*"))
            QVERIFY(!shown.isEmpty());
        else if (question == QLatin1String("4096"))
            QCOMPARE(shown.size(), 4096);
        else
            QCOMPARE(shown, question);
        // A wrong or missing answer line only ever counts as wrong.
        widget<QRadioButton>(windows.Form1, "RadioButton1")->click();
        widget<QPushButton>(windows.Form1, "BitBtn1")->click();
        QVERIFY(watcher.seen().isEmpty());
        QCOMPARE(windows.Form1->state().QuestionNo, 2);
    } else {
        QCOMPARE(watcher.texts(), QStringList{QStringLiteral("Cannot open file \"%1\". %2.").arg(at(file), message)});
    }
    // A 50 MB file costs no more memory than a small one.
    QVERIFY2(grown < 20 * 1024, qPrintable(QStringLiteral("grew by %1 kB").arg(grown)));
    // Still usable: another level starts and runs.
    widget<QAction>(windows.Form1, "N7")->trigger();
    widget<QRadioButton>(windows.Form1, "RadioButton1")->click();
    widget<QPushButton>(windows.Form1, "BitBtn1")->click();
    QCOMPARE(windows.Form1->state().Level, 2);
    QCOMPARE(windows.Form1->state().CorrectCount, 1);
}

void BadInputsTest::mediaFiles_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // empty: plays, no message
    QTest::newRow("video missing") << "1.avi"
                                   << "missing"
                                   << "Resource not found.";
    QTest::newRow("video zero bytes") << "1.avi"
                                      << "empty"
                                      << "Stream contains no data.";
    QTest::newRow("video random bytes") << "1.avi"
                                        << "random"
                                        << "Could not determine type of stream.";
    QTest::newRow("video a directory") << "1.avi"
                                       << "directory"
                                       << "is a directory.";
    QTest::newRow("video holds an MP3: plays it") << "1.avi"
                                                  << "swapped"
                                                  << "";
    QTest::newRow("music missing") << "track1.mp3"
                                   << "missing"
                                   << "Resource not found.";
    QTest::newRow("music random bytes") << "track1.mp3"
                                        << "random"
                                        << "Could not determine type of stream.";
    QTest::newRow("music holds an AVI: plays it") << "track1.mp3"
                                                  << "swapped"
                                                  << "";
    QTest::newRow("video a named pipe") << "1.avi"
                                        << "fifo"
                                        << "Could not open resource for reading.";
    QTest::newRow("music a named pipe") << "track1.mp3"
                                        << "fifo"
                                        << "Could not open resource for reading.";
    QTest::newRow("video a link to a named pipe") << "1.avi"
                                                  << "fifo link"
                                                  << "Could not open resource for reading.";
    for (const char *format : {"JPEG", "PNG"})
        QTest::addRow("video a %s still too large to show", format) << "1.avi"
                                                                    << QStringLiteral("huge %1").arg(format)
                                                                    << "Could not decode stream.";
}

void BadInputsTest::mediaFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    QFETCH(QString, message);
    const QString path = QStringLiteral("Media/") + file;
    if (kind == QLatin1String("missing")) {
        QFile::remove(at(path));
    } else if (kind == QLatin1String("empty")) {
        put(path, QByteArray());
    } else if (kind == QLatin1String("random")) {
        put(path, randomBytes(64 * 1024, 11));
    } else if (kind == QLatin1String("directory")) {
        putDirectory(path);
    } else if (kind.startsWith(QLatin1String("fifo"))) {
        QFile::remove(at(path));
        const QString pipe = kind == QLatin1String("fifo") ? at(path) : at(QStringLiteral("Media/pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        if (pipe != at(path))
            QVERIFY(QFile::link(pipe, at(path)));
    } else if (kind.startsWith(QLatin1String("huge "))) {
        QImage still(4100, 8, QImage::Format_Grayscale8);
        still.fill(128);
        QFile::remove(at(path));
        QVERIFY(still.save(at(path), qPrintable(kind.mid(5))));
    } else if (kind == QLatin1String("swapped")) {
        const QString other = file == QLatin1String("1.avi") ? QStringLiteral("track1.mp3") : QStringLiteral("1.avi");
        QFile source(at(QStringLiteral("Media/") + other));
        QVERIFY(source.open(QIODevice::ReadOnly));
        put(path, source.readAll());
    }
    startProgram();
    if (message.isEmpty()) {
        QVERIFY2(watcher.seen().isEmpty(), qPrintable(watcher.texts().join(QLatin1Char('|'))));
    } else {
        QCOMPARE(watcher.seen().size(), 1);
        QVERIFY2(watcher.texts()[0].endsWith(message), qPrintable(watcher.texts()[0]));
    }
    // Still usable: a pupil is identified and a level runs.
    testing_support::identify(windows, QStringLiteral("Тарас"), QStringLiteral("7-А"));
    widget<QAction>(windows.Form1, "N8")->trigger();
    widget<QRadioButton>(windows.Form1, "RadioButton1")->click();
    widget<QPushButton>(windows.Form1, "BitBtn1")->click();
    QCOMPARE(windows.Form1->state().CorrectCount, 1);
}

// The video file turns into a named pipe during a level: the next replay
// shows its failure and the window goes on answering.
void BadInputsTest::videoTurnsIntoPipeDuringLevel()
{
    startProgram();
    testing_support::identify(windows, QStringLiteral("Тарас"), QStringLiteral("7-А"));
    windows.Form1->findChild<QAction *>("N6")->trigger();
    QFile::remove(at(QStringLiteral("Media/1.avi")));
    QCOMPARE(::mkfifo(QFile::encodeName(at(QStringLiteral("Media/1.avi"))).constData(), 0600), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!watcher.seen().isEmpty(), 4000);
    QVERIFY2(watcher.texts()[0].endsWith(QStringLiteral("Could not open resource for reading.")),
             qPrintable(watcher.texts()[0]));
    windows.Form1->findChild<QRadioButton *>("RadioButton1")->click();
    windows.Form1->findChild<QPushButton *>("BitBtn1")->click();
    QCOMPARE(windows.Form1->state().CorrectCount, 1);
}

QTEST_MAIN(BadInputsTest)
#include "tst_badinputs.moc"
