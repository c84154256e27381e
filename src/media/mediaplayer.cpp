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

#include <sys/stat.h>

namespace zorelad {

namespace {

// playbin's flags, as GStreamer's playback tutorials spell them out.
enum PlayFlags : guint {
    PlayText = 1 << 2,
    PlaySoftVolume = 1 << 4,
    PlaySoftColorBalance = 1 << 10,
};

// How long open() waits for a file to be ready to play.
constexpr std::chrono::milliseconds OpenBound{5000};
// How long it waits for the reason of a state change that failed at once.
constexpr std::chrono::milliseconds ReasonBound{1000};

// What tells a file from another one, or from itself after a change: the
// file it names, its size, and when its contents or its entry last changed.
struct FileIdentity {
    bool known = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};
};

FileIdentity identityOf(const QString &fileName)
{
    struct stat info {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool sameFile(const FileIdentity &a, const FileIdentity &b)
{
    auto same = [](const timespec &x, const timespec &y) { return x.tv_sec == y.tv_sec && x.tv_nsec == y.tv_nsec; };
    return a.known && b.known && a.device == b.device && a.inode == b.inode && a.size == b.size &&
           same(a.modified, b.modified) && same(a.changed, b.changed);
}

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
    if (description.isEmpty()) {
        if (GstElement *sink = gst_element_factory_make(fallback, nullptr))
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

// Sound to the audio sink, pictures to the relay unless a sink is given
// (then the answer is null, else the relay's sink); no subtitles, no volume
// or colour controls, which the player never uses.
GstElement *attachSinks(GstElement *playbin, const MediaSinks &sinks, FrameRelay &relay)
{
    guint flags = 0;
    g_object_get(playbin, "flags", &flags, nullptr);
    flags &= ~guint(PlayText | PlaySoftVolume | PlaySoftColorBalance);
    g_object_set(playbin, "flags", flags, nullptr);

    g_object_set(playbin, "audio-sink", makeSink(sinks.audioSink, "autoaudiosink"), nullptr);
    if (!sinks.videoSink.isEmpty()) {
        g_object_set(playbin, "video-sink", makeSink(sinks.videoSink, "fakesink"), nullptr);
        return nullptr;
    }
    GstElement *frameSink = relay.createSink();
    if (!frameSink)
        throw Failure(orUnknown({}));
    g_object_set(playbin, "video-sink", frameSink, nullptr);
    return frameSink;
}

} // namespace

struct MediaPlayer::Private {
    MediaSinks sinks;
    QString fileName;
    QPointer<VideoDisplay> display;
    bool open = false;
    QString openName; // the file the open device plays
    FileIdentity openFile;

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
    if (restartedInPlace()) {
        emit opened();
        return;
    }
    closeDevice();
    createPipeline();
    const FileIdentity file = identityOf(d->fileName);
    setSource();
    preroll();
    d->open = true;
    d->openName = d->fileName;
    d->openFile = file;
    emit opened();
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

qint64 MediaPlayer::positionMs() const
{
    gint64 position = 0;
    if (!d->open || !gst_element_query_position(d->pipeline, GST_FORMAT_TIME, &position))
        return 0;
    return position / GST_MSECOND;
}

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
    GstElement *playbin = gst_element_factory_make("playbin", nullptr);
    if (!playbin)
        throw Failure(orUnknown({}));
    gst_object_ref_sink(playbin);
    try {
        d->frameSink = attachSinks(playbin, d->sinks, *d->relay);
    } catch (...) {
        gst_object_unref(playbin);
        throw;
    }
    d->pipeline = playbin;
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

// Opening again the file that is open, unchanged and playing without error,
// takes it back to its beginning where it stands: paused there with the first
// picture shown, as a fresh open leaves it, without taking the pipeline down
// to READY and building its decoders anew. The replay timer does this every
// 1.5 s. Anything else, or a step that does not go through, opens afresh.
bool MediaPlayer::restartedInPlace()
{
    if (!d->open || d->fileName != d->openName || d->watch->failed() ||
        !sameFile(identityOf(d->fileName), d->openFile))
        return false;
    if (gst_element_set_state(d->pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
        gst_element_get_state(d->pipeline, nullptr, nullptr, OpenBound.count() * GST_MSECOND) !=
            GST_STATE_CHANGE_SUCCESS)
        return false;
    d->watch->arm();
    if (!gst_element_seek_simple(d->pipeline, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0))
        return false;
    return d->watch->wait(OpenBound) == PrerollWatch::Outcome::Done && reachedPause();
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
