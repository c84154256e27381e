#pragma once
// The main window: the background, the level run's widgets, the music switch,
// the status bar and the menu.

#include "identification.h"
#include "levelrun.h"
#include "startup.h"
#include "teststate.h"

#include <QMainWindow>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;
class QTimer;
class QToolButton;

namespace zorelad {

class MediaPlayer;
class ShapeWidget;
class StatusStrip;
class StretchedPicture;
class TForm2;
class TForm3;
class TForm4;
class VideoDisplay;

// The widgets keep the names they were designed under; the comment beside
// each says what it is on screen.
class TForm1 : public QMainWindow, public PupilReceiver, private LevelView {
    Q_OBJECT
public:
    explicit TForm1(const StartupOptions &options = {});
    ~TForm1() override;

    void attachDialogs(TForm2 *form2, TForm3 *form3, TForm4 *form4);
    const TestState &state() const { return m_state; }

    // Handlers, named after the widget and the event.
    void FormCreate();
    void N2Click();
    void N3Click();
    void N4Click();
    void N6Click();
    void N7Click();
    void N8Click();
    void N10Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void SpeedButton1Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void Timer1Timer();

    // PupilReceiver
    void takePupil(const QString &name, const QString &pupilClass) override;
    void stopIntroVideo() override;
    void enableEndTesting() override;

    void revealAnswer();

private:
    void createPlayers();
    QString programDir() const;
    static QString musicFile(const QString &dir);
    static QString videoFile(const QString &dir);
    void createWidgets();
    void createMenu();
    void connectHandlers();
    void startIntroVideo();
    void prepareGrade();
    void holdReplayForFirstPaint();
    bool eventFilter(QObject *watched, QEvent *event) override;

    // LevelView
    void showLevelStart() override;
    void showQuestion(const Question &question) override;
    void showAnswerControls() override;
    void showStatus(const QString &text) override;
    int chosenOption() const override;
    void clearChoice() override;
    void showProgress(int correctCount) override;
    void showGrade(const Grade &grade) override;
    void showTestingEnded() override;

    StartupOptions m_options;
    TestState m_state;
    std::unique_ptr<LevelRun> m_levelRun;
    bool m_replayAfterPaint = false; // a replay tick waits for the first paint

    QWidget *m_client = nullptr;
    StretchedPicture *Image1 = nullptr;   // the background picture
    VideoDisplay *Animate1 = nullptr;     // the intro video, until a pupil is identified
    MediaPlayer *MediaPlayer1 = nullptr;  // plays the intro video
    MediaPlayer *MediaPlayer2 = nullptr;  // plays the music
    ShapeWidget *Shape1 = nullptr;        // the progress bar's frame
    ShapeWidget *Shape2 = nullptr;        // the progress bar's fill, one step per right answer
    QLabel *Label1 = nullptr;             // the grade's headline
    QLabel *Label2 = nullptr;             // the grade's advice
    QLabel *Label3 = nullptr;             // "Оберіть рівень тестування"
    QToolButton *SpeedButton1 = nullptr;  // the teacher's reveal button, bottom right
    QGroupBox *GroupBox2 = nullptr;       // "Інформація про користувача" frame
    QLineEdit *Edit1 = nullptr;           // the pupil's name
    QLineEdit *Edit2 = nullptr;           // the pupil's class
    QTextEdit *Memo1 = nullptr;           // the question
    QPlainTextEdit *Memo2 = nullptr;      // hidden store of the question file's lines
    QPushButton *Button1 = nullptr;       // "Рівень І"
    QPushButton *Button2 = nullptr;       // "Рівень ІІ"
    QPushButton *Button3 = nullptr;       // "Рівень ІІІ"
    QGroupBox *RadioGroup1 = nullptr;     // "Варіанти відповідей" frame
    QRadioButton *RadioButton1 = nullptr; // option 1
    QRadioButton *RadioButton2 = nullptr; // option 2
    QRadioButton *RadioButton3 = nullptr; // option 3
    QPushButton *BitBtn1 = nullptr;       // "Наступне"
    QPushButton *BitBtn2 = nullptr;       // "Роздрукувати сертифікат"
    QLineEdit *Edit3 = nullptr;           // the right option's number, shown after the access code
    StatusStrip *StatusBar1 = nullptr;    // the status bar; its third panel carries progress and grade
    QGroupBox *GroupBox1 = nullptr;       // "Музика" frame
    QRadioButton *RadioButton4 = nullptr; // "Включена": music on
    QRadioButton *RadioButton5 = nullptr; // "Виключена": music off
    QTimer *Timer1 = nullptr;             // restarts the intro video every 1.5 s

    QMenu *N1 = nullptr;    // "Тест" menu
    QAction *N2 = nullptr;  // "Розпочати тестування" menu item
    QAction *N3 = nullptr;  // "Закінчити тестування" menu item
    QAction *N4 = nullptr;  // "Покинути програму" menu item
    QAction *N5 = nullptr;  // "Рівень" menu
    QAction *N6 = nullptr;  // "Рівень І" menu item
    QAction *N7 = nullptr;  // "Рівень ІІ" menu item
    QAction *N8 = nullptr;  // "Рівень ІІІ" menu item
    QMenu *N9 = nullptr;    // "?" menu
    QAction *N10 = nullptr; // "про створювача..." menu item

    TForm2 *Form2 = nullptr; // identification
    TForm3 *Form3 = nullptr; // the access code for the reveal
    TForm4 *Form4 = nullptr; // about
};

} // namespace zorelad
