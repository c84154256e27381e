#pragma once
// The widgets a question is shown in, made in one place so that the main
// window and the question checker measure the same thing.

#include <QString>

class QRadioButton;
class QTextEdit;
class QWidget;

namespace zorelad {

inline constexpr int QuestionBoxWidth = 305;
inline constexpr int QuestionBoxHeight = 65;
inline constexpr int OptionWidth = 177;
inline constexpr int OptionHeight = 17;

// The read-only, word-wrapping question box without scroll bars.
QTextEdit *makeQuestionBox(QWidget *parent);
void setUpQuestionBox(QTextEdit *box);
// Shows `text` in the question box from its start, as the box's own
// setPlainText() does.
void showQuestionText(QTextEdit *box, const QString &text);
// An option's radio button.
QRadioButton *makeOptionButton(QWidget *parent);
void setUpOptionButton(QRadioButton *button);

} // namespace zorelad
