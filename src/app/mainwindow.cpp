#include "mainwindow.h"

#include "about.h"
#include "captionoverpicturebutton.h"
#include "certificate.h"
#include "errorbox.h"
#include "fonts.h"
#include "imageparts.h"
#include "grades.h"
#include "journal.h"
#include "mediaplayer.h"
#include "paths.h"
#include "pictures.h"
#include "questionfile.h"
#include "questionwidgets.h"
#include "reveal.h"
#include "shapewidget.h"
#include "statusstrip.h"
#include "stretchedpicture.h"
#include "videodisplay.h"
#include "widgets.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace zorelad {

namespace {

const QColor SkyBlue(166, 202, 240);
const QColor Navy(0, 0, 128);
const QColor Lime(0, 255, 0);
constexpr int ClientWidth = 641;
constexpr int ClientHeight = 357;
constexpr int StatusBarHeight = 19;
// The progress bar grows by this many pixels per right answer; its frame is
// as long as a level's 24 right answers.
constexpr int ProgressStep = 15;

template <class Widget, class... Args>
Widget *make(const char *name, QWidget *parent, int left, int top, int width, int height, Args &&...args)
{
    auto *widget = new Widget(std::forward<Args>(args)..., parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(left, top, width, height);
    return widget;
}

QFont resultFont() { return pixelFont(QStringLiteral("Monotype Corsiva"), 21, false, true); }

// The system's own colours, for the parts of the window that keep them.
QPalette systemColours(QPalette palette)
{
    palette.setColor(QPalette::Window, QApplication::palette().color(QPalette::Window));
    return palette;
}

} // namespace

TForm1::TForm1(const StartupOptions &options) : m_options(options)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Зорелад v1.0"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(mainWindowFont());
    QPalette sky = palette();
    sky.setColor(QPalette::Window, SkyBlue);
    setPalette(sky);

    createPlayers();
    createWidgets();
    createMenu();
    connectHandlers();
    m_levelRun = std::make_unique<LevelRun>(static_cast<LevelView &>(*this), m_state);
    // The results journal takes every graded level (when the school keeps one).
    m_levelRun->setGradedHandler(
        [this](const GradedLevel &graded) { journalGradedLevel(Edit1->text(), Edit2->text(), graded); });

    resize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
    move(219, 184);
    guarded([this] {
        Image1->setPicture(stretchedTo(backgroundPicture(), Image1->size()));
        // A picture without transparency covers the whole widget, so nothing
        // beneath it needs painting first.
        const QImage picture = Image1->picture();
        Image1->setAttribute(Qt::WA_OpaquePaintEvent, !picture.isNull() && !picture.hasAlphaChannel());
        // The video area shows the background where its frames leave it
        // uncovered; it paints that part itself rather than have the whole
        // background beneath it painted again for every frame.
        Animate1->setBackdrop(sharedPart(picture, Animate1->geometry()));
        // The same for the progress bar: its frame over the picture, the bar
        // over the frame (the two are shown and hidden together).
        Shape1->setBackdrop(picture.copy(Shape1->geometry()));
        Shape2->setBackdrop(Shape1->overBackdrop());
    });
}

TForm1::~TForm1() = default;

// The players start opening their files at once, so that the media system
// reads them while the widgets are being made; the opens at start-up then
// only wait for the rest. (The message bus is connected before: see
// createWindows.)
void TForm1::createPlayers()
{
    MediaSinks videoSinks = m_options.sinks;
    videoSinks.soundOnlyWithTrack = true;
    MediaPlayer1 = new MediaPlayer(this, videoSinks);
    MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    MediaPlayer2 = new MediaPlayer(this, m_options.sinks);
    MediaPlayer2->setObjectName(QStringLiteral("MediaPlayer2"));
    const QString dir = programDir();
    MediaPlayer2->setFileName(musicFile(dir));
    MediaPlayer2->prepare();
    MediaPlayer1->setFileName(videoFile(dir));
    MediaPlayer1->prepare();
}

QString TForm1::programDir() const
{
    return m_options.programDir.isEmpty() ? programDirectory() : m_options.programDir;
}

