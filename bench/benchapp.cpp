// The program's own windows under measurement. Each mode is one fresh
// process started by zorelad-bench; it prints "key=value" lines.
//
// Usage: zorelad-bench-app MODE PROGRAM_DIR [ARGS]
//   next ROUNDS                 next_us=a,b,...  floor_us=a,b,...  radio_us=a,b,... and the parts
//                               of each click: press_us, handler_us, paint_us
//   read BATCHES                read_ns=a,b,...  floor_ns=a,b,...
//   idle-start SETTLE_S MEASURE_S   cpu_s=N wall_s=N
//   idle-level SETTLE_S MEASURE_S   cpu_s=N wall_s=N
//   idle-ended SETTLE_S MEASURE_S   cpu_s=N wall_s=N (in a level, the music stopped)
//   session                     printed=0|1 peak_rss_kb=N, and steps_kb: resident/peak
//                               at the start, window shown, level done, printed, end
//
// The windows are created as main() creates them, with the system's own
// sound and picture outputs, except that the start-up pause is skipped: its
// clock moves only when slept on, so the pause ends at once. (Start-up itself
// is measured by zorelad-bench-startup, which links only what the program
// links.)

#include "benchcommon.h"

#include "errorbox.h"
#include "identification.h"
#include "privatecups.h"
#include "questionfolder.h"
#include "startup.h"
#include "mainwindow.h"

#include "mediasystem.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace zorelad;

namespace {

QString programDir;

// A clock that jumps forward when slept on.
Clock instantClock()
{
    auto now = std::make_shared<qint64>(1000);
    return {[now] { return *now; }, [now](qint64 ms) { *now += ms; }};
}

Windows startWindows()
{
    StartupOptions options;
    options.clock = instantClock();
    options.programDir = programDir;
    return createWindows(options);
}

template <class T> T *mainChild(const Windows &windows, const char *name)
{
    // The client area holds the main window's own widgets, not the dialogs'.
    T *child = windows.Form1->centralWidget()->findChild<T *>(QLatin1String(name));
    if (!child) {
        std::fprintf(stderr, "no %s in the main window\n", name);
        std::exit(1);
    }
    return child;
}

// Lets timers, media deliveries and repaints run for `ms`.
void pump(int ms)
{
    QElapsedTimer timer;
    timer.start();
    do
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    while (timer.elapsed() < ms);
    QCoreApplication::sendPostedEvents();
}

void identify(const Windows &windows)
{
    windows.Form2->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("Оля Коваль"));
    windows.Form2->findChild<QComboBox *>(QStringLiteral("ComboBox1"))->setEditText(QStringLiteral("4-В"));
    windows.Form2->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
    if (!mainChild<QPushButton>(windows, "Button1")->isVisibleTo(windows.Form1.get())) {
        std::fprintf(stderr, "the pupil was not accepted\n");
        std::exit(1);
    }
}

void startLevel(const Windows &windows, int level)
{
    windows.Form1->findChild<QAction *>(QStringLiteral("N%1").arg(5 + level))->trigger();
}

// The option the loaded question names as right (the reveal field holds it).
QRadioButton *rightOption(const Windows &windows)
{
    const QString answer = mainChild<QLineEdit>(windows, "Edit3")->text();
    const char *name = answer == QLatin1String("2") ? "RadioButton2"
        : answer == QLatin1String("3")              ? "RadioButton3"
                                                    : "RadioButton1";
    return mainChild<QRadioButton>(windows, name);
}

class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// Delivers what is posted (the window's update request among it) until
// something has been painted; timers do not run meanwhile.
void flushPaint(const PaintCounter &counter)
{
    QCoreApplication::sendPostedEvents();
    QElapsedTimer bound;
    bound.start();
    while (counter.count == 0 && bound.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    if (counter.count == 0) {
        std::fprintf(stderr, "nothing was painted\n");
        std::exit(1);
    }
}

// Marks every visible widget of the window for painting: an update of the
// window alone leaves out the children that paint themselves opaquely.
void repaintWholeWindow(QWidget &window)
{
    window.update();
    for (QWidget *child : window.findChildren<QWidget *>())
        if (child->isVisible())
            child->update();
}

QByteArray readWhole(const QString &path)
{
    QByteArray bytes;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        bytes.append(buffer, got);
    }
    ::close(fd);
    return bytes;
}

