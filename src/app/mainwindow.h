#pragma once
// The main window: the background, the level run's widgets, the music switch,
// the status bar and the menu.

#include "identification.h"
#include "levelrun.h"
#include "mainwidgets.h"
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

// The widgets the level run works on are the window's own members, taken
// from MainWidgets so that the level run sees them by the same names.
class TForm1 : public QMainWindow, public PupilReceiver, private MainWidgets {
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
    void createWidgets();
    void createMenu();
    void connectHandlers();
    void startIntroVideo();
    void layOutStatusBar();
    bool eventFilter(QObject *watched, QEvent *event) override;

    StartupOptions m_options;
    TestState m_state;
    std::unique_ptr<LevelRun> m_levelRun;

    QWidget *m_client = nullptr;
    StretchedPicture *Image1 = nullptr;
    VideoDisplay *Animate1 = nullptr;
    MediaPlayer *MediaPlayer1 = nullptr;
    MediaPlayer *MediaPlayer2 = nullptr;
    QGroupBox *GroupBox1 = nullptr;
    QRadioButton *RadioButton4 = nullptr;
    QRadioButton *RadioButton5 = nullptr;
    QTimer *Timer1 = nullptr;

    QMenu *N1 = nullptr;
    QAction *N2 = nullptr;
    QAction *N4 = nullptr;
    QAction *N6 = nullptr;
    QAction *N7 = nullptr;
    QAction *N8 = nullptr;
    QMenu *N9 = nullptr;
    QAction *N10 = nullptr;

    TForm2 *Form2 = nullptr;
    TForm3 *Form3 = nullptr;
    TForm4 *Form4 = nullptr;
};

} // namespace zorelad
