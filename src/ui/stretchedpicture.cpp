#include "stretchedpicture.h"

#include <QPainter>

namespace zorelad {

void StretchedPicture::setPicture(const QImage &picture)
{
    m_picture = picture;
    update();
}

void StretchedPicture::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_picture);
}

} // namespace zorelad
