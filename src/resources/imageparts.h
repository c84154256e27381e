#pragma once
// Pictures cut and stretched for the windows that show them.

#include <QImage>
#include <QRect>
#include <QSize>

namespace zorelad {

// The picture stretched to `size` once, the way the picture widget stretches
// it when it paints. The background is repainted under every frame of the
// intro video, and a picture already at the widget's size is a plain copy
// instead of a smooth rescale of the whole picture twenty times a second.
QImage stretchedTo(const QImage &picture, const QSize &size);

// The part of the picture inside `part`, sharing the picture's pixels instead
// of copying them (the video area's part of the background is 400 kB): the
// part holds the picture until it is itself released. A part that does not
// lie wholly inside the picture is null; a picture with a colour table or
// pixels smaller than a byte is copied.
QImage sharedPart(const QImage &picture, const QRect &part);

} // namespace zorelad
