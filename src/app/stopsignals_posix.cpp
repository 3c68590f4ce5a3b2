// SPDX-License-Identifier: GPL-3.0-or-later
// SIGTERM, SIGHUP and SIGINT reach the window's event loop through a socket pair: the
// handler writes the signal's number, a notifier reads it.
#include "stopsignals.h"

#include <QObject>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace rw {

namespace {

// A signal handler may do next to nothing: it writes the signal's number as a byte, and
// the event loop reads it.
int signalSocket[2] = {-1, -1};

void noteStopSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(signalSocket[0], &byte, 1);
}

} // namespace

void onStopSignals(QObject &context, std::function<void(int)> stop)
{
    // One socket for the program's life; each window listening to it has its own notifier.
    if (signalSocket[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalSocket) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, &context);
    QObject::connect(notifier, &QSocketNotifier::activated, &context, [stop] {
        char byte = 0;
        if (::read(signalSocket[1], &byte, 1) == 1)
            stop(static_cast<unsigned char>(byte));
    });

    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT})
        sigaction(signal, &action, nullptr);
}

} // namespace rw
