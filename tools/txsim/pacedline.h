// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulator's side of the serial line: reads what the PC sends, and sends replies no
// faster than a real line at the given baud rate (10 bits a byte) would carry them, after
// the request itself has had time to arrive.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class QSocketNotifier;

class PacedLine : public QObject {
public:
    // baud 0 sends at once; latencyMs delays every reply; chunkBytes is how many bytes the
    // line hands over at a time (1: one by one, as a plain UART without a FIFO does).
    PacedLine(int fd, int baud, int latencyMs, int chunkBytes);

    // Called with every piece of data read from the line.
    std::function<void(const QByteArray &)> onReceived;
    // Called when the first bytes after a whole reply arrive, with the microseconds since
    // its last byte went out: how long the PC took to turn round to its next request.
    std::function<void(qint64)> onTurnaround;

    // Queues a reply to go out once the request that asked for it has fully arrived; with
    // pauseAt >= 0 the line falls silent for pauseMs before that byte.
    void sendReply(const QByteArray &bytes, int pauseAt = -1, int pauseMs = 0);
    // Floods the line with bytes from now on, as fast as it takes them.
    void startStorm();
    // Stops all reading and sending, before the line goes away.
    void stop();

private:
    void readable();
    void sendDue();
    qint64 nowUs() const { return clock_.nsecsElapsed() / 1000; }
    qint64 wireUs(qsizetype bytes) const;

    struct Chunk {
        qint64 dueUs;
        QByteArray bytes;
    };

    int fd_;
    int baud_;
    qint64 latencyUs_;
    qsizetype chunkBytes_;
    QElapsedTimer clock_;
    QSocketNotifier *notifier_;
    QTimer sendTimer_;
    QTimer stormTimer_;
    std::deque<Chunk> outgoing_;
    qint64 receivedUntilUs_ = 0; // when the last byte read would have finished arriving
    qint64 sentUntilUs_ = 0;     // when the last queued byte will have left
    qint64 replyEndUs_ = -1;     // when the last reply went out whole; -1: nothing since
};
