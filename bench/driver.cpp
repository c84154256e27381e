// zorelad-bench: runs every measurement as fresh processes of
// zorelad-bench-app (the program's windows), zorelad-bench-qtfloor (a bare Qt
// window) and zorelad-bench-gstfloor (bare GStreamer pipelines), each figure
// beside its floor from the same run, and prints one Markdown table.
//
// Usage: zorelad-bench [--program-dir DIR] [--startup-runs N] [--next-rounds N]
//                      [--read-batches N] [--idle-seconds S] [--only LIST]
// LIST is a comma-separated choice of startup,next,read,idle,memory.

#include "benchcommon.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

struct Settings {
    QString programDir = QStringLiteral(ZORELAD_BENCH_PROGRAM_DIR);
    int startupRuns = 11;
    int nextRounds = 2;
    int readBatches = 300;
    double idleSeconds = 20;
    int idleRounds = 3;
    double settleSeconds = 3;
    QStringList only;
    bool wants(const QString &part) const { return only.isEmpty() || only.contains(part); }
};

using Values = QHash<QByteArray, QByteArray>;

void progress(const QString &text)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(text));
    std::fflush(stderr);
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The value that `share` of the values do not exceed (nearest rank).
double percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(share * values.size()));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

double maximum(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
}

std::vector<double> numbers(const QByteArray &list)
{
    std::vector<double> out;
    for (const QByteArray &item : list.split(','))
        if (!item.isEmpty())
            out.push_back(item.toDouble());
    return out;
}

Values parse(const QByteArray &output)
{
    Values values;
    for (const QByteArray &line : output.split('\n'))
        for (const QByteArray &pair : line.split(' ')) {
            const int eq = pair.indexOf('=');
            if (eq > 0)
                values.insert(pair.left(eq), pair.mid(eq + 1));
        }
    return values;
}

class Runner {
public:
    explicit Runner(const Settings &settings) : m_settings(settings)
    {
        const QString here = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        m_startup = here + QStringLiteral("zorelad-bench-startup");
        m_app = here + QStringLiteral("zorelad-bench-app");
        m_qtFloor = here + QStringLiteral("zorelad-bench-qtfloor");
        m_gstFloor = here + QStringLiteral("zorelad-bench-gstfloor");
        m_env = QProcessEnvironment::systemEnvironment();
        // On the X server the program is used on (tools/run-bench starts
        // Xvfb); offscreen only when there is none.
        if (!m_env.contains(QStringLiteral("DISPLAY")))
            m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    }

    QString startup() const { return m_startup; }
    QString app() const { return m_app; }
    QString qtFloor() const { return m_qtFloor; }
    QString gstFloor() const { return m_gstFloor; }
    QString media() const { return m_settings.programDir + QStringLiteral("/Media"); }

    // Starts a process; `started` is CLOCK_MONOTONIC just before.
    std::unique_ptr<QProcess> start(const QString &program, const QStringList &arguments, qint64 *started = nullptr)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_env);
        process->setWorkingDirectory(m_settings.programDir);
        if (started)
            *started = bench::monotonicNs();
        process->start(program, arguments);
        return process;
    }

    std::optional<Values> finish(QProcess &process, int timeoutMs)
    {
        if (!process.waitForFinished(timeoutMs)) {
            progress(QStringLiteral("%1 %2 took too long; stopped")
                         .arg(QFileInfo(process.program()).fileName(), process.arguments().join(QLatin1Char(' '))));
            process.kill();
            process.waitForFinished(5000);
            return std::nullopt;
        }
        const Values values = parse(process.readAllStandardOutput());
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || values.isEmpty()) {
            progress(QStringLiteral("%1 %2 failed: %3")
                         .arg(QFileInfo(process.program()).fileName(), process.arguments().join(QLatin1Char(' ')),
                              QString::fromLocal8Bit(process.readAllStandardError()).trimmed().right(2000)));
            return std::nullopt;
        }
        return values;
    }

    std::optional<Values> run(const QString &program, const QStringList &arguments, int timeoutMs,
                              qint64 *started = nullptr)
    {
        auto process = start(program, arguments, started);
        return finish(*process, timeoutMs);
    }

private:
    const Settings &m_settings;
    QString m_startup, m_app, m_qtFloor, m_gstFloor;
    QTemporaryDir m_runtime;
    QProcessEnvironment m_env;
};

