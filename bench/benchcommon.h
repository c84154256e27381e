#pragma once
// What the benchmark's processes share: clocks, the process's own CPU time
// and peak memory, and an application object that notes the moment its main
// window has been painted for the first time.
//
// Header-only, and without GStreamer, so that the bare Qt window links
// nothing the program's own libraries bring in.

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <functional>
#include <sys/resource.h>

namespace bench {

// CLOCK_MONOTONIC in nanoseconds: the same clock in every process, so a
// child's moment can be compared with the moment its parent started it.
inline qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// User and system time of every thread of this process, in seconds.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The largest resident set this process has had, in kilobytes.
inline long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// One result line for the driver: "key=value ...".
inline void report(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// An application that calls back once its watched window has been painted:
// when the outermost event delivery that painted the window itself (and,
// inside it, its children) returns, so the whole first frame is done.
class FirstPaintApplication : public QApplication {
public:
    using QApplication::QApplication;

    void watch(QWidget *window, std::function<void()> painted)
    {
        m_window = window;
        m_painted = std::move(painted);
    }

    bool notify(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        ++m_depth;
        const bool result = QApplication::notify(receiver, event);
        --m_depth;
        if (m_window && receiver == m_window && type == QEvent::Paint)
            m_windowPainted = true;
        if (m_depth == 0 && m_windowPainted && m_painted) {
            auto painted = std::move(m_painted);
            m_painted = nullptr;
            painted();
        }
        return result;
    }

private:
    QWidget *m_window = nullptr;
    std::function<void()> m_painted;
    bool m_windowPainted = false;
    int m_depth = 0;
};

} // namespace bench
