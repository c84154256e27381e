#pragma once
// Whether a question's texts show in full in the widgets the main window
// shows them in, measured with those widgets and the window's font.

#include "questionrules.h"

#include <QList>
#include <QString>

namespace zorelad {

// How far a text overflows its widget, in pixels (0 or less where it fits),
// and about how many characters of the widget's font that is.
struct TextFit {
    int tooWide = 0;
    int tooTall = 0;
    int excessCharacters = 0;
    bool fits() const { return tooWide <= 0 && tooTall <= 0; }
};

// The question box: a word longer than a line is too wide, more lines than
// the box shows are too tall.
TextFit questionFit(const QString &text);
// An option's radio button: its caption is one line, cut off at the right.
TextFit optionFit(const QString &text);

// The question's texts that would be cut off on screen, by about how many
// characters.
QList<QuestionProblem> checkQuestionFit(const Question &question);

} // namespace zorelad
