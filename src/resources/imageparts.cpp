#include "imageparts.h"

#include <QPainter>

namespace zorelad {

QImage stretchedTo(const QImage &picture, const QSize &size)
{
    if (picture.isNull() || picture.size() == size)
        return picture;
    QImage stretched(size, picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    stretched.fill(Qt::transparent);
    QPainter painter(&stretched);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), size), picture);
    return stretched;
}

QImage sharedPart(const QImage &picture, const QRect &part)
{
    if (picture.isNull() || part.isEmpty() || !picture.rect().contains(part))
        return {};
    if (picture.depth() % 8 != 0 || !picture.colorTable().isEmpty())
        return picture.copy(part);
    auto *owner = new QImage(picture);
    const uchar *first = owner->constScanLine(part.top()) + part.left() * (owner->depth() / 8);
    return QImage(
        first, part.width(), part.height(), owner->bytesPerLine(), owner->format(),
        [](void *image) { delete static_cast<QImage *>(image); }, owner);
}

} // namespace zorelad
