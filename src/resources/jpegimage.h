#pragma once
// Decoding of the JPEG pictures compiled into the program.

#include <QByteArray>
#include <QImage>

namespace zorelad {

// Decodes a JPEG stream held in memory into an RGB image. A stream libjpeg
// cannot decode throws zorelad::Failure "JPEG error #N" with libjpeg's
// message number.
QImage decodeJpeg(const QByteArray &data);

} // namespace zorelad
