// Whole levels driven through the real windows, from identification to grade.

#include "graderows.h"
#include "identification.h"
#include "modalwatcher.h"
#include "programfixture.h"
#include "startup.h"
#include "mainwindow.h"
#include "widgetlookup.h"
#include "statusstrip.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QToolButton>

using namespace zorelad;
using testing_support::widget;

class LevelRunTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void identificationRefusesAndAccepts_data();
    void identificationRefusesAndAccepts();
    void identificationThroughTheMenuKeepsWhatWasTyped();
    void levelEndShowsItsGrade_data();
    void levelEndShowsItsGrade();
    void fullBarAtTwentyFour();
    void nextWithoutAnAnswerKeepsTheQuestion_data();
    void nextWithoutAnAnswerKeepsTheQuestion();
    void restartingInTheMiddle();
    void endTestingInTheMiddle();
    void missingFileAtLevelStart();
    void missingFileOnNext();
    void malformedAnswerLineNeverScores();
    void clickingTheChosenOptionAgainKeepsIt();

private:
    template <class T> T *find(const char *name) const { return widget<T>(form(), QLatin1String(name)); }
    TForm1 *form() const { return windows.Form1.get(); }
    // Answers the question on screen with option k (0 for none) and presses Next.
    void answer(int k);
    // Answers `count` questions, the first `correct` of them rightly.
    void answerMany(int count, int correct);
    QString statusText() const { return find<StatusStrip>("StatusBar1")->panelText(2); }

    std::unique_ptr<testing_support::ProgramDir> dir;
    Windows windows;
    ModalWatcher watcher;
};

void LevelRunTest::init()
{
    dir = std::make_unique<testing_support::ProgramDir>();
    windows = createWindows(dir->options());
    form()->show();
    watcher.clear();
}

void LevelRunTest::cleanup()
{
    windows = Windows();
    dir.reset();
}

void LevelRunTest::answer(int k)
{
    if (k > 0)
        find<QRadioButton>(qPrintable(QStringLiteral("RadioButton%1").arg(k)))->click();
    find<QPushButton>("BitBtn1")->click();
}

void LevelRunTest::answerMany(int count, int correct)
{
    for (int i = 0; i < count; ++i)
        answer(i < correct ? 1 : 2);
}

void LevelRunTest::identificationRefusesAndAccepts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("pupilClass");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("empty name") << ""
                                << "5-А"
                                << "Введіть ім\"я!";
    QTest::newRow("one space") << " "
                               << "5-А"
                               << "Введіть ім\"я!";
    QTest::newRow("no class") << "Оля"
                              << "Виберіть клас"
                              << "Виберіть клас!";
    QTest::newRow("two spaces") << "  "
                                << "5-А"
                                << "";
    QTest::newRow("typed class") << "Петро Коваль"
                                 << "10-Г"
                                 << "";
}

void LevelRunTest::identificationRefusesAndAccepts()
{
    QFETCH(QString, name);
    QFETCH(QString, pupilClass);
    QFETCH(QString, refusal);
    testing_support::identify(windows, name, pupilClass);
    if (!refusal.isEmpty()) {
        QCOMPARE(watcher.seen().size(), 1);
        QCOMPARE(watcher.seen()[0].title, QStringLiteral("Error"));
        QCOMPARE(watcher.seen()[0].text, refusal);
        QVERIFY(!find<QPushButton>("Button1")->isVisible());
        QVERIFY(!find<QAction>("N5")->isEnabled());
        QVERIFY(find<QWidget>("Animate1")->isVisible());
        return;
    }
    QVERIFY(watcher.seen().isEmpty());
    QCOMPARE(find<QLineEdit>("Edit1")->text(), name);
    QCOMPARE(find<QLineEdit>("Edit2")->text(), pupilClass);
    for (const char *shown : {"Edit1", "Edit2", "Button1", "Button2", "Button3", "GroupBox2", "Label3"})
        QVERIFY2(find<QWidget>(shown)->isVisible(), shown);
    QVERIFY(find<QAction>("N5")->isEnabled());
    QVERIFY(find<QAction>("N3")->isEnabled());
    QVERIFY(!find<QWidget>("Animate1")->isVisible());
}

void LevelRunTest::identificationThroughTheMenuKeepsWhatWasTyped()
{
    QComboBox *classes = widget<QComboBox>(windows.Form2, "ComboBox1");
    QCOMPARE(classes->count(), 21);
    QCOMPARE(classes->itemText(0), QStringLiteral("1-А"));
    QCOMPARE(classes->itemText(20), QStringLiteral("7-В"));
    QCOMPARE(classes->currentText(), QStringLiteral("Виберіть клас"));
    bool answered = false;
    watcher.setAnswer([&](QWidget *modal) {
        if (modal == windows.Form2 && !answered) {
            answered = true;
            QLineEdit *name = widget<QLineEdit>(windows.Form2, "Edit1");
            // The name field comes first, then the start button, then the class list.
            QCOMPARE(name->nextInFocusChain(), widget<QWidget>(windows.Form2, "Button1"));
            name->setText(QStringLiteral("Іван"));
            classes->setCurrentIndex(classes->findText(QStringLiteral("3-Б")));
            widget<QPushButton>(windows.Form2, "Button1")->click();
        }
    });
    find<QAction>("N2")->trigger();
    watcher.setAnswer(nullptr);
    QVERIFY(answered);
    QVERIFY(!windows.Form2->isVisible());
    QCOMPARE(find<QLineEdit>("Edit2")->text(), QStringLiteral("3-Б"));
    QCOMPARE(widget<QLineEdit>(windows.Form2, "Edit1")->text(), QStringLiteral("Іван"));
    QCOMPARE(classes->currentText(), QStringLiteral("3-Б"));
}

