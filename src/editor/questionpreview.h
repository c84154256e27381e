#pragma once
// A question as the pupil will see it: the quiz window's own question box and
// option buttons, made by the same functions, at the same sizes, in the same
// font and at the same places relative to each other.

#include "questionfile.h"

#include <QWidget>

class QRadioButton;
class QTextEdit;

namespace zorelad {

class QuestionPreview : public QWidget {
    Q_OBJECT

public:
    explicit QuestionPreview(QWidget *parent = nullptr);
    void setQuestion(const Question &question);

    QTextEdit *questionBox() const { return m_memo; }
    QRadioButton *optionButton(int k) const { return m_options[k]; }

private:
    QTextEdit *m_memo = nullptr;
    QRadioButton *m_options[3] = {};
};

} // namespace zorelad
