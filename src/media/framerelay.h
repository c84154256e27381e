#pragma once
// Carries decoded video frames from GStreamer's streaming thread to the UI
// thread. The newest frame replaces one not yet shown, and at most one
// delivery is queued at a time, so a busy or blocked UI thread never builds
// up a backlog of frames.

#include <QImage>
#include <QObject>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <functional>
#include <mutex>

namespace zorelad {

// The sample's picture as a QImage that keeps the buffer mapped for as long
// as the image (or a copy of it) lives. Null unless the sample holds BGRx.
QImage frameFromSample(GstSample *sample);

class FrameRelay {
public:
    using Deliver = std::function<void(const QImage &)>;

    // Deliveries run on `context`'s thread and end with it.
    FrameRelay(QObject *context, Deliver deliver);
    FrameRelay(const FrameRelay &) = delete;
    FrameRelay &operator=(const FrameRelay &) = delete;

    // A new appsink (floating) that feeds this relay.
    GstElement *createSink();
    // Cuts a sink made by createSink() off from this relay.
    static void detach(GstElement *sink);

private:
    static GstFlowReturn onPreroll(GstAppSink *sink, gpointer self);
    static GstFlowReturn onSample(GstAppSink *sink, gpointer self);
    void accept(GstSample *sample);
    void deliver();

    QObject *m_context;
    Deliver m_deliver;
    std::mutex m_mutex;
    QImage m_latest;
    bool m_pending = false;
};

} // namespace zorelad