template <class T> QByteArray joined(const std::vector<T> &values)
{
    QByteArray out;
    for (const T &value : values) {
        if (!out.isEmpty())
            out += ',';
        out += QByteArray::number(value);
    }
    return out;
}

// Every Next of whole levels, each followed by its floor: the same question
// file read with read() and the whole window repainted.
int next(int rounds)
{
    Windows windows = startWindows();
    windows.Form1->show();
    pump(300);
    identify(windows);
    pump(100);

    QPushButton *nextButton = mainChild<QPushButton>(windows, "BitBtn1");
    PaintCounter counter;
    qApp->installEventFilter(&counter);
    std::vector<double> nextUs, floorUs, radioUs, pressUs, handlerUs, paintUs;
    auto *radio = mainChild<QRadioButton>(windows, "RadioButton2");
    for (int round = 0; round < rounds; ++round) {
        for (int level = 1; level <= 3; ++level) {
            startLevel(windows, level);
            pump(20);
            for (int question = 1; question <= QuestionsPerLevel; ++question) {
                rightOption(windows)->click();
                pump(10);

                // A click: the press repaints the button at once, the release
                // runs the handler, then the window paints what changed.
                counter.count = 0;
                qint64 start = bench::monotonicNs();
                QTest::mousePress(nextButton, Qt::LeftButton);
                const qint64 pressed = bench::monotonicNs();
                QTest::mouseRelease(nextButton, Qt::LeftButton);
                const qint64 released = bench::monotonicNs();
                flushPaint(counter);
                const qint64 painted = bench::monotonicNs();
                nextUs.push_back(double(painted - start) / 1000.0);
                pressUs.push_back(double(pressed - start) / 1000.0);
                handlerUs.push_back(double(released - pressed) / 1000.0);
                paintUs.push_back(double(painted - released) / 1000.0);
                pump(10);

                // The round trip of the plainest click: a radio option
                // pressed, released and painted checked.
                if (radio->isVisible()) {
                    counter.count = 0;
                    start = bench::monotonicNs();
                    QTest::mouseClick(radio, Qt::LeftButton);
                    flushPaint(counter);
                    radioUs.push_back(double(bench::monotonicNs() - start) / 1000.0);
                    pump(10);
                }

                const QString file = questionFilePath(programDir, level, qMin(question + 1, QuestionsPerLevel));
                counter.count = 0;
                start = bench::monotonicNs();
                const QByteArray bytes = readWhole(file);
                repaintWholeWindow(*windows.Form1);
                flushPaint(counter);
                floorUs.push_back(double(bench::monotonicNs() - start) / 1000.0);
                if (bytes.isEmpty()) {
                    std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
                    return 1;
                }
                pump(10);
            }
            if (nextButton->isVisible()) {
                std::fprintf(stderr, "level %d did not end after %d questions\n", level, QuestionsPerLevel);
                return 1;
            }
        }
    }
    qApp->removeEventFilter(&counter);
    bench::report("next_us=" + joined(nextUs));
    bench::report("floor_us=" + joined(floorUs));
    bench::report("radio_us=" + joined(radioUs));
    bench::report("press_us=" + joined(pressUs));
    bench::report("handler_us=" + joined(handlerUs));
    bench::report("paint_us=" + joined(paintUs));
    _exit(0);
}

