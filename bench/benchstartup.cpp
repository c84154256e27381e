// The program's start-up as main() runs it, up to the first painted main
// window: the same libraries as the program, the system's own sound and
// picture outputs, the windows created by createWindows(). Only the
// deliberate start-up pause is skipped: its clock moves when slept on, so the
// pause ends at once.
//
// Usage: zorelad-bench-startup PROGRAM_DIR
// Prints "painted_ns=N width=W height=H" and the moments main() was
// entered, the media system started, the application object made and the
// windows created (CLOCK_MONOTONIC, ns).

#include "benchcommon.h"

#include "errorbox.h"
#include "mediasystem.h"
#include "startup.h"
#include "mainwindow.h"

#include <QDir>
#include <QFile>

#include <memory>
#include <unistd.h>

using namespace zorelad;

int main(int argc, char **argv)
{
    const qint64 mainNs = bench::monotonicNs();
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM_DIR\n", argv[0]);
        return 2;
    }
    StartupOptions options;
    auto now = std::make_shared<qint64>(1000);
    options.clock = {[now] { return *now; }, [now](qint64 ms) { *now += ms; }};
    options.programDir = QDir(QFile::decodeName(argv[1])).absolutePath() + QLatin1Char('/');

    initMedia(&argc, &argv);
    const qint64 mediaNs = bench::monotonicNs();
    bench::FirstPaintApplication app(argc, argv);
    QApplication::setApplicationName(applicationTitle());
    const qint64 applicationNs = bench::monotonicNs();

    Windows windows = createWindows(options);
    const qint64 windowsNs = bench::monotonicNs();
    TForm1 *form = windows.Form1.get();
    app.watch(form, [=] {
        const qint64 paintedNs = bench::monotonicNs();
        bench::report("painted_ns=" + QByteArray::number(paintedNs) + " width=" + QByteArray::number(form->width())
                      + " height=" + QByteArray::number(form->height()));
        bench::report("main_ns=" + QByteArray::number(mainNs) + " media_ns=" + QByteArray::number(mediaNs)
                      + " application_ns=" + QByteArray::number(applicationNs)
                      + " windows_ns=" + QByteArray::number(windowsNs));
        _exit(0); // the moment is taken; tearing down is not measured
    });
    form->show();
    return app.exec();
}