QString TForm1::musicFile(const QString &dir) { return resolvePath(dir + QStringLiteral("Media/track1.mp3")); }
QString TForm1::videoFile(const QString &dir) { return resolvePath(dir + QStringLiteral("Media/1.avi")); }

void TForm1::createWidgets()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("ClientArea"));
    m_client->installEventFilter(this);
    setCentralWidget(m_client);
    QWidget *c = m_client;

    Image1 = make<StretchedPicture>("Image1", c, 0, 0, 641, 337);

    Shape1 =
        make<ShapeWidget>("Shape1", c, 120, 304, QuestionsPerLevel * ProgressStep, 25, ShapeWidget::Kind::RoundRect);
    Shape1->setFill(activeTitleColour());
    Shape1->setOutline(Navy);
    Shape2 = make<ShapeWidget>("Shape2", c, 120, 304, 1, 25, ShapeWidget::Kind::RoundRect);
    Shape2->setFill(Lime, Qt::CrossPattern);

    Label1 = make<QLabel>("Label1", c, 184, 16, 0, 0);
    Label1->setFont(resultFont());
    Label1->setAutoFillBackground(true); // opaque: the window's colour behind the text
    Label2 = make<QLabel>("Label2", c, 168, 48, 0, 0);
    Label2->setFont(resultFont());
    Label3 = make<QLabel>("Label3", c, 192, 64, 228, 26, QStringLiteral("Оберіть рівень тестування"));
    Label3->setFont(pixelFont(QStringLiteral("Palatino Linotype"), 19));
    Label3->setAutoFillBackground(true);

    SpeedButton1 = make<QToolButton>("SpeedButton1", c, 616, 312, 25, 25);
    SpeedButton1->setFocusPolicy(Qt::NoFocus); // a speed button, never in the Tab order
    Animate1 = make<VideoDisplay>("Animate1", c, 112, 40, 409, 249);
    GroupBox2 = make<QGroupBox>("GroupBox2", c, 0, 0, 161, 73, QStringLiteral("Інформація про користувача"));

    Memo1 = makeQuestionBox(c);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->move(168, 0);

    Button1 = make<QPushButton>("Button1", c, 240, 96, 129, 41, QStringLiteral("Рівень І"));
    Button2 = make<QPushButton>("Button2", c, 240, 136, 129, 41, QStringLiteral("Рівень ІІ"));
    Button3 = make<QPushButton>("Button3", c, 240, 176, 129, 41, QStringLiteral("Рівень ІІІ"));

    Edit1 = make<QLineEdit>("Edit1", c, 8, 24, 121, 21);
    Edit1->setReadOnly(true);

    Memo2 = make<QPlainTextEdit>("Memo2", c, 609, 368, 0, 0);
    Memo2->setReadOnly(true);
    Memo2->setLineWrapMode(QPlainTextEdit::NoWrap);

    RadioGroup1 = make<QGroupBox>("RadioGroup1", c, 168, 96, 289, 105, QStringLiteral("Варіанти відповідей"));
    QRadioButton **options[] = {&RadioButton1, &RadioButton2, &RadioButton3};
    for (int k = 0; k < 3; ++k) {
        *options[k] = makeOptionButton(c);
        (*options[k])->setObjectName(QStringLiteral("RadioButton%1").arg(k + 1));
        (*options[k])->move(176, 120 + 24 * k);
    }

    exclusiveGroup({RadioButton1, RadioButton2, RadioButton3}, this);

    BitBtn1 = make<QPushButton>("BitBtn1", c, 184, 216, 241, 65, QStringLiteral("Наступне"));
    BitBtn1->setIcon(pictureIcon(QStringLiteral("next.png")));
    BitBtn1->setIconSize(QSize(95, 49));

    StatusBar1 = make<StatusStrip>("StatusBar1", c, 0, 338, 641, StatusBarHeight);
    StatusBar1->setFont(QApplication::font());
    StatusBar1->setPalette(systemColours(StatusBar1->palette()));
    StatusBar1->setAutoFillBackground(true);

    GroupBox1 = make<QGroupBox>("GroupBox1", c, 552, 0, 89, 57, QStringLiteral("Музика"));
    RadioButton4 = make<QRadioButton>("RadioButton4", GroupBox1, 8, 16, 73, 17, QStringLiteral("Включена"));
    RadioButton5 = make<QRadioButton>("RadioButton5", GroupBox1, 8, 32, 81, 17, QStringLiteral("Виключена"));

    exclusiveGroup({RadioButton4, RadioButton5}, this);

    Edit2 = make<QLineEdit>("Edit2", c, 8, 48, 121, 21);
    Edit2->setReadOnly(true);

    BitBtn2 = make<CaptionOverPictureButton>("BitBtn2", c, 0, 136, 137, 73, QStringLiteral("Роздрукувати сертифікат"));
    BitBtn2->setIcon(pictureIcon(QStringLiteral("printer.png")));
    BitBtn2->setIconSize(QSize(48, 48));

    Edit3 = make<QLineEdit>("Edit3", c, 80, 112, 25, 21);

    // Frames are filled with the window's colour, not see-through.
    for (QWidget *frame : std::initializer_list<QWidget *>{GroupBox1, GroupBox2, RadioGroup1})
        frame->setAutoFillBackground(true);

    for (QWidget *hidden : std::initializer_list<QWidget *>{
             Shape1,       Shape2,       Label1,       Label2,  Label3, SpeedButton1, GroupBox2,
             Memo1,        Button1,      Button2,      Button3, Edit1,  Memo2,        RadioGroup1,
             RadioButton1, RadioButton2, RadioButton3, BitBtn1, Edit2,  BitBtn2,      Edit3})
        hidden->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1500);
    Timer1->start();
}

