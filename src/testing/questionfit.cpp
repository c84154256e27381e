#include "questionfit.h"

#include "fonts.h"
#include "questionwidgets.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextEdit>

namespace zorelad {

namespace {
struct Fit {
    Q_DECLARE_TR_FUNCTIONS(Fit)
};

// About how many characters of the font `pixels` are, at least one.
int excessCharacters(int pixels, const QFontMetrics &metrics)
{
    return pixels > 0 ? qMax(1, (pixels + metrics.averageCharWidth() - 1) / metrics.averageCharWidth()) : 0;
}
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
    TextFit fit{qCeil(needed.width()) - box.viewport()->width(), qCeil(needed.height()) - box.viewport()->height()};
    // The part of the text below the box is the part of its height there.
    fit.excessCharacters = fit.tooTall > 0
        ? qMax(1, qCeil(text.size() * fit.tooTall / needed.height()))
        : excessCharacters(fit.tooWide, QFontMetrics(box.font()));
    return fit;
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
    const int tooWide = width - contents.width();
    return {tooWide, 0, excessCharacters(tooWide, button.fontMetrics())};
}

QList<QuestionProblem> checkQuestionFit(const Question &question)
{
    QList<QuestionProblem> problems;
    const TextFit box = questionFit(question.text);
    if (box.tooWide > 0)
        problems.append({QuestionProblem::TooWide, 1,
                         Fit::tr("a word of the question is about %n character(s) too long for its box; shorten it",
                                 nullptr, box.excessCharacters)});
    if (box.tooTall > 0)
        problems.append({QuestionProblem::TooTall, 1,
                         Fit::tr("the question is about %n character(s) too long for its box; shorten it", nullptr,
                                 box.excessCharacters)});
    for (int k = 0; k < 3; ++k) {
        const TextFit option = optionFit(question.options[k]);
        if (option.tooWide > 0)
            problems.append({QuestionProblem::TooWide, k + 2,
                             Fit::tr("option %1 is about %n character(s) too long and would be cut off; shorten it",
                                     nullptr, option.excessCharacters)
                                 .arg(k + 1)});
    }
    return problems;
}

} // namespace zorelad
