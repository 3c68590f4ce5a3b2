// SPDX-License-Identifier: GPL-3.0-or-later
#include "transmitter.h"

Transmitter::Transmitter(const Faults &faults) : faults_(faults), memory_(MemorySize, '\0') {}

Transmitter::Answer Transmitter::answer(const rw::frame::Frame &request)
{
    ++requests_;
    Answer a;
    if (faults_.hangUpAfter >= 0 && requests_ > faults_.hangUpAfter) {
        a.action = Action::HangUp;
        return a;
    }
    if (faults_.stormAfter >= 0 && requests_ > faults_.stormAfter) {
        a.action = Action::Storm;
        return a;
    }
    if (faults_.silentAfter >= 0 && requests_ > faults_.silentAfter)
        return a;
    if (!request.checksumOk)
        return a; // a damaged request goes unanswered
    if (request.command == rw::frame::WriteCommand) {
        const QByteArray ack = handleWrite(request.body, a.wrote);
        if (!ack.isEmpty()) {
            a.action = Action::Reply;
            a.bytes = withReplyFaults(ack, true, false, a.pauseAt);
        }
    } else if (request.command == rw::frame::ReadCommand) {
        const QByteArray reply = handleRead(request.body);
        if (!reply.isEmpty()) {
            a.action = Action::Reply;
            a.bytes = withReplyFaults(reply, false, true, a.pauseAt);
        }
    }
    return a;
}

QByteArray Transmitter::handleWrite(const QByteArray &body, bool &wrote)
{
    if (body.size() < 2)
        return {};
    const int address = static_cast<uint8_t>(body[0]) << 8 | static_cast<uint8_t>(body[1]);
    const qsizetype n = body.size() - 2;
    if (address < BaseAddress || address - BaseAddress + n > MemorySize)
        return {};
    memory_.replace(address - BaseAddress, n, body.constData() + 2, n);
    wrote = true;
    return rw::frame::writeAcknowledgement();
}

QByteArray Transmitter::handleRead(const QByteArray &body)
{
    if (body.size() != 3)
        return {};
    const int address = static_cast<uint8_t>(body[0]) << 8 | static_cast<uint8_t>(body[1]);
    const int n = static_cast<uint8_t>(body[2]);
    if (address < BaseAddress || address - BaseAddress + n > MemorySize)
        return {};
    QByteArray data = memory_.mid(address - BaseAddress, n);
    // This reply will be read reply number readReplies_ + 1.
    if (faults_.verifyMismatch && readReplies_ + 1 == faults_.verifyMismatch && n > 0)
        data[0] = static_cast<char>(data[0] ^ 0xFF);
    return rw::frame::readReply(data);
}

QByteArray Transmitter::withReplyFaults(QByteArray reply, bool isAck, bool isRead, int &pauseAt)
{
    ++replies_;
    if (isAck)
        ++acks_;
    if (isRead)
        ++readReplies_;
    if (isAck && acks_ == faults_.badAckLetter)
        reply[3] = 'L'; // "TeaLCondor": outside the checksum, so only a full compare sees it
    if (replies_ == faults_.badChecksum)
        reply[reply.size() - 1] = static_cast<char>(reply[reply.size() - 1] ^ 0x01);
    if (replies_ == faults_.garbage) {
        for (char &c : reply)
            c = static_cast<char>(random_.bounded(256));
    }
    if (replies_ == faults_.truncate)
        reply.truncate(reply.size() / 2);
    if (replies_ == faults_.extraBytes)
        reply.append("\x00\x55\xAA\xFF\x06", 5);
    if (replies_ == faults_.pause)
        pauseAt = static_cast<int>(reply.size() / 2);
    return reply;
}
