#include "levelrun.h"

#include "errorbox.h"
#include "grades.h"
#include "questionfile.h"
#include "widgets.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

namespace zorelad {

LevelRun::LevelRun(const MainWidgets &widgets, TestState &state) : w(widgets), state(state) {}

void LevelRun::start(int level)
{
    w.SpeedButton1->show();
    w.StatusBar1->setPanelText(2, QString());
    w.Label1->hide();
    w.Label2->hide();
    w.Label3->hide();
    uncheckOptions();
    w.Button1->hide();
    w.Button2->hide();
    w.Button3->hide();
    w.BitBtn2->hide();
    w.Shape2->show();
    w.Shape1->show();
    w.Shape2->resize(0, w.Shape2->height());
    state.CorrectCount = 0;
    state.QuestionNo = 1;
    state.Level = level;
    loadQuestion(1);
    w.Memo1->show();
    w.RadioButton1->show();
    w.RadioButton2->show();
    w.RadioButton3->show();
    w.RadioGroup1->show();
    w.BitBtn1->show();
}

void LevelRun::next()
{
    if (state.QuestionNo < 1 || state.QuestionNo > QuestionsPerLevel)
        return;
    const bool last = state.QuestionNo == QuestionsPerLevel;
    if (!last)
        w.StatusBar1->setPanelText(2, progressText(state.QuestionNo));
    if (!checkedOption()) {
        // Every question, the last one too, waits for an answer.
        showRefusal(QStringLiteral("Виберіть варіант відповіді!"));
        return;
    }
    scoreChosenOption();
    if (last) {
        finishLevel();
        return;
    }
    uncheckOptions();
    ++state.QuestionNo;
    loadQuestion(state.QuestionNo);
}

void LevelRun::endTesting()
{
    state.QuestionNo = 0;
    state.CorrectCount = 0;
    state.Level = 0;
    setShown({w.Button1, w.Button2,
                            w.Button3, w.BitBtn1,
                            w.BitBtn2, w.RadioGroup1,
                            w.RadioButton1, w.RadioButton2,
                            w.RadioButton3, w.Shape1,
                            w.Shape2}, false);
    w.Shape2->resize(0, w.Shape2->height());
    w.Memo1->clear();
    w.Edit1->clear();
    w.Edit2->clear();
    w.Memo1->hide();
    w.Edit1->hide();
    w.Edit2->hide();
    w.GroupBox2->hide();
    w.N5->setEnabled(false);
    w.N3->setEnabled(false);
}

QString LevelRun::storedLine(int k) const
{
    if (k < 1 || k > w.Memo2->blockCount())
        return {};
    return w.Memo2->document()->findBlockByNumber(k - 1).text();
}

void LevelRun::loadQuestion(int number)
{
    const QStringList lines = readQuestionFile(questionFilePath(state.ProgramDir, state.Level, number));
    // The store is never shown: its text goes straight into its document,
    // which spares the text layouts an edit widget makes for display.
    w.Memo2->document()->setPlainText(lines.join(QLatin1Char('\n')));
    w.RadioButton1->setText(storedLine(2));
    w.RadioButton2->setText(storedLine(3));
    w.RadioButton3->setText(storedLine(4));
    w.Memo1->setPlainText(storedLine(1));
    w.Edit3->setText(storedLine(5));
}

void LevelRun::scoreChosenOption()
{
    const QRadioButton *options[] = {w.RadioButton1, w.RadioButton2, w.RadioButton3};
    const QString answer = storedLine(5);
    for (int k = 1; k <= 3; ++k) {
        if (options[k - 1]->isChecked() && answerIs(answer, k)) {
            ++state.CorrectCount;
            w.Shape2->resize(w.Shape2->width() + ProgressStep, w.Shape2->height());
        }
    }
}

void LevelRun::finishLevel()
{
    state.QuestionNo = QuestionsPerLevel + 1;
    setShown({w.BitBtn1, w.Memo1,
                            w.SpeedButton1, w.RadioButton1,
                            w.RadioButton2, w.RadioButton3,
                            w.RadioGroup1, w.Edit3}, false);
    const Grade grade = gradeFor(state.CorrectCount);
    w.Label1->setText(grade.headline);
    w.Label1->adjustSize();
    w.Label2->setText(grade.advice);
    w.Label2->adjustSize();
    w.Label1->show();
    w.Label2->show();
    w.Button1->show();
    w.Button2->show();
    w.Button3->show();
    w.BitBtn2->setVisible(grade.offersCertificate);
    w.StatusBar1->setPanelText(2, grade.status);
    w.Shape1->hide();
    w.Shape2->hide();
}

void LevelRun::uncheckOptions()
{
    uncheck(w.RadioButton1);
    uncheck(w.RadioButton2);
    uncheck(w.RadioButton3);
}

QRadioButton *LevelRun::checkedOption() const
{
    for (QRadioButton *option : {w.RadioButton1, w.RadioButton2, w.RadioButton3}) {
        if (option->isChecked())
            return option;
    }
    return nullptr;
}

} // namespace zorelad
