// SPDX-License-Identifier: GPL-3.0-or-later
#include "framecodec.h"

namespace rw::frame {

namespace {

const QByteArrayView HeaderView(Header, HeaderSize);

} // namespace

uint16_t byteSum(QByteArrayView bytes)
{
    uint16_t sum = 0;
    for (char c : bytes)
        sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(c));
    return sum;
}

QByteArray buildFrame(uint8_t command, QByteArrayView body)
{
    Q_ASSERT(body.size() <= 255);
    QByteArray f;
    f.reserve(Overhead + body.size());
    f.append(HeaderView);
    f.append(static_cast<char>(ProtocolByte));
    f.append(static_cast<char>(command));
    f.append(static_cast<char>(body.size()));
    f.append(body);
    const uint16_t sum = byteSum(QByteArrayView(f).sliced(HeaderSize));
    f.append(static_cast<char>(sum >> 8));
    f.append(static_cast<char>(sum & 0xFF));
    return f;
}

QByteArray writeRequest(uint16_t address, QByteArrayView data)
{
    Q_ASSERT(data.size() <= MaxWriteData);
    QByteArray body;
    body.append(static_cast<char>(address >> 8));
    body.append(static_cast<char>(address & 0xFF));
    body.append(data);
    return buildFrame(WriteCommand, body);
}

QByteArray readRequest(uint16_t address, int count)
{
    Q_ASSERT(count >= 0 && count <= MaxReadData);
    const char body[] = {static_cast<char>(address >> 8), static_cast<char>(address & 0xFF),
                         static_cast<char>(count)};
    return buildFrame(ReadCommand, QByteArrayView(body, 3));
}

const QByteArray &writeAcknowledgement()
{
    static const QByteArray ack =
        buildFrame(WriteCommand, QByteArray(1, static_cast<char>(AckByte)));
    return ack;
}

bool readReplyIntact(QByteArrayView reply, int n)
{
    if (n < 0 || reply.size() < readReplySize(n))
        return false;
    const uint16_t received = static_cast<uint16_t>(
        static_cast<uint8_t>(reply[BodyOffset + n]) << 8 | static_cast<uint8_t>(reply[14 + n]));
    return received == byteSum(reply.sliced(HeaderSize, 3 + n));
}

QByteArrayView readReplyData(QByteArrayView reply, int n)
{
    Q_ASSERT(reply.size() >= BodyOffset + n);
    return reply.sliced(BodyOffset, n);
}

QByteArray readReply(QByteArrayView data)
{
    return buildFrame(ReadCommand, data);
}

std::optional<Frame> takeFrame(QByteArray &pending)
{
    const qsizetype start = pending.indexOf(HeaderView);
    if (start < 0) {
        // Keep only a tail that could still be the beginning of a header.
        if (pending.size() > HeaderSize - 1)
            pending.remove(0, pending.size() - (HeaderSize - 1));
        return std::nullopt;
    }
    pending.remove(0, start);
    if (pending.size() < BodyOffset)
        return std::nullopt;
    const int length = static_cast<uint8_t>(pending[LengthOffset]);
    const int size = Overhead + length;
    if (pending.size() < size)
        return std::nullopt;

    const QByteArrayView whole(pending.constData(), size);
    Frame f;
    f.command = static_cast<uint8_t>(whole[11]);
    f.body = whole.sliced(BodyOffset, length).toByteArray();
    const uint16_t received =
        static_cast<uint16_t>(static_cast<uint8_t>(whole[BodyOffset + length]) << 8 |
                              static_cast<uint8_t>(whole[BodyOffset + length + 1]));
    f.checksumOk = received == byteSum(whole.sliced(HeaderSize, 3 + length));
    f.raw = whole.toByteArray();
    pending.remove(0, size);
    return f;
}

} // namespace rw::frame
