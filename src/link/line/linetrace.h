// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain-text record of what happened on the transmitter's lines, for a person to read or
// to attach to a bug report. One line per event, each with its time in seconds since the
// trace began (a monotonic clock), the port and what happened:
//
//   0.000213 /dev/ttyUSB0 -- open at 19200 baud, 8 data bits, no parity, 1 stop bit
//   0.004213 /dev/ttyUSB0 >> 54 65 61 6C 43 6F 6E 64 6F 72 32 52 03 10 00 80 01 17
//   0.081870 /dev/ttyUSB0 << 54 65 61 6C ... 3F 12 (143 waiting, waited from 0.004250)
//   3.034100 /dev/ttyUSB0 -- time-out: 8 of 16 reply bytes arrived
//   3.034150 /dev/ttyUSB0 -- purge dropped nothing
//   3.034400 /dev/ttyUSB0 -- close, 5 bytes unread: 00 55 AA FF 06
//
// ">>" is a frame as it was handed to the line. "<<" is a run of bytes taken from the line
// at once, stamped when it was taken: the bytes arrived after the wait began (the time
// after "waited from") and before the stamp; "waiting" is how many the line held then,
// which may be more than were taken. A run taken without waiting has no "waited from".
// "--" lines are everything else: open, close with the bytes left unread, purges with the
// bytes they dropped, time-outs, and notes from the program.
//
// Every line is handed to the file as soon as it is made, so a crash or a signal keeps
// what was written. Several ports may share one trace from several threads.

#include <QByteArrayView>
#include <QElapsedTimer>
#include <QMutex>
#include <QString>

class QIODevice;

namespace rw {

class LineTrace {
public:
    // The trace writes to `out`, which must stay open while the trace lives.
    explicit LineTrace(QIODevice &out);

    // The trace's clock: nanoseconds since it began.
    qint64 nowNs() const;

    void sent(const QString &port, const char *bytes, qint64 count);
    // A run of bytes taken from the line at once: `waiting` bytes were there, and the wait
    // for them began at `waitSinceNs` on the trace's clock (negative: no wait).
    void received(const QString &port, QByteArrayView bytes, qint64 waiting, qint64 waitSinceNs);
    // A purge of the line, with the bytes it threw away unread.
    void purged(const QString &port, QByteArrayView dropped);
    // The port closed, with the bytes the line still held.
    void closed(const QString &port, QByteArrayView unread);
    // One line of its own: time, port, "--", the text (line breaks become blanks).
    void note(const QString &port, const QString &text);
    // False once a write to the trace's file failed.
    bool ok() const;

private:
    void writeLine(const QString &port, const char *mark, QByteArrayView text);

    mutable QMutex mutex_;
    QIODevice &out_;
    QElapsedTimer clock_;
    bool ok_ = true;
};

} // namespace rw
