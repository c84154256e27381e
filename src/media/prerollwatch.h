#pragma once
// Watches a pipeline's bus from the thread that posts each message. It
// remembers the first error and whether the pipeline itself finished its
// asynchronous state change, so that open() can wait for the one or the
// other. Nobody else reads this bus: every message is dropped here, which
// keeps the bus queue from growing for the life of the pipeline.

#include <QString>

#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace zorelad {

class PrerollWatch {
public:
    enum class Outcome { Done, Failed, TimedOut };

    explicit PrerollWatch(GstElement *pipeline);
    ~PrerollWatch();
    PrerollWatch(const PrerollWatch &) = delete;
    PrerollWatch &operator=(const PrerollWatch &) = delete;

    // Forgets what was seen so far; call once the pipeline's streaming
    // threads are stopped and before starting the change to wait for.
    void arm();
    // Waits up to `bound` for an error, or also for the pipeline's
    // ASYNC_DONE unless `errorOnly`.
    Outcome wait(std::chrono::milliseconds bound, bool errorOnly = false);
    // The first error's text since arm(); empty when there was none or it
    // had no text.
    QString errorText() const;
    // Whether an error has come since arm(), also after the wait.
    bool failed() const;

private:
    static GstBusSyncReply onMessage(GstBus *bus, GstMessage *message, gpointer self);
    void noteError(GstMessage *message);
    void noteAsyncDone(GstMessage *message);

    GstElement *m_pipeline;
    GstBus *m_bus;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_failed = false;
    bool m_done = false;
    QString m_error;
};

} // namespace zorelad
