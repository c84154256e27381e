#include "mediaplayer.h"

#include "failure.h"
#include "mediafailure.h"
#include "mediasinks.h"
#include "framerelay.h"
#include "mediasystem.h"
#include "prerollwatch.h"
#include "stateworker.h"
#include "videodisplay.h"

#include <QFile>
#include <QPointer>

#include <gst/gst.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>

#include <sys/stat.h>

namespace zorelad {

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

namespace {

// How long open() waits for a file to be ready to play.
constexpr std::chrono::milliseconds OpenBound{5000};
// How long it waits for the reason of a state change that failed at once.
constexpr std::chrono::milliseconds ReasonBound{1000};
// A file that failed to open is not opened again, unchanged, before this
// many times as long as the failure took has passed: the replay timer then
// spends at most a tenth of the time on a file that is slow to fail.
constexpr int RetryFactor = 10;

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
    return a.known && b.known && a.device == b.device && a.inode == b.inode && a.size == b.size
        && same(a.modified, b.modified) && same(a.changed, b.changed);
}

// Anything but a regular file (or a link to one) in the file's place: a
// named pipe or a device would hold the file source's open, or its reads,
// for as long as nobody writes to it. A missing file or a directory is left
// to the media system, which says so in its own words.
bool notAPlainFile(const QString &fileName)
{
    struct stat info {};
    if (::stat(QFile::encodeName(fileName).constData(), &info) != 0)
        return false;
    return !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

QString unreadableText()
{
    gchar *text = gst_error_get_message(GST_RESOURCE_ERROR, GST_RESOURCE_ERROR_OPEN_READ);
    const QString result = QString::fromUtf8(text);
    g_free(text);
    return result;
}

void unrefObject(GstElement *element)
{
    if (element)
        gst_object_unref(element);
}

using PipelinePtr = std::unique_ptr<GstElement, decltype(&unrefObject)>;

} // namespace

struct MediaPlayer::Private {
    MediaSinks m_sinks;
    QString m_fileName;
    QPointer<VideoDisplay> m_display;
    bool m_open = false;
    QString m_openName; // the file the open device plays
    FileIdentity m_openFile;
    // The last file that failed to open, as it was then, why, and until when
    // an open of it, unchanged, gives the same answer at once instead of
    // going through the media system again: a file that takes long to fail
    // is not tried again at every replay.
    QString m_failedName;
    FileIdentity m_failedFile;
    QString m_failure;
    std::chrono::steady_clock::time_point m_retryAfter;

