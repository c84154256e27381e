#include "questionwidgets.h"

#include "fonts.h"

#include <QAbstractTextDocumentLayout>
#include <QRadioButton>
#include <QTextEdit>

namespace zorelad {

QTextEdit *makeQuestionBox(QWidget *parent)
{
    auto *box = new QTextEdit(parent);
    box->setReadOnly(true);
    box->setLineWrapMode(QTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WordWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setAcceptRichText(false);
    box->resize(QuestionBoxWidth, QuestionBoxHeight);
    return box;
}

QRadioButton *makeOptionButton(QWidget *parent)
{
    auto *button = new QRadioButton(parent);
    button->resize(OptionWidth, OptionHeight);
    return button;
}

bool questionFits(const QString &text)
{
    QTextEdit *box = makeQuestionBox(nullptr);
    box->setFont(mainWindowFont());
    box->setPlainText(text);
    // Laid out for real, as on screen, but never painted.
    box->setAttribute(Qt::WA_DontShowOnScreen);
    box->show();
    // Too many lines, or a word too long for a line, would be cut off.
    const QSizeF needed(box->document()->idealWidth(), box->document()->size().height());
    const bool fits = needed.width() <= box->viewport()->width() && needed.height() <= box->viewport()->height();
    delete box;
    return fits;
}

bool optionFits(const QString &text)
{
    QRadioButton *button = makeOptionButton(nullptr);
    button->setFont(mainWindowFont());
    button->setText(text);
    const bool fits = button->sizeHint().width() <= OptionWidth;
    delete button;
    return fits;
}

} // namespace zorelad
