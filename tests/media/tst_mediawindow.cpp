// The music switch, the intro video and their failures, in the real windows.

#include "identification.h"
#include "mediaplayer.h"
#include "modalwatcher.h"
#include "programfixture.h"
#include "startup.h"
#include "mainwindow.h"
#include "videodisplay.h"
#include "widgetlookup.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

using namespace zorelad;
using testing_support::widget;

class MediaWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startUpStartsTheMusicTwiceThenTheVideo();
    void missingVideoFailsAfterTheMusic();
    void missingMusicStartsTheVideoOnTheFirstTick();
    void musicSwitchRestartsFromTheBeginning();
    void identificationHidesTheVideoForGood();
    void identificationWithNoVideoDeviceReportsIt();
    void aFailingReplayNeverStacksBoxes();

private:
    void start();
    MediaPlayer *player(const char *name) const { return widget<MediaPlayer>(windows.Form1, name); }
    QString media(const char *name) const { return dir->path() + QStringLiteral("Media/") + QLatin1String(name); }

    std::unique_ptr<testing_support::ProgramDir> dir;
    Windows windows;
    ModalWatcher watcher;
};

void MediaWindowTest::init()
{
    dir = std::make_unique<testing_support::ProgramDir>();
    watcher.clear();
    watcher.setAnswer(nullptr);
}

void MediaWindowTest::cleanup()
{
    windows = Windows();
    dir.reset();
}

void MediaWindowTest::start()
{
    StartupOptions options = dir->options();
    options.sinks.videoSink.clear(); // the video goes to its display
    windows = createWindows(options);
    windows.Form1->show();
}

void MediaWindowTest::startUpStartsTheMusicTwiceThenTheVideo()
{
    // The window built by hand, so that the players are watched before its
    // start-up handler runs; the clock notes when the start-up pause sleeps.
    StartupOptions options = dir->options();
    options.sinks.videoSink.clear(); // the video goes to its display
    QStringList steps;
    const Clock clock = testing_support::fakeClock(7300);
    options.clock.nowMs = clock.nowMs;
    options.clock.sleepMs = [&steps, clock](qint64 ms) {
        steps << QStringLiteral("pause");
        clock.sleepMs(ms);
    };
    TForm1 form(options);
    MediaPlayer *music = widget<MediaPlayer>(&form, "MediaPlayer2");
    MediaPlayer *video = widget<MediaPlayer>(&form, "MediaPlayer1");
    connect(music, &MediaPlayer::opened, this, [&steps] { steps << QStringLiteral("music"); });
    connect(video, &MediaPlayer::opened, this, [&steps] { steps << QStringLiteral("video"); });
    form.FormCreate();
    form.show();
    QCOMPARE(steps, (QStringList{"music", "music", "video", "pause"}));
    QCOMPARE(clock.nowMs(), qint64(12000)); // from 7.3 s to the fifth whole second after
    QVERIFY(watcher.seen().isEmpty());
    QVERIFY(music->isOpen());
    QCOMPARE(music->fileName(), media("track1.mp3"));
    QVERIFY(video->isOpen());
    QCOMPARE(video->fileName(), media("1.avi"));
    auto *area = widget<VideoDisplay>(&form, "Animate1");
    QCOMPARE(video->display(), area);
    // Frames arrive at their natural size in the display's corner.
    QTRY_VERIFY_WITH_TIMEOUT(!area->currentFrame().isNull(), 5000);
    QCOMPARE(area->currentFrame().size(), QSize(408, 248));
    QVERIFY(!widget<QAction>(&form, "N5")->isEnabled());
}

void MediaWindowTest::missingVideoFailsAfterTheMusic()
{
    QFile::remove(media("1.avi"));
    start();
    QVERIFY(!watcher.seen().isEmpty());
    QCOMPARE(watcher.seen()[0].objectName, QStringLiteral("DefaultErrorBox"));
    QCOMPARE(watcher.seen()[0].text, QStringLiteral("Resource not found."));
    QVERIFY(player("MediaPlayer2")->isOpen());
    QVERIFY(!player("MediaPlayer1")->isOpen());
    // The level menu was disabled before the video failed.
    QVERIFY(!widget<QAction>(windows.Form1, "N5")->isEnabled());
}

void MediaWindowTest::missingMusicStartsTheVideoOnTheFirstTick()
{
    QFile::remove(media("track1.mp3"));
    start();
    QCOMPARE(watcher.seen().size(), 1);
    QVERIFY(widget<QAction>(windows.Form1, "N5")->isEnabled());
    QVERIFY(!player("MediaPlayer1")->isOpen());
    QSignalSpy opened(player("MediaPlayer1"), &MediaPlayer::opened);
    QVERIFY(opened.wait(3000));
    QVERIFY(player("MediaPlayer1")->isOpen());
}

