#include "shapewidget.h"

#include <QPainter>
#include <algorithm>

namespace zorelad {

ShapeWidget::ShapeWidget(Kind kind, QWidget *parent) : QWidget(parent), m_kind(kind) {}

void ShapeWidget::setFill(const QColor &colour, Qt::BrushStyle style)
{
    m_fill = colour;
    m_style = style;
    m_drawn = QImage();
    update();
}

void ShapeWidget::setOutline(const QColor &colour)
{
    m_outline = colour;
    m_drawn = QImage();
    update();
}

void ShapeWidget::setBackdrop(const QImage &backdrop)
{
    m_backdrop = backdrop.hasAlphaChannel() ? QImage() : backdrop;
    m_drawn = QImage();
    setAttribute(Qt::WA_OpaquePaintEvent, coveredByBackdrop());
    update();
}

bool ShapeWidget::coveredByBackdrop() const
{
    return !m_backdrop.isNull() && m_backdrop.width() >= width() && m_backdrop.height() >= height();
}

// The shape drawn over its backdrop once for its size and colours, then
// copied: the progress bar is repainted at every right answer, and stroking
// a smooth round rectangle costs far more than copying it. Drawn over the
// very pixels that lie beneath it, it comes out as painting it there would.
QImage ShapeWidget::overBackdrop() const
{
    if (!coveredByBackdrop())
        return {};
    if (m_drawn.size() != size()) {
        const QImage shorter = m_drawn;
        m_drawn = m_backdrop.copy(rect());
        QPainter painter(&m_drawn);
        // Grown longer at the same height (the bar at a right answer), the
        // shape keeps its left end, its edges and its pattern: it differs
        // from the shorter one only from that one's right end on, which is
        // all that is drawn again.
        if (shorter.height() == height() && shorter.width() >= height() && shorter.width() < width()) {
            const int same = shorter.width() - height() / 2;
            painter.drawImage(0, 0, shorter, 0, 0, same, height());
            painter.setClipRect(same, 0, width() - same, height());
        }
        drawShape(painter);
    }
    return m_drawn;
}

void ShapeWidget::resizeEvent(QResizeEvent *) { setAttribute(Qt::WA_OpaquePaintEvent, coveredByBackdrop()); }

void ShapeWidget::paintEvent(QPaintEvent *)
{
    if (width() <= 0 || height() <= 0)
        return;
    QPainter painter(this);
    if (coveredByBackdrop())
        painter.drawImage(0, 0, overBackdrop());
    else
        drawShape(painter);
}

void ShapeWidget::drawShape(QPainter &painter) const
{
    painter.setPen(QPen(m_outline, 1));
    painter.setBrush(QBrush(m_fill, m_style));
    const QRect box = rect().adjusted(0, 0, -1, -1);
    if (m_kind == Kind::Rectangle) {
        painter.drawRect(box);
    } else {
        // Corners a quarter of the shorter side across, as classic round rectangles have.
        const qreal corner = std::min(width(), height()) / 8.0;
        painter.setRenderHint(QPainter::Antialiasing);
        painter.drawRoundedRect(QRectF(box).adjusted(0.5, 0.5, 0.5, 0.5), corner, corner);
    }
}

} // namespace zorelad
