#pragma once
// The two kinds of message box the program shows, and the wrapper that turns a
// failure inside an event handler into the default error box.

#include "failure.h"

#include <QString>
#include <exception>

class QWidget;

namespace zorelad {

// Object names of the boxes, so tests and scripts can tell them apart.
inline constexpr const char *DefaultErrorBoxName = "DefaultErrorBox";
inline constexpr const char *RefusalBoxName = "RefusalBox";

// The executable's file name up to its first period, every letter after the
// first in lower case ("ZORELAD.EXE" -> "Zorelad", "zorelad" -> "zorelad").
QString applicationTitleFor(const QString &executableFileName);
// The title of this running program (taken from its executable).
QString applicationTitle();

// A failure's text as the default error box shows it: a period is appended
// unless the text is empty or ends in a character whose code is at most that
// of the period (space, '!', quotes, parentheses, comma, hyphen, period).
QString defaultErrorText(const QString &text);

// The default error box: critical icon, one OK button, the application title.
void showDefaultError(const QString &text);

// Whether a default error box is on screen now.
bool defaultErrorShowing();

// The program's own refusal: title "Error", critical icon, one "OK" button that
// is both default and escape button, centred on the screen, text as given.
void showRefusal(const QString &text);

// Runs one event handler; a failure ends it and is shown in the default error box.
template <class Handler> void guarded(Handler &&handler)
{
    try {
        handler();
    } catch (const Failure &failure) {
        showDefaultError(failure.text());
    } catch (const std::exception &e) {
        showDefaultError(QString::fromLocal8Bit(e.what()));
    }
}

} // namespace zorelad
