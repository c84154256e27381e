#pragma once
// The small dialogs' layout: designed at 96 dots per inch and scaled to the
// screen, so that a dense screen shows them at the same physical size.

#include <QColor>
#include <QSize>
#include <QString>

class QWidget;

namespace zorelad {

// How much the dialogs grow on a screen denser than 96 dots per inch.
qreal dialogScale();

// A length of the dialogs' 96-dpi layout on this screen.
int scaled(int length);

// Makes a borderless dialog of the program's 96-dpi layout: its name and
// (undisplayed) title, its client size and font scaled to the screen, and
// its background colour; an invalid colour keeps the button-face colour.
void setUpDialog(QWidget *dialog, const char *name, const QString &title, QSize size,
                 const QColor &background = QColor());

} // namespace zorelad
