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

QIcon pictureIcon(const QString &name)
{
    QPixmap pixmap;
    pixmap.loadFromData(pictureBytes(name));
    return QIcon(pixmap);
}

} // namespace zorelad
