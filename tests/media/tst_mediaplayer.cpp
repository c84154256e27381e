#include "failure.h"
#include "mediaplayer.h"
#include "stateworker.h"
#include "videodisplay.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using zorelad::Failure;
using zorelad::MediaPlayer;
using zorelad::MediaSinks;
using zorelad::StateWorker;
using zorelad::VideoDisplay;

namespace {

const QString NoDevice = QStringLiteral("No MCI device open");

// Real-time sinks that need no sound card; video goes to the player's own display path.
MediaSinks quietSinks() { return {QStringLiteral("fakesink sync=true"), QString()}; }

QString failureOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Failure &failure) {
        return failure.text().isEmpty() ? QStringLiteral("<empty>") : failure.text();
    }
    return {};
}

// The intro shows the program's name in warm gold over a blue sky from
// about a second in; the first frames are sky only. Mean red minus blue over
// the title's area: about -56 without it, about -28 with it.
double titleWarmth(const QImage &frame)
{
    double sum = 0;
    int count = 0;
    for (int y = 95; y < 165; ++y)
        for (int x = 90; x < 320; ++x, ++count) {
            const QRgb pixel = frame.pixel(x, y);
            sum += qRed(pixel) - qBlue(pixel);
        }
    return sum / count;
}
bool showsTitle(const QImage &frame) { return !frame.isNull() && titleWarmth(frame) > -40; }
bool showsSkyOnly(const QImage &frame) { return !frame.isNull() && titleWarmth(frame) < -48; }

} // namespace

class TestMediaPlayer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void withoutDeviceNothingPlays();
    void failedOpenLeavesNoDevice_data();
    void failedOpenLeavesNoDevice();
    void openPlayStopKeepTheDevice();
    void systemSinksOpenMusic();
    void framesLandAtNaturalSizeTopLeft();
    void reopenRestartsIntoTheSameDisplay();
    void restartInPlaceGoesBackToTheBeginning();
    void playAfterStopGoesOn();
    void contentDecidesNotTheName();
    void soundComesWithItsTrack();
    void frameAfterDisplayOrPlayerIsGone();
    void openTakesUpWhatWasPrepared_data();
    void openTakesUpWhatWasPrepared();
    void sourcesThatHangRetireTheirThreads();