void TForm1::createMenu()
{
    auto action = [this](QMenu *menu, const char *name, const QString &caption) {
        QAction *item = menu->addAction(caption);
        item->setObjectName(QLatin1String(name));
        return item;
    };
    auto menu = [this](const char *name, const QString &caption) {
        QMenu *entry = menuBar()->addMenu(caption);
        entry->setObjectName(QLatin1String(name));
        entry->menuAction()->setObjectName(QLatin1String(name));
        return entry;
    };
    menuBar()->setPalette(systemColours(menuBar()->palette()));
    N1 = menu("N1", QStringLiteral("Тест"));
    N2 = action(N1, "N2", QStringLiteral("Розпочати тестування"));
    N3 = action(N1, "N3", QStringLiteral("Закінчити тестування"));
    N3->setIcon(pictureIcon(QStringLiteral("stop.png")));
    N4 = action(N1, "N4", QStringLiteral("Покинути програму"));
    QMenu *levels = menu("N5", QStringLiteral("Рівень"));
    N5 = levels->menuAction();
    N6 = action(levels, "N6", QStringLiteral("Рівень І"));
    N7 = action(levels, "N7", QStringLiteral("Рівень ІІ"));
    N8 = action(levels, "N8", QStringLiteral("Рівень ІІІ"));
    N9 = menu("N9", QStringLiteral("?"));
    N10 = action(N9, "N10", QStringLiteral("про створювача..."));

    // F10 opens the menu bar at its first entry, as on other desktops.
    auto *menuKey = new QAction(this);
    menuKey->setShortcut(Qt::Key_F10);
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this, [this] { menuBar()->setActiveAction(N1->menuAction()); });
}

void TForm1::connectHandlers()
{
    auto on = [this](auto *sender, auto signal, void (TForm1::*handler)()) {
        connect(sender, signal, this, [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    };
    on(N2, &QAction::triggered, &TForm1::N2Click);
    on(N3, &QAction::triggered, &TForm1::N3Click);
    on(N4, &QAction::triggered, &TForm1::N4Click);
    on(N6, &QAction::triggered, &TForm1::N6Click);
    on(N7, &QAction::triggered, &TForm1::N7Click);
    on(N8, &QAction::triggered, &TForm1::N8Click);
    on(N10, &QAction::triggered, &TForm1::N10Click);
    on(Button1, &QPushButton::clicked, &TForm1::N6Click);
    on(Button2, &QPushButton::clicked, &TForm1::N7Click);
    on(Button3, &QPushButton::clicked, &TForm1::N8Click);
    on(BitBtn1, &QPushButton::clicked, &TForm1::BitBtn1Click);
    on(BitBtn2, &QPushButton::clicked, &TForm1::BitBtn2Click);
    on(SpeedButton1, &QToolButton::clicked, &TForm1::SpeedButton1Click);
    on(Timer1, &QTimer::timeout, &TForm1::Timer1Timer);
    // A radio button's handler runs when it becomes checked, by a click or from code.
    connect(RadioButton4, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            guarded([this] { RadioButton4Click(); });
    });
    connect(RadioButton5, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            guarded([this] { RadioButton5Click(); });
    });
}

