#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

class QPainter;

namespace zorelad {

// A rectangle or rounded rectangle with a fill brush and an outline.
class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, RoundRect };
    ShapeWidget(Kind kind, QWidget *parent = nullptr);

    void setFill(const QColor &colour, Qt::BrushStyle style = Qt::SolidPattern);
    void setOutline(const QColor &colour);
    QColor fillColour() const { return m_fill; }
    // What lies beneath the shape, from its top left, as it stands for good:
    // a shape it covers is opaque and paints a copy of itself drawn over it.
    void setBackdrop(const QImage &backdrop);
    // That copy; null without a backdrop covering the shape.
    QImage overBackdrop() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool coveredByBackdrop() const;
    void drawShape(QPainter &painter) const;

    Kind m_kind;
    QColor m_fill = Qt::white;
    Qt::BrushStyle m_style = Qt::SolidPattern;
    QColor m_outline = Qt::black;
    QImage m_backdrop;
    mutable QImage m_drawn; // the shape over its backdrop, at the widget's size
};

} // namespace zorelad