void LevelRunTest::levelEndShowsItsGrade_data() { testing_support::addGradeRows(); }

void LevelRunTest::levelEndShowsItsGrade()
{
    QFETCH(int, correct);
    QFETCH(QString, headline);
    QFETCH(QString, advice);
    QFETCH(QString, status);
    QFETCH(bool, certificate);
    testing_support::identify(windows);
    find<QPushButton>("Button2")->click();
    QCOMPARE(form()->state().Level, 2);
    answerMany(24, correct);
    QVERIFY(watcher.seen().isEmpty());
    QCOMPARE(form()->state().QuestionNo, 25);
    QCOMPARE(form()->state().CorrectCount, correct);
    QCOMPARE(find<QLabel>("Label1")->text(), headline);
    QCOMPARE(find<QLabel>("Label2")->text(), advice);
    QVERIFY(find<QLabel>("Label1")->isVisible() && find<QLabel>("Label2")->isVisible());
    QCOMPARE(statusText(), status);
    QCOMPARE(find<QWidget>("BitBtn2")->isVisible(), certificate);
    for (const char *shown : {"Button1", "Button2", "Button3"})
        QVERIFY2(find<QWidget>(shown)->isVisible(), shown);
    for (const char *hidden :
         {"BitBtn1", "Memo1", "SpeedButton1", "RadioButton1", "RadioGroup1", "Edit3", "Shape1", "Shape2"})
        QVERIFY2(!find<QWidget>(hidden)->isVisible(), hidden);
    // The last choice stays checked until the next level starts.
    QVERIFY(find<QRadioButton>("RadioButton2")->isChecked() || find<QRadioButton>("RadioButton1")->isChecked());
}

void LevelRunTest::fullBarAtTwentyFour()
{
    testing_support::identify(windows);
    find<QAction>("N6")->trigger();
    QWidget *bar = find<QWidget>("Shape2");
    QVERIFY(bar->isVisible() && find<QWidget>("Shape1")->isVisible());
    QCOMPARE(bar->width(), 0);
    answerMany(23, 23);
    QCOMPARE(bar->width(), 23 * 15);
    QCOMPARE(statusText(), QStringLiteral("із 23 запитань"));
    answer(1);
    QCOMPARE(bar->width(), 360);
    QCOMPARE(bar->width(), find<QWidget>("Shape1")->width());
    QVERIFY(!bar->isVisible());
    QCOMPARE(statusText(), QStringLiteral("Оцінка - відмінно"));
}

void LevelRunTest::nextWithoutAnAnswerKeepsTheQuestion_data()
{
    QTest::addColumn<int>("question");
    QTest::newRow("question 9") << 9;
    QTest::newRow("question 24") << 24;
}

void LevelRunTest::nextWithoutAnAnswerKeepsTheQuestion()
{
    QFETCH(int, question);
    testing_support::identify(windows);
    find<QAction>("N8")->trigger();
    answerMany(question - 1, question - 1);
    answer(0);
    QCOMPARE(watcher.texts(), QStringList{QStringLiteral("Виберіть варіант відповіді!")});
    QCOMPARE(watcher.seen()[0].title, QStringLiteral("Error"));
    QCOMPARE(form()->state().QuestionNo, question);
    QCOMPARE(form()->state().CorrectCount, question - 1);
    QCOMPARE(find<QTextEdit>("Memo1")->toPlainText(), QStringLiteral("Рівень 3, питання %1").arg(question));
    QVERIFY(find<QWidget>("BitBtn1")->isVisible());
    if (question < 24)
        QCOMPARE(statusText(), QStringLiteral("із %1 запитань").arg(question));
    answer(1);
    if (question < 24) {
        QCOMPARE(find<QTextEdit>("Memo1")->toPlainText(), QStringLiteral("Рівень 3, питання %1").arg(question + 1));
    } else {
        QCOMPARE(form()->state().QuestionNo, 25);
        QCOMPARE(form()->state().CorrectCount, 24);
    }
}