void TForm1::attachDialogs(TForm2 *form2, TForm3 *form3, TForm4 *form4)
{
    Form2 = form2;
    Form3 = form3;
    Form4 = form4;
}

void TForm1::FormCreate()
{
    guarded([this] {
        m_state.ProgramDir = programDir();
        m_state.Level = 0;
        N3->setEnabled(false);
        {
            // Checking the button from code runs its handler at once; run it
            // here so that a failure ends start-up like any other step.
            const QSignalBlocker quiet(RadioButton4);
            RadioButton4->setChecked(true);
        }
        RadioButton4Click();
        RadioButton4Click();
        N5->setEnabled(false);
        startIntroVideo();
        startupPause(m_options.clock, [this] { prepareGrade(); });
        holdReplayForFirstPaint();
    });
}

// What the grade shows is loaded while the pupil waits anyway. The captions'
// font is loaded by the captions' own fonts, which keep it from then on:
// loaded when a level ends, it would hold up that Next by milliseconds each
// time (a font nobody holds is let go again after a while). The
// certificate button's picture is decoded at its size, as it would be when
// first drawn.
void TForm1::prepareGrade()
{
    BitBtn2->icon().pixmap(BitBtn2->iconSize());
    // Drawn once off screen, the captions' letters are in the font's glyph
    // cache before the first grade needs them.
    QImage scratch(ClientWidth, 2 * ProgressStep, QImage::Format_RGB32);
    QPainter painter(&scratch);
    for (const int correct : {0, 14, QuestionsPerLevel}) {
        const Grade grade = gradeFor(correct);
        for (const auto &[label, text] : {std::pair{Label1, grade.headline}, std::pair{Label2, grade.advice}}) {
            label->ensurePolished();
            // The text's own script and the common one that line spacing is taken from.
            label->fontMetrics().boundingRect(text);
            label->fontMetrics().leading();
            painter.setFont(label->font());
            painter.drawText(scratch.rect(), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }
}

// The replay came due while the start-up pause held the program: it waits
// for the window's first paint instead of opening the video again before
// the window the pupil waits for appears.
void TForm1::holdReplayForFirstPaint()
{
    if (!Timer1->isActive() || Timer1->remainingTime() > 0)
        return;
    Timer1->stop();
    m_replayAfterPaint = true;
}

void TForm1::N2Click()
{
    if (Form2)
        Form2->exec();
}

void TForm1::N3Click() { m_levelRun->endTesting(); }

void TForm1::N4Click() { close(); }

void TForm1::N6Click() { m_levelRun->start(1); }
void TForm1::N7Click() { m_levelRun->start(2); }
void TForm1::N8Click() { m_levelRun->start(3); }

void TForm1::N10Click()
{
    if (Form4)
        Form4->exec();
}

void TForm1::BitBtn1Click()
{
    m_levelRun->next();
}

void TForm1::BitBtn2Click() { printCertificate(Edit2->text(), Edit1->text(), m_state.Level, m_state.CorrectCount); }

void TForm1::SpeedButton1Click()
{
    if (Form3)
        Form3->exec();
}

void TForm1::RadioButton4Click()
{
    MediaPlayer2->setFileName(musicFile(m_state.ProgramDir));
    MediaPlayer2->open();
    MediaPlayer2->play();
}

void TForm1::RadioButton5Click() { MediaPlayer2->stop(); }

void TForm1::startIntroVideo()
{
    MediaPlayer1->setFileName(videoFile(m_state.ProgramDir));
    MediaPlayer1->open();
    MediaPlayer1->setDisplay(Animate1);
    MediaPlayer1->play();
}

void TForm1::Timer1Timer()
{
    // While an error box is open, later ticks wait for it rather than
    // stacking boxes of the same failure.
    if (defaultErrorShowing())
        return;
    guarded([this] {
        MediaPlayer1->setFileName(videoFile(m_state.ProgramDir));
        MediaPlayer1->open();
        // Once the video area is hidden a silent video would play for
        // nobody: it waits on its first picture instead, which costs nothing
        // while opening it still reports a file gone bad.
        if (!Animate1->isHidden() || MediaPlayer1->hasAudio())
            MediaPlayer1->play();
    });
}

void TForm1::takePupil(const QString &name, const QString &pupilClass)
{
    Edit1->setText(name);
    Edit2->setText(pupilClass);
    setShown({Edit2, Edit1, Button1, Button2, Button3, GroupBox2, Label3}, true);
    N5->setEnabled(true);
}

void TForm1::stopIntroVideo()
{
    Animate1->hide();
    MediaPlayer1->stop();
}

void TForm1::enableEndTesting() { N3->setEnabled(true); }

void TForm1::revealAnswer() { Edit3->show(); }

void TForm1::showLevelStart()
{
    SpeedButton1->show();
    showStatus(QString());
    setShown({Label1, Label2, Label3}, false);
    clearChoice();
    setShown({Button1, Button2, Button3, BitBtn2}, false);
    Shape2->show();
    Shape1->show();
    showProgress(0);
}

void TForm1::showQuestion(const Question &question)
{
    // The store is never shown: its text goes straight into its document,
    // which spares the text layouts an edit widget makes for display.
    const QStringList lines{question.text, question.options[0], question.options[1], question.options[2],
                            question.answer};
    Memo2->document()->setPlainText(lines.join(QLatin1Char('\n')));
    RadioButton1->setText(question.options[0]);
    RadioButton2->setText(question.options[1]);
    RadioButton3->setText(question.options[2]);
    showQuestionText(Memo1, question.text);
    Edit3->setText(question.answer);
}

void TForm1::showAnswerControls()
{
    setShown({Memo1, RadioButton1, RadioButton2, RadioButton3, RadioGroup1, BitBtn1}, true);
}

void TForm1::showStatus(const QString &text) { StatusBar1->setPanelText(2, text); }

int TForm1::chosenOption() const
{
    const QRadioButton *options[] = {RadioButton1, RadioButton2, RadioButton3};
    for (int k = 1; k <= 3; ++k) {
        if (options[k - 1]->isChecked())
            return k;
    }
    return 0;
}

void TForm1::clearChoice()
{
    uncheck(RadioButton1);
    uncheck(RadioButton2);
    uncheck(RadioButton3);
}

void TForm1::showProgress(int correctCount) { Shape2->resize(correctCount * ProgressStep, Shape2->height()); }

void TForm1::showGrade(const Grade &grade)
{
    setShown({BitBtn1, Memo1, SpeedButton1, RadioButton1, RadioButton2, RadioButton3, RadioGroup1, Edit3}, false);
    Label1->setText(grade.headline);
    Label1->adjustSize();
    Label2->setText(grade.advice);
    Label2->adjustSize();
    setShown({Label1, Label2, Button1, Button2, Button3}, true);
    BitBtn2->setVisible(grade.offersCertificate);
    showStatus(grade.status);
    setShown({Shape1, Shape2}, false);
}

void TForm1::showTestingEnded()
{
    setShown({Button1, Button2, Button3, BitBtn1, BitBtn2, RadioGroup1, RadioButton1, RadioButton2, RadioButton3,
              Shape1, Shape2},
             false);
    showProgress(0);
    Memo1->clear();
    Edit1->clear();
    Edit2->clear();
    setShown({Memo1, Edit1, Edit2, GroupBox2}, false);
    N5->setEnabled(false);
    N3->setEnabled(false);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // Everything keeps its place when the window is resized, except the
    // status bar, which stays along the bottom edge at full width.
    if (watched == m_client && event->type() == QEvent::Resize)
        StatusBar1->setGeometry(0, m_client->height() - StatusBarHeight, m_client->width(), StatusBarHeight);
    // The held replay runs once the first paint is done and on the screen.
    if (watched == m_client && event->type() == QEvent::Paint && m_replayAfterPaint) {
        m_replayAfterPaint = false;
        QMetaObject::invokeMethod(
            this,
            [this] {
                Timer1->start();
                Timer1Timer();
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace zorelad
