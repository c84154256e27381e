#pragma once
// Small widgets the windows are built from: a painted shape, the three-panel
// status strip, a picture button with its picture below the caption, and the
// radio-button helpers the handlers need.

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPushButton>
#include <QSizeGrip>
#include <QWidget>
#include <initializer_list>

class QLabel;
class QPainter;
class QRadioButton;

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

// A picture stretched to fill the widget.
class StretchedPicture : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void setPicture(const QImage &picture);
    QImage picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

// A status bar of three sunken panels: 50 px, 50 px (centred text) and the
// rest, with a size grip at the right end.
class StatusStrip : public QWidget {
    Q_OBJECT
public:
    explicit StatusStrip(QWidget *parent = nullptr);
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const;
    QLabel *panel(int index) const { return m_panels[index]; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *m_panels[3];
    QSizeGrip *m_grip;
};

// A push button that draws its picture centred below its caption.
class CaptionOverPictureButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Unchecks a radio button from code, which Qt otherwise refuses for the
// checked button of an exclusive group. Runs no handler.
void uncheck(QRadioButton *button);

// Makes radio buttons one exclusive set. Qt's own grouping by parent also
// looks into nested frames, where a checked button of another set lets a
// click uncheck the checked button of this one.
class QButtonGroup *exclusiveGroup(std::initializer_list<QRadioButton *> buttons, QObject *owner);

// Shows or hides each of the widgets.
void setShown(std::initializer_list<QWidget *> widgets, bool shown);

// Makes Return and keypad Enter press the push button that has the keyboard
// focus, in every window of the application, as Space does. Once per
// application; later calls do nothing.
void letEnterPressButtons();

// The colour a system draws an active window's title bar in.
QColor activeTitleColour();

} // namespace zorelad
