// The access code that shows a teacher the right option.

#include "identification.h"
#include "modalwatcher.h"
#include "programfixture.h"
#include "reveal.h"
#include "startup.h"
#include "mainwindow.h"
#include "widgetlookup.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>

using namespace zorelad;
using testing_support::widget;

class RevealTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rightCodeRevealsTheAnswerAndFollowsTheQuestions();
    void nearMissesRevealNothing_data();
    void nearMissesRevealNothing();
    void typedCodeStaysForTheNextShowing();
    void keyboard();

private:
    // Opens the dialog with the small button, types `code` (unless null) and presses OK.
    void enterCode(const QString &code);
    QLineEdit *edit3() const { return widget<QLineEdit>(windows.Form1, "Edit3"); }

    std::unique_ptr<testing_support::ProgramDir> dir;
    Windows windows;
    ModalWatcher watcher;
    QString shownText;
};

void RevealTest::init()
{
    dir = std::make_unique<testing_support::ProgramDir>();
    testing_support::writeQuestion(dir->path(), 1, 2, QStringLiteral("Друге"), QStringLiteral("3"));
    windows = createWindows(dir->options());
    windows.Form1->show();
    testing_support::identify(windows, QStringLiteral("Оля"), QStringLiteral("2-Б"));
    widget<QAction>(windows.Form1, "N6")->trigger();
    watcher.clear();
}

void RevealTest::cleanup()
{
    windows = Windows();
    dir.reset();
}

void RevealTest::enterCode(const QString &code)
{
    watcher.setAnswer([&](QWidget *modal) {
        if (modal != windows.Form3)
            return;
        auto *edit = widget<QLineEdit>(windows.Form3, "Edit1");
        shownText = edit->text();
        if (!code.isNull())
            edit->setText(code);
        widget<QPushButton>(windows.Form3, "Button1")->click();
    });
    widget<QToolButton>(windows.Form1, "SpeedButton1")->click();
    watcher.setAnswer(nullptr);
    QVERIFY(!windows.Form3->isVisible());
}

void RevealTest::rightCodeRevealsTheAnswerAndFollowsTheQuestions()
{
    QVERIFY(!edit3()->isVisible());
    enterCode(QStringLiteral("qzvk"));
    QVERIFY(edit3()->isVisible());
    QCOMPARE(edit3()->text(), QStringLiteral("1"));
    widget<QRadioButton>(windows.Form1, "RadioButton1")->click();
    widget<QPushButton>(windows.Form1, "BitBtn1")->click();
    QCOMPARE(edit3()->text(), QStringLiteral("3"));
    // Starting another level keeps it; finishing a level hides it.
    widget<QAction>(windows.Form1, "N7")->trigger();
    QVERIFY(edit3()->isVisible());
    for (int i = 0; i < 24; ++i) {
        widget<QRadioButton>(windows.Form1, "RadioButton1")->click();
        widget<QPushButton>(windows.Form1, "BitBtn1")->click();
    }
    QVERIFY(!edit3()->isVisible());
    QVERIFY(!widget<QToolButton>(windows.Form1, "SpeedButton1")->isVisible());
}

void RevealTest::nearMissesRevealNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("capitals") << "QZVK";
    QTest::newRow("trailing space") << "qzvk ";
    QTest::newRow("empty") << "";
}

void RevealTest::nearMissesRevealNothing()
{
    QFETCH(QString, code);
    enterCode(code);
    QVERIFY(!edit3()->isVisible());
    QCOMPARE(watcher.seen().size(), 1); // the dialog itself, and no message
}

void RevealTest::typedCodeStaysForTheNextShowing()
{
    enterCode(QStringLiteral("qzv"));
    enterCode(QString());
    QCOMPARE(shownText, QStringLiteral("qzv"));
    QVERIFY(!edit3()->isVisible());
}

// Tab never stops on the small button; Return in the code's field leaves
// the dialog open, as it has no default button.
void RevealTest::keyboard()
{
    auto *small = widget<QToolButton>(windows.Form1, "SpeedButton1");
    QApplication::setActiveWindow(windows.Form1.get());
    widget<QPushButton>(windows.Form1, "BitBtn1")->setFocus();
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(windows.Form1->focusWidget(), Qt::Key_Tab);
        QVERIFY(windows.Form1->focusWidget() != small);
    }
    bool stayedOpen = false;
    watcher.setAnswer([&](QWidget *) {
        auto *edit = widget<QLineEdit>(windows.Form3, "Edit1");
        edit->setText(QStringLiteral("qzvk"));
        QTest::keyClick(edit, Qt::Key_Return);
        stayedOpen = windows.Form3->isVisible();
        widget<QPushButton>(windows.Form3, "Button1")->click();
    });
    small->click();
    watcher.setAnswer(nullptr);
    QVERIFY(stayedOpen);
}

QTEST_MAIN(RevealTest)
#include "tst_reveal.moc"
