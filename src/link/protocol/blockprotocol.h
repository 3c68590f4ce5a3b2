// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The programming protocol's block operations over the open port: one request, one
// reply, with a time-out for every reply byte. A time-out or a bad reply gives false;
// errors of the port itself (ECommError) travel to the caller.

#include "link/line/waitclock.h"
#include "transferoutcome.h"

#include <QByteArray>
#include <cstdint>

namespace rw {

class TCommPort;
class TransferView;

// Waits per reply byte are counted in poll steps of 10 ms.
constexpr int AckPollStep = 3;    // write acknowledgement and verify reply: 30 ms
constexpr int ReadPollStep = 6;   // read reply: 60 ms
constexpr int WaitsPerByte = 100; // a byte is accepted within 100 steps, refused after 101

class BlockProtocol {
public:
    BlockProtocol(TCommPort &port, const WaitClock &clock, TransferView &view);

    // Sends image bytes [address - 0x1000, + n) with a write request; true when the
    // 16-byte acknowledgement arrives exactly as it must.
    bool WriteBlock(const QByteArray &image, uint16_t address, int n);
    // Reads n bytes into the image at address - 0x1000; the image is untouched unless
    // the reply's checksum is right.
    bool ReadBlock(QByteArray &image, uint16_t address, int n);
    // Reads n bytes back and compares them with the image.
    bool VerifyBlock(const QByteArray &image, uint16_t address, int n);

    // Hands the frame to the port in one write, then tells the view it is on its way; false
    // (nothing sent) when the port is closed or a stop was asked for.
    bool SendFrame(const QByteArray &frame);
    // Collects exactly `count` bytes, each within its own budget of poll steps counted from
    // the byte before it.
    bool ReceiveBytes(uint8_t *buffer, int count, int pollStep);
    // Waits the given milliseconds while window events run.
    void PumpWait(int ms);

    // What was wrong with the reply of the last block operation that failed on its reply.
    struct Fault {
        ReplyFault kind = ReplyFault::None;
        int arrived = 0;  // reply bytes that came
        int expected = 0; // reply bytes awaited
    };
    const Fault &lastFault() const { return fault_; }

private:
    bool fetchBlock(uint16_t address, int n, int pollStep, QByteArray &reply);
    // Sleeps, the line unwatched, until a reply of `count` bytes to the request sent at
    // `requestAt` can nearly all have crossed the line at the port's baud rate.
    void awaitLineTime(qint64 requestAt, int count);
    bool timedOut(int arrived, int expected);

    TCommPort &port_;
    const WaitClock &clock_;
    TransferView &view_;
    LineWaiter lineWait_; // wakes on arriving bytes
    LineWaiter pause_;    // wakes only at its deadline
    Fault fault_;
    int requestBytes_ = 0; // the frame sent last, until its reply is waited for
};

} // namespace rw
