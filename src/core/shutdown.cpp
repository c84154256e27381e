#include "shutdown.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace zorelad {

namespace {

// The signal handler writes to one end, the event loop watches the other:
// a handler may do little more than write(2).
int s_wakeUp[2] = {-1, -1};

void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(s_wakeUp[0], &byte, 1);
    errno = saved;
}

} // namespace

void quitOnTerminationSignals()
{
    if (s_wakeUp[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_wakeUp) != 0)
        return;
    auto *notifier = new QSocketNotifier(s_wakeUp[1], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(s_wakeUp[1], bytes, sizeof bytes) > 0) {}
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

} // namespace zorelad
