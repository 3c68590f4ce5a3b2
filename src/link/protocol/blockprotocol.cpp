// SPDX-License-Identifier: GPL-3.0-or-later
#include "blockprotocol.h"

#include "framecodec.h"
#include "link/line/commport.h"
#include "link/line/stoprequest.h"
#include "model/fieldlayout.h"
#include "transferview.h"

#include <algorithm>
#include <utility>

namespace rw {

namespace {

constexpr int MsPerPollStep = 10;

// While a reply is awaited the line wakes the protocol once, when the whole reply is there.
// A reply that stops short would wake nobody, so the protocol also looks at what has come
// every so many poll steps: less than a tenth of a byte's budget of 101, so that a reply
// cut short fails within a budget and a tenth after its last byte.
constexpr int LookEverySteps = 8;

// Where a block of n bytes at a transmitter address lies in the image; -1 when it does
// not lie wholly inside.
int imageOffset(const QByteArray &image, uint16_t address, int n)
{
    const int offset = static_cast<int>(address) - TransmitterBaseAddress;
    if (offset < 0 || n < 0 || offset + n > image.size())
        return -1;
    return offset;
}

} // namespace

BlockProtocol::BlockProtocol(TCommPort &port, const WaitClock &clock, TransferView &view)
    : port_(port), clock_(clock), view_(view), lineWait_(clock, &port, LineWaiter::OnBytes),
      pause_(clock, &port, LineWaiter::AtDeadline)
{
}

bool BlockProtocol::WriteBlock(const QByteArray &image, uint16_t address, int n)
{
    fault_ = {};
    view_.repaintProgress();
    const int offset = imageOffset(image, address, n);
    if (offset < 0 || n > frame::MaxWriteData)
        return false;
    SendFrame(frame::writeRequest(address, QByteArrayView(image).sliced(offset, n)));
    uint8_t ack[frame::AckSize];
    if (!ReceiveBytes(ack, frame::AckSize, AckPollStep))
        return false;
    if (QByteArrayView(ack, frame::AckSize) != frame::writeAcknowledgement()) {
        fault_ = {ReplyFault::WrongReply, frame::AckSize, frame::AckSize};
        return false;
    }
    return true;
}

bool BlockProtocol::ReadBlock(QByteArray &image, uint16_t address, int n)
{
    fault_ = {};
    view_.repaintProgress();
    const int offset = imageOffset(image, address, n);
    QByteArray reply;
    if (offset < 0 || !fetchBlock(address, n, ReadPollStep, reply))
        return false;
    const QByteArrayView data = frame::readReplyData(reply, n);
    std::copy(data.begin(), data.end(), image.begin() + offset);
    return true;
}

bool BlockProtocol::VerifyBlock(const QByteArray &image, uint16_t address, int n)
{
    fault_ = {};
    const int offset = imageOffset(image, address, n);
    QByteArray reply;
    if (offset < 0 || !fetchBlock(address, n, AckPollStep, reply))
        return false;
    if (frame::readReplyData(reply, n) != QByteArrayView(image).sliced(offset, n)) {
        fault_ = {ReplyFault::Mismatch, static_cast<int>(reply.size()),
                  static_cast<int>(reply.size())};
        return false;
    }
    return true;
}

bool BlockProtocol::fetchBlock(uint16_t address, int n, int pollStep, QByteArray &reply)
{
    if (n > frame::MaxReadData)
        return false;
    SendFrame(frame::readRequest(address, n));
    reply.resize(frame::readReplySize(n));
    if (!ReceiveBytes(reinterpret_cast<uint8_t *>(reply.data()), static_cast<int>(reply.size()),
                      pollStep))
        return false;
    if (!frame::readReplyIntact(reply, n)) {
        fault_ = {ReplyFault::BadChecksum, static_cast<int>(reply.size()),
                  static_cast<int>(reply.size())};
        view_.warn(QStringLiteral("Checksum Error !"));
        return false;
    }
    return true;
}

bool BlockProtocol::SendFrame(const QByteArray &frame)
{
    // Nothing goes out after a stop, whenever it was seen.
    if (!port_.IsOpen() || stopRequested())
        return false;
    port_.Write(frame.constData(), frame.size());
    requestBytes_ = static_cast<int>(frame.size());
    view_.requestSent();
    return true;
}

bool BlockProtocol::ReceiveBytes(uint8_t *buffer, int count, int pollStep)
{
    if (!port_.IsOpen())
        return false;
    const int stepMs = pollStep * MsPerPollStep;
    const qint64 requestAt = clock_.nowMs();
    awaitLineTime(requestAt, count);
    int got = 0;
    // The first byte's budget runs from the request. Every later byte's runs from the first
    // look that found nothing after the reply grew: never before its bytes arrived, at most
    // a look interval after.
    qint64 budgetFrom = requestAt;
    bool armed = false;
    qint64 nextLook = -1;
    while (got < count) {
        const uint32_t waiting = port_.BytesAvailable();
        if (waiting > 0) {
            got += static_cast<int>(port_.ReadBytes(reinterpret_cast<char *>(buffer) + got,
                                                    std::min<qint64>(waiting, count - got)));
            budgetFrom = -1;
            armed = false;
            continue;
        }
        if (!armed) {
            // Take every byte that has come before asking the line to wake at the rest.
            port_.TakePending();
            if (port_.BytesAvailable() > 0)
                continue;
            const qint64 now = clock_.nowMs();
            if (budgetFrom < 0)
                budgetFrom = now;
            nextLook = now + LookEverySteps * stepMs;
            // Wake when the rest of the reply is there, or at the next look.
            port_.WakeWhenAvailable(count - got);
            armed = true;
        }
        const qint64 now = clock_.nowMs();
        const qint64 acceptUntil = budgetFrom + WaitsPerByte * stepMs;
        if (now >= acceptUntil) {
            // Bytes short of the rest may be waiting unseen: they arrived in time.
            port_.TakePending();
            if (port_.BytesAvailable() > 0)
                continue;
            // That was the look at the end of the 100th step; the 101st step ends in the
            // time-out without another look.
            PumpWait(stepMs);
            return timedOut(got, count);
        }
        if (now >= nextLook) {
            // A reply that stops short never wakes the line: see what has come so far.
            armed = false;
            continue;
        }
        if (!lineWait_.waitUntil(std::min(acceptUntil, nextLook)))
            return timedOut(got, count); // the application is quitting
    }
    return true;
}

void BlockProtocol::awaitLineTime(qint64 requestAt, int count)
{
    // Each byte takes ten bit times on the line (start, eight data, stop), and the transmitter
    // answers a request only once all of it has come: before the request and all but the
    // last two bytes of the reply can have crossed the line, looking at it would only cost
    // wake-ups. Meanwhile the line does not wake the protocol at every byte either.
    const int onTheLine = std::exchange(requestBytes_, 0) + count - 2;
    const uint32_t baud = port_.BaudRate();
    if (baud == 0 || onTheLine <= 0)
        return;
    const qint64 until = requestAt + qint64(onTheLine) * 10 * 1000 / baud;
    if (until <= clock_.nowMs())
        return;
    port_.WatchLine(false);
    while (clock_.nowMs() < until) {
        if (!pause_.waitUntil(until))
            break;
    }
    port_.WatchLine(true);
}

bool BlockProtocol::timedOut(int arrived, int expected)
{
    fault_ = {arrived == 0 ? ReplyFault::NoAnswer : ReplyFault::ShortReply, arrived, expected};
    port_.Note(QStringLiteral("time-out: %1 of %2 reply bytes arrived").arg(arrived).arg(expected));
    port_.Purge();
    view_.setProgressPosition(0);
    return false;
}

void BlockProtocol::PumpWait(int ms)
{
    const qint64 end = clock_.nowMs() + ms;
    while (clock_.nowMs() < end) {
        if (!pause_.waitUntil(end))
            return;
    }
}

} // namespace rw
