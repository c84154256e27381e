#include "startup.h"

#include "about.h"
#include "fixeddpistyle.h"
#include "fonts.h"
#include "identification.h"
#include "reveal.h"
#include "mainwindow.h"
#include "widgets.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>

namespace zorelad {

Clock Clock::monotonic()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    // Whole seconds count from an arbitrary but fixed origin, like an uptime counter.
    const qint64 origin = timer->msecsSinceReference();
    return {[timer, origin] { return origin + timer->elapsed(); },
            [](qint64 ms) { QThread::msleep(static_cast<unsigned long>(ms)); }};
}

void startupPause(const Clock &clock, const std::function<void()> &meanwhile)
{
    const qint64 startSecond = clock.nowMs() / 1000;
    const qint64 endMs = (startSecond + 5) * 1000;
    if (meanwhile)
        meanwhile();
    for (qint64 now = clock.nowMs(); now < endMs; now = clock.nowMs())
        clock.sleepMs(endMs - now);
}

Windows createWindows(const StartupOptions &options)
{
    // The first widgets connect Qt to the desktop's message bus (for
    // accessibility). Without a bus, the connection forks to start one, and
    // a fork while the media players' threads are busy can leave the child
    // stuck on a lock one of them held, and the window waiting for it for
    // good. So the connection is made here, before any player exists.
    QDBusConnection::sessionBus();
    installFontSubstitutions();
    letEnterPressButtons();
    Windows windows;
    windows.Form1 = std::make_unique<TForm1>(options);
    windows.Form1->FormCreate();
    TForm1 *main = windows.Form1.get();
    holdStyleAt96Dpi(main);
    windows.Form2 = new TForm2(*main, main);
    windows.Form3 = new TForm3([main] { main->revealAnswer(); }, main);
    windows.Form4 = new TForm4(main);
    main->attachDialogs(windows.Form2, windows.Form3, windows.Form4);
    return windows;
}

WindowSystem chooseWindowSystem(const QByteArray &chosen, const QByteArray &display, const QByteArray &waylandDisplay)
{
    if (!chosen.isEmpty())
        return {{}, chosen.startsWith("wayland")};
    if (!display.isEmpty())
        return {"xcb", false};
    return {{}, !waylandDisplay.isEmpty()};
}

bool useWindowSystem()
{
    const WindowSystem system =
        chooseWindowSystem(qgetenv("QT_QPA_PLATFORM"), qgetenv("DISPLAY"), qgetenv("WAYLAND_DISPLAY"));
    if (!system.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", system.platform);
    return system.placedByCompositor;
}

} // namespace zorelad
