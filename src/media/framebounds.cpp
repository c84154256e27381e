#include "framebounds.h"

#include "failure.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace zorelad {

namespace {

bool tooLarge(int width, int height) { return width > LargestFrameSide || height > LargestFrameSide; }

// Markers are walked from the start of image to the first start of frame
// (SOF0 to SOF15 but for DHT, JPG and DAC).
bool jpegSize(const guint8 *data, gsize size, int *width, int *height)
{
    if (size < 4 || data[0] != 0xFF || data[1] != 0xD8)
        return false;
    gsize at = 2;
    while (at + 9 <= size) {
        if (data[at] != 0xFF)
            return false;
        const guint8 marker = data[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
            *height = data[at + 5] << 8 | data[at + 6];
            *width = data[at + 7] << 8 | data[at + 8];
            return true;
        }
        at += 2 + (gsize(data[at + 2]) << 8 | data[at + 3]);
    }
    return false;
}

// The signature, then the header chunk: length, "IHDR", width, height.
bool pngSize(const guint8 *data, gsize size, int *width, int *height)
{
    static const guint8 signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 24 || std::memcmp(data, signature, 8) != 0 || std::memcmp(data + 12, "IHDR", 4) != 0)
        return false;
    auto side = [data](gsize at) {
        const guint32 value = guint32(data[at]) << 24 | guint32(data[at + 1]) << 16 | data[at + 2] << 8 | data[at + 3];
        return int(std::min<guint32>(value, INT_MAX));
    };
    *width = side(16);
    *height = side(20);
    return true;
}

// The size a buffer's bytes or a caps event state, if they state one.
bool statedSize(GstPadProbeInfo *info, int *width, int *height)
{
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
        GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
        GstMapInfo bytes;
        if (!gst_buffer_map(buffer, &bytes, GST_MAP_READ))
            return false;
        const bool known = statedPictureSize(bytes.data, bytes.size, width, height);
        gst_buffer_unmap(buffer, &bytes);
        return known;
    }
    GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
    if (!(GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM) || !event || GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
        return false;
    GstCaps *caps = nullptr;
    gst_event_parse_caps(event, &caps);
    const GstStructure *structure = caps && gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
    return structure && gst_structure_get_int(structure, "width", width)
        && gst_structure_get_int(structure, "height", height);
}

GstPadProbeReturn refuseLarge(GstPad *pad, GstPadProbeInfo *info, gpointer)
{
    int width = 0;
    int height = 0;
    if (!statedSize(info, &width, &height) || !tooLarge(width, height))
        return GST_PAD_PROBE_OK;
    if (GstElement *decoder = gst_pad_get_parent_element(pad)) {
        gchar *text = gst_error_get_message(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE);
        GError *error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, text);
        g_free(text);
        gst_element_post_message(decoder, gst_message_new_error(GST_OBJECT(decoder), error, nullptr));
        g_error_free(error);
        gst_object_unref(decoder);
    }
    GST_PAD_PROBE_INFO_FLOW_RETURN(info) = GST_FLOW_ERROR;
    return GST_PAD_PROBE_DROP;
}

} // namespace

bool statedPictureSize(const guint8 *data, gsize size, int *width, int *height)
{
    return jpegSize(data, size, width, height) || pngSize(data, size, width, height);
}

void refuseLargePictures(GstElement *decoder)
{
    if (GstPad *input = gst_element_get_static_pad(decoder, "sink")) {
        gst_pad_add_probe(input, GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM),
                          &refuseLarge, nullptr, nullptr);
        gst_object_unref(input);
    }
}

GstElement *sizeLimited(GstElement *sink)
{
    GstElement *bin = gst_bin_new(nullptr);
    GstElement *convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement *limit = gst_element_factory_make("capsfilter", nullptr);
    if (!convert || !limit) {
        for (GstElement *element : {bin, convert, limit, sink})
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        throw Failure(QStringLiteral("Unknown error code"));
    }
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "width", GST_TYPE_INT_RANGE, 1, LargestFrameSide, "height",
                                        GST_TYPE_INT_RANGE, 1, LargestFrameSide, nullptr);
    g_object_set(limit, "caps", caps, nullptr);
    gst_caps_unref(caps);
    gst_bin_add_many(GST_BIN(bin), convert, limit, sink, nullptr);
    gst_element_link_many(convert, limit, sink, nullptr);
    GstPad *input = gst_element_get_static_pad(convert, "sink");
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", input));
    gst_object_unref(input);
    return bin;
}

} // namespace zorelad
