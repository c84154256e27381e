// The main window as a pupil first sees it, and the start-up that builds it.

#include "about.h"
#include "identification.h"
#include "modalwatcher.h"
#include "programfixture.h"
#include "startup.h"
#include "mainwindow.h"
#include "mediaplayer.h"
#include "reveal.h"
#include "widgetlookup.h"
#include "captionoverpicturebutton.h"
#include "shapewidget.h"
#include "statusstrip.h"
#include "stretchedpicture.h"

#include <QAction>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QThread>
#include <QToolButton>

using namespace zorelad;
using testing_support::widget;

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void widgetsMatchTheLayout_data();
    void widgetsMatchTheLayout();
    void menuAfterStartUp();
    void fontsAreTheSubstitutes();
    void onlyTheStatusBarFollowsAResize();
    void startUpWithoutMediaShowsTheFailureAndSkipsTheRest();
    void closingEndsAtOnce();
    void replayDueInThePauseWaitsForThePaint();
    void returnPressesTheFocusedButton_data();
    void returnPressesTheFocusedButton();

private:
    struct Started {
        testing_support::ProgramDir dir;
        Windows windows;
    };
    std::unique_ptr<Started> start(bool withMedia = true);
    ModalWatcher watcher;
};

std::unique_ptr<MainWindowTest::Started> MainWindowTest::start(bool withMedia)
{
    auto started = std::make_unique<Started>(Started{testing_support::ProgramDir(withMedia), {}});
    started->windows = createWindows(started->dir.options());
    started->windows.Form1->show();
    return started;
}

// A replay that came due during the start-up pause waits for the first paint.
void MainWindowTest::replayDueInThePauseWaitsForThePaint()
{
    testing_support::ProgramDir dir(true);
    StartupOptions options = dir.options();
    options.clock.sleepMs = [jump = options.clock.sleepMs](qint64 ms) {
        QThread::msleep(1600); // past the replay's 1.5 s
        jump(ms);
    };
    Windows windows = createWindows(options);
    QSignalSpy opened(windows.Form1->findChild<MediaPlayer *>(QStringLiteral("MediaPlayer1")), &MediaPlayer::opened);
    QTest::qWait(300);
    QCOMPARE(opened.count(), 0);
    windows.Form1->show();
    QTRY_COMPARE(opened.count(), 1);
}

void MainWindowTest::widgetsMatchTheLayout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("caption");
    // name, kind, geometry, shown at start, caption
    const struct {
        const char *name, *kind;
        QRect geometry;
        bool shown;
        const char *caption;
    } rows[] = {
        {"Image1", "zorelad::StretchedPicture", {0, 0, 641, 337}, true, ""},
        {"Shape1", "zorelad::ShapeWidget", {120, 304, 360, 25}, false, ""},
        {"Shape2", "zorelad::ShapeWidget", {120, 304, 1, 25}, false, ""},
        {"Label3", "QLabel", {192, 64, 228, 26}, false, "Оберіть рівень тестування"},
        {"SpeedButton1", "QToolButton", {616, 312, 25, 25}, false, ""},
        {"Animate1", "zorelad::VideoDisplay", {112, 40, 409, 249}, true, ""},
        {"GroupBox2", "QGroupBox", {0, 0, 161, 73}, false, "Інформація про користувача"},
        {"Memo1", "QTextEdit", {168, 0, 305, 65}, false, ""},
        {"Button1", "QPushButton", {240, 96, 129, 41}, false, "Рівень І"},
        {"Button2", "QPushButton", {240, 136, 129, 41}, false, "Рівень ІІ"},
        {"Button3", "QPushButton", {240, 176, 129, 41}, false, "Рівень ІІІ"},
        {"Edit1", "QLineEdit", {8, 24, 121, 21}, false, ""},
        {"Memo2", "QPlainTextEdit", {609, 368, 0, 0}, false, ""},
        {"RadioGroup1", "QGroupBox", {168, 96, 289, 105}, false, "Варіанти відповідей"},
        {"RadioButton1", "QRadioButton", {176, 120, 177, 17}, false, ""},
        {"RadioButton2", "QRadioButton", {176, 144, 177, 17}, false, ""},
        {"RadioButton3", "QRadioButton", {176, 168, 177, 17}, false, ""},
        {"BitBtn1", "QPushButton", {184, 216, 241, 65}, false, "Наступне"},
        {"StatusBar1", "zorelad::StatusStrip", {0, 338, 641, 19}, true, ""},
        {"GroupBox1", "QGroupBox", {552, 0, 89, 57}, true, "Музика"},
        {"RadioButton4", "QRadioButton", {8, 16, 73, 17}, true, "Включена"},
        {"RadioButton5", "QRadioButton", {8, 32, 81, 17}, true, "Виключена"},
        {"Edit2", "QLineEdit", {8, 48, 121, 21}, false, ""},
        {"BitBtn2", "zorelad::CaptionOverPictureButton", {0, 136, 137, 73}, false, "Роздрукувати сертифікат"},
        {"Edit3", "QLineEdit", {80, 112, 25, 21}, false, ""},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.name << row.kind << row.geometry << row.shown << QString::fromUtf8(row.caption);
}

