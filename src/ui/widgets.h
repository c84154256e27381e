#pragma once
// Helpers the windows' handlers share: radio buttons unchecked and grouped
// from code, widgets shown and hidden together, Return pressing buttons, and
// the title bar's colour.

#include <QColor>
#include <initializer_list>

class QButtonGroup;
class QObject;
class QRadioButton;
class QWidget;

namespace zorelad {

// Unchecks a radio button from code, which Qt otherwise refuses for the
// checked button of an exclusive group. Runs no handler.
void uncheck(QRadioButton *button);

// Makes radio buttons one exclusive set. Qt's own grouping by parent also
// looks into nested frames, where a checked button of another set lets a
// click uncheck the checked button of this one.
QButtonGroup *exclusiveGroup(std::initializer_list<QRadioButton *> buttons, QObject *owner);

// Shows or hides each of the widgets.
void setShown(std::initializer_list<QWidget *> widgets, bool shown);

// Makes Return and keypad Enter press the push button that has the keyboard
// focus, in every window of the application, as Space does. Once per
// application; later calls do nothing.
void letEnterPressButtons();

// The colour a system draws an active window's title bar in.
QColor activeTitleColour();

} // namespace zorelad
