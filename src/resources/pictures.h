#pragma once
// The pictures compiled into the program.

#include <QIcon>
#include <QImage>
#include <QString>

namespace zorelad {

// The main window's background, decoded from its JPEG; throws
// zorelad::Failure when the stream cannot be decoded.
QImage backgroundPicture();

// A picture by its file name ("next.png", "printer.png", "stop.png").
QIcon pictureIcon(const QString &name);

// The raw bytes of a compiled-in picture.
QByteArray pictureBytes(const QString &name);

} // namespace zorelad
