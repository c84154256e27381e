#include "framerelay.h"

#include <gst/video/video.h>

namespace zorelad {

namespace {

void unmapFrame(void *info)
{
    auto *frame = static_cast<GstVideoFrame *>(info);
    gst_video_frame_unmap(frame);
    delete frame;
}

} // namespace

QImage frameFromSample(GstSample *sample)
{
    GstVideoInfo info;
    GstCaps *caps = gst_sample_get_caps(sample);
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    if (!caps || !buffer || !gst_video_info_from_caps(&info, caps)
        || GST_VIDEO_INFO_FORMAT(&info) != GST_VIDEO_FORMAT_BGRx)
        return {};

    // The frame holds its own reference to the buffer until unmapped.
    auto *frame = new GstVideoFrame;
    if (!gst_video_frame_map(frame, &info, buffer, GST_MAP_READ)) {
        delete frame;
        return {};
    }
    // BGRx in memory is 0xffRRGGBB in a little-endian word: Qt's RGB32.
    return QImage(static_cast<const uchar *>(GST_VIDEO_FRAME_PLANE_DATA(frame, 0)), GST_VIDEO_FRAME_WIDTH(frame),
                  GST_VIDEO_FRAME_HEIGHT(frame), GST_VIDEO_FRAME_PLANE_STRIDE(frame, 0), QImage::Format_RGB32,
                  &unmapFrame, frame);
}

FrameRelay::FrameRelay(QObject *context, Deliver deliver) : m_context(context), m_deliver(std::move(deliver)) {}

GstElement *FrameRelay::createSink()
{
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    if (!sink)
        return nullptr;
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
    g_object_set(sink, "caps", caps, "sync", TRUE, "max-buffers", 1u, "drop", TRUE, "enable-last-sample", FALSE,
                 nullptr);
    gst_caps_unref(caps);

    GstAppSinkCallbacks callbacks = {};
    callbacks.new_preroll = &FrameRelay::onPreroll;
    callbacks.new_sample = &FrameRelay::onSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, this, nullptr);
    return sink;
}

void FrameRelay::detach(GstElement *sink)
{
    GstAppSinkCallbacks none = {};
    gst_app_sink_set_callbacks(GST_APP_SINK(sink), &none, nullptr, nullptr);
}

GstFlowReturn FrameRelay::onPreroll(GstAppSink *sink, gpointer self)
{
    if (GstSample *sample = gst_app_sink_pull_preroll(sink)) {
        static_cast<FrameRelay *>(self)->accept(sample);
        gst_sample_unref(sample);
    }
    return GST_FLOW_OK;
}

GstFlowReturn FrameRelay::onSample(GstAppSink *sink, gpointer self)
{
    if (GstSample *sample = gst_app_sink_pull_sample(sink)) {
        static_cast<FrameRelay *>(self)->accept(sample);
        gst_sample_unref(sample);
    }
    return GST_FLOW_OK;
}

void FrameRelay::accept(GstSample *sample)
{
    QImage frame = frameFromSample(sample);
    if (frame.isNull())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_latest = std::move(frame);
    if (m_pending)
        return;
    m_pending = true;
    QMetaObject::invokeMethod(
        m_context, [this] { deliver(); }, Qt::QueuedConnection);
}

void FrameRelay::deliver()
{
    QImage frame;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        frame = std::move(m_latest);
        m_latest = QImage();
        m_pending = false;
    }
    if (!frame.isNull())
        m_deliver(frame);
}

} // namespace zorelad
