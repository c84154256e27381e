#pragma once
// The main window is a picture of fixed pixels: its sizes and positions and
// its fonts are pixels whatever the screen's font resolution. The style's own
// parts (radio indicators, frame titles, the menu bar's spacing) grow with
// that resolution, though; this style draws them as at 96 dots per inch.

#include <QProxyStyle>

class QWidget;

namespace zorelad {

class FixedDpiStyle : public QProxyStyle {
public:
    FixedDpiStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &pos,
                                     const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};

// Gives the window and every widget in it, menus included, the style drawn
// at 96 dots per inch, on a desktop of another resolution (at 96 dpi they
// keep the desktop's style as it is); windows of their own (dialogs) keep
// the desktop's.
void holdStyleAt96Dpi(QWidget *window);

} // namespace zorelad
