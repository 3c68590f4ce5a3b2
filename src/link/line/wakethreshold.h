// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The terminal under a serial port, reached directly where the system allows it. A plain
// UART hands bytes over one at a time, thousands a second; waking the program for each one
// costs more than the transfer itself, so a waiter that knows how many bytes it needs asks
// the line to wake it once they are all there. Looking at what has come, or handing a
// frame to the line, then takes one system call each rather than a round through the
// port's notifiers.

#include <QSerialPort>

namespace rw {

// Makes the line of `serial` report bytes as readable only once `count` (1..255) are
// waiting. Does nothing where the system offers no such setting; a waiter then wakes at
// every byte as before.
void setWakeThreshold(QSerialPort &serial, int count);

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

} // namespace rw
