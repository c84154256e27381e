// The Qt floor: a bare QMainWindow of the main window's size, started and
// painted exactly as the benchmark starts the program's windows.
//
// Usage: zorelad-bench-qtfloor startup|memory WIDTH HEIGHT [MEDIA_DIR]
//   startup  prints "painted_ns=N" once the window is painted, and the
//            moments main() was entered and the application object made
//            (CLOCK_MONOTONIC, ns)
// With MEDIA_DIR, the program's two media files are opened (each playbin
// ready to play, as the program's open waits for) and played before the
// window is made, as the program does: the floor of a start-up that must
// open them.
//   memory   prints "peak_rss_kb=N" half a second after the first paint

#include "benchcommon.h"

#include <QMainWindow>
#include <QTimer>

#include <gst/gst.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// A playbin on the file, ready and playing; pictures go to an appsink.
GstElement *play(const std::string &path, bool video)
{
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    gchar *uri = gst_filename_to_uri(path.c_str(), nullptr);
    g_object_set(playbin, "uri", uri, nullptr);
    g_free(uri);
    if (video) {
        GstElement *sink = gst_element_factory_make("appsink", nullptr);
        GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
        g_object_set(sink, "caps", caps, "sync", TRUE, "max-buffers", 1u, "drop", TRUE, nullptr);
        gst_caps_unref(caps);
        g_object_set(playbin, "video-sink", sink, nullptr);
    }
    gst_element_set_state(playbin, GST_STATE_PAUSED);
    gst_element_get_state(playbin, nullptr, nullptr, 5 * GST_SECOND);
    gst_element_set_state(playbin, GST_STATE_PLAYING);
    return playbin;
}

} // namespace

int main(int argc, char **argv)
{
    const qint64 mainNs = bench::monotonicNs();
    if ((argc != 4 && argc != 5) || (std::strcmp(argv[1], "startup") != 0 && std::strcmp(argv[1], "memory") != 0)) {
        std::fprintf(stderr, "usage: %s startup|memory WIDTH HEIGHT [MEDIA_DIR]\n", argv[0]);
        return 2;
    }
    if (argc == 5)
        gst_init(nullptr, nullptr);
    const bool startup = std::strcmp(argv[1], "startup") == 0;
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);

    bench::FirstPaintApplication app(argc, argv);
    const qint64 applicationNs = bench::monotonicNs();
    if (argc == 5) {
        play(std::string(argv[4]) + "/track1.mp3", false);
        play(std::string(argv[4]) + "/1.avi", true);
    }
    QMainWindow window;
    window.resize(width, height);
    app.watch(&window, [&] {
        if (startup) {
            bench::report("painted_ns=" + QByteArray::number(bench::monotonicNs()) + " main_ns="
                          + QByteArray::number(mainNs) + " application_ns=" + QByteArray::number(applicationNs));
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