struct Row {
    QString what;
    QString program;
    QString floor;
    QString ratio;
    QString target;
    QString met;
};

QString ms(double value) { return QString::number(value, 'f', value < 10 ? 2 : 1) + QStringLiteral(" ms"); }
QString us(double value) { return QString::number(value, 'f', value < 10 ? 2 : 1) + QStringLiteral(" µs"); }
QString percent(double value) { return QString::number(value, 'f', 2) + QStringLiteral(" %"); }
QString mb(double kb) { return QString::number(kb / 1024.0, 'f', 1) + QStringLiteral(" MB"); }
QString times(double value) { return QString::number(value, 'f', 2) + QStringLiteral("×"); }
// A difference with its sign: +1.23 ms, −0.73 ms.
QString signedMs(double value) { return (value < 0 ? QStringLiteral("−") : QStringLiteral("+")) + ms(std::abs(value)); }
QString yes(bool met) { return met ? QStringLiteral("yes") : QStringLiteral("**no**"); }
Row failed(const QString &what, const QString &target)
{
    return {what, QStringLiteral("failed"), QString(), QString(), target, QStringLiteral("**no**")};
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("?");
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() >= 3 ? QString::fromLatin1(fields[0] + ' ' + fields[1] + ' ' + fields[2])
                              : QStringLiteral("?");
}

QString cpuModel()
{
    QFile file(QStringLiteral("/proc/cpuinfo"));
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n'))
            if (line.startsWith("model name")) {
                const int colon = line.indexOf(':');
                return QString::fromLatin1(line.mid(colon + 1).trimmed());
            }
    }
    return QStringLiteral("?");
}

// 1. Fresh process to the first painted main window, the program against a
// bare QMainWindow of the same size.
void measureStartup(Runner &runner, const Settings &settings, QList<Row> &rows, QStringList &notes)
{
    const QString what = QStringLiteral("1. Start-up to the first painted main window (pause skipped), "
                                        "median of %1 fresh processes")
                             .arg(settings.startupRuns);
    const QString target = QStringLiteral("≤ 1.1× floor");
    progress(QStringLiteral("start-up: %1 runs each").arg(settings.startupRuns));
    // The first run warms the page cache and GStreamer's registry and tells the window's size.
    const QStringList appArgs = {settings.programDir};
    const std::optional<Values> warm = runner.run(runner.startup(), appArgs, 60000);
    if (!warm) {
        rows << failed(what, target);
        return;
    }
    const QStringList floorArgs = {QStringLiteral("startup"), QString::fromLatin1(warm->value("width")),
                                   QString::fromLatin1(warm->value("height")), runner.media()};
    runner.run(runner.qtFloor(), floorArgs, 60000);

    // Phases, from the moment the process was started.
    const QList<QByteArray> appPhases = {"main_ns", "media_ns", "application_ns", "windows_ns", "painted_ns"};
    const QList<QByteArray> floorPhases = {"main_ns", "application_ns", "painted_ns"};
    QHash<QByteArray, std::vector<double>> appSteps, floorSteps;
    std::vector<double> program, floor;
    for (int run = 0; run < settings.startupRuns; ++run) {
        for (int which = 0; which < 2; ++which) {
            const bool app = (run + which) % 2 == 0; // alternate which goes first
            qint64 started = 0;
            const std::optional<Values> values = app ? runner.run(runner.startup(), appArgs, 60000, &started)
                                                     : runner.run(runner.qtFloor(), floorArgs, 60000, &started);
            if (!values) {
                rows << failed(what, target);
                return;
            }
            const double took = double(values->value("painted_ns").toLongLong() - started) / 1e6;
            (app ? program : floor).push_back(took);
            qint64 previous = started;
            for (const QByteArray &phase : app ? appPhases : floorPhases) {
                const qint64 at = values->value(phase).toLongLong();
                (app ? appSteps : floorSteps)[phase].push_back(double(at - previous) / 1e6);
                previous = at;
            }
        }
    }
    const double p = median(program), f = median(floor);
    rows << Row{what,
                ms(p),
                ms(f) + QStringLiteral(" (bare QMainWindow ") + QString::fromLatin1(warm->value("width"))
                    + QStringLiteral("×") + QString::fromLatin1(warm->value("height"))
                    + QStringLiteral(" after opening and playing the two media files)"),
                times(p / f),
                target,
                yes(p <= 1.1 * f)};
    auto step = [](QHash<QByteArray, std::vector<double>> &steps, const char *phase) {
        return QString::number(median(steps[phase]), 'f', 1);
    };
    notes << QStringLiteral("Start-up phases, medians in ms. Program: process start to main() %1, media system %2, "
                            "application object %3, windows created (fonts, widgets, pictures, music opened twice, "
                            "video opened) %4, first paint %5. Floor: process start to main() %6, application "
                            "object %7, first paint %8.")
                 .arg(step(appSteps, "main_ns"), step(appSteps, "media_ns"), step(appSteps, "application_ns"),
                      step(appSteps, "windows_ns"), step(appSteps, "painted_ns"), step(floorSteps, "main_ns"),
                      step(floorSteps, "application_ns"), step(floorSteps, "painted_ns"));
}

