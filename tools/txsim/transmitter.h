// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The simulated transmitter: its 2048-byte settings memory at 0x1000..0x17FF, its answers
// to write and read requests, and the faults it can be told to make.

#include "link/protocol/framecodec.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

// The "after" faults count requests answered before things go wrong (0: from the first
// request on; -1: never). The others name the 1-based reply that goes wrong (0: none).
struct Faults {
    int silentAfter = -1;   // no answer to any request after this many
    int hangUpAfter = -1;   // the device disappears at the request after this many
    int stormAfter = -1;    // a ceaseless stream of bytes instead of the answer after this many
    int badChecksum = 0;    // the Nth reply carries a wrong checksum
    int badAckLetter = 0;   // the Nth acknowledgement has a wrong letter in its header
    int verifyMismatch = 0; // the Nth read reply has a data byte changed (checksum correct)
    int garbage = 0;        // the Nth reply is replaced by random bytes of its length
    int truncate = 0;       // only the first half of the Nth reply is sent
    int extraBytes = 0;     // the Nth reply is followed by five bytes nobody asked for
    int pause = 0;          // the Nth reply stops halfway for pauseMs, then goes on
    int pauseMs = 0;
};

class Transmitter {
public:
    static constexpr int MemorySize = 2048;
    static constexpr int BaseAddress = 0x1000;

    explicit Transmitter(const Faults &faults);

    QByteArray &memory() { return memory_; }
    const QByteArray &memory() const { return memory_; }

    enum class Action { Reply, Ignore, HangUp, Storm };
    struct Answer {
        Action action = Action::Ignore;
        QByteArray bytes;   // for Reply
        bool wrote = false; // memory changed
        int pauseAt = -1;   // the line stops for Faults::pauseMs before this byte
    };
    // What the transmitter does with one complete frame from the line.
    Answer answer(const rw::frame::Frame &request);

private:
    QByteArray handleWrite(const QByteArray &body, bool &wrote);
    QByteArray handleRead(const QByteArray &body);
    QByteArray withReplyFaults(QByteArray reply, bool isAck, bool isRead, int &pauseAt);

    Faults faults_;
    QByteArray memory_;
    int requests_ = 0;
    int replies_ = 0;
    int acks_ = 0;
    int readReplies_ = 0;
    QRandomGenerator random_{830};
};
