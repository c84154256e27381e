#include "prerollwatch.h"

namespace zorelad {

PrerollWatch::PrerollWatch(GstElement *pipeline) : m_pipeline(pipeline), m_bus(gst_element_get_bus(pipeline))
{
    gst_bus_set_sync_handler(m_bus, &PrerollWatch::onMessage, this, nullptr);
}

PrerollWatch::~PrerollWatch()
{
    gst_bus_set_sync_handler(m_bus, nullptr, nullptr, nullptr);
    gst_object_unref(m_bus);
}

void PrerollWatch::arm()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_failed = false;
    m_done = false;
    m_error.clear();
}

PrerollWatch::Outcome PrerollWatch::wait(std::chrono::milliseconds bound, bool errorOnly)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    const bool settled =
        m_changed.wait_for(lock, bound, [this, errorOnly] { return m_failed || (m_done && !errorOnly); });
    if (!settled)
        return Outcome::TimedOut;
    return m_failed ? Outcome::Failed : Outcome::Done;
}

QString PrerollWatch::errorText() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_error;
}

bool PrerollWatch::failed() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_failed;
}

GstBusSyncReply PrerollWatch::onMessage(GstBus *, GstMessage *message, gpointer self)
{
    auto *watch = static_cast<PrerollWatch *>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ERROR:
        watch->noteError(message);
        break;
    case GST_MESSAGE_ASYNC_DONE:
        watch->noteAsyncDone(message);
        break;
    default:
        break;
    }
    // Dropping a message hands its reference back to us.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void PrerollWatch::noteError(GstMessage *message)
{
    GError *error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const QString text = error && error->message ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);

    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_failed)
        return;
    m_failed = true;
    m_error = text;
    m_changed.notify_all();
}

void PrerollWatch::noteAsyncDone(GstMessage *message)
{
    if (GST_MESSAGE_SRC(message) != GST_OBJECT(m_pipeline))
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_done = true;
    m_changed.notify_all();
}

} // namespace zorelad
