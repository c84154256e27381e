#include "questionfit.h"

#include "fonts.h"
#include "questionwidgets.h"

#include <QAbstractTextDocumentLayout>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextEdit>

namespace zorelad {

TextFit questionFit(const QString &text)
{
    QTextEdit box;
    setUpQuestionBox(&box);
    box.setFont(mainWindowFont());
    box.setPlainText(text);
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

} // namespace zorelad