void LevelRunTest::restartingInTheMiddle()
{
    testing_support::identify(windows);
    find<QPushButton>("Button1")->click();
    answerMany(5, 5);
    find<QRadioButton>("RadioButton3")->click();
    find<QPushButton>("Button2")->click(); // hidden during a level, but the menu can do the same
    find<QAction>("N7")->trigger();
    QCOMPARE(form()->state().Level, 2);
    QCOMPARE(form()->state().QuestionNo, 1);
    QCOMPARE(form()->state().CorrectCount, 0);
    QCOMPARE(find<QWidget>("Shape2")->width(), 0);
    QCOMPARE(statusText(), QString());
    QCOMPARE(find<QTextEdit>("Memo1")->toPlainText(), QStringLiteral("Рівень 2, питання 1"));
    for (const char *option : {"RadioButton1", "RadioButton2", "RadioButton3"})
        QVERIFY2(!find<QRadioButton>(option)->isChecked(), option);
    QCOMPARE(find<QRadioButton>("RadioButton1")->text(), QStringLiteral("Варіант 1"));
    QVERIFY(find<QWidget>("SpeedButton1")->isVisible());
}

void LevelRunTest::endTestingInTheMiddle()
{
    testing_support::identify(windows);
    find<QAction>("N6")->trigger();
    answerMany(3, 2);
    find<QAction>("N3")->trigger();
    QCOMPARE(form()->state().Level, 0);
    QCOMPARE(form()->state().QuestionNo, 0);
    QCOMPARE(form()->state().CorrectCount, 0);
    for (const char *hidden : {"Button1", "BitBtn1", "BitBtn2", "RadioGroup1", "RadioButton1", "Shape1", "Shape2",
                               "Memo1", "Edit1", "Edit2", "GroupBox2"})
        QVERIFY2(!find<QWidget>(hidden)->isVisible(), hidden);
    QCOMPARE(find<QWidget>("Shape2")->width(), 0);
    QVERIFY(find<QTextEdit>("Memo1")->toPlainText().isEmpty());
    QVERIFY(find<QLineEdit>("Edit1")->text().isEmpty());
    QVERIFY(find<QLineEdit>("Edit2")->text().isEmpty());
    QVERIFY(!find<QAction>("N5")->isEnabled());
    QVERIFY(!find<QAction>("N3")->isEnabled());
    // The reveal button and the status text keep their state.
    QVERIFY(find<QWidget>("SpeedButton1")->isVisible());
    QCOMPARE(statusText(), QStringLiteral("із 3 запитань"));
}

void LevelRunTest::missingFileAtLevelStart()
{
    QFile::remove(dir->path() + QStringLiteral("Text/1/1.z"));
    testing_support::identify(windows);
    find<QAction>("N6")->trigger();
    QCOMPARE(
        watcher.texts(),
        QStringList{QStringLiteral("Cannot open file \"%1Text/1/1.z\". No such file or directory.").arg(dir->path())});
    QCOMPARE(watcher.seen()[0].objectName, QStringLiteral("DefaultErrorBox"));
    QCOMPARE(form()->state().Level, 1);
    QVERIFY(find<QWidget>("Shape1")->isVisible());
    QVERIFY(!find<QWidget>("Memo1")->isVisible());
    QVERIFY(!find<QWidget>("BitBtn1")->isVisible());
    // The program goes on: another level starts normally.
    find<QAction>("N7")->trigger();
    QVERIFY(find<QWidget>("BitBtn1")->isVisible());
}

void LevelRunTest::missingFileOnNext()
{
    QFile::remove(dir->path() + QStringLiteral("Text/1/5.z"));
    testing_support::identify(windows);
    find<QAction>("N6")->trigger();
    answerMany(4, 4);
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY(watcher.texts()[0].startsWith(QStringLiteral("Cannot open file")));
    QCOMPARE(form()->state().QuestionNo, 5);
    QCOMPARE(form()->state().CorrectCount, 4);
    QCOMPARE(find<QTextEdit>("Memo1")->toPlainText(), QStringLiteral("Рівень 1, питання 4"));
}

void LevelRunTest::malformedAnswerLineNeverScores()
{
    testing_support::writeQuestion(dir->path(), 1, 1, QStringLiteral("Пробіл після відповіді"), QStringLiteral("1 "));
    testing_support::identify(windows);
    find<QAction>("N6")->trigger();
    QCOMPARE(find<QLineEdit>("Edit3")->text(), QStringLiteral("1 "));
    answer(1);
    QCOMPARE(form()->state().CorrectCount, 0);
    answer(1);
    QCOMPARE(form()->state().CorrectCount, 1);
}

void LevelRunTest::clickingTheChosenOptionAgainKeepsIt()
{
    testing_support::identify(windows);
    find<QAction>("N6")->trigger();
    QRadioButton *option = find<QRadioButton>("RadioButton1");
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, 8));
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, 8));
    QVERIFY(option->isChecked());
    // The options and the music switch are separate sets.
    QVERIFY(find<QRadioButton>("RadioButton4")->isChecked());
    find<QPushButton>("BitBtn1")->click();
    QVERIFY(watcher.seen().isEmpty());
    QCOMPARE(form()->state().CorrectCount, 1);
}

QTEST_MAIN(LevelRunTest)
#include "tst_levelrun.moc"
