#include "framerelay.h"
#include "mediasystem.h"

#include <QtTest>

#include <gst/app/gstappsrc.h>
#include <gst/video/video.h>

using zorelad::frameFromSample;
using zorelad::FrameRelay;

namespace {

GstCaps *bgrxCaps(int width, int height)
{
    return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", G_TYPE_INT, width, "height",
                               G_TYPE_INT, height, "framerate", GST_TYPE_FRACTION, 0, 1, nullptr);
}

// A width x height BGRx buffer whose rows are `stride` bytes apart; pixel
// (x, y) holds blue x, green y, red `red`, and the padding is 0xee.
GstBuffer *pattern(int width, int height, int stride, guint8 red)
{
    GstBuffer *buffer = gst_buffer_new_allocate(nullptr, gsize(stride) * height, nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    memset(map.data, 0xee, map.size);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            guint8 *pixel = map.data + y * stride + x * 4;
            pixel[0] = guint8(x), pixel[1] = guint8(y), pixel[2] = red, pixel[3] = 0xff;
        }
    gst_buffer_unmap(buffer, &map);
    gsize offsets[GST_VIDEO_MAX_PLANES] = {0};
    gint strides[GST_VIDEO_MAX_PLANES] = {stride};
    gst_buffer_add_video_meta_full(buffer, GST_VIDEO_FRAME_FLAG_NONE, GST_VIDEO_FORMAT_BGRx, width, height, 1, offsets,
                                   strides);
    return buffer;
}

GstSample *sample(GstBuffer *buffer, GstCaps *caps)
{
    GstSample *result = gst_sample_new(buffer, caps, nullptr, nullptr);
    gst_buffer_unref(buffer);
    gst_caps_unref(caps);
    return result;
}

// Counts the queued calls that reach an object.
class CallCounter : public QObject {
public:
    int calls = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::MetaCall)
            ++calls;
        return QObject::event(event);
    }
};

} // namespace

class TestFrameRelay : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { zorelad::initMedia(); }
    void framesKeepTheirRowsAndColours();
    void aBusyUiThreadGetsOnlyTheNewestFrame();
};

// Rows padded beyond the picture (as decoders hand them out) must not shear
// the image, and the bytes B, G, R, x read as that colour.
void TestFrameRelay::framesKeepTheirRowsAndColours()
{
    GstSample *s = sample(pattern(5, 3, 32, 0x80), bgrxCaps(5, 3));
    QImage frame = frameFromSample(s);
    gst_sample_unref(s); // the image keeps the buffer alive by itself
    QCOMPARE(frame.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            QCOMPARE(QColor(frame.pixel(x, y)), QColor(0x80, y, x));

    const QImage copy = frame;
    frame = QImage();
    QCOMPARE(QColor(copy.pixel(4, 2)), QColor(0x80, 2, 4));
}

// While the UI thread is busy (the start-up pause), frames replace each
// other and one delivery carries the last of them.
void TestFrameRelay::aBusyUiThreadGetsOnlyTheNewestFrame()
{
    QList<QImage> delivered;
    CallCounter context;
    FrameRelay relay(&context, [&](const QImage &frame) { delivered.append(frame); });

    GstElement *pipeline = gst_pipeline_new(nullptr);
    GstElement *source = gst_element_factory_make("appsrc", nullptr);
    GstElement *sink = relay.createSink();
    QVERIFY(source && sink);
    gst_bin_add_many(GST_BIN(pipeline), source, sink, nullptr);
    QVERIFY(gst_element_link(source, sink));
    GstCaps *caps = bgrxCaps(4, 2);
    g_object_set(source, "caps", caps, "format", GST_FORMAT_TIME, nullptr);
    gst_caps_unref(caps);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);

    for (int red = 1; red <= 6; ++red)
        gst_app_src_push_buffer(GST_APP_SRC(source), pattern(4, 2, 16, guint8(red)));
    gst_app_src_end_of_stream(GST_APP_SRC(source));
    GstBus *bus = gst_element_get_bus(pipeline);
    GstMessage *end =
        gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    QVERIFY(end && GST_MESSAGE_TYPE(end) == GST_MESSAGE_EOS);
    gst_message_unref(end);
    gst_object_unref(bus);

    QVERIFY(delivered.isEmpty()); // nothing before the UI thread runs
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(context.calls, 1);
    QCOMPARE(delivered.size(), 1);
    QCOMPARE(qRed(delivered.first().pixel(0, 0)), 6);

    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
}

QTEST_MAIN(TestFrameRelay)
#include "tst_framerelay.moc"
