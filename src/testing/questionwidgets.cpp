#include "questionwidgets.h"

#include <QAbstractTextDocumentLayout>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
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

// The box's own setPlainText() also works out where its cursor stands, to
// scroll it into view: for this read-only box a second layout of the first
// line at every question, a third of the time it takes to show one. Put
// into the document, the text leaves the cursor at its end instead, which
// nobody sees while the text fits the box (nothing can scroll); a text that
// does not fit, or a box not shown yet, has the cursor put back at its start
// the costly way, so that the text shows from its top.
void showQuestionText(QTextEdit *box, const QString &text)
{
    QTextDocument *document = box->document();
    document->setPlainText(text);
    // A hidden box may not have laid the text out at its size yet.
    const QSizeF needed(document->idealWidth(), document->size().height());
    if (!box->isVisible() || needed.width() > box->viewport()->width() || needed.height() > box->viewport()->height())
        box->setTextCursor(QTextCursor(document));
}

QRadioButton *makeOptionButton(QWidget *parent)
{
    auto *button = new QRadioButton(parent);
    setUpOptionButton(button);
    return button;
}

void setUpOptionButton(QRadioButton *button) { button->resize(OptionWidth, OptionHeight); }

} // namespace zorelad
