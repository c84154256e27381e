#include "captionoverpicturebutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace zorelad {

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

} // namespace zorelad
