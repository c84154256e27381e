#include "questionfit.h"

#include "fonts.h"
#include "questionwidgets.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextEdit>

namespace zorelad {

namespace {
struct Fit {
    Q_DECLARE_TR_FUNCTIONS(Fit)
};
} // namespace

TextFit questionFit(const QString &text)
{
    QTextEdit box;
    setUpQuestionBox(&box);
    box.setFont(mainWindowFont());
    showQuestionText(&box, text);
    // Laid out for real, as on screen, but never painted.
    box.setAttribute(Qt::WA_DontShowOnScreen);
    box.show();
    const QSizeF needed(box.document()->idealWidth(), box.document()->size().height());
    return {qCeil(needed.width()) - box.viewport()->width(), qCeil(needed.height()) - box.viewport()->height()};
}

TextFit optionFit(const QString &text)
{
    QRadioButton button;
    setUpOptionButton(&button);
    button.setFont(mainWindowFont());
    button.setText(text);
    // The caption is drawn into the button's contents rectangle (right of
    // the indicator) and clipped there.
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = text;
    const QRect contents = button.style()->subElementRect(QStyle::SE_RadioButtonContents, &option, &button);
    const int width = button.fontMetrics().size(Qt::TextShowMnemonic, text).width();
    return {width - contents.width(), 0};
}

QList<QuestionProblem> checkQuestionFit(const Question &question)
{
    QList<QuestionProblem> problems;
    const TextFit box = questionFit(question.text);
    if (box.tooWide > 0)
        problems.append({QuestionProblem::TooWide, 1,
                         Fit::tr("the question holds a word %n pixel(s) too wide for its box", nullptr, box.tooWide)});
    if (box.tooTall > 0)
        problems.append(
            {QuestionProblem::TooTall, 1,
             Fit::tr("the question is %n pixel(s) too tall for its box; shorten it", nullptr, box.tooTall)});
    for (int k = 0; k < 3; ++k) {
        const TextFit option = optionFit(question.options[k]);
        if (option.tooWide > 0)
            problems.append({QuestionProblem::TooWide, k + 2,
                             Fit::tr("option %1 is %n pixel(s) too wide and would be cut off", nullptr, option.tooWide)
                                 .arg(k + 1)});
    }
    return problems;
}

} // namespace zorelad
