#include "mediaplayer.h"

#include "failure.h"
#include "framerelay.h"
#include "mediasystem.h"
#include "prerollwatch.h"
#include "videodisplay.h"

#include <QFile>
#include <QPointer>

#include <gst/gst.h>

#include <chrono>

namespace zorelad {

namespace {

// How long open() waits for a file to be ready to play.
constexpr std::chrono::milliseconds OpenBound{5000};
// How long it waits for the reason of a state change that failed at once.
constexpr std::chrono::milliseconds ReasonBound{1000};

QString orUnknown(const QString &text)
{
    return text.isEmpty() ? QStringLiteral("Unknown error code") : text;
}

[[noreturn]] void failWith(GError *error)
{
    const QString text = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    throw Failure(orUnknown(text));
}

// A sink from a launch description, or the named default when it is empty.
GstElement *makeSink(const QString &description, const char *fallback)
{
    if (description.isEmpty())
        return gst_element_factory_make(fallback, nullptr);
    GError *error = nullptr;
    GstElement *sink = gst_parse_bin_from_description(description.toUtf8().constData(), TRUE, &error);
    if (error) {
        if (sink)
            gst_object_unref(sink);
        failWith(error);
    }
    return sink;
}

} // namespace

struct MediaPlayer::Private {
    MediaSinks sinks;
    QString fileName;
    QPointer<VideoDisplay> display;
    bool open = false;

    GstElement *pipeline = nullptr;
    GstElement *frameSink = nullptr; // our appsink, when we made it
    std::unique_ptr<PrerollWatch> watch;
    std::unique_ptr<FrameRelay> relay;
};

MediaPlayer::MediaPlayer(QObject *parent, MediaSinks sinks) : QObject(parent), d(new Private)
{
    initMedia();
    d->sinks = std::move(sinks);
    d->relay = std::make_unique<FrameRelay>(this, [this](const QImage &frame) {
        if (d->display)
            d->display->showFrame(frame);
    });
}

MediaPlayer::~MediaPlayer()
{
    if (!d->pipeline)
        return;
    // NULL stops the streaming threads, so no frame or message comes after.
    gst_element_set_state(d->pipeline, GST_STATE_NULL);
    if (d->frameSink)
        FrameRelay::detach(d->frameSink);
    d->watch.reset();
    gst_object_unref(d->pipeline);
}

void MediaPlayer::setFileName(const QString &fileName) { d->fileName = fileName; }
QString MediaPlayer::fileName() const { return d->fileName; }

void MediaPlayer::open()
{
    closeDevice();
    createPipeline();
    setSource();
    preroll();
    d->open = true;
}

void MediaPlayer::play()
{
    requireDevice();
    gst_element_set_state(d->pipeline, GST_STATE_PLAYING);
}

void MediaPlayer::stop()
{
    requireDevice();
    gst_element_set_state(d->pipeline, GST_STATE_PAUSED);
}

void MediaPlayer::setDisplay(VideoDisplay *display) { d->display = display; }
VideoDisplay *MediaPlayer::display() const { return d->display; }
bool MediaPlayer::isOpen() const { return d->open; }

void MediaPlayer::requireDevice() const
{
    if (!d->open)
        throw Failure(QStringLiteral("No MCI device open"));
}

// The pipeline is kept from one open to the next; READY releases the file
// and its decoders but keeps the sinks, which makes a reopen cheap.
void MediaPlayer::closeDevice()
{
    if (!d->open)
        return;
    d->open = false;
    gst_element_set_state(d->pipeline, GST_STATE_READY);
}

void MediaPlayer::createPipeline()
{
    if (d->pipeline)
        return;
    GstElement *audio = makeSink(d->sinks.audioSink, "autoaudiosink");
    GstElement *video = nullptr;
    try {
        video = d->sinks.videoSink.isEmpty() ? d->relay->createSink()
                                             : makeSink(d->sinks.videoSink, "fakesink");
    } catch (...) {
        gst_object_unref(audio);
        throw;
    }
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin || !audio || !video) {
        for (GstElement *element : {playbin, audio, video})
            if (element)
                gst_object_unref(element);
        throw Failure(orUnknown({}));
    }
    g_object_set(playbin, "audio-sink", audio, "video-sink", video, nullptr);
    d->frameSink = d->sinks.videoSink.isEmpty() ? video : nullptr;
    d->pipeline = GST_ELEMENT(gst_object_ref_sink(playbin));
    d->watch = std::make_unique<PrerollWatch>(d->pipeline);
}

void MediaPlayer::setSource()
{
    GError *error = nullptr;
    gchar *uri = gst_filename_to_uri(QFile::encodeName(d->fileName).constData(), &error);
    if (!uri)
        failWith(error);
    g_object_set(d->pipeline, "uri", uri, nullptr);
    g_free(uri);
}

// A failed open leaves no device: the pipeline goes back to NULL.
void MediaPlayer::preroll()
{
    if (prerolled())
        return;
    gst_element_set_state(d->pipeline, GST_STATE_NULL);
    throw Failure(orUnknown(d->watch->errorText()));
}

// Opening proper: PAUSED makes the pipeline read the file, pick decoders and
// wait with the first picture. It is ready on the pipeline's ASYNC_DONE, or
// failed on the first error.
bool MediaPlayer::prerolled()
{
    d->watch->arm();
    switch (gst_element_set_state(d->pipeline, GST_STATE_PAUSED)) {
    case GST_STATE_CHANGE_FAILURE:
        d->watch->wait(ReasonBound, true); // for the error's text
        return false;
    case GST_STATE_CHANGE_ASYNC:
        if (d->watch->wait(OpenBound) != PrerollWatch::Outcome::Done)
            return false;
        break;
    default:
        break;
    }
    return reachedPause();
}

bool MediaPlayer::reachedPause() const
{
    GstState state = GST_STATE_VOID_PENDING;
    gst_element_get_state(d->pipeline, &state, nullptr, 0);
    return state == GST_STATE_PAUSED;
}

} // namespace zorelad