void MediaWindowTest::musicSwitchRestartsFromTheBeginning()
{
    start();
    MediaPlayer *music = player("MediaPlayer2");
    QSignalSpy opened(music, &MediaPlayer::opened);
    auto *off = widget<QRadioButton>(windows.Form1, "RadioButton5");
    auto *on = widget<QRadioButton>(windows.Form1, "RadioButton4");
    QTRY_VERIFY_WITH_TIMEOUT(music->positionMs() >= 500, 5000);
    off->click();
    QVERIFY(off->isChecked());
    QVERIFY(music->isOpen()); // stopped, not closed
    QCOMPARE(opened.size(), 0);
    const qint64 stoppedAt = music->positionMs();
    QVERIFY(stoppedAt >= 500);
    off->click(); // already checked: nothing runs
    on->click();
    QCOMPARE(opened.size(), 1);
    // From the beginning again, not resumed where it stopped.
    QVERIFY2(music->positionMs() < stoppedAt / 2, qPrintable(QString::number(music->positionMs())));
    on->click();
    QCOMPARE(opened.size(), 1);
    QVERIFY(watcher.seen().isEmpty());
}

void MediaWindowTest::identificationHidesTheVideoForGood()
{
    start();
    testing_support::identify(windows, QStringLiteral("Оля"), QStringLiteral("4-В"));
    auto *area = widget<VideoDisplay>(windows.Form1, "Animate1");
    QVERIFY(!area->isVisible());
    QVERIFY(widget<QAction>(windows.Form1, "N3")->isEnabled());
    QSignalSpy opened(player("MediaPlayer1"), &MediaPlayer::opened);
    QVERIFY(opened.wait(3000));
    QVERIFY(!area->isVisible());
    QVERIFY(watcher.seen().isEmpty());
}

void MediaWindowTest::identificationWithNoVideoDeviceReportsIt()
{
    QFile::remove(media("1.avi"));
    start();
    watcher.clear();
    bool filled = false;
    bool dialogShownWithTheFailure = false;
    watcher.setAnswer([&](QWidget *modal) {
        if (modal == windows.Form2) {
            if (filled)
                return;
            filled = true;
            widget<QLineEdit>(windows.Form2, "Edit1")->setText(QStringLiteral("Оля"));
            widget<QComboBox>(windows.Form2, "ComboBox1")->setEditText(QStringLiteral("4-В"));
            // Pressed from the event loop, so that this watcher can answer
            // the boxes the press brings up.
            QMetaObject::invokeMethod(widget<QPushButton>(windows.Form2, "Button1"), &QPushButton::click,
                                      Qt::QueuedConnection);
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box && box->text() == QStringLiteral("No MCI device open."))
            dialogShownWithTheFailure = windows.Form2->isVisible();
        if (box)
            box->done(0);
    });
    widget<QAction>(windows.Form1, "N2")->trigger();
    watcher.setAnswer(nullptr);
    QVERIFY(watcher.texts().contains(QStringLiteral("No MCI device open.")));
    // The dialog closes after its handler, so it is still up while the failure shows.
    QVERIFY(dialogShownWithTheFailure);
    QVERIFY(!windows.Form2->isVisible());
    QVERIFY(!widget<QWidget>(windows.Form1, "Animate1")->isVisible());
    QVERIFY(!widget<QAction>(windows.Form1, "N3")->isEnabled());
    QVERIFY(widget<QAction>(windows.Form1, "N5")->isEnabled());
}

void MediaWindowTest::aFailingReplayNeverStacksBoxes()
{
    start();
    QFile::remove(media("1.avi"));
    // Leave each box open for three ticks of the replay timer.
    int open = 0;
    int most = 0;
    watcher.setAnswer([&](QWidget *modal) {
        if (modal->property("seen").toBool())
            return;
        modal->setProperty("seen", true);
        most = std::max(most, ++open);
        QTimer::singleShot(4500, modal, [&open, modal] {
            --open;
            modal->close();
        });
    });
    QTRY_VERIFY_WITH_TIMEOUT(watcher.seen().size() >= 2, 15000);
    QCOMPARE(most, 1);
    watcher.setAnswer(nullptr);
}

QTEST_MAIN(MediaWindowTest)
#include "tst_mediawindow.moc"
