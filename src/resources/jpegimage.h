#pragma once
// Decoding of the JPEG pictures compiled into the program.

#include <QByteArray>
#include <QImage>

namespace zorelad {

// Decodes a JPEG stream held in memory into an RGB image. A stream libjpeg
// cannot decode throws zorelad::Failure "JPEG error #N" with libjpeg's
// message number; so does one claiming more than 16 million pixels (libjpeg's
// "image too big"), which is refused before anything is allocated for it.
QImage decodeJpeg(const QByteArray &data);

} // namespace zorelad
