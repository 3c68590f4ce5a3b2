// SPDX-License-Identifier: GPL-3.0-or-later
#include "stopsignals.h"

#include <QWidget>

#ifdef Q_OS_UNIX
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace rw {

#ifdef Q_OS_UNIX

namespace {

// A signal handler may do next to nothing: it writes a byte, and the event loop reads it.
int signalSocket[2] = {-1, -1};

void noteStopSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalSocket[0], &byte, 1);
}

} // namespace

void closeOnStopSignals(QWidget &window, std::function<bool()> close)
{
    if (signalSocket[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSocket) != 0)
        return;
    if (!close)
        close = [&window] { return window.close(); };
    auto *notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &window);
    // The window refuses to close during a transfer; it closes once the transfer is over.
    auto *retry = new QTimer(&window);
    retry->setInterval(250);
    QObject::connect(retry, &QTimer::timeout, &window, [close, retry] {
        if (close())
            retry->stop();
    });
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [close, retry] {
        char byte = 0;
        [[maybe_unused]] const ssize_t n = ::read(signalSocket[1], &byte, 1);
        if (!close())
            retry->start();
    });

    struct sigaction stop {};
    stop.sa_handler = noteStopSignal;
    sigemptyset(&stop.sa_mask);
    stop.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &stop, nullptr);
}

#else

void closeOnStopSignals(QWidget &, std::function<bool()>) {}

#endif

} // namespace rw