// 2. Next, click to painted, every question of whole levels.
void measureNext(Runner &runner, const Settings &settings, QList<Row> &rows, QStringList &notes)
{
    const QString what = QStringLiteral("2. Next: click to the next question painted, %1 whole levels");
    progress(QStringLiteral("next: %1 rounds of the three levels").arg(settings.nextRounds));
    const std::optional<Values> values = runner.run(
        runner.app(), {QStringLiteral("next"), settings.programDir, QString::number(settings.nextRounds)}, 300000);
    if (!values) {
        rows << failed(what.arg(3 * settings.nextRounds),
                       QStringLiteral("median ≤ 2× radio click, 95th percentile < 16 ms"));
        return;
    }
    const std::vector<double> program = numbers(values->value("next_us"));
    const std::vector<double> radio = numbers(values->value("radio_us"));
    const double pm = median(program) / 1000, pw = maximum(program) / 1000;
    const double rm = median(radio) / 1000, rw = maximum(radio) / 1000;
    const double p95 = percentile(program, 0.95) / 1000, r95 = percentile(radio, 0.95) / 1000;
    const QString levels = what.arg(3 * settings.nextRounds) + QStringLiteral(" (%1 clicks)").arg(program.size());
    rows << Row{levels + QStringLiteral(", median"),
                ms(pm),
                ms(rm) + QStringLiteral(" (a radio option clicked and painted, %1 clicks)").arg(radio.size()),
                QString::number(pm / rm, 'f', 2) + QStringLiteral("×"),
                QStringLiteral("≤ 2× floor"),
                yes(pm <= 2 * rm)};
    // One frame at 60 Hz: the slowest clicks a pupil could notice.
    rows << Row{levels + QStringLiteral(", 95th percentile"),
                ms(p95),
                ms(r95),
                signedMs(p95 - r95),
                QStringLiteral("< 16 ms"),
                yes(p95 < 16)};
    // The worst click follows the machine's own stalls, which the floor meets too.
    rows << Row{levels + QStringLiteral(", worst"),
                ms(pw),
                ms(rw),
                signedMs(pw - rw),
                QStringLiteral("reported"),
                QStringLiteral("—")};
    auto part = [&](const char *key) { return QString::number(median(numbers(values->value(key))) / 1000, 'f', 2); };
    notes << QStringLiteral("Next, medians in ms: the press repainting the button %1, the release running the "
                            "handler (scoring, reading and showing the next question) %2, painting what changed %3.")
                 .arg(part("press_us"), part("handler_us"), part("paint_us"));
}

// 3. One question file through the program's reader against read().
void measureRead(Runner &runner, const Settings &settings, QList<Row> &rows)
{
    const QString what = QStringLiteral("3. Loading one question file (readQuestionFile), median of %1 batches "
                                        "of the 72 shipped files")
                             .arg(settings.readBatches);
    const QString target = QStringLiteral("≤ 3× floor");
    progress(QStringLiteral("read: %1 batches").arg(settings.readBatches));
    const std::optional<Values> values = runner.run(
        runner.app(), {QStringLiteral("read"), settings.programDir, QString::number(settings.readBatches)}, 300000);
    if (!values) {
        rows << failed(what, target);
        return;
    }
    const double p = median(numbers(values->value("read_ns"))) / 1000;
    const double f = median(numbers(values->value("floor_ns"))) / 1000;
    rows << Row{what, us(p), us(f) + QStringLiteral(" (open, read(), close)"), times(p / f), target, yes(p <= 3 * f)};
}

