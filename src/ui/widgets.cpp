#include "widgets.h"

#include "fonts.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QRadioButton>
#include <QSizeGrip>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTextOption>
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

StatusStrip::StatusStrip(QWidget *parent) : QWidget(parent)
{
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        m_panels[i]->setIndent(2);
    }
    m_panels[1]->setAlignment(Qt::AlignCenter);
    m_grip = new QSizeGrip(this);
}

void StatusStrip::setPanelText(int panel, const QString &text) { m_panels[panel]->setText(text); }

QString StatusStrip::panelText(int panel) const { return m_panels[panel]->text(); }

void StatusStrip::resizeEvent(QResizeEvent *)
{
    const int h = height() - 2;
    m_panels[0]->setGeometry(0, 2, 50 - 2, h);
    m_panels[1]->setGeometry(50, 2, 50 - 2, h);
    m_panels[2]->setGeometry(100, 2, std::max(0, width() - 100), h);
    const QSize grip = m_grip->sizeHint();
    m_grip->setGeometry(width() - grip.width(), height() - grip.height(), grip.width(), grip.height());
}

void CaptionOverPictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QSize picture = iconSize();
    const QFontMetrics metrics(font());
    const QRect textArea(4, 0, width() - 8, height());
    const QRect textBox = metrics.boundingRect(textArea, Qt::AlignHCenter | Qt::TextWordWrap, text());
    const int spacing = 2;
    const int top = (height() - textBox.height() - spacing - picture.height()) / 2;
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(QRect(4, top, width() - 8, textBox.height()), Qt::AlignHCenter | Qt::TextWordWrap, text());
    const QPixmap pixmap = icon().pixmap(picture, isEnabled() ? QIcon::Normal : QIcon::Disabled);
    painter.drawPixmap((width() - picture.width()) / 2, top + textBox.height() + spacing, pixmap);
}

void uncheck(QRadioButton *button)
{
    if (!button->isChecked())
        return;
    QButtonGroup *group = button->group();
    const bool exclusive = group ? group->exclusive() : button->autoExclusive();
    const QSignalBlocker blocker(button);
    if (group)
        group->setExclusive(false);
    else
        button->setAutoExclusive(false);
    button->setChecked(false);
    if (group)
        group->setExclusive(exclusive);
    else
        button->setAutoExclusive(exclusive);
}

QButtonGroup *exclusiveGroup(std::initializer_list<QRadioButton *> buttons, QObject *owner)
{
    auto *group = new QButtonGroup(owner);
    for (QRadioButton *button : buttons)
        group->addButton(button);
    return group;
}

void setShown(std::initializer_list<QWidget *> widgets, bool shown)
{
    for (QWidget *widget : widgets)
        widget->setVisible(shown);
}

QColor activeTitleColour() { return QColor(153, 180, 209); }

namespace {

class EnterPressesButtons : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!button || !button->hasFocus() || (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        if (button->isEnabled())
            button->click();
        return true;
    }
};

} // namespace

void letEnterPressButtons()
{
    static QPointer<EnterPressesButtons> filter;
    if (filter || !qApp)
        return;
    filter = new EnterPressesButtons(qApp);
    qApp->installEventFilter(filter);
}

} // namespace zorelad
