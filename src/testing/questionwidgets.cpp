#include "questionwidgets.h"

#include <QRadioButton>
#include <QTextEdit>

namespace zorelad {

QTextEdit *makeQuestionBox(QWidget *parent)
{
    auto *box = new QTextEdit(parent);
    setUpQuestionBox(box);
    return box;
}

void setUpQuestionBox(QTextEdit *box)
{
    box->setReadOnly(true);
    box->setLineWrapMode(QTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WordWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setAcceptRichText(false);
    box->resize(QuestionBoxWidth, QuestionBoxHeight);
}

QRadioButton *makeOptionButton(QWidget *parent)
{
    auto *button = new QRadioButton(parent);
    setUpOptionButton(button);
    return button;
}

void setUpOptionButton(QRadioButton *button) { button->resize(OptionWidth, OptionHeight); }

} // namespace zorelad