// 4. CPU time while idle: the start screen, the bare pipelines, a level, and
// a level once the music has stopped, in rounds, each round taking every case
// once in turn, so that a figure and its floor share the same minutes of a
// machine whose speed wanders. Medians over the rounds.
void measureIdle(Runner &runner, const Settings &settings, QList<Row> &rows)
{
    const QString settle = QString::number(settings.settleSeconds);
    const QString span = QString::number(settings.idleSeconds);
    const int bound = int((settings.settleSeconds + settings.idleSeconds) * 1000) + 60000;
    struct Case {
        QString program;
        QStringList arguments;
        QString what;
        double target; // % of a core; 0 for the floor
        std::vector<double> percents;
    };
    QList<Case> cases = {
        {runner.gstFloor(), {runner.media(), settle, span}, QStringLiteral("bare pipelines"), 0, {}},
        {runner.app(),
         {QStringLiteral("idle-start"), settings.programDir, settle, span},
         QStringLiteral("4. Idle CPU on the start screen (music; video restarted every 1.5 s, painted)"),
         0,
         {}},
        {runner.app(),
         {QStringLiteral("idle-level"), settings.programDir, settle, span},
         QStringLiteral("4. Idle CPU in the middle of a level (music; video hidden, still reopened every 1.5 s)"),
         1.0,
         {}},
        {runner.app(),
         {QStringLiteral("idle-ended"), settings.programDir, settle, span},
         QStringLiteral("4. Idle CPU in a level once the music has stopped"),
         0.3,
         {}},
    };
    for (int round = 0; round < settings.idleRounds; ++round) {
        for (Case &c : cases) {
            progress(QStringLiteral("idle, round %1, %2: %3 s (load %4)")
                         .arg(round + 1)
                         .arg(c.what.left(40), span, loadAverage()));
            if (const std::optional<Values> values = runner.run(c.program, c.arguments, bound))
                c.percents.push_back(100 * values->value("cpu_s").toDouble() / values->value("wall_s").toDouble());
        }
    }
    auto spread = [](const std::vector<double> &values) {
        if (values.empty())
            return QString();
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        return QStringLiteral(" (%1–%2, %3 runs)").arg(*low, 0, 'f', 2).arg(*high, 0, 'f', 2).arg(values.size());
    };
    const Case &floor = cases[0];
    for (int k = 1; k < cases.size(); ++k) {
        const Case &c = cases[k];
        const QString what = c.what + QStringLiteral(", %1 s × %2").arg(span).arg(settings.idleRounds);
        const bool startScreen = c.target == 0;
        const QString target =
            startScreen ? QStringLiteral("≤ 1.25× floor") : QStringLiteral("< %1 % of one core").arg(c.target);
        if (c.percents.empty() || floor.percents.empty()) {
            rows << failed(what, target);
            continue;
        }
        const double p = median(c.percents), f = median(floor.percents);
        rows << Row{what,
                    percent(p) + spread(c.percents),
                    percent(f) + spread(floor.percents) + QStringLiteral(" bare playbins, same sinks, seek restart"),
                    times(p / f),
                    target,
                    yes(startScreen ? p <= 1.25 * f : p < c.target)};
    }
}

