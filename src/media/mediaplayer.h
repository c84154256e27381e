#pragma once
// An invisible media player: a file name, an open device (or none) and an
// optional display window. Open closes any open device and opens the named
// file synchronously; play starts from the current position and returns at
// once; stop pauses and keeps the device open. Failures are thrown as
// zorelad::Failure with the media system's own text.

#include <QObject>
#include <QString>
#include <memory>

namespace zorelad {

class VideoDisplay;
struct FileIdentity;

// Where the sound and pictures go, as GStreamer launch descriptions. An empty
// audio sink means the system's default output; an empty video sink means the
// display window set on the player. Tests pass fixed sinks (for example
// "fakesink sync=true").
// A player for pictures may leave out its sound output until a file with a
// sound track comes: opening the system's sound output costs time at every
// start, and most videos are silent.
struct MediaSinks {
    QString audioSink;
    QString videoSink;
    bool soundOnlyWithTrack = false;
};

class MediaPlayer : public QObject {
    Q_OBJECT
public:
    explicit MediaPlayer(QObject *parent = nullptr, MediaSinks sinks = {});
    ~MediaPlayer() override;

    void setFileName(const QString &fileName);
    QString fileName() const;

    void open();
    // Starts opening the named file in the background, for an open() soon
    // to come: that open takes up what was prepared when it names the same
    // file, unchanged, and waits only for the rest. Failures are left for
    // that open to report. Does nothing while a device is open.
    void prepare();
    void play();
    void stop();
    void setDisplay(VideoDisplay *display);
    VideoDisplay *display() const;

    bool isOpen() const;
    // Whether the open file has a sound track; false without an open device.
    bool hasAudio() const;

    // Where the open file is playing, in milliseconds from its beginning;
    // 0 without a device or when the media system cannot tell.
    qint64 positionMs() const;

    // Takes the open file, unchanged and playing without error, back to its
    // beginning where it stands: paused there with the first picture shown,
    // as a fresh open leaves it. False when it cannot; open() then opens the
    // file afresh.
    bool restartedInPlace();

signals:
    // A file was opened successfully.
    void opened();

private:
    void requireDevice() const;
    void closeDevice();
    void createPipeline();
    void dropPipeline(bool mayBeStuck);
    void setSource();
    bool takePrepared(const FileIdentity &file);
    enum class Preroll { Ready, Failed, Stuck };
    void startPreroll();
    void preroll();
    Preroll prerolled();
    bool reachedPause() const;
    int audioStreams() const;

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace zorelad
