// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The terminal under a serial port, reached directly where the system allows it. A plain
// UART hands bytes over one at a time, thousands a second; waking the program for each one
// costs more than the transfer itself, so a waiter that knows how many bytes it needs asks
// the line to wake it once they are all there. Looking at what has come, handing a frame
// to the line, or waiting on a thread without an event loop then takes one system call
// each rather than a round through the port's notifiers.

#include <QSerialPort>

namespace rw {

// The count of bytes that makes the line of a port report itself readable. The terminal's
// settings are read once and kept, so that moving the threshold, which a transfer does at
// every reply, costs one system call.
class WakeThreshold {
public:
    // Sets the count (1..255); nothing when the terminal holds it already. Does nothing
    // where the system offers no such setting: a waiter then wakes at every byte.
    void set(QSerialPort &serial, int count);
    // The port has set the terminal's whole state again (a new baud rate, a new device).
    void forget() { count_ = 0; }

private:
    alignas(8) unsigned char settings_[64] = {}; // the terminal's settings as last read
    int count_ = 0;                              // 0: not known
};

// How many received bytes wait in the system's queue, whatever the wake threshold; -1 where
// that cannot be asked.
qint64 systemBytesWaiting(QSerialPort &serial);

// Takes up to `max` bytes from the system's queue, past the port's own buffer (which the
// caller has emptied first); the count taken, 0 when none wait, -1 where the queue cannot
// be read directly or the read failed (the port's notifier then reports why).
qint64 readSystemQueue(QSerialPort &serial, char *buffer, qint64 max);

// Hands bytes straight to the system's queue (the port's own write buffer being empty);
// the count taken, which may be fewer (0 when the queue is full), or -1 where that cannot
// be done or the write failed.
qint64 writeSystemQueue(QSerialPort &serial, const char *buffer, qint64 count);

enum class LineWait { Elapsed, Readable, Failed, Unsupported };

// Sleeps on this thread for at most `wallMs`, without an event loop: until the line
// reaches its wake threshold (when `forBytes`), a stop is asked for, or the time is up.
// Failed when the device reports an error or hang-up (the port learns which by reading);
// Unsupported where the system cannot wait this way.
LineWait waitForLine(QSerialPort &serial, bool forBytes, int wallMs);

} // namespace rw