private:
    QString file(const QString &name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestMediaPlayer::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString media = qEnvironmentVariable("ZORELAD_SOURCE_DIR") + "/data/Media/";
    QVERIFY(QFile::copy(media + "track1.mp3", file("track1.mp3")));
    QVERIFY(QFile::copy(media + "1.avi", file("1.avi")));
    QVERIFY(QFile::copy(media + "track1.mp3", file("music.avi")));
    QVERIFY(QFile::copy(media + "1.avi", file("video.mp3")));

    QFile empty(file("empty.mp3"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();

    QFile noise(file("noise.avi"));
    QVERIFY(noise.open(QIODevice::WriteOnly));
    QRandomGenerator random(1234);
    QByteArray bytes(64 * 1024, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    noise.write(bytes);
    noise.close();

    QVERIFY(QDir(m_dir.path()).mkdir("folder.avi"));
}

void TestMediaPlayer::withoutDeviceNothingPlays()
{
    MediaPlayer player(nullptr, quietSinks());
    QVERIFY(!player.isOpen());
    QCOMPARE(failureOf([&] { player.play(); }), NoDevice);
    QCOMPARE(failureOf([&] { player.stop(); }), NoDevice);

    // A sink that cannot be made fails the open like a bad file.
    MediaPlayer mute(nullptr, {QStringLiteral("no-such-sink"), QString()});
    mute.setFileName(file("track1.mp3"));
    QVERIFY(!failureOf([&] { mute.open(); }).isEmpty());
    QVERIFY(!mute.isOpen());
    QCOMPARE(failureOf([&] { mute.play(); }), NoDevice);
}

void TestMediaPlayer::failedOpenLeavesNoDevice_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "nothing-here.mp3";
    QTest::newRow("zero bytes") << "empty.mp3";
    QTest::newRow("random bytes") << "noise.avi";
    QTest::newRow("directory") << "folder.avi";
}

// Each bad file fails with the media system's own text, after the device
// that was open before has been closed; a later good open works again.
void TestMediaPlayer::failedOpenLeavesNoDevice()
{
    QFETCH(QString, name);
    MediaPlayer player(nullptr, quietSinks());
    for (const QString &first : {QStringLiteral("track1.mp3"), QStringLiteral("1.avi")}) {
        player.setFileName(file(first));
        player.open();
        player.play();
        QVERIFY(player.isOpen());

        player.setFileName(file(name));
        const QString text = failureOf([&] { player.open(); });
        QVERIFY2(!text.isEmpty() && text != "<empty>", qPrintable(text));
        QVERIFY2(text != "Unknown error code", "the error's own text was lost");
        QVERIFY(!player.isOpen());
        QCOMPARE(failureOf([&] { player.play(); }), NoDevice);
        QCOMPARE(failureOf([&] { player.stop(); }), NoDevice);
    }
    player.setFileName(file("track1.mp3"));
    player.open();
    QVERIFY(player.isOpen());
}

void TestMediaPlayer::openPlayStopKeepTheDevice()
{
    MediaPlayer player(nullptr, quietSinks());
    player.setFileName(file("track1.mp3"));
    QCOMPARE(player.fileName(), file("track1.mp3"));
    for (int round = 0; round < 3; ++round) {
        player.open();
        QVERIFY(player.isOpen());
        player.play();
        player.stop();
        QVERIFY(player.isOpen());
        player.stop();
        player.play();
        QVERIFY(player.isOpen());
    }
}

// Whatever the machine's sound: with a sound server it plays there; without
// one the system's sink falls back to playing into nothing. Either way the
// music opens.
void TestMediaPlayer::systemSinksOpenMusic()
{
    MediaPlayer player;
    player.setFileName(file("track1.mp3"));
    player.open();
    player.play();
    QVERIFY(player.isOpen());
    player.stop();
}

void TestMediaPlayer::framesLandAtNaturalSizeTopLeft()
{
    VideoDisplay display;
    display.resize(409, 249);
    MediaPlayer player(nullptr, quietSinks());
    player.setFileName(file("1.avi"));
    player.open();
    player.setDisplay(&display);
    QCOMPARE(player.display(), &display);
    player.play();

    QTRY_VERIFY_WITH_TIMEOUT(showsTitle(display.currentFrame()), 10000);
    const QImage frame = display.currentFrame();
    QCOMPARE(frame.size(), QSize(408, 248));
    // A night sky: blue above red and green in the top corner.
    const QRgb corner = frame.pixel(4, 4);
    QVERIFY2(qBlue(corner) > qRed(corner) + 10 && qBlue(corner) > qGreen(corner) + 10,
             qPrintable(QString::number(corner, 16)));

    const QImage shown = display.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(409, 249));
    for (const QPoint &at : {QPoint(0, 0), QPoint(200, 120), QPoint(407, 247), QPoint(407, 0)})
        QCOMPARE(QColor(shown.pixel(at)), QColor(frame.pixel(at)));
}

// The replay timer reopens and restarts the video into the display set once.
void TestMediaPlayer::reopenRestartsIntoTheSameDisplay()
{
    VideoDisplay display;
    MediaPlayer player(nullptr, quietSinks());
    player.setDisplay(&display);
    player.setFileName(file("1.avi"));
    for (int round = 0; round < 3; ++round) {
        player.open();
        player.play();
        QTRY_VERIFY_WITH_TIMEOUT(showsSkyOnly(display.currentFrame()), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(showsTitle(display.currentFrame()), 10000);
    }
    QCOMPARE(player.display(), &display);
}

// Opening the playing file again takes it back to its beginning without
// opening it afresh; only the open, unchanged file restarts so.
void TestMediaPlayer::restartInPlaceGoesBackToTheBeginning()
{
    VideoDisplay display;
    MediaPlayer player(nullptr, quietSinks());
    player.setDisplay(&display);
    player.setFileName(file("1.avi"));
    QVERIFY(!player.restartedInPlace()); // nothing open yet
    player.open();
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(showsTitle(display.currentFrame()), 10000);
    const qint64 before = player.positionMs();
    QVERIFY2(before >= 500, qPrintable(QString::number(before)));
    QVERIFY(player.restartedInPlace());
    QVERIFY2(player.positionMs() < 100, qPrintable(QString::number(player.positionMs())));
    QTRY_VERIFY_WITH_TIMEOUT(showsSkyOnly(display.currentFrame()), 5000);
    player.setFileName(file("video.mp3"));
    QVERIFY(!player.restartedInPlace());
}

void TestMediaPlayer::playAfterStopGoesOn()
{
    VideoDisplay display;
    MediaPlayer player(nullptr, quietSinks());
    player.setDisplay(&display);
    player.setFileName(file("1.avi"));
    player.open();
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(showsTitle(display.currentFrame()), 10000);
    player.stop();
    player.play();
    const qint64 before = display.currentFrame().cacheKey();
    QTRY_VERIFY_WITH_TIMEOUT(display.currentFrame().cacheKey() != before, 10000);
    QVERIFY(showsTitle(display.currentFrame()));
}

// GStreamer looks at what a file holds, not at its name.
void TestMediaPlayer::contentDecidesNotTheName()
{
    VideoDisplay display;
    MediaPlayer player(nullptr, quietSinks());
    player.setDisplay(&display);

    player.setFileName(file("music.avi"));
    player.open();
    player.play();
    player.stop();
    QVERIFY(player.isOpen());

    player.setFileName(file("video.mp3"));
    player.open();
    player.play();
    QTRY_VERIFY_WITH_TIMEOUT(display.currentFrame().size() == QSize(408, 248), 10000);
}

// A player that leaves its sound output out still plays a sound track in
// real time once it meets one, after a silent file.
void TestMediaPlayer::soundComesWithItsTrack()
{
    MediaPlayer player(nullptr, {QStringLiteral("fakesink sync=true"), QStringLiteral("fakesink"), true});
    for (const char *name : {"1.avi", "music.avi"}) {
        player.setFileName(file(name));
        player.open();
    }
    QVERIFY(player.hasAudio());
    player.play();
    QTest::qWait(500);
    QVERIFY2(player.positionMs() > 200 && player.positionMs() < 2000, qPrintable(QString::number(player.positionMs())));
}

void TestMediaPlayer::frameAfterDisplayOrPlayerIsGone()
{
    auto player = std::make_unique<MediaPlayer>(nullptr, quietSinks());
    auto display = std::make_unique<VideoDisplay>();
    player->setDisplay(display.get());
    player->setFileName(file("1.avi"));
    player->open();
    player->play();
    QTRY_VERIFY_WITH_TIMEOUT(!display->currentFrame().isNull(), 10000);

    display.reset();
    QCOMPARE(player->display(), nullptr);
    QTest::qWait(200); // frames go on arriving with nowhere to land

    display = std::make_unique<VideoDisplay>();
    player->setDisplay(display.get());
    player->open();
    player->play();
    QTRY_VERIFY_WITH_TIMEOUT(!display->currentFrame().isNull(), 10000);
    // A delivery may still be queued when the player goes.
    player.reset();
    QTest::qWait(100);
    QVERIFY(!display->currentFrame().isNull());
}

void TestMediaPlayer::openTakesUpWhatWasPrepared_data()
{
    QTest::addColumn<QString>("prepared");
    QTest::addColumn<bool>("replacedMeanwhile"); // by random bytes, after prepare()
    QTest::addColumn<QString>("opened");
    QTest::newRow("same file") << "prep.mp3" << false << "prep.mp3";
    QTest::newRow("file replaced after prepare") << "prep.mp3" << true << "prep.mp3";
    QTest::newRow("another file opened") << "prep.mp3" << false << "noise.avi";
    QTest::newRow("bad file prepared") << "noise.avi" << false << "noise.avi";
    QTest::newRow("a pipe is never prepared") << "pipe.mp3" << false << "track1.mp3";
}

// An open takes up what prepare() started only for the same, unchanged
// file; anything else is opened afresh, failures with their own text.
void TestMediaPlayer::openTakesUpWhatWasPrepared()
{
    QFETCH(QString, prepared);
    QFETCH(bool, replacedMeanwhile);
    QFETCH(QString, opened);
    QFile::remove(file("prep.mp3"));
    QVERIFY(QFile::copy(file("track1.mp3"), file("prep.mp3")));
    QVERIFY(QFile::exists(file("pipe.mp3")) || ::mkfifo(QFile::encodeName(file("pipe.mp3")).constData(), 0600) == 0);

    MediaPlayer player(nullptr, quietSinks());
    player.setFileName(file(prepared));
    player.prepare();
    if (replacedMeanwhile) {
        QTest::qWait(500); // the prepared pipeline has read the first file by now
        QVERIFY(QFile::remove(file("prep.mp3")) && QFile::copy(file("noise.avi"), file("prep.mp3")));
    }
    player.setFileName(file(opened));
    const QString text = failureOf([&] { player.open(); });
    const bool opens = !replacedMeanwhile && opened.endsWith(".mp3");
    QVERIFY2(opens ? text.isEmpty() && player.hasAudio() : text.size() > 1 && text != "Unknown error code",
             qPrintable(text));
}

// A file source that hangs in its open (a named pipe nobody writes to) holds
// its worker's thread; the thread is retired and the next change gets a
// thread of its own. Past the cap, players open nothing new until the
// retired threads have ended.
void TestMediaPlayer::sourcesThatHangRetireTheirThreads()
{
    using namespace std::chrono;
    QStringList pipes;
    for (int i = 0; i < StateWorker::MaxRetired; ++i) {
        pipes << file(QStringLiteral("hang%1").arg(i));
        QCOMPARE(::mkfifo(QFile::encodeName(pipes.last()).constData(), 0600), 0);
        const QByteArray description = "filesrc location=" + QFile::encodeName(pipes.last()) + " ! fakesink";
        GstElement *pipeline = gst_parse_launch(description.constData(), nullptr);
        QVERIFY(pipeline);
        StateWorker worker;
        GstStateChangeReturn result;
        auto hung = worker.change(pipeline, GST_STATE_PAUSED);
        QVERIFY(!hung.wait(steady_clock::now() + milliseconds(300), &result));
        hung.abandon();
        worker.retire();
        gst_object_unref(pipeline);
        QCOMPARE(StateWorker::retired(), i + 1);
    }
    MediaPlayer player(nullptr, quietSinks());
    player.setFileName(file("track1.mp3"));
    QCOMPARE(failureOf([&] { player.open(); }), QStringLiteral("Unknown error code"));

    for (const QString &pipe : pipes) { // the sources answer: end of file
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
        QVERIFY(writer >= 0);
        ::close(writer);
    }
    QTRY_COMPARE(StateWorker::retired(), 0);
    player.open();
    QVERIFY(player.isOpen());
}

QTEST_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
