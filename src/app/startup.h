#pragma once
// Start-up: the deliberate pause before the main window appears, and the
// creation of the program's four windows.

#include "mediaplayer.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>

namespace zorelad {

class TForm1;
class TForm2;
class TForm3;
class TForm4;

// A millisecond clock that never goes back, and a way to wait.
struct Clock {
    std::function<qint64()> nowMs;
    std::function<void(qint64 ms)> sleepMs;
    static Clock monotonic();
};

// Blocks until the clock's whole-second count is at least five past the one
// it started in: between four and five seconds. Processes no window events.
// `meanwhile` runs inside the pause, which it does not make longer.
void startupPause(const Clock &clock, const std::function<void()> &meanwhile = {});

struct StartupOptions {
    Clock clock = Clock::monotonic();
    MediaSinks sinks;   // where the music and the video go; empty for the system's own
    QString programDir; // tests' stand-in for the executable's directory; empty for the real one
};

struct Windows {
    std::unique_ptr<TForm1> Form1;
    TForm2 *Form2 = nullptr;
    TForm3 *Form3 = nullptr;
    TForm4 *Form4 = nullptr;
};

// The window system the program runs on, from the session's environment:
// X11 wherever an X server is reachable, also inside a Wayland session
// (XWayland), since only there do windows stand where they are placed;
// otherwise Qt's own choice, or the one the user made (QT_QPA_PLATFORM).
struct WindowSystem {
    QByteArray platform;     // for QT_QPA_PLATFORM; empty to leave it as it is
    bool placedByCompositor; // Wayland alone: the window positions are lost
};
WindowSystem chooseWindowSystem(const QByteArray &chosen, const QByteArray &display, const QByteArray &waylandDisplay);

// Applies the choice to this process before the application object is made;
// returns whether window positions are left to the compositor.
bool useWindowSystem();

// Creates the main window (which runs its start-up handler), then the three
// dialogs, hidden. The caller shows Form1.
Windows createWindows(const StartupOptions &options = {});

} // namespace zorelad