void MainWindowTest::widgetsMatchTheLayout()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, geometry);
    QFETCH(bool, shown);
    QFETCH(QString, caption);
    auto started = start();
    QWidget *found = widget<QWidget>(started->windows.Form1, name);
    QCOMPARE(QString::fromLatin1(found->metaObject()->className()), kind);
    QCOMPARE(found->geometry(), geometry);
    QCOMPARE(found->isVisible(), shown);
    if (auto *button = qobject_cast<QAbstractButton *>(found))
        QCOMPARE(button->text(), caption);
    else if (auto *group = qobject_cast<QGroupBox *>(found))
        QCOMPARE(group->title(), caption);
    else if (auto *label = qobject_cast<QLabel *>(found))
        QCOMPARE(label->text(), caption);
}

void MainWindowTest::menuAfterStartUp()
{
    auto started = start();
    TForm1 *form = started->windows.Form1.get();
    QCOMPARE(form->windowTitle(), QStringLiteral("Зорелад v1.0"));
    QCOMPARE(form->pos(), QPoint(219, 184));
    QCOMPARE(form->centralWidget()->size(), QSize(641, 357));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form->palette().color(QPalette::Window), QColor(166, 202, 240));

    const struct {
        const char *name, *caption;
        bool enabled;
    } items[] = {
        {"N1", "Тест", true},
        {"N2", "Розпочати тестування", true},
        {"N3", "Закінчити тестування", false},
        {"N4", "Покинути програму", true},
        {"N5", "Рівень", false},
        {"N6", "Рівень І", true},
        {"N7", "Рівень ІІ", true},
        {"N8", "Рівень ІІІ", true},
        {"N9", "?", true},
        {"N10", "про створювача...", true},
    };
    for (const auto &item : items) {
        auto *action = widget<QAction>(form, item.name);
        QVERIFY2(action, item.name);
        QCOMPARE(action->text(), QString::fromUtf8(item.caption));
        QCOMPARE(action->isEnabled(), item.enabled);
    }
    // The 428 x 413 STOP picture, drawn at the menu's icon size.
    QCOMPARE(widget<QAction>(form, "N3")->icon().pixmap(16).toImage().size(), QSize(16, 16));
    const QList<QAction *> bar = form->menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar[0]->objectName(), QStringLiteral("N1"));
    QCOMPARE(bar[2]->objectName(), QStringLiteral("N9"));
    // The level captions use the Cyrillic І, never the Latin I.
    QVERIFY(!widget<QAction>(form, "N8")->text().contains(QLatin1Char('I')));
    QVERIFY(widget<QRadioButton>(form, "RadioButton4")->isChecked());
    QVERIFY(widget<QTimer>(form, "Timer1")->isActive());
    QCOMPARE(widget<QTimer>(form, "Timer1")->interval(), 1500);
    QVERIFY(watcher.seen().isEmpty());
}