    PipelinePtr m_pipeline{nullptr, &unrefObject};
    GstElement *m_frameSink = nullptr; // our appsink, when we made it
    StateWorker m_worker;
    std::optional<StateChange> m_change; // the last change asked of the worker
    std::unique_ptr<PrerollWatch> m_watch;
    std::unique_ptr<FrameRelay> m_relay;
    // What prepare() started: the file as it was then, and when the open's
    // bound runs out.
    QString m_preparedName;
    FileIdentity m_preparedFile;
    std::chrono::steady_clock::time_point m_deadline;
    // Whether the pipeline has a real sound output: from the start, or once
    // a file with a sound track came to a player that leaves it out.
    bool m_withSound = true;
};

MediaPlayer::MediaPlayer(QObject *parent, MediaSinks sinks) : QObject(parent), d(new Private)
{
    initMedia();
    d->m_sinks = std::move(sinks);
    d->m_withSound = !d->m_sinks.soundOnlyWithTrack;
    d->m_relay = std::make_unique<FrameRelay>(this, [this](const QImage &frame) {
        if (d->m_display)
            d->m_display->showFrame(frame);
    });
}

MediaPlayer::~MediaPlayer() { dropPipeline(false); }

void MediaPlayer::setFileName(const QString &fileName) { d->m_fileName = fileName; }
QString MediaPlayer::fileName() const { return d->m_fileName; }

void MediaPlayer::open()
{
    if (restartedInPlace()) {
        emit opened();
        return;
    }
    closeDevice();
    const FileIdentity file = identityOf(d->m_fileName);
    const bool prepared = takePrepared(file);
    const auto started = std::chrono::steady_clock::now();
    if (d->m_fileName == d->m_failedName && sameFile(file, d->m_failedFile) && started < d->m_retryAfter)
        throw Failure(d->m_failure);
    try {
        if (!prepared) {
            if (notAPlainFile(d->m_fileName))
                throw Failure(orUnknown(unreadableText()));
            createPipeline();
            setSource();
            startPreroll();
        }
        preroll();
        if (!d->m_withSound && audioStreams() > 0) {
            // The file has sound: a pipeline with the sound output from now on.
            dropPipeline(false);
            d->m_withSound = true;
            createPipeline();
            setSource();
            startPreroll();
            preroll();
        }
    } catch (const Failure &failure) {
        d->m_failedName = d->m_fileName;
        d->m_failedFile = file;
        d->m_failure = failure.text();
        d->m_retryAfter = std::chrono::steady_clock::now() + RetryFactor * (std::chrono::steady_clock::now() - started);
        throw;
    }
    d->m_failedName.clear();
    rememberAudioOutput(d->m_pipeline.get());
    d->m_open = true;
    d->m_openName = d->m_fileName;
    d->m_openFile = file;
    emit opened();
}

void MediaPlayer::prepare()
{
    if (d->m_open || !d->m_preparedName.isEmpty() || notAPlainFile(d->m_fileName))
        return;
    const FileIdentity file = identityOf(d->m_fileName);
    try {
        createPipeline();
        setSource();
    } catch (const Failure &) {
        dropPipeline(false);
        return; // the open tries again and reports it
    }
    startPreroll();
    d->m_preparedName = d->m_fileName;
    d->m_preparedFile = file;
}

// Whether an open of the named file, as it is now, can take up the prepared
// pipeline. One prepared for another file, or for this one before it
// changed, is given up.
bool MediaPlayer::takePrepared(const FileIdentity &file)
{
    if (d->m_preparedName.isEmpty())
        return false;
    const bool same = d->m_fileName == d->m_preparedName && sameFile(file, d->m_preparedFile);
    d->m_preparedName.clear();
    if (!same)
        dropPipeline(true);
    return same;
}

void MediaPlayer::play()
{
    requireDevice();
    gst_element_set_state(d->m_pipeline.get(), GST_STATE_PLAYING);
}

void MediaPlayer::stop()
{
    requireDevice();
    gst_element_set_state(d->m_pipeline.get(), GST_STATE_PAUSED);
}

void MediaPlayer::setDisplay(VideoDisplay *display) { d->m_display = display; }
VideoDisplay *MediaPlayer::display() const { return d->m_display; }
bool MediaPlayer::isOpen() const { return d->m_open; }

bool MediaPlayer::hasAudio() const { return d->m_open && audioStreams() > 0; }

int MediaPlayer::audioStreams() const
{
    gint streams = 0;
    g_object_get(d->m_pipeline.get(), "n-audio", &streams, nullptr);
    return streams;
}

qint64 MediaPlayer::positionMs() const
{
    gint64 position = 0;
    if (!d->m_open || !gst_element_query_position(d->m_pipeline.get(), GST_FORMAT_TIME, &position))
        return 0;
    return position / GST_MSECOND;
}

void MediaPlayer::requireDevice() const
{
    if (!d->m_open)
        throw Failure(QStringLiteral("No MCI device open"));
}

// The pipeline is kept from one open to the next; READY releases the file
// and its decoders but keeps the sinks, which makes a reopen cheap.
void MediaPlayer::closeDevice()
{
    if (!d->m_open)
        return;
    d->m_open = false;
    gst_element_set_state(d->m_pipeline.get(), GST_STATE_READY);
}

void MediaPlayer::createPipeline()
{
    if (d->m_pipeline)
        return;
    PipelinePtr playbin(gst_element_factory_make("playbin", nullptr), &unrefObject);
    if (!playbin || StateWorker::retired() >= StateWorker::MaxRetired)
        throw Failure(orUnknown({}));
    gst_object_ref_sink(playbin.get());
    d->m_frameSink = attachSinks(playbin.get(), d->m_sinks, d->m_withSound, *d->m_relay);
    d->m_pipeline = std::move(playbin);
    d->m_watch = std::make_unique<PrerollWatch>(d->m_pipeline.get());
}

// Takes the pipeline down and lets it go. One that may be stuck (a state
// change still running, or streaming threads that did not answer in time)
// is left to the worker to take down, and the worker's thread is retired
// with it: the next open builds a new pipeline with a thread of its own.
void MediaPlayer::dropPipeline(bool mayBeStuck)
{
    if (!d->m_pipeline)
        return;
    // A state change still running on its thread must not be raced.
    mayBeStuck = mayBeStuck || (d->m_change && d->m_change->running());
    if (d->m_frameSink)
        FrameRelay::detach(d->m_frameSink);
    d->m_watch.reset();
    if (mayBeStuck) {
        if (d->m_change)
            d->m_change->abandon();
        d->m_worker.change(d->m_pipeline.get(), GST_STATE_NULL);
        d->m_worker.retire();
    } else {
        // NULL stops the streaming threads, so no frame or message comes after.
        gst_element_set_state(d->m_pipeline.get(), GST_STATE_NULL);
    }
    d->m_change.reset();
    d->m_frameSink = nullptr;
    d->m_pipeline.reset();
}

void MediaPlayer::setSource()
{
    GError *error = nullptr;
    gchar *uri = gst_filename_to_uri(QFile::encodeName(d->m_fileName).constData(), &error);
    if (!uri)
        failWith(error);
    g_object_set(d->m_pipeline.get(), "uri", uri, nullptr);
    g_free(uri);
}

// Opening again the file that is open, unchanged and playing without error,
// takes it back to its beginning where it stands: paused there with the first
// picture shown, as a fresh open leaves it, without taking the pipeline down
// to READY and building its decoders anew. The replay timer does this every
// 1.5 s. Anything else, or a step that does not go through, opens afresh.
bool MediaPlayer::restartedInPlace()
{
    if (!d->m_open || d->m_fileName != d->m_openName || d->m_watch->failed()
        || !sameFile(identityOf(d->m_fileName), d->m_openFile))
        return false;
    GstElement *pipeline = d->m_pipeline.get();
    if (gst_element_set_state(pipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE
        || gst_element_get_state(pipeline, nullptr, nullptr, OpenBound.count() * GST_MSECOND)
            != GST_STATE_CHANGE_SUCCESS)
        return false;
    d->m_watch->arm();
    if (!gst_element_seek_simple(pipeline, GST_FORMAT_TIME, GST_SEEK_FLAG_FLUSH, 0))
        return false;
    return d->m_watch->wait(OpenBound) == PrerollWatch::Outcome::Done && reachedPause();
}

// Opening proper: PAUSED makes the pipeline read the file, pick decoders and
// wait with the first picture. The change runs on the worker's thread (the
// file source opens the file there), so that the whole of it is bounded.
void MediaPlayer::startPreroll()
{
    d->m_deadline = std::chrono::steady_clock::now() + OpenBound;
    d->m_watch->arm();
    d->m_change = d->m_worker.change(d->m_pipeline.get(), GST_STATE_PAUSED);
}

// Waits for the open started by startPreroll(). A failed open leaves no
// device: the pipeline goes back to NULL, or is given up when it did not
// answer in time.
void MediaPlayer::preroll()
{
    const Preroll outcome = prerolled();
    if (outcome == Preroll::Ready)
        return;
    const QString text = d->m_watch->errorText();
    if (outcome == Preroll::Stuck)
        dropPipeline(true);
    else
        gst_element_set_state(d->m_pipeline.get(), GST_STATE_NULL);
    throw Failure(orUnknown(text));
}

// Ready on the pipeline's ASYNC_DONE, or failed on the first error.
MediaPlayer::Preroll MediaPlayer::prerolled()
{
    using namespace std::chrono;
    const auto deadline = d->m_deadline;
    GstStateChangeReturn result = GST_STATE_CHANGE_FAILURE;
    if (!d->m_change->wait(deadline, &result))
        return Preroll::Stuck;
    switch (result) {
    case GST_STATE_CHANGE_FAILURE:
        d->m_watch->wait(ReasonBound, true); // for the error's text
        return Preroll::Failed;
    case GST_STATE_CHANGE_ASYNC: {
        const auto left = std::max(duration_cast<milliseconds>(deadline - steady_clock::now()), milliseconds(0));
        switch (d->m_watch->wait(left)) {
        case PrerollWatch::Outcome::Done:
            break;
        case PrerollWatch::Outcome::Failed:
            return Preroll::Failed;
        case PrerollWatch::Outcome::TimedOut:
            return Preroll::Stuck;
        }
        break;
    }
    default:
        break;
    }
    return reachedPause() ? Preroll::Ready : Preroll::Failed;
}

bool MediaPlayer::reachedPause() const
{
    GstState state = GST_STATE_VOID_PENDING;
    gst_element_get_state(d->m_pipeline.get(), &state, nullptr, 0);
    return state == GST_STATE_PAUSED;
}

} // namespace zorelad
