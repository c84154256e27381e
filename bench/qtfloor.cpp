// The Qt floor: a bare QMainWindow of the main window's size, started and
// painted exactly as the benchmark starts the program's windows.
//
// Usage: zorelad-bench-qtfloor startup|memory WIDTH HEIGHT
//   startup  prints "painted_ns=N" once the window is painted, and the
//            moments main() was entered and the application object made
//            (CLOCK_MONOTONIC, ns)
//   memory   prints "peak_rss_kb=N" half a second after the first paint

#include "benchcommon.h"

#include <QMainWindow>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

int main(int argc, char **argv)
{
    const qint64 mainNs = bench::monotonicNs();
    if (argc != 4 || (std::strcmp(argv[1], "startup") != 0 && std::strcmp(argv[1], "memory") != 0)) {
        std::fprintf(stderr, "usage: %s startup|memory WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const bool startup = std::strcmp(argv[1], "startup") == 0;
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);

    bench::FirstPaintApplication app(argc, argv);
    const qint64 applicationNs = bench::monotonicNs();
    QMainWindow window;
    window.resize(width, height);
    app.watch(&window, [&] {
        if (startup) {
            bench::report("painted_ns=" + QByteArray::number(bench::monotonicNs()) +
                          " main_ns=" + QByteArray::number(mainNs) +
                          " application_ns=" + QByteArray::number(applicationNs));
            _exit(0); // the moment is taken; tearing down is not measured
        }
        QTimer::singleShot(500, &app, [] {
            bench::report("peak_rss_kb=" + QByteArray::number(qint64(bench::peakRssKb())));
            QApplication::quit();
        });
    });
    window.show();
    return app.exec();
}
