#pragma once
// Small widgets the windows are built from: a painted shape, the three-panel
// status strip, a picture button with its picture below the caption, and the
// radio-button helpers the handlers need.

#include <QColor>
#include <QFrame>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QPushButton>
#include <QSizeGrip>
#include <QWidget>
#include <functional>
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

// The pixels a widget painted in its window, kept to be put back when it is
// repainted unchanged: in part, when a widget beside or over it changed, or
// whole, when it comes back to a state it was painted in (a button pressed
// and released). Painting Qt's frames, buttons and size grips costs far
// more than a copy, and what is put back is exactly what was painted there.
// They are taken after a whole painting, for each state the widget names
// (a few at most), along with the pixels that lay beneath for a see-through
// widget; they are put back only at the same place and size in the window,
// and for a see-through widget only over the same pixels beneath. The widget
// drops them when anything else it is drawn from changes.
class KeptPixels {
public:
    // Handles `event` for `widget` in `state`: puts back what was kept for
    // it, or calls `paint` and keeps what it painted.
    void paint(QWidget *widget, QPaintEvent *event, bool seeThrough, const QString &state,
               const std::function<void()> &paint);
    void drop();

private:
    static constexpr int MostStates = 4;
    struct Kept {
        QImage painted;
        QImage beneath;
        QPoint at; // where in the window's pixels they were taken
    };
    QHash<QString, Kept> m_kept;
};

// A titled frame filled with the window's colour that keeps its pixels: the
// answer buttons lie over the options' frame, so every new question
// repaints it beneath their texts. A see-through frame is painted as usual.
class KeptGroupBox : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    KeptPixels m_kept;
};

// A size grip that keeps its pixels: it lies over the status panel whose
// text changes at every question.
class KeptSizeGrip : public QSizeGrip {
    Q_OBJECT
public:
    using QSizeGrip::QSizeGrip;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    KeptPixels m_kept;
};

// A push button that keeps its pixels for each state it was painted in: the
// next-question button is pressed and released at every question.
class KeptPushButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    KeptPixels m_kept;
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
    KeptSizeGrip *m_grip;
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