// Batches of every question file of the bank: the program's reader against
// open(), read() and close() of the same files.
int readFiles(int batches)
{
    QStringList files;
    for (int level = 1; level <= 3; ++level)
        for (int number = 1; number <= QuestionsPerLevel; ++number)
            files << questionFilePath(programDir, level, number);

    qsizetype sink = 0;
    auto timeReader = [&] {
        const qint64 start = bench::monotonicNs();
        for (const QString &file : files)
            sink += readQuestionFile(file).size();
        return double(bench::monotonicNs() - start) / double(files.size());
    };
    auto timeFloor = [&] {
        const qint64 start = bench::monotonicNs();
        for (const QString &file : files)
            sink += readWhole(file).size();
        return double(bench::monotonicNs() - start) / double(files.size());
    };
    timeReader();
    timeFloor();
    sink = 0;
    std::vector<double> readNs, floorNs;
    for (int batch = 0; batch < batches; ++batch) {
        if (batch % 2) {
            readNs.push_back(timeReader());
            floorNs.push_back(timeFloor());
        } else {
            floorNs.push_back(timeFloor());
            readNs.push_back(timeReader());
        }
    }
    if (sink == 0) {
        std::fprintf(stderr, "nothing was read\n");
        return 1;
    }
    bench::report("read_ns=" + joined(readNs));
    bench::report("floor_ns=" + joined(floorNs));
    return 0;
}

// CPU time of the whole process over MEASURE_S seconds, after SETTLE_S.
int idle(bool inLevel, bool musicEnded, double settle, double measure)
{
    Windows windows = startWindows();
    windows.Form1->show();
    if (inLevel) {
        pump(200);
        identify(windows);
        startLevel(windows, 1);
        for (int question = 1; question <= 12; ++question) {
            rightOption(windows)->click();
            mainChild<QPushButton>(windows, "BitBtn1")->click();
            pump(20);
        }
    }
    // Switched off, the music stands as it does once it has played to its end.
    if (musicEnded)
        mainChild<QRadioButton>(windows, "RadioButton5")->click();
    double cpu0 = 0;
    qint64 wall0 = 0;
    QTimer::singleShot(int(settle * 1000), qApp, [&] {
        cpu0 = bench::cpuSeconds();
        wall0 = bench::monotonicNs();
    });
    QTimer::singleShot(int((settle + measure) * 1000), qApp, [&] {
        const double cpu = bench::cpuSeconds() - cpu0;
        const double wall = double(bench::monotonicNs() - wall0) / 1e9;
        bench::report("cpu_s=" + QByteArray::number(cpu, 'f', 3) + " wall_s=" + QByteArray::number(wall, 'f', 3));
        _exit(0);
    });
    return qApp->exec();
}

// Resident and peak resident memory of a process now, in kilobytes, from /proc.
QByteArray memoryOf(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return {};
    QByteArray rss, hwm;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            rss = line.mid(6).trimmed().split(' ').value(0);
        else if (line.startsWith("VmHWM:"))
            hwm = line.mid(6).trimmed().split(' ').value(0);
    }
    return rss + '/' + hwm;
}

// What xdotool prints, or nothing when it fails.
QByteArray xdotool(const QStringList &arguments)
{
    QProcess tool;
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    return tool.readAllStandardOutput().trimmed();
}

// The first visible window of that title and its place: x, y, width, height.
QList<int> findWindow(const QString &title)
{
    const QByteArray id = xdotool({QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                                   QStringLiteral("--name"), QLatin1Char('^') + title + QLatin1Char('$')})
                              .split('\n')
                              .value(0);
    QList<int> place;
    const QByteArray shell =
        xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), QString::fromLatin1(id)});
    for (const char *key : {"X=", "Y=", "WIDTH=", "HEIGHT="})
        for (const QByteArray &line : shell.split('\n'))
            if (line.startsWith(key))
                place << line.mid(int(std::strlen(key))).toInt();
    return place.size() == 4 ? place : QList<int>();
}

void click(int x, int y)
{
    xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y), QStringLiteral("click"),
             QStringLiteral("1")});
    QThread::msleep(150);
}

