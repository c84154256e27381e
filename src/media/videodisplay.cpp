#include "videodisplay.h"

#include <QPainter>

namespace zorelad {

VideoDisplay::VideoDisplay(QWidget *parent) : QWidget(parent) {}

void VideoDisplay::showFrame(const QImage &frame)
{
    m_frame = frame;
    update();
}

void VideoDisplay::paintEvent(QPaintEvent *)
{
    if (m_frame.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_frame);
}

} // namespace zorelad
