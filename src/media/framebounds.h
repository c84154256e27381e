#pragma once
// The largest picture a video may have, held at every stage: a larger one (a
// huge still image named like a video, a stream of huge frames) fails before
// it is decoded instead of taking gigabytes.

#include <gst/gst.h>

namespace zorelad {

// 4096 x 4096 in BGRx is 64 MB a frame.
inline constexpr int LargestFrameSide = 4096;

// The size of the picture a JPEG or PNG file's bytes start with, as their
// header states it; false for other bytes or a header cut short.
bool statedPictureSize(const guint8 *data, gsize size, int *width, int *height);

// Makes `decoder` fail with the media system's text for a stream it cannot
// decode, before it decodes anything, when a picture coming in is larger:
// its caps state the size (from a parser or a demuxer) or its first bytes
// do (JPEG and PNG). Refused later, at the sink, would be too late: decoders
// fall back to buffers of their own when the sink refuses the size.
void refuseLargePictures(GstElement *decoder);

// The pictures' way to `sink`: converted to the sink's format but never
// scaled, and no larger than LargestFrameSide, so that a larger raw picture
// fails before it is converted. Takes `sink`; throws Failure when an
// element is missing.
GstElement *sizeLimited(GstElement *sink);

} // namespace zorelad
