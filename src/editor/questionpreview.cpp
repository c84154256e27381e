#include "questionpreview.h"

#include "fonts.h"
#include "questionwidgets.h"

#include <QGroupBox>
#include <QRadioButton>
#include <QTextEdit>

namespace zorelad {

namespace {

// The part of the quiz window the preview shows starts here; every widget
// keeps its place relative to it.
constexpr int Left = 160;
constexpr int Width = 321;
constexpr int Height = 209;
const QColor SkyBlue(166, 202, 240);

} // namespace

QuestionPreview::QuestionPreview(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Preview"));
    setAccessibleName(tr("Preview: the question as the pupil sees it"));
    setFont(mainWindowFont());
    QPalette sky = palette();
    sky.setColor(QPalette::Window, SkyBlue);
    setPalette(sky);
    setAutoFillBackground(true);
    setFixedSize(Width, Height);
    // Shown, not used: the teacher edits beside it.
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);

    auto *frame = new QGroupBox(QStringLiteral("Варіанти відповідей"), this);
    frame->setGeometry(168 - Left, 96, 289, 105);
    m_memo = makeQuestionBox(this);
    m_memo->setObjectName(QStringLiteral("Memo1"));
    m_memo->move(168 - Left, 0);
    m_memo->setFocusPolicy(Qt::NoFocus);
    for (int k = 0; k < 3; ++k) {
        m_options[k] = makeOptionButton(this);
        m_options[k]->setObjectName(QStringLiteral("RadioButton%1").arg(k + 1));
        m_options[k]->move(176 - Left, 120 + 24 * k);
        m_options[k]->setFocusPolicy(Qt::NoFocus);
    }
}

void QuestionPreview::setQuestion(const Question &question)
{
    showQuestionText(m_memo, question.text);
    for (int k = 0; k < 3; ++k)
        m_options[k]->setText(question.options[k]);
}

} // namespace zorelad