void type(const QString &text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

// A whole session of the real program, driven on the X server as a pupil
// would: start-up, identification, a level answered well, the certificate
// printed to a PDF queue of a private scheduler, a little idling. Memory is
// that of the program's own process.
int session()
{
    PrivateCups cups; // the program started below inherits its settings
    const QString pdf = cups.directory() + QStringLiteral("/certificate.pdf");
    if (!cups.isRunning() || !cups.addPdfQueue(QStringLiteral("Bench"), pdf, 300)
        || !cups.setDefault(QStringLiteral("Bench"))) {
        std::fprintf(stderr, "private CUPS: %s\n", qPrintable(cups.error()));
        return 1;
    }
    QProcess program;
    program.setWorkingDirectory(programDir);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(programDir + QStringLiteral("zorelad"), {});
    if (!program.waitForStarted()) {
        std::fprintf(stderr, "cannot start %szorelad\n", qPrintable(programDir));
        return 1;
    }
    const qint64 pid = program.processId();
    auto fail = [&program](const char *why) {
        std::fprintf(stderr, "%s\n", why);
        program.kill();
        program.waitForFinished();
        return 1;
    };
    const QList<int> window = findWindow(QStringLiteral("Зорелад v1.0"));
    if (window.isEmpty())
        return fail("no main window");
    QThread::msleep(2000); // the pause and the first frames
    const QByteArray shown = memoryOf(pid);
    // The client area starts below the menu bar; the window is 357 high without it.
    const int x = window[0], y = window[1] + window[3] - 357;

    // Test > Start testing, a name and a class, Start.
    click(window[0] + 20, (window[1] + y) / 2);
    click(window[0] + 60, y + 12);
    const QList<int> dialog = findWindow(QStringLiteral("Ідентифікація користувача"));
    if (dialog.isEmpty())
        return fail("no identification dialog");
    type(QStringLiteral("Olia Koval"));
    click(dialog[0] + 90, dialog[1] + 90);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    type(QStringLiteral("4-V"));
    click(dialog[0] + 100, dialog[1] + 130);
    QThread::msleep(500);

    // Level I, each question answered with the option its file names as right.
    click(x + 300, y + 116);
    for (int number = 1; number <= QuestionsPerLevel; ++number) {
        const int right = qMax(1, readQuestion(questionFilePath(programDir, 1, number)).rightOption());
        click(x + 190, y + 128 + 24 * (right - 1));
        click(x + 300, y + 248);
    }
    QThread::msleep(500);
    const QByteArray levelDone = memoryOf(pid);
    click(x + 68, y + 172); // the certificate's button
    // The program sends the job on its own time: wait for it to come, then to end.
    QElapsedTimer sending;
    sending.start();
    while (cups.jobs().isEmpty() && sending.elapsed() < 30000)
        QThread::msleep(100);
    const bool printed = !cups.jobs().isEmpty() && cups.waitForJobs() && QFile(pdf).size() > 0;
    const QByteArray afterPrint = memoryOf(pid);
    QThread::msleep(3000);
    const QByteArray atEnd = memoryOf(pid);
    if (program.state() != QProcess::Running)
        return fail("the program ended during the session");
    program.terminate();
    if (!program.waitForFinished(10000))
        program.kill();
    // Resident/peak in kB at each step, then the peak of the whole session.
    bench::report("steps_kb=" + shown + ',' + levelDone + ',' + afterPrint + ',' + atEnd);
    bench::report(QByteArray("printed=") + (printed ? "1" : "0") + " peak_rss_kb=" + atEnd.split('/').value(1));
    return printed ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s MODE PROGRAM_DIR [ARGS]\n", argv[0]);
        return 2;
    }
    const QByteArray mode = argv[1];
    programDir = QDir(QFile::decodeName(argv[2])).absolutePath() + QLatin1Char('/');
    const double first = argc > 3 ? std::atof(argv[3]) : 0;
    const double second = argc > 4 ? std::atof(argv[4]) : 0;

    // As main() starts the program.
    initMedia(&argc, &argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    if (mode == "next")
        return next(first > 0 ? int(first) : 1);
    if (mode == "read")
        return readFiles(first > 0 ? int(first) : 200);
    if (mode == "idle-start" || mode == "idle-level" || mode == "idle-ended")
        return idle(mode != "idle-start", mode == "idle-ended", first > 0 ? first : 3, second > 0 ? second : 60);
    if (mode == "session")
        return session();
    std::fprintf(stderr, "unknown mode %s\n", mode.constData());
    return 2;
}
