// The media floor: the music and the intro video played by two bare playbin
// pipelines with the sinks the program uses (the system's audio output, and
// an appsink taking BGRx frames that are mapped and dropped unseen), the
// video started again from its beginning every 1.5 s the cheapest way a bare
// pipeline can: a flushing seek. No Qt, no windows.
//
// Usage: zorelad-bench-gstfloor MEDIA_DIR SETTLE_S MEASURE_S
// Plays for SETTLE_S + MEASURE_S seconds and prints
// "cpu_s=N wall_s=N peak_rss_kb=N", the CPU time of the last MEASURE_S.

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <time.h>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double wallSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

long maxRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

GstFlowReturn takeFrame(GstAppSink *sink, bool preroll)
{
    GstSample *sample = preroll ? gst_app_sink_pull_preroll(sink) : gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_OK;
    GstVideoInfo info;
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    if (buffer && gst_video_info_from_caps(&info, gst_sample_get_caps(sample))) {
        GstVideoFrame frame;
        if (gst_video_frame_map(&frame, &info, buffer, GST_MAP_READ))
            gst_video_frame_unmap(&frame);
    }
    gst_sample_unref(sample);
    return GST_FLOW_OK;
}

GstFlowReturn onPreroll(GstAppSink *sink, gpointer) { return takeFrame(sink, true); }
GstFlowReturn onSample(GstAppSink *sink, gpointer) { return takeFrame(sink, false); }

GstElement *frameSink()
{
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
    g_object_set(sink, "caps", caps, "sync", TRUE, "max-buffers", 1u, "drop", TRUE, "enable-last-sample", FALSE,
                 nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks = {};
    callbacks.new_preroll = &onPreroll;
    callbacks.new_sample = &onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, nullptr, nullptr);
    return sink;
}

GstElement *player(const std::string &file, bool video)
{
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    gchar *uri = gst_filename_to_uri(file.c_str(), nullptr);
    g_object_set(playbin, "uri", uri, nullptr);
    g_free(uri);
    // No subtitles, software volume or colour balance, as in the program.
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    flags &= ~guint((1 << 2) | (1 << 4) | (1 << 10));
    g_object_set(playbin, "flags", flags, nullptr);
    g_object_set(playbin, "audio-sink", gst_element_factory_make("autoaudiosink", nullptr), nullptr);
    if (video)
        g_object_set(playbin, "video-sink", frameSink(), nullptr);
    return playbin;
}

void startFromTheBeginning(GstElement *pipeline)
{
    gst_element_seek_simple(pipeline, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), 0);
}

void startPlaying(GstElement *pipeline)
{
    gst_element_set_state(pipeline, GST_STATE_PAUSED);
    gst_element_get_state(pipeline, nullptr, nullptr, 5 * GST_SECOND);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
}

struct Run {
    GstElement *video;
    GMainLoop *loop;
    double cpu0 = 0, wall0 = 0;
};

} // namespace

int main(int argc, char **argv)
{
    gst_init(&argc, &argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MEDIA_DIR SETTLE_S MEASURE_S\n", argv[0]);
        return 2;
    }
    const std::string media = argv[1];
    const double settle = std::atof(argv[2]);
    const double measure = std::atof(argv[3]);

    GstElement *music = player(media + "/track1.mp3", false);
    GstElement *video = player(media + "/1.avi", true);
    startPlaying(music);
    startPlaying(video);

    Run run{video, g_main_loop_new(nullptr, FALSE)};
    g_timeout_add(
        1500,
        [](gpointer data) -> gboolean {
            startFromTheBeginning(static_cast<Run *>(data)->video);
            return G_SOURCE_CONTINUE;
        },
        &run);
    g_timeout_add(
        guint(settle * 1000),
        [](gpointer data) -> gboolean {
            auto *r = static_cast<Run *>(data);
            r->cpu0 = cpuSeconds();
            r->wall0 = wallSeconds();
            return G_SOURCE_REMOVE;
        },
        &run);
    g_timeout_add(
        guint((settle + measure) * 1000),
        [](gpointer data) -> gboolean {
            g_main_loop_quit(static_cast<Run *>(data)->loop);
            return G_SOURCE_REMOVE;
        },
        &run);
    g_main_loop_run(run.loop);

    std::printf("cpu_s=%.3f wall_s=%.3f peak_rss_kb=%ld\n", cpuSeconds() - run.cpu0, wallSeconds() - run.wall0,
                maxRssKb());
    std::fflush(stdout);
    for (GstElement *pipeline : {music, video}) {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
    }
    g_main_loop_unref(run.loop);
    return 0;
}
