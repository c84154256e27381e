#include "fixeddpistyle.h"

#include <QApplication>
#include <QDialog>
#include <QImage>
#include <QStyleOption>
#include <QWidget>

#include <algorithm>

namespace zorelad {

namespace {

// A paint device of 96 dots per inch, for font metrics that say so.
const QImage &device96()
{
    static const QImage image = [] {
        QImage made(1, 1, QImage::Format_RGB32);
        made.setDotsPerMeterX(3780); // 96.01 dpi, read back as 96
        made.setDotsPerMeterY(3780);
        return made;
    }();
    return image;
}

// The style scales its parts by the resolution of the option's font
// metrics. For the time of one call the option's metrics are those of the
// same font at 96 dpi (an option the widget passes in is a copy of its own,
// made for the call); a call without an option gets one made here.
class At96 {
public:
    At96(const QStyleOption *option, const QWidget *widget)
        : m_option(const_cast<QStyleOption *>(option)),
          m_saved(m_option ? m_option->fontMetrics : QFontMetrics(QFont()))
    {
        if (!m_option) {
            if (widget)
                m_made.initFrom(widget);
            m_option = &m_made;
        }
        m_option->fontMetrics = QFontMetrics(widget ? widget->font() : QApplication::font(), &device96());
    }
    ~At96()
    {
        if (m_option != &m_made)
            m_option->fontMetrics = m_saved;
    }
    At96(const At96 &) = delete;
    At96 &operator=(const At96 &) = delete;

    template <typename T> T *option() const { return static_cast<T *>(m_option); }

private:
    QStyleOption m_made;
    QStyleOption *m_option;
    QFontMetrics m_saved;
};

} // namespace

FixedDpiStyle::FixedDpiStyle() = default;

void FixedDpiStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    const At96 at(option, widget);
    QStyleOption *held = at.option<QStyleOption>();
    if (element != PE_FrameGroupBox) {
        QProxyStyle::drawPrimitive(element, held, painter, widget);
        return;
    }
    // The frame's top line lies below the taller of the title and a radio
    // indicator, an indicator the base style measures without an option, so
    // at the screen's resolution: the frame is moved by the difference.
    const int title = held->fontMetrics.height();
    const int shift = std::max(title, pixelMetric(PM_ExclusiveIndicatorHeight, held, widget))
        - std::max(title, baseStyle()->pixelMetric(PM_ExclusiveIndicatorHeight));
    const QRect rect = held->rect;
    held->rect.setTop(rect.top() + shift);
    QProxyStyle::drawPrimitive(element, held, painter, widget);
    held->rect = rect;
}

void FixedDpiStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                const QWidget *widget) const
{
    const At96 at(option, widget);
    QProxyStyle::drawControl(element, at.option<QStyleOption>(), painter, widget);
}

void FixedDpiStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                                       const QWidget *widget) const
{
    const At96 at(option, widget);
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QSize FixedDpiStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                                      const QWidget *widget) const
{
    const At96 at(option, widget);
    return QProxyStyle::sizeFromContents(type, at.option<QStyleOption>(), size, widget);
}

QRect FixedDpiStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    const At96 at(option, widget);
    return QProxyStyle::subElementRect(element, at.option<QStyleOption>(), widget);
}

QRect FixedDpiStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                                    const QWidget *widget) const
{
    const At96 at(option, widget);
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

QStyle::SubControl FixedDpiStyle::hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                                        const QPoint &pos, const QWidget *widget) const
{
    const At96 at(option, widget);
    return QProxyStyle::hitTestComplexControl(control, option, pos, widget);
}

int FixedDpiStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    const At96 at(option, widget);
    return QProxyStyle::pixelMetric(metric, at.option<QStyleOption>(), widget);
}

int FixedDpiStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                             QStyleHintReturn *returnData) const
{
    if (!option) // hints without an option ask nothing of the resolution
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    const At96 at(option, widget);
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

void holdStyleAt96Dpi(QWidget *window)
{
    // At 96 dpi the desktop's style draws so already, and costs less.
    if (window->logicalDpiX() == 96 && window->logicalDpiY() == 96)
        return;
    auto *style = new FixedDpiStyle;
    style->setParent(window);
    window->setStyle(style);
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!qobject_cast<QDialog *>(widget->window()))
            widget->setStyle(style);
    }
}

} // namespace zorelad