// 5. Peak resident memory of a whole session against the bare window plus the
// bare pipelines.
void measureMemory(Runner &runner, const Settings &settings, QList<Row> &rows, QStringList &notes)
{
    const QString what = QStringLiteral("5. Peak resident memory of the zorelad process in a session (start-up, a "
                                        "level, a certificate printed to a private CUPS PDF queue)");
    const QString target = QStringLiteral("≤ 60 MB");
    progress(QStringLiteral("memory: a whole session"));
    const std::optional<Values> warm = runner.run(runner.startup(), {settings.programDir}, 60000);
    const std::optional<Values> session =
        runner.run(runner.app(), {QStringLiteral("session"), settings.programDir}, 300000);
    if (!warm || !session) {
        rows << failed(what, target);
        return;
    }
    const std::optional<Values> qt = runner.run(runner.qtFloor(),
                                                {QStringLiteral("memory"), QString::fromLatin1(warm->value("width")),
                                                 QString::fromLatin1(warm->value("height"))},
                                                60000);
    const std::optional<Values> gst =
        runner.run(runner.gstFloor(), {runner.media(), QStringLiteral("1"), QStringLiteral("5")}, 60000);
    if (!qt || !gst) {
        rows << failed(what, target);
        return;
    }
    const double p = session->value("peak_rss_kb").toDouble();
    const double q = qt->value("peak_rss_kb").toDouble();
    const double g = gst->value("peak_rss_kb").toDouble();
    const double f = q + g;
    const QList<QByteArray> steps = session->value("steps_kb").split(',');
    if (steps.size() == 4) {
        auto at = [&](int i) { return mb(steps[i].split('/').value(0).toDouble()); };
        notes << QStringLiteral("Session memory of the zorelad process, resident: %1 with the main window shown, %2 "
                                "after the level, %3 after printing (peak %4 by then), %5 at the end.")
                     .arg(at(0), at(1), at(2), mb(steps[2].split('/').value(1).toDouble()), at(3));
    }
    rows << Row{what + (session->value("printed") == "1" ? QString() : QStringLiteral(" — nothing printed")),
                mb(p),
                mb(f) + QStringLiteral(" (Qt window %1 + pipelines %2)").arg(mb(q), mb(g)),
                times(p / f),
                target,
                yes(p <= 60 * 1024)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Settings settings;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i + 1 < args.size(); i += 2) {
        const QString &key = args[i], &value = args[i + 1];
        if (key == QLatin1String("--program-dir"))
            settings.programDir = value;
        else if (key == QLatin1String("--startup-runs"))
            settings.startupRuns = value.toInt();
        else if (key == QLatin1String("--next-rounds"))
            settings.nextRounds = value.toInt();
        else if (key == QLatin1String("--read-batches"))
            settings.readBatches = value.toInt();
        else if (key == QLatin1String("--idle-seconds"))
            settings.idleSeconds = value.toDouble();
        else if (key == QLatin1String("--idle-rounds"))
            settings.idleRounds = value.toInt();
        else if (key == QLatin1String("--only"))
            settings.only = value.split(QLatin1Char(','));
        else {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(key));
            return 2;
        }
    }
    if (args.size() % 2) {
        std::fprintf(
            stderr,
            "usage: zorelad-bench [--program-dir DIR] [--startup-runs N] [--next-rounds N] "
            "[--read-batches N] [--idle-seconds S] [--idle-rounds N] [--only startup,next,read,idle,memory]\n");
        return 2;
    }
    settings.programDir = QDir(settings.programDir).absolutePath();

    const QString loadBefore = loadAverage();
    const qint64 began = bench::monotonicNs();
    Runner runner(settings);
    QList<Row> rows;
    QStringList notes;
    if (settings.wants(QStringLiteral("startup")))
        measureStartup(runner, settings, rows, notes);
    if (settings.wants(QStringLiteral("next")))
        measureNext(runner, settings, rows, notes);
    if (settings.wants(QStringLiteral("read")))
        measureRead(runner, settings, rows);
    if (settings.wants(QStringLiteral("memory")))
        measureMemory(runner, settings, rows, notes);
    if (settings.wants(QStringLiteral("idle")))
        measureIdle(runner, settings, rows);

    std::printf("\nMachine: %d cores (nproc), %s, %s; load average %s at the start, %s at the end; "
                "%s; Qt %s, %s platform; run took %.0f s.\n\n",
                QThread::idealThreadCount(), qPrintable(cpuModel()), qPrintable(QSysInfo::prettyProductName()),
                qPrintable(loadBefore), qPrintable(loadAverage()),
                qPrintable(QDateTime::currentDateTime().toString(Qt::ISODate)), qVersion(),
                qEnvironmentVariableIsSet("DISPLAY") ? "X11 (xcb)" : "offscreen",
                double(bench::monotonicNs() - began) / 1e9);
    std::printf("| Measure | Program | Floor (same run) | Ratio | Target | Met |\n");
    std::printf("|---|---|---|---|---|---|\n");
    // In the order of their numbers, whatever order they were measured in.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row &a, const Row &b) { return a.what.left(2) < b.what.left(2); });
    for (const Row &row : rows)
        std::printf("| %s | %s | %s | %s | %s | %s |\n", qPrintable(row.what), qPrintable(row.program),
                    qPrintable(row.floor), qPrintable(row.ratio), qPrintable(row.target), qPrintable(row.met));
    for (const QString &note : notes)
        std::printf("\n%s\n", qPrintable(note));
    std::fflush(stdout);
    // A missed target is a result to read, not a failed run; a measurement
    // that could not be taken shows as "failed" in the table.
    return 0;
}
