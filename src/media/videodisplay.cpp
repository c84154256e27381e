#include "videodisplay.h"

#include <QPaintEvent>
#include <QPainter>

namespace zorelad {

VideoDisplay::VideoDisplay(QWidget *parent) : QWidget(parent) {}

void VideoDisplay::showFrame(const QImage &frame)
{
    m_frame = frame;
    update();
}

void VideoDisplay::setBackdrop(const QImage &backdrop)
{
    const bool usable = !backdrop.isNull() && !backdrop.hasAlphaChannel() && backdrop.width() >= width()
        && backdrop.height() >= height();
    m_backdrop = usable ? backdrop : QImage();
    setAttribute(Qt::WA_OpaquePaintEvent, usable);
    update();
}

void VideoDisplay::resizeEvent(QResizeEvent *)
{
    // A backdrop that no longer covers the display is dropped.
    if (!m_backdrop.isNull() && (m_backdrop.width() < width() || m_backdrop.height() < height()))
        setBackdrop(QImage());
}

void VideoDisplay::paintEvent(QPaintEvent *event)
{
    if (m_frame.isNull() && m_backdrop.isNull())
        return;
    QPainter painter(this);
    if (!m_backdrop.isNull()) {
        const QRect covered = m_frame.isNull() ? QRect() : QRect(QPoint(0, 0), m_frame.size());
        for (const QRect &part : event->region() - covered)
            painter.drawImage(part.topLeft(), m_backdrop, part);
    }
    if (!m_frame.isNull())
        painter.drawImage(QPoint(0, 0), m_frame);
}

} // namespace zorelad
