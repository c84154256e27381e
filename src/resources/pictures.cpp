#include "pictures.h"

#include "jpegimage.h"

#include <QFile>

// The resources live in a static library, so they are registered by hand.
static void registerPictures() { Q_INIT_RESOURCE(pictures); }

namespace zorelad {

QByteArray pictureBytes(const QString &name)
{
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/pictures/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage backgroundPicture() { return decodeJpeg(pictureBytes(QStringLiteral("background.jpg"))); }

// Named by its file, the picture is decoded when the icon is first drawn,
// not while the windows are made: the menu's STOP picture is 428 x 413 for a
// 16-pixel icon in a menu that may never open.
QIcon pictureIcon(const QString &name)
{
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/pictures/") + name);
}

} // namespace zorelad
