#include "mediasinks.h"

#include "framebounds.h"
#include "framerelay.h"
#include "mediafailure.h"

#include <string>

namespace zorelad {

namespace {

// playbin's flags, as GStreamer's playback tutorials spell them out.
enum PlayFlags : guint {
    PlayText = 1 << 2,
    PlaySoftVolume = 1 << 4,
    PlayNativeVideo = 1 << 6,
    PlaySoftColorBalance = 1 << 10,
};

// The sound output the system's automatic choice settled on, once a player
// has opened a file: later players take it directly instead of probing every
// sound system again. Empty until then.
std::string &chosenAudioOutput()
{
    static std::string factory;
    return factory;
}

GstElement *defaultAudioSink()
{
    const std::string &chosen = chosenAudioOutput();
    if (!chosen.empty()) {
        if (GstElement *sink = gst_element_factory_make(chosen.c_str(), nullptr)) {
            // With no sound system the choice is a sink that keeps real time.
            if (chosen == "fakesink")
                g_object_set(sink, "sync", TRUE, nullptr);
            return sink;
        }
    }
    return gst_element_factory_make("autoaudiosink", nullptr);
}

// A sink from a launch description, or the named default when it is empty.
GstElement *makeSink(const QString &description, const char *fallback)
{
    if (description.isEmpty()) {
        if (GstElement *sink = g_strcmp0(fallback, "autoaudiosink") == 0 ? defaultAudioSink()
                                                                         : gst_element_factory_make(fallback, nullptr))
            return sink;
        throw Failure(orUnknown({}));
    }
    GError *error = nullptr;
    GstElement *sink = gst_parse_bin_from_description(description.toUtf8().constData(), TRUE, &error);
    if (error) {
        if (sink)
            gst_object_unref(gst_object_ref_sink(sink));
        failWith(error);
    }
    return sink;
}

// How much sound a decoder gathers before passing it on. Each buffer costs
// the decoder's, the queue's and the output's threads a wake-up and a round
// of bookkeeping whatever its size; one MP3 frame is 26 ms, so gathered a
// fifth of a second's worth they pass eight times fewer. Nothing is heard
// later: decoding runs ahead of playing.
constexpr GstClockTime SoundGathered = 200 * GST_MSECOND;

void watchDecoder(GstElement *, GstElement *element, gpointer)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    if (!factory || !gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_DECODER))
        return;
    if (gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO)
        && g_object_class_find_property(G_OBJECT_GET_CLASS(element), "min-latency"))
        g_object_set(element, "min-latency", gint64(SoundGathered), nullptr);
    refuseLargePictures(element);
}

// Stands in for the sound output of a player that has not met a sound
// track yet; it never opens a sound system.
constexpr char NoSoundName[] = "no-sound";

GstElement *noSoundSink()
{
    GstElement *sink = gst_element_factory_make("fakesink", NoSoundName);
    if (!sink)
        throw Failure(orUnknown({}));
    return sink;
}

} // namespace

void rememberAudioOutput(GstElement *pipeline)
{
    if (!chosenAudioOutput().empty())
        return;
    GstElement *sink = nullptr;
    g_object_get(pipeline, "audio-sink", &sink, nullptr);
    if (!sink)
        return;
    GstElementFactory *factory = gst_element_get_factory(sink);
    if (factory && g_strcmp0(GST_OBJECT_NAME(factory), "autoaudiosink") == 0 && GST_IS_BIN(sink)) {
        // Its one child is the output it chose.
        GST_OBJECT_LOCK(sink);
        if (GList *children = GST_BIN_CHILDREN(GST_BIN(sink)))
            if (GstElementFactory *chosen = gst_element_get_factory(GST_ELEMENT(children->data)))
                chosenAudioOutput() = GST_OBJECT_NAME(chosen);
        GST_OBJECT_UNLOCK(sink);
    }
    gst_object_unref(sink);
}

GstElement *attachSinks(GstElement *playbin, const MediaSinks &sinks, bool withSound, FrameRelay &relay)
{
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    flags &= ~guint(PlayText | PlaySoftVolume | PlaySoftColorBalance);
    flags |= PlayNativeVideo;
    g_object_set(playbin, "flags", flags, nullptr);
    g_signal_connect(playbin, "element-setup", G_CALLBACK(&watchDecoder), nullptr);

    g_object_set(playbin, "audio-sink", withSound ? makeSink(sinks.audioSink, "autoaudiosink") : noSoundSink(),
                 nullptr);
    if (!sinks.videoSink.isEmpty()) {
        g_object_set(playbin, "video-sink", sizeLimited(makeSink(sinks.videoSink, "fakesink")), nullptr);
        return nullptr;
    }
    GstElement *frameSink = relay.createSink();
    if (!frameSink)
        throw Failure(orUnknown({}));
    g_object_set(playbin, "video-sink", sizeLimited(frameSink), nullptr);
    return frameSink;
}

} // namespace zorelad