void MainWindowTest::fontsAreTheSubstitutes()
{
    auto started = start();
    TForm1 *form = started->windows.Form1.get();
    auto family = [form](const char *name) {
        QString f = QFontInfo(widget<QWidget>(form, name)->font()).family();
        return f.left(f.indexOf(QLatin1String(" [")) < 0 ? f.size() : f.indexOf(QLatin1String(" [")));
    };
    QCOMPARE(family("Memo1"), QStringLiteral("Liberation Sans"));
    QCOMPARE(family("Label1"), QStringLiteral("Z003"));
    QCOMPARE(family("Label3"), QStringLiteral("P052"));
    QCOMPARE(widget<QLabel>(form, "Label1")->font().pixelSize(), 21);
    QVERIFY(widget<QLabel>(form, "Label1")->font().italic());
    QCOMPARE(widget<QWidget>(form, "Memo1")->font().pixelSize(), 11);
}

void MainWindowTest::onlyTheStatusBarFollowsAResize()
{
    auto started = start();
    TForm1 *form = started->windows.Form1.get();
    form->resize(form->width() + 100, form->height() + 60);
    QTRY_COMPARE(form->centralWidget()->width(), 741);
    QCOMPARE(widget<QWidget>(form, "StatusBar1")->geometry(), QRect(0, 398, 741, 19));
    QCOMPARE(widget<QWidget>(form, "Image1")->geometry(), QRect(0, 0, 641, 337));
    QCOMPARE(widget<QWidget>(form, "GroupBox1")->geometry(), QRect(552, 0, 89, 57));
}

void MainWindowTest::startUpWithoutMediaShowsTheFailureAndSkipsTheRest()
{
    watcher.clear();
    auto started = start(/*withMedia=*/false);
    TForm1 *form = started->windows.Form1.get();
    QCOMPARE(watcher.seen().size(), 1);
    QCOMPARE(watcher.seen()[0].objectName, QStringLiteral("DefaultErrorBox"));
    QVERIFY(!watcher.seen()[0].text.isEmpty());
    QCOMPARE(form->state().ProgramDir, started->dir.path());
    // The steps after the music were skipped: the level menu stays enabled.
    QVERIFY(widget<QAction>(form, "N5")->isEnabled());
    QVERIFY(!widget<QAction>(form, "N3")->isEnabled());
}

void MainWindowTest::closingEndsAtOnce()
{
    auto started = start();
    TForm1 *form = started->windows.Form1.get();
    watcher.clear();
    widget<QAction>(form, "N4")->trigger();
    // No question asked: a confirmation would have come up as a modal window.
    QVERIFY(!form->isVisible());
    QVERIFY(watcher.seen().isEmpty());
}

void MainWindowTest::returnPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::newRow("level I") << "Form1"
                             << "Button1";
    QTest::newRow("level II") << "Form1"
                              << "Button2";
    QTest::newRow("level III") << "Form1"
                               << "Button3";
    QTest::newRow("next") << "Form1"
                          << "BitBtn1";
    QTest::newRow("print") << "Form1"
                           << "BitBtn2";
    QTest::newRow("identification") << "Form2"
                                    << "Button1";
    QTest::newRow("reveal") << "Form3"
                            << "Button1";
    QTest::newRow("about") << "Form4"
                           << "Button1";
}

// Return and keypad Enter press the button with the focus, as Space does.
void MainWindowTest::returnPressesTheFocusedButton()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    const auto started = start();
    const Windows &w = started->windows;
    QWidget *form = window == QLatin1String("Form1") ? static_cast<QWidget *>(w.Form1.get())
        : window == QLatin1String("Form2")           ? static_cast<QWidget *>(w.Form2)
        : window == QLatin1String("Form3")           ? static_cast<QWidget *>(w.Form3)
                                                     : static_cast<QWidget *>(w.Form4);
    auto *target = form->findChild<QPushButton *>(button);
    QVERIFY(target);
    form->show();
    target->show();
    QApplication::setActiveWindow(form);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    QSignalSpy clicks(target, &QPushButton::clicked);
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(clicks.count(), 1);
    // The press may have closed the window or hidden the button: bring them back.
    form->show();
    target->show();
    QApplication::setActiveWindow(form);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(clicks.count(), 2);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
